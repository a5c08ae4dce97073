// Scoped owners of Windows handles, each releasing what it holds with the
// call that belongs to it: kernel handles (CloseHandle, FindClose), DLLs,
// registry keys, global memory, GDI objects, icons, memory DCs (one owner
// template, Owned, with the release call as its traits), a window's DC, the
// screen's DC, a paint DC, an object selected into a DC, a reference to a
// COM object and COM for a thread. Not copyable (a COM pointer adds a
// reference when copied); the handle owners move.
#pragma once

#include "common/Win32.h"

#include <ole2.h>
#include <unknwn.h>

#include <utility>

namespace tessaly {

// An owned handle, released by Traits::Release when the owner goes or is
// given another. A handle Traits::Valid refuses (what a failed call gives)
// is never released.
template <typename Traits>
class Owned {
 public:
  using Handle = typename Traits::Handle;
  Owned() = default;
  explicit Owned(Handle h) : h_(h) {}
  ~Owned() { Close(); }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  Owned(Owned&& o) noexcept : h_(o.release()) {}
  Owned& operator=(Owned&& o) noexcept {
    if (this != &o) reset(o.release());
    return *this;
  }
  Handle get() const { return h_; }
  explicit operator bool() const { return Traits::Valid(h_); }
  void reset(Handle h = Handle()) {
    Close();
    h_ = h;
  }
  // Hands the handle on; the owner then holds nothing.
  Handle release() { return std::exchange(h_, Handle()); }
  // Releases now; false when the release itself failed (for a file written
  // to: its data may not have been written).
  bool Close() {
    const bool ok = !Traits::Valid(h_) || Traits::Release(h_);
    h_ = Handle();
    return ok;
  }

 private:
  Handle h_ = Handle();
};

// What a failed call gives: nullptr, and for kernel handles (CreateFile,
// CreateProcess, OpenProcessToken, FindFirstFile) INVALID_HANDLE_VALUE too.
template <typename H>
struct NonNull {
  using Handle = H;
  static bool Valid(H h) { return h != nullptr; }
};
struct KernelValid : NonNull<HANDLE> {
  static bool Valid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
};

// The release calls.
struct CloseHandleTraits : KernelValid {
  static bool Release(HANDLE h) { return CloseHandle(h) != FALSE; }
};
struct FindCloseTraits : KernelValid {
  static bool Release(HANDLE h) { return FindClose(h) != FALSE; }
};
template <typename H>
struct DeleteObjectTraits : NonNull<H> {
  static bool Release(H h) { return DeleteObject(h) != FALSE; }
};
struct DestroyIconTraits : NonNull<HICON> {
  static bool Release(HICON h) { return DestroyIcon(h) != FALSE; }
};
struct DeleteDCTraits : NonNull<HDC> {
  static bool Release(HDC h) { return DeleteDC(h) != FALSE; }
};
struct GlobalFreeTraits : NonNull<HGLOBAL> {
  static bool Release(HGLOBAL h) { return GlobalFree(h) == nullptr; }
};
struct FreeLibraryTraits : NonNull<HMODULE> {
  static bool Release(HMODULE h) { return FreeLibrary(h) != FALSE; }
};
struct RegCloseKeyTraits : NonNull<HKEY> {
  static bool Release(HKEY h) { return RegCloseKey(h) == ERROR_SUCCESS; }
};

// Files, processes, threads, tokens.
using KernelHandle = Owned<CloseHandleTraits>;
// FindFirstFile.
using FindHandle = Owned<FindCloseTraits>;
// Any GDI object (pens, brushes, fonts, bitmaps, regions).
template <typename H>
using GdiObject = Owned<DeleteObjectTraits<H>>;
// An icon made by LoadImage or CreateIcon (never one of LoadIcon's shared
// icons).
using IconHandle = Owned<DestroyIconTraits>;
// GlobalAlloc, unless release() hands the memory on.
using GlobalMemory = Owned<GlobalFreeTraits>;

// The two handles CreateProcess gives, closed together (the program started
// runs on).
struct ProcessHandles {
  explicit ProcessHandles(const PROCESS_INFORMATION& pi) : process(pi.hProcess), thread(pi.hThread) {}
  KernelHandle process;
  KernelHandle thread;
};

// LoadLibrary / FreeLibrary.
class Library : public Owned<FreeLibraryTraits> {
 public:
  explicit Library(const char* name) : Owned(LoadLibraryA(name)) {}
  // The function of this name as type Fn; nullptr when the DLL did not
  // load or has no such function.
  template <typename Fn>
  Fn Function(const char* name) const {
    return get() ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(get(), name))) : nullptr;
  }
};

