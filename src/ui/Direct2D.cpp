#include "ui/Direct2D.h"

#include <d2d1.h>
#include <dxgi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "common/ScopedWin.h"
#include "ui/FrameCanvas.h"

namespace tessaly::ui {
namespace {

using CreateFactoryFn = HRESULT(WINAPI*)(D2D1_FACTORY_TYPE, REFIID, const D2D1_FACTORY_OPTIONS*, void**);
using CreateDxgiFactoryFn = HRESULT(WINAPI*)(REFIID, void**);

template <typename F>
F Proc(HMODULE module, const char* name) {
  return module ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

template <typename T>
void Drop(T*& p) {
  if (p) p->Release();
  p = nullptr;
}

ID2D1Factory* Factory() {
  static ID2D1Factory* factory = [] {
    ID2D1Factory* f = nullptr;
    auto create = Proc<CreateFactoryFn>(LoadLibraryA("d2d1.dll"), "D2D1CreateFactory");
    if (!create || FAILED(create(D2D1_FACTORY_TYPE_SINGLE_THREADED, __uuidof(ID2D1Factory), nullptr,
                                 reinterpret_cast<void**>(&f))))
      f = nullptr;
    return f;
  }();
  return factory;
}

D2D1_COLOR_F ColorOf(COLORREF c) {
  return D2D1_COLOR_F{GetRValue(c) / 255.0f, GetGValue(c) / 255.0f, GetBValue(c) / 255.0f, 1.0f};
}

const D2D1_PIXEL_FORMAT kFormat{DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_IGNORE};

}  // namespace

struct Direct2DRenderer::Impl {
  HWND hwnd = nullptr;
  ID2D1HwndRenderTarget* target = nullptr;
  ID2D1BitmapRenderTarget* layers[2] = {nullptr, nullptr};
  D2D1_SIZE_U layerSize{0, 0};
  // What each layer target holds: a still cross-fade composes each picture
  // once and then only blends.
  struct Held_ {
    bool valid = false;
    const FrameBuffer* pixels = nullptr;
    uint64_t serial = 0;
    double left = 0, top = 0, width = 0, height = 0;
    bool framed = false;
    RECT frame{};
    COLORREF frameColor = 0, back = 0;
    bool Same(const Direct2DLayer* l, COLORREF b) const {
      if (!valid || back != b) return false;
      if (!l) return pixels == nullptr;
      return l->pixels == pixels && l->pixels && l->pixels->serial == serial && l->left == left && l->top == top &&
             l->width == width && l->height == height && l->framed == framed && EqualRect(&l->frame, &frame) &&
             l->frameColor == frameColor;
    }
    void Set(const Direct2DLayer* l, COLORREF b) {
      *this = Held_{};
      valid = true;
      back = b;
      if (!l) return;
      pixels = l->pixels;
      serial = l->pixels ? l->pixels->serial : 0;
      left = l->left;
      top = l->top;
      width = l->width;
      height = l->height;
      framed = l->framed;
      frame = l->frame;
      frameColor = l->frameColor;
    }
  } composed[2];
  struct Held {
    const FrameBuffer* pixels;
    uint64_t serial;
    ID2D1Bitmap* bitmap;
  };
  std::vector<Held> bitmaps;

