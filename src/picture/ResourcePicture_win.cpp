#include "picture/ResourcePicture_win.h"

#include <ole2.h>
#include <olectl.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "common/ScopedWin.h"

namespace tessaly::picture {

HBITMAP LoadResourcePicture(int id) {
  InitOle();
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(10) /* RT_RCDATA */);
  if (!found) return nullptr;
  const DWORD size = SizeofResource(module, found);
  HGLOBAL loaded = LoadResource(module, found);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes || size == 0) return nullptr;
  GlobalMemory memory(GlobalAlloc(GMEM_MOVEABLE, size));
  void* target = memory ? GlobalLock(memory.get()) : nullptr;
  if (!target) return nullptr;
  std::memcpy(target, bytes, size);
  GlobalUnlock(memory.get());
  ComPtr<IStream> stream;
  if (FAILED(CreateStreamOnHGlobal(memory.get(), TRUE, stream.put()))) return nullptr;
  memory.release();  // the stream frees it
  ComPtr<IPicture> picture;
  if (FAILED(OleLoadPicture(stream.get(), static_cast<LONG>(size), FALSE, IID_IPicture,
                            reinterpret_cast<void**>(picture.put()))) ||
      !picture)
    return nullptr;
  OLE_HANDLE handle = 0;
  if (FAILED(picture->get_Handle(&handle)) || !handle) return nullptr;
  // The picture object owns its bitmap; the caller gets a copy.
  return static_cast<HBITMAP>(
      CopyImage(reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(handle)), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
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
  MemoryDC memory(dc);
  if (!memory) return;
  Selection select(memory.get(), bitmap);
  if (width == bm.bmWidth && height == bm.bmHeight) {
    BitBlt(dc, rect.left, rect.top, width, height, memory.get(), 0, 0, SRCCOPY);
    return;
  }
  const int previous = SetStretchBltMode(dc, HALFTONE);
  POINT origin{};
  SetBrushOrgEx(dc, 0, 0, &origin);
  StretchBlt(dc, rect.left, rect.top, width, height, memory.get(), 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
  SetBrushOrgEx(dc, origin.x, origin.y, nullptr);
  SetStretchBltMode(dc, previous);
}

}  // namespace tessaly::picture