// A registry key, closed with RegCloseKey. It holds a key only once an open
// or create has succeeded; a failed one leaves it as it was.
class RegistryKey : public Owned<RegCloseKeyTraits> {
 public:
  // RegOpenKeyExA; its result.
  LONG Open(HKEY root, const char* subKey, REGSAM access) {
    HKEY key = nullptr;
    const LONG rc = RegOpenKeyExA(root, subKey, 0, access, &key);
    if (rc == ERROR_SUCCESS) reset(key);
    return rc;
  }
  // RegCreateKeyExA (a key that stays); its result.
  LONG Create(HKEY root, const char* subKey, REGSAM access) {
    HKEY key = nullptr;
    const LONG rc = RegCreateKeyExA(root, subKey, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &key, nullptr);
    if (rc == ERROR_SUCCESS) reset(key);
    return rc;
  }
};

// CreateCompatibleDC / DeleteDC.
class MemoryDC : public Owned<DeleteDCTraits> {
 public:
  explicit MemoryDC(HDC compatible) : Owned(CreateCompatibleDC(compatible)) {}
};

// GetDC / ReleaseDC, remembering the window.
class WindowDC {
 public:
  explicit WindowDC(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
  ~WindowDC() {
    if (dc_) ReleaseDC(hwnd_, dc_);
  }
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// GetDC(nullptr) / ReleaseDC: the screen.
class ScreenDC : public WindowDC {
 public:
  ScreenDC() : WindowDC(nullptr) {}
  // Dots per inch of the screen (LOGPIXELSX or LOGPIXELSY); 96 without one.
  int Dpi(int index = LOGPIXELSY) const {
    const int dpi = get() ? GetDeviceCaps(get(), index) : 0;
    return dpi > 0 ? dpi : 96;
  }
};

// BeginPaint / EndPaint in WM_PAINT.
class PaintDC {
 public:
  explicit PaintDC(HWND hwnd) : hwnd_(hwnd), dc_(BeginPaint(hwnd, &ps_)) {}
  ~PaintDC() {
    if (dc_) EndPaint(hwnd_, &ps_);
  }
  PaintDC(const PaintDC&) = delete;
  PaintDC& operator=(const PaintDC&) = delete;
  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }
  // The area to paint.
  const RECT& Area() const { return ps_.rcPaint; }
  // Ends the painting early, for a window that then draws in another way.
  void End() {
    if (dc_) EndPaint(hwnd_, &ps_);
    dc_ = nullptr;
  }

 private:
  HWND hwnd_;
  PAINTSTRUCT ps_{};
  HDC dc_;
};

// SelectObject for the lifetime of the object, then the previous one back.
class Selection {
 public:
  Selection(HDC dc, HGDIOBJ obj) : dc_(dc), old_(obj ? SelectObject(dc, obj) : nullptr) {}
  ~Selection() {
    if (old_) SelectObject(dc_, old_);
  }
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;
  // False when the object could not be selected.
  bool ok() const { return old_ != nullptr; }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  // Takes over one reference.
  explicit ComPtr(T* p) : p_(p) {}
  ComPtr(const ComPtr& o) : p_(o.p_) {
    if (p_) p_->AddRef();
  }
  ComPtr(ComPtr&& o) noexcept : p_(o.p_) { o.p_ = nullptr; }
  ~ComPtr() { reset(); }
  ComPtr& operator=(ComPtr o) noexcept {
    T* p = p_;
    p_ = o.p_;
    o.p_ = p;
    return *this;
  }
  void reset() {
    if (p_) p_->Release();
    p_ = nullptr;
  }
  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  // For functions that return a new reference through T**.
  T** put() {
    reset();
    return &p_;
  }
  // Another interface of the same object; empty when it has none.
  template <typename U>
  ComPtr<U> As(REFIID iid) const {
    U* u = nullptr;
    if (p_ && FAILED(p_->QueryInterface(iid, reinterpret_cast<void**>(&u)))) u = nullptr;
    return ComPtr<U>(u);
  }

 private:
  T* p_ = nullptr;
};

// A new reference to `p` as a base interface.
template <typename Base, typename T>
ComPtr<Base> Share(const ComPtr<T>& p) {
  if (p) p->AddRef();
  return ComPtr<Base>(p.get());
}

// COM for this thread for the lifetime of the object (CoInitialize /
// CoUninitialize when it succeeded).
class ComApartment {
 public:
  ComApartment() : ok_(SUCCEEDED(CoInitialize(nullptr))) {}
  ~ComApartment() {
    if (ok_) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  bool ok_;
};

// OLE (and so COM) for this thread, once per process; it stays until the
// process ends. A thread where COM already runs serves as well.
inline void InitOle() {
  static const HRESULT done = OleInitialize(nullptr);
  (void)done;
}

}  // namespace tessaly