  ~Impl() {
    DropBitmaps();
    Drop(target);
  }
  void DropBitmaps() {
    for (Held& h : bitmaps) Drop(h.bitmap);
    bitmaps.clear();
    Drop(layers[0]);
    Drop(layers[1]);
    layerSize = D2D1_SIZE_U{0, 0};
    composed[0] = composed[1] = Held_{};
  }
  bool MakeTarget(bool hardware, SIZE size) {
    D2D1_RENDER_TARGET_PROPERTIES props{};
    props.type = hardware ? D2D1_RENDER_TARGET_TYPE_HARDWARE : D2D1_RENDER_TARGET_TYPE_DEFAULT;
    props.pixelFormat = kFormat;
    props.usage = D2D1_RENDER_TARGET_USAGE_NONE;
    props.minLevel = D2D1_FEATURE_LEVEL_DEFAULT;
    // Frames are paced by the frame clock: presenting does not wait again.
    D2D1_HWND_RENDER_TARGET_PROPERTIES window{
        hwnd,
        D2D1_SIZE_U{static_cast<UINT32>(std::max<LONG>(1, size.cx)), static_cast<UINT32>(std::max<LONG>(1, size.cy))},
        D2D1_PRESENT_OPTIONS_IMMEDIATELY};
    return SUCCEEDED(Factory()->CreateHwndRenderTarget(&props, &window, &target)) && target;
  }
  ID2D1Bitmap* BitmapOf(ID2D1RenderTarget* rt, const FrameBuffer* pixels) {
    for (Held& h : bitmaps)
      if (h.pixels == pixels && h.serial == pixels->serial) return h.bitmap;
    D2D1_BITMAP_PROPERTIES props{kFormat, 96.0f, 96.0f};
    ID2D1Bitmap* bitmap = nullptr;
    if (FAILED(rt->CreateBitmap(D2D1_SIZE_U{static_cast<UINT32>(pixels->width), static_cast<UINT32>(pixels->height)},
                                pixels->bits, static_cast<UINT32>(pixels->width) * 4, &props, &bitmap)))
      return nullptr;
    bitmaps.push_back(Held{pixels, pixels->serial, bitmap});
    return bitmap;
  }
  // The background and one layer on `rt`.
  bool Compose(ID2D1RenderTarget* rt, COLORREF back, const Direct2DLayer* layer) {
    rt->Clear(ColorOf(back));
    if (!layer || !layer->pixels) return true;
    if (layer->framed) {
      ID2D1SolidColorBrush* brush = nullptr;
      const D2D1_COLOR_F color = ColorOf(layer->frameColor);
      if (SUCCEEDED(rt->CreateSolidColorBrush(&color, nullptr, &brush))) {
        const D2D1_RECT_F frame{static_cast<FLOAT>(layer->frame.left), static_cast<FLOAT>(layer->frame.top),
                                static_cast<FLOAT>(layer->frame.right), static_cast<FLOAT>(layer->frame.bottom)};
        rt->FillRectangle(&frame, brush);
        brush->Release();
      }
    }
    ID2D1Bitmap* bitmap = BitmapOf(rt, layer->pixels);
    if (!bitmap) return false;
    const D2D1_RECT_F dest{static_cast<FLOAT>(layer->left), static_cast<FLOAT>(layer->top),
                           static_cast<FLOAT>(layer->left + layer->width),
                           static_cast<FLOAT>(layer->top + layer->height)};
    rt->DrawBitmap(bitmap, &dest, 1.0f, D2D1_BITMAP_INTERPOLATION_MODE_LINEAR, nullptr);
    return true;
  }
};

Direct2DRenderer::Direct2DRenderer(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
Direct2DRenderer::~Direct2DRenderer() = default;

bool Direct2DRenderer::HardwareAdapter() {
  static const bool hardware = [] {
    // Wine's DXGI names a made-up adapter whatever draws behind it (here
    // Mesa's software renderer): under Wine only a forced choice takes
    // Direct2D.
    if (GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version")) return false;
    auto create = Proc<CreateDxgiFactoryFn>(LoadLibraryA("dxgi.dll"), "CreateDXGIFactory1");
    IDXGIFactory1* factory = nullptr;
    if (!create || FAILED(create(__uuidof(IDXGIFactory1), reinterpret_cast<void**>(&factory))) || !factory)
      return false;
    bool found = false;
    IDXGIAdapter1* adapter = nullptr;
    for (UINT i = 0; !found && factory->EnumAdapters1(i, &adapter) != DXGI_ERROR_NOT_FOUND; ++i) {
      DXGI_ADAPTER_DESC1 desc{};
      if (adapter && SUCCEEDED(adapter->GetDesc1(&desc)) && std::getenv("TESSALY_MOTION_TRACE"))
        std::fprintf(stderr, "adapter %ls vendor %x device %x flags %x\n", desc.Description,
                     static_cast<unsigned>(desc.VendorId), static_cast<unsigned>(desc.DeviceId),
                     static_cast<unsigned>(desc.Flags));
      // The basic render driver (vendor 0x1414, device 0x8C) is software
      // even where it does not say so.
      if (adapter && SUCCEEDED(adapter->GetDesc1(&desc)) && !(desc.Flags & DXGI_ADAPTER_FLAG_SOFTWARE) &&
          !(desc.VendorId == 0x1414 && desc.DeviceId == 0x8C))
        found = true;
      Drop(adapter);
    }
    factory->Release();
    return found;
  }();
  return hardware;
}

std::unique_ptr<Direct2DRenderer> Direct2DRenderer::Create(HWND hwnd, bool requireHardware) {
  if (!hwnd || !Factory()) return nullptr;
  if (requireHardware && !HardwareAdapter()) return nullptr;
  auto impl = std::make_unique<Impl>();
  impl->hwnd = hwnd;
  RECT r{};
  GetClientRect(hwnd, &r);
  if (!impl->MakeTarget(requireHardware, SIZE{r.right - r.left, r.bottom - r.top})) return nullptr;
  return std::unique_ptr<Direct2DRenderer>(new Direct2DRenderer(std::move(impl)));
}

void Direct2DRenderer::Forget(const std::vector<const FrameBuffer*>& inUse) {
  auto& held = impl_->bitmaps;
  held.erase(std::remove_if(held.begin(), held.end(),
                            [&](Impl::Held& h) {
                              const bool used = std::find(inUse.begin(), inUse.end(), h.pixels) != inUse.end() &&
                                                h.serial == h.pixels->serial;
                              if (!used) Drop(h.bitmap);
                              return !used;
                            }),
             held.end());
}

void Direct2DRenderer::Release() { impl_->DropBitmaps(); }

bool Direct2DRenderer::Draw(SIZE client, COLORREF back, const Direct2DLayer* from, const Direct2DLayer* to,
                            double alpha) {
  Impl& d = *impl_;
  if (!d.target) return false;
  const D2D1_SIZE_U size{static_cast<UINT32>(std::max<LONG>(1, client.cx)),
                         static_cast<UINT32>(std::max<LONG>(1, client.cy))};
  const D2D1_SIZE_U now = d.target->GetPixelSize();
  if ((now.width != size.width || now.height != size.height) && FAILED(d.target->Resize(&size))) return false;
  const float weight = static_cast<float>(std::clamp(alpha, 0.0, 1.0));
  const bool blend = weight > 0 && weight < 1;
  if (blend && (d.layerSize.width != size.width || d.layerSize.height != size.height)) {
    Drop(d.layers[0]);
    Drop(d.layers[1]);
    d.composed[0] = d.composed[1] = Impl::Held_{};
    const D2D1_SIZE_F sizeF{static_cast<FLOAT>(size.width), static_cast<FLOAT>(size.height)};
    for (auto*& layer : d.layers)
      if (FAILED(d.target->CreateCompatibleRenderTarget(&sizeF, &size, &kFormat,
                                                        D2D1_COMPATIBLE_RENDER_TARGET_OPTIONS_NONE, &layer)))
        return false;
    d.layerSize = size;
  }
  bool ok = true;
  if (blend) {
    // Each picture on its background, then the second over the first.
    const Direct2DLayer* both[2] = {from, to};
    for (int i = 0; i < 2; ++i) {
      if (d.composed[i].Same(both[i], back)) continue;
      d.layers[i]->BeginDraw();
      ok = d.Compose(d.layers[i], back, both[i]) && ok;
      ok = SUCCEEDED(d.layers[i]->EndDraw(nullptr, nullptr)) && ok;
      if (ok) {
        d.composed[i].Set(both[i], back);
      } else {
        d.composed[i] = Impl::Held_{};
      }
    }
  }
  d.target->BeginDraw();
  if (blend) {
    ID2D1Bitmap* first = nullptr;
    ID2D1Bitmap* second = nullptr;
    if (ok && SUCCEEDED(d.layers[0]->GetBitmap(&first)) && SUCCEEDED(d.layers[1]->GetBitmap(&second))) {
      const D2D1_RECT_F all{0, 0, static_cast<FLOAT>(size.width), static_cast<FLOAT>(size.height)};
      d.target->DrawBitmap(first, &all, 1.0f, D2D1_BITMAP_INTERPOLATION_MODE_NEAREST_NEIGHBOR, nullptr);
      d.target->DrawBitmap(second, &all, weight, D2D1_BITMAP_INTERPOLATION_MODE_NEAREST_NEIGHBOR, nullptr);
    } else {
      ok = false;
    }
    Drop(first);
    Drop(second);
  } else {
    ok = d.Compose(d.target, back, weight >= 1 ? to : from);
  }
  const HRESULT hr = d.target->EndDraw(nullptr, nullptr);
  if (hr == static_cast<HRESULT>(D2DERR_RECREATE_TARGET)) {
    d.DropBitmaps();
    Drop(d.target);
    return false;
  }
  return ok && SUCCEEDED(hr);
}

}  // namespace tessaly::ui
