// The survey page address: base + "/uninstall.htm?" + the command line,
// with every byte that may not stand literally in a URL query encoded, so an
// address handed to a browser's command line cannot be split by blanks or
// quotes, and the server still decodes the original text.
#pragma once

#include <string>

namespace qmunins {

std::string PercentEncodeQuery(const std::string& text);
std::string SurveyAddress(std::string base, const std::string& commandLine);

}  // namespace qmunins
