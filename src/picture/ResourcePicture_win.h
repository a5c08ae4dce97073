// Pictures embedded in the program's resources.
#pragma once

#include "common/Win32.h"

namespace tessaly::picture {

// Decodes the RCDATA resource `id` (a BMP, GIF or JPEG file) into a bitmap of
// its own size that the caller owns; nullptr when it cannot be had.
HBITMAP LoadResourcePicture(int id);

// Draws `bitmap` into the rectangle's top-left corner, `zoom` times its own
// size (the zoom of a DPI above 96) but never larger than the rectangle,
// keeping its proportions; the rest of the rectangle gets the dialog
// background.
void DrawBitmapInto(HDC dc, const RECT& rect, HBITMAP bitmap, double zoom = 1.0);

}  // namespace tessaly::picture
