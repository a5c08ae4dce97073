// Pictures embedded in the program's resources.
#pragma once

#include "Win32.h"

namespace tessaly::ui {

// Decodes the RCDATA resource `id` (a BMP, GIF or JPEG file) into a bitmap of
// its own size that the caller owns; nullptr when it cannot be had.
HBITMAP LoadResourcePicture(int id);

// Draws `bitmap` at its own size into the rectangle's top-left corner,
// filling the rest of the rectangle with the dialog background.
void DrawBitmapInto(HDC dc, const RECT& rect, HBITMAP bitmap);

}  // namespace tessaly::ui
