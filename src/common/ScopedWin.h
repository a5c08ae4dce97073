// Scoped owners of Windows handles, each releasing what it holds with the
// call that belongs to it: kernel handles (CloseHandle, FindClose), a DLL,
// registry keys, global memory, a window's DC, the screen's DC, a paint DC,
// a memory DC, a GDI object, an object selected into a DC, an icon, and a
// reference to a COM object. Not copyable (a COM pointer adds a reference
// when copied); the handle owners move.
#pragma once

#include "common/Win32.h"

#include <ole2.h>
#include <unknwn.h>

#include <utility>

namespace tessaly {

// A kernel handle closed by Traits::Close. Functions that fail give either
// nullptr or INVALID_HANDLE_VALUE; neither is ever closed.
template <typename Traits>
class ScopedHandle {
 public:
  ScopedHandle() = default;
  explicit ScopedHandle(HANDLE h) : h_(h) {}
  ~ScopedHandle() { Close(); }
  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;
  ScopedHandle(ScopedHandle&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
  ScopedHandle& operator=(ScopedHandle&& o) noexcept {
    if (this != &o) reset(std::exchange(o.h_, nullptr));
    return *this;
  }
  HANDLE get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr && h_ != INVALID_HANDLE_VALUE; }
  void reset(HANDLE h = nullptr) {
    Close();
    h_ = h;
  }
  // Closes now; false when the close itself failed (for a file written to:
  // its data may not have been written).
  bool Close() {
    if (!*this) return true;
    const bool ok = Traits::Close(h_);
    h_ = nullptr;
    return ok;
  }

 private:
  HANDLE h_ = nullptr;
};

struct CloseHandleTraits {
  static bool Close(HANDLE h) { return CloseHandle(h) != FALSE; }
};
struct FindCloseTraits {
  static bool Close(HANDLE h) { return FindClose(h) != FALSE; }
};

// Files, processes, threads, tokens: CreateFile, CreateProcess, OpenProcessToken.
using KernelHandle = ScopedHandle<CloseHandleTraits>;
// FindFirstFile.
using FindHandle = ScopedHandle<FindCloseTraits>;

// The two handles CreateProcess gives, closed together (the program started
// runs on).
struct ProcessHandles {
  explicit ProcessHandles(const PROCESS_INFORMATION& pi) : process(pi.hProcess), thread(pi.hThread) {}
  KernelHandle process;
  KernelHandle thread;
};

// LoadLibrary / FreeLibrary.
class Library {
 public:
  explicit Library(const char* name) : module_(LoadLibraryA(name)) {}
  ~Library() {
    if (module_) FreeLibrary(module_);
  }
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;
  explicit operator bool() const { return module_ != nullptr; }
  // The function of this name as type Fn; nullptr when the DLL did not
  // load or has no such function.
  template <typename Fn>
  Fn Function(const char* name) const {
    return module_ ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module_, name))) : nullptr;
  }

 private:
  HMODULE module_;
};

// A registry key, closed with RegCloseKey. It holds a key only once an open
// or create has succeeded; a failed one leaves it as it was.
class RegistryKey {
 public:
  RegistryKey() = default;
  ~RegistryKey() { reset(); }
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;
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
    const LONG rc =
        RegCreateKeyExA(root, subKey, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &key, nullptr);
    if (rc == ERROR_SUCCESS) reset(key);
    return rc;
  }
  HKEY get() const { return key_; }
  explicit operator bool() const { return key_ != nullptr; }

 private:
  void reset(HKEY key = nullptr) {
    if (key_) RegCloseKey(key_);
    key_ = key;
  }
  HKEY key_ = nullptr;
};

// GlobalAlloc / GlobalFree, unless release() hands the memory on.
class GlobalMemory {
 public:
  explicit GlobalMemory(SIZE_T size, UINT flags = GMEM_MOVEABLE) : h_(GlobalAlloc(flags, size)) {}
  ~GlobalMemory() {
    if (h_) GlobalFree(h_);
  }
  GlobalMemory(const GlobalMemory&) = delete;
  GlobalMemory& operator=(const GlobalMemory&) = delete;
  HGLOBAL get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }
  HGLOBAL release() { return std::exchange(h_, nullptr); }

 private:
  HGLOBAL h_;
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

 private:
  HWND hwnd_;
  PAINTSTRUCT ps_{};
  HDC dc_;
};

// CreateCompatibleDC / DeleteDC.
class MemoryDC {
 public:
  explicit MemoryDC(HDC compatible) : dc_(CreateCompatibleDC(compatible)) {}
  ~MemoryDC() {
    if (dc_) DeleteDC(dc_);
  }
  MemoryDC(const MemoryDC&) = delete;
  MemoryDC& operator=(const MemoryDC&) = delete;
  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HDC dc_;
};

// Any GDI object, deleted with DeleteObject.
template <typename H>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(H h) : h_(h) {}
  ~GdiObject() { reset(); }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  void reset(H h = nullptr) {
    if (h_) DeleteObject(h_);
    h_ = h;
  }
  H get() const { return h_; }
  H release() {
    H h = h_;
    h_ = nullptr;
    return h;
  }
  explicit operator bool() const { return h_ != nullptr; }

 private:
  H h_ = nullptr;
};

// An icon made by LoadImage or CreateIcon, destroyed with DestroyIcon
// (never one of LoadIcon's shared icons).
class IconHandle {
 public:
  IconHandle() = default;
  ~IconHandle() { reset(); }
  IconHandle(const IconHandle&) = delete;
  IconHandle& operator=(const IconHandle&) = delete;
  void reset(HICON h = nullptr) {
    if (h_) DestroyIcon(h_);
    h_ = h;
  }
  HICON get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }

 private:
  HICON h_ = nullptr;
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
