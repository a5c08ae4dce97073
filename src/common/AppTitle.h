#pragma once

#include "common/ProductNames.h"

namespace tessaly {

// The title of the program's own message boxes.
inline constexpr char kAppTitle[] = TESSALY_PRODUCT_NAME;

}  // namespace tessaly
