// The survey page address: base + "/uninstall.htm?" + the command line.
// The command line goes into the query percent-encoded wherever a byte may not
// stand literally there, or could split or quote the address once it is put
// on a browser's command line; decoding the query gives back the exact text.
// Plain C++ only, so it builds and runs anywhere.
#pragma once

#include <string>

namespace qmunins {

// Encodes every byte except A-Z a-z 0-9 - . _ ~ ! $ & ' ( ) * + , ; = : @ / ?
// as %XX (upper-case hex).
std::string PercentEncodeQuery(const std::string& text);

// base with its trailing "/" removed, then "/uninstall.htm?" and the encoded
// command line.
std::string SurveyAddress(std::string base, const std::string& commandLine);

}  // namespace qmunins
