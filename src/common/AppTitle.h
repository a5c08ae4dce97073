#pragma once

namespace tessaly {

// The title of the program's own message boxes.
inline constexpr char kAppTitle[] = "Tessaly Customizable Screen Saver";

}  // namespace tessaly
