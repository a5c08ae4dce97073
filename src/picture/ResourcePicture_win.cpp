#include "picture/ResourcePicture_win.h"

#include <algorithm>
#include <cmath>

#include "common/ScopedWin.h"
#include "picture/RcDataPicture_win.h"

namespace tessaly::picture {

HBITMAP LoadResourcePicture(int id) {
  InitOle();
  return DecodeRcDataPicture(GetModuleHandleA(nullptr), id);
}

void DrawBitmapInto(HDC dc, const RECT& rect, HBITMAP bitmap, double zoom) {
  FillRect(dc, &rect, GetSysColorBrush(COLOR_BTNFACE));
  if (!bitmap) return;
  BITMAP bm = {};
  GetObjectA(bitmap, sizeof bm, &bm);
  if (bm.bmWidth <= 0 || bm.bmHeight <= 0) return;
  const double scale = std::min({zoom, static_cast<double>(rect.right - rect.left) / bm.bmWidth,
                                 static_cast<double>(rect.bottom - rect.top) / bm.bmHeight});
  const int width = static_cast<int>(std::lround(bm.bmWidth * scale));
  const int height = static_cast<int>(std::lround(bm.bmHeight * scale));
  if (width <= 0 || height <= 0) return;
  BlitBitmap(dc, RECT{rect.left, rect.top, rect.left + width, rect.top + height}, bitmap);
}

}  // namespace tessaly::picture
