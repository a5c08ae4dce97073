#include "ResourcePicture.h"

#include <ole2.h>
#include <olectl.h>

#include <cstring>

#include "App.h"
#include "GdiHandles.h"

namespace tessaly::ui {
namespace {

template <typename Interface>
struct ComRef {
  Interface* p = nullptr;
  ComRef() = default;
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  ~ComRef() {
    if (p) p->Release();
  }
};

}  // namespace

HBITMAP LoadResourcePicture(int id) {
  InitOle();
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(10) /* RT_RCDATA */);
  if (!found) return nullptr;
  const DWORD size = SizeofResource(module, found);
  HGLOBAL loaded = LoadResource(module, found);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes || size == 0) return nullptr;
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
  if (!memory) return nullptr;
  void* target = GlobalLock(memory);
  if (!target) {
    GlobalFree(memory);
    return nullptr;
  }
  std::memcpy(target, bytes, size);
  GlobalUnlock(memory);
  ComRef<IStream> stream;
  if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream.p))) {  // the stream frees the memory
    GlobalFree(memory);
    return nullptr;
  }
  ComRef<IPicture> picture;
  if (FAILED(OleLoadPicture(stream.p, static_cast<LONG>(size), FALSE, IID_IPicture,
                            reinterpret_cast<void**>(&picture.p))) ||
      !picture.p)
    return nullptr;
  OLE_HANDLE handle = 0;
  if (FAILED(picture.p->get_Handle(&handle)) || !handle) return nullptr;
  // The picture object owns its bitmap; the caller gets a copy.
  return static_cast<HBITMAP>(
      CopyImage(reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(handle)), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

void DrawBitmapInto(HDC dc, const RECT& rect, HBITMAP bitmap) {
  FillRect(dc, &rect, GetSysColorBrush(COLOR_BTNFACE));
  if (!bitmap) return;
  BITMAP bm = {};
  GetObjectA(bitmap, sizeof bm, &bm);
  MemoryDC memory(dc);
  if (!memory) return;
  Selection select(memory.get(), bitmap);
  BitBlt(dc, rect.left, rect.top, bm.bmWidth, bm.bmHeight, memory.get(), 0, 0, SRCCOPY);
}

}  // namespace tessaly::ui
