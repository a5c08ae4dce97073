#pragma once

#include <string>

namespace tessaly {

// Cuts the text before the first separator off `text` and returns it; `text`
// keeps what follows the separator. Without a separator the whole text is
// returned and `text` becomes empty.
std::string NextToken(std::string& text, char separator);

}  // namespace tessaly
