// Decoding a picture file kept as RCDATA in a module's resources, and drawing
// it. Header-only, so that the uninstall wrapper, which links nothing of the
// screen saver, uses the same code as the screen saver's about box.
#pragma once

#include <ole2.h>
#include <olectl.h>

#include <cstring>

#include "common/ScopedWin.h"
#include "common/Win32.h"

namespace tessaly::picture {

// Decodes the RCDATA resource `id` of `module` (a BMP, GIF or JPEG file) into
// a bitmap of its own size that the caller owns; nullptr when it cannot be
// had. OLE must be initialised on the calling thread.
inline HBITMAP DecodeRcDataPicture(HMODULE module, int id) {
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

// Copies `bitmap` into `target` of `dc`, halftone-stretched where the sizes
// differ.
inline void BlitBitmap(HDC dc, const RECT& target, HBITMAP bitmap) {
  BITMAP bm = {};
  if (!bitmap || !GetObjectA(bitmap, sizeof bm, &bm)) return;
  const MemoryDC memory(dc);
  if (!memory) return;
  const Selection select(memory.get(), bitmap);
  const int width = target.right - target.left, height = target.bottom - target.top;
  if (width == bm.bmWidth && height == bm.bmHeight) {
    BitBlt(dc, target.left, target.top, width, height, memory.get(), 0, 0, SRCCOPY);
    return;
  }
  const int mode = SetStretchBltMode(dc, HALFTONE);
  POINT origin = {};
  SetBrushOrgEx(dc, 0, 0, &origin);
  StretchBlt(dc, target.left, target.top, width, height, memory.get(), 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
  SetBrushOrgEx(dc, origin.x, origin.y, nullptr);
  SetStretchBltMode(dc, mode);
}

}  // namespace tessaly::picture
