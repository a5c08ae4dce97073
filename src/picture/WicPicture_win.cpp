#include "picture/WicPicture_win.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

#include "picture/Exif.h"
#include "picture/Pixels.h"

namespace tessaly::picture {
namespace {

// The most bytes of 32-bit pixels asked of a source in one call.
constexpr UINT kCopyBandBytes = 128 * 1024;

// Reduction inside the codec while it decodes (the JPEG codec of Windows
// scales by 1/2, 1/4 and 1/8). mingw-w64's headers do not declare it.
struct IWicSourceTransform : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE CopyPixels(const WICRect* rect, UINT width, UINT height, WICPixelFormatGUID* format,
                                               WICBitmapTransformOptions transform, UINT stride, UINT bufferSize,
                                               BYTE* buffer) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetClosestSize(UINT* width, UINT* height) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetClosestPixelFormat(WICPixelFormatGUID* format) = 0;
  virtual HRESULT STDMETHODCALLTYPE DoesSupportTransform(WICBitmapTransformOptions transform, BOOL* supported) = 0;
};
const IID kIidSourceTransform = {0x3B16811B, 0x6A43, 0x4EC9, {0xB7, 0x13, 0x3D, 0x5A, 0x0C, 0x13, 0xB9, 0x40}};

IWICImagingFactory* Factory() {
  // Made once and kept for the life of the process: COM is never shut down
  // before the process ends.
  static IWICImagingFactory* factory = [] {
    InitOle();
    IWICImagingFactory* f = nullptr;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(&f))))
      f = nullptr;
    return f;
  }();
  return factory;
}

ComPtr<IWICBitmapSource> AsSource(IWICBitmapSource* p) {
  if (p) p->AddRef();
  return ComPtr<IWICBitmapSource>(p);
}

ComPtr<IWICBitmapSource> Converted(IWICBitmapSource* source) {
  ComPtr<IWICFormatConverter> converter;
  if (FAILED(Factory()->CreateFormatConverter(converter.put())) ||
      FAILED(converter->Initialize(source, GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr, 0,
                                   WICBitmapPaletteTypeCustom)))
    return {};
  return AsSource(converter.get());
}

// The flip-rotator steps that turn a stored picture upright. 5 and 7 are a
// quarter turn followed by a mirror, as two steps, so that no meaning of a
// combined option is assumed.
std::vector<WICBitmapTransformOptions> TurnSteps(uint16_t orientation) {
  switch (orientation) {
    case 2: return {WICBitmapTransformFlipHorizontal};
    case 3: return {WICBitmapTransformRotate180};
    case 4: return {WICBitmapTransformFlipVertical};
    case 5: return {WICBitmapTransformRotate90, WICBitmapTransformFlipHorizontal};
    case 6: return {WICBitmapTransformRotate90};
    case 7: return {WICBitmapTransformRotate270, WICBitmapTransformFlipHorizontal};
    case 8: return {WICBitmapTransformRotate270};
    default: return {};
  }
}

ComPtr<IWICBitmapSource> Turned(IWICBitmapSource* source, uint16_t orientation) {
  ComPtr<IWICBitmapSource> current = AsSource(source);
  for (WICBitmapTransformOptions step : TurnSteps(orientation)) {
    ComPtr<IWICBitmapFlipRotator> rotator;
    if (FAILED(Factory()->CreateBitmapFlipRotator(rotator.put())) || FAILED(rotator->Initialize(current.get(), step)))
      return {};
    current = AsSource(rotator.get());
  }
  return current;
}

// Whether the flip-rotator turns pictures as the orientation asks. Some
// implementations do only part of it (this Wine mirrors top to bottom and
// nothing else, answering E_NOTIMPL); they are asked once per orientation
// with a picture of six numbered pixels, and the pixels are turned here
// instead where the answer is wrong or missing.
bool FlipRotatorTurns(uint16_t orientation) {
  static std::array<int, 9> known{};  // 0 not asked, 1 yes, -1 no
  if (orientation < 2 || orientation > 8) return false;
  int& answer = known[orientation];
  if (answer != 0) return answer > 0;
  answer = -1;
  uint32_t stored[6] = {0xFF000000, 0xFF000001, 0xFF000002, 0xFF000003, 0xFF000004, 0xFF000005};
  ComPtr<IWICBitmap> bitmap;
  if (FAILED(Factory()->CreateBitmapFromMemory(3, 2, GUID_WICPixelFormat32bppBGRA, 12, sizeof stored,
                                               reinterpret_cast<BYTE*>(stored), bitmap.put())))
    return false;
  ComPtr<IWICBitmapSource> turned = Turned(bitmap.get(), orientation);
  if (!turned) return false;
  UINT w = 0, h = 0;
  turned->GetSize(&w, &h);
  const bool swap = OrientationSwapsAxes(orientation);
  if (w != (swap ? 2u : 3u) || h != (swap ? 3u : 2u)) return false;
  uint32_t got[6] = {}, want[6] = {};
  const WICRect all{0, 0, static_cast<INT>(w), static_cast<INT>(h)};
  if (FAILED(turned->CopyPixels(&all, w * 4, sizeof got, reinterpret_cast<BYTE*>(got)))) return false;
  OrientPixels(orientation, stored, 3, 2, want);
  if (std::memcmp(got, want, sizeof got) == 0) answer = 1;
  return answer > 0;
}

// Copies `rect` of `source` (32-bit pixels) into `out`. Some converters of
// packed pixel formats copy only rectangles that start at a byte boundary
// of the source; for them the whole rows are copied and cut.
HRESULT CopyRect(IWICBitmapSource* source, const WICRect& rect, UINT stride, BYTE* out) {
  HRESULT hr = source->CopyPixels(&rect, stride, stride * static_cast<UINT>(rect.Height), out);
  UINT w = 0, h = 0;
  if (SUCCEEDED(hr) || FAILED(source->GetSize(&w, &h)) || (rect.X == 0 && static_cast<UINT>(rect.Width) == w))
    return hr;
  const INT band = 64;
  std::vector<BYTE> rows(static_cast<std::size_t>(w) * 4 * band);
  for (INT y = 0; y < rect.Height; y += band) {
    const WICRect whole{0, rect.Y + y, static_cast<INT>(w), std::min(band, rect.Height - y)};
    hr = source->CopyPixels(&whole, w * 4, static_cast<UINT>(rows.size()), rows.data());
    if (FAILED(hr)) return hr;
    for (INT r = 0; r < whole.Height; ++r)
      std::memcpy(out + static_cast<std::size_t>(y + r) * stride,
                  &rows[static_cast<std::size_t>(r) * w * 4 + rect.X * 4], static_cast<std::size_t>(rect.Width) * 4);
  }
  return S_OK;
}

// The stored picture reduced by its codec to at least `width` x `height`
// but less than its full size, held in memory; empty where the codec does
// not reduce.
ComPtr<IWICBitmapSource> ReducedByCodec(IWICBitmapFrameDecode* frame, UINT width, UINT height, UINT fullWidth) {
  IWicSourceTransform* transform = nullptr;
  if (FAILED(frame->QueryInterface(kIidSourceTransform, reinterpret_cast<void**>(&transform))) || !transform) return {};
  ComPtr<IWicSourceTransform> owner(transform);
  // The closest size may be smaller than asked for: ask for more until it
  // is not (a scaler takes it the rest of the way).
  UINT w = 0, h = 0;
  for (UINT ask = 1; ask <= 8; ask *= 2) {
    w = width * ask;
    h = height * ask;
    if (FAILED(transform->GetClosestSize(&w, &h))) return {};
    if (w >= width && h >= height) break;
  }
  if (w < width || h < height || w >= fullWidth) return {};
  WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
  if (FAILED(transform->GetClosestPixelFormat(&format))) return {};
  ComPtr<IWICBitmap> bitmap;
  if (FAILED(Factory()->CreateBitmap(w, h, format, WICBitmapCacheOnLoad, bitmap.put()))) return {};
  {
    ComPtr<IWICBitmapLock> lock;
    const WICRect all{0, 0, static_cast<INT>(w), static_cast<INT>(h)};
    UINT stride = 0, size = 0;
    BYTE* data = nullptr;
    if (FAILED(bitmap->Lock(&all, WICBitmapLockWrite, lock.put())) || FAILED(lock->GetStride(&stride)) ||
        FAILED(lock->GetDataPointer(&size, &data)) ||
        FAILED(transform->CopyPixels(nullptr, w, h, &format, WICBitmapTransformRotate0, stride, size, data)))
      return {};
  }
  return AsSource(bitmap.get());
}

// What the imaging component says of a pixel format, asked once per format.
struct FormatFacts {
  bool mayBeTranslucent = true;  // can hold transparent pixels (unknown: yes)
  UINT indexedBits = 0;          // bits per index of an indexed format, else 0
};

FormatFacts FactsOf(const WICPixelFormatGUID& format) {
  static std::vector<std::pair<WICPixelFormatGUID, FormatFacts>> known;
  for (const auto& k : known)
    if (IsEqualGUID(k.first, format)) return k.second;
  FormatFacts facts;
  ComPtr<IWICComponentInfo> info;
  if (FAILED(Factory()->CreateComponentInfo(format, info.put()))) return facts;
  ComPtr<IWICPixelFormatInfo2> pixels = info.As<IWICPixelFormatInfo2>(IID_IWICPixelFormatInfo2);
  if (!pixels) return facts;
  BOOL transparency = TRUE;
  facts.mayBeTranslucent = FAILED(pixels->SupportsTransparency(&transparency)) || transparency != FALSE;
  WICPixelFormatNumericRepresentation kind = WICPixelFormatNumericRepresentationUnspecified;
  UINT bits = 0;
  if (SUCCEEDED(pixels->GetNumericRepresentation(&kind)) && kind == WICPixelFormatNumericRepresentationIndexed &&
      SUCCEEDED(pixels->GetBitsPerPixel(&bits)) && bits >= 1 && bits <= 8)
    facts.indexedBits = bits;
  known.emplace_back(format, facts);
  return facts;
}

// Whether every pixel of an indexed frame is opaque: its colour table has
// an entry for every index and none of them is transparent (a GIF marks
// its transparent colour so). Unknown: no.
bool IndexedFrameOpaque(IWICBitmapFrameDecode* frame, UINT bits) {
  ComPtr<IWICPalette> palette;
  UINT count = 0;
  if (bits == 0 || FAILED(Factory()->CreatePalette(palette.put())) || FAILED(frame->CopyPalette(palette.get())) ||
      FAILED(palette->GetColorCount(&count)) || count < (1u << bits))
    return false;
  std::vector<WICColor> colors(count);
  UINT got = 0;
  if (FAILED(palette->GetColors(count, colors.data(), &got)) || got != count) return false;
  return std::all_of(colors.begin(), colors.end(), [](WICColor c) { return (c >> 24) == 0xFF; });
}

// Composes 32-bit BGRA pixels over the colour `back` (red in the low byte).
void ComposeOver(uint8_t* pixels, std::size_t count, COLORREF back) {
  const unsigned bb = GetBValue(back), bg = GetGValue(back), br = GetRValue(back);
  for (std::size_t i = 0; i < count; ++i, pixels += 4) {
    const unsigned a = pixels[3];
    if (a == 255) continue;
    pixels[0] = static_cast<uint8_t>((pixels[0] * a + bb * (255 - a) + 127) / 255);
    pixels[1] = static_cast<uint8_t>((pixels[1] * a + bg * (255 - a) + 127) / 255);
    pixels[2] = static_cast<uint8_t>((pixels[2] * a + br * (255 - a) + 127) / 255);
    pixels[3] = 255;
  }
}

// The bitmaps of pictures let go of, kept for the next decode of the same
// size: a slide show decodes one picture after another at the size of the
// screen, and the pages of a fresh bitmap cost as much to touch as a good
// part of the decode. Every decode writes all of a bitmap's pixels, so what
// a kept one held never shows. At most two are kept (two monitors of
// different sizes).
struct KeptDib {
  HBITMAP bitmap = nullptr;
  void* bits = nullptr;
  int width = 0, height = 0;
};
KeptDib g_kept[2];

HBITMAP TakeDib(int width, int height, void** bits) {
  for (KeptDib& k : g_kept) {
    if (k.bitmap && k.width == width && k.height == height) {
      GdiFlush();  // nothing pending reads it while it is written
      HBITMAP bitmap = k.bitmap;
      *bits = k.bits;
      k = KeptDib{};
      return bitmap;
    }
  }
  return TopDownDib(width, height, bits);
}

void GiveBackDib(HBITMAP bitmap) {
  if (!bitmap) return;
  DIBSECTION ds{};
  if (GetObject(bitmap, sizeof ds, &ds) != sizeof ds || !ds.dsBm.bmBits || ds.dsBm.bmBitsPixel != 32) {
    DeleteObject(bitmap);
    return;
  }
  // The older of the two kept ones makes room.
  if (g_kept[1].bitmap) DeleteObject(g_kept[1].bitmap);
  g_kept[1] = g_kept[0];
  g_kept[0] = KeptDib{bitmap, ds.dsBm.bmBits, static_cast<int>(ds.dsBm.bmWidth), static_cast<int>(ds.dsBm.bmHeight)};
}

bool Contains(const RECT& outer, const RECT& inner) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

ComPtr<IWICBitmapFrameDecode> OpenFrame(const std::wstring& path, ComPtr<IWICBitmapDecoder>& decoder) {
  IWICImagingFactory* factory = Factory();
  if (!factory) return {};
  ComPtr<IWICBitmapFrameDecode> frame;
  if (FAILED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                                decoder.put())) ||
      FAILED(decoder->GetFrame(0, frame.put())))
    return {};
  return frame;
}

// Copies `part` in bands of rows, top to bottom: a converter takes a buffer
// of the source's pixels for each call, and one of the whole part is as
// large as the picture (fresh pages, each touched for the first time),
// where one of a band is reused from call to call.
bool CopyPart(IWICBitmapSource* source, const PixelArea& part, uint32_t* out) {
  const UINT stride = static_cast<UINT>(part.Width()) * 4;
  const INT band = std::max<INT>(1, static_cast<INT>(kCopyBandBytes / stride));
  for (INT y = 0; y < part.Height(); y += band) {
    const WICRect rect{part.left, part.top + y, part.Width(), std::min(band, part.Height() - y)};
    if (FAILED(CopyRect(source, rect, stride, reinterpret_cast<BYTE*>(out) + static_cast<std::size_t>(y) * stride)))
      return false;
  }
  return true;
}

PixelRowReader RowReader(IWICBitmapSource* source) {
  return [source](uint32_t y, uint32_t x, uint32_t count, uint32_t* row) {
    const WICRect line{static_cast<INT>(x), static_cast<INT>(y), static_cast<INT>(count), 1};
    return SUCCEEDED(CopyRect(source, line, count * 4, reinterpret_cast<BYTE*>(row)));
  };
}

// Turns the stored pixels of `part` upright through the flip-rotator.
bool TurnByRotator(std::vector<uint32_t>& stored, const PixelArea& part, uint16_t orientation, uint32_t* upright) {
  const UINT w = static_cast<UINT>(part.Width()), h = static_cast<UINT>(part.Height());
  ComPtr<IWICBitmap> held;
  if (FAILED(Factory()->CreateBitmapFromMemory(w, h, GUID_WICPixelFormat32bppBGRA, w * 4, w * h * 4,
                                               reinterpret_cast<BYTE*>(stored.data()), held.put())))
    return false;
  ComPtr<IWICBitmapSource> turned = Turned(held.get(), orientation);
  UINT tw = 0, th = 0;
  if (!turned || FAILED(turned->GetSize(&tw, &th)) || tw * th != w * h) return false;
  const WICRect all{0, 0, static_cast<INT>(tw), static_cast<INT>(th)};
  return SUCCEEDED(turned->CopyPixels(&all, tw * 4, tw * th * 4, reinterpret_cast<BYTE*>(upright)));
}

}  // namespace

std::shared_ptr<WicPicture> WicPicture::Load(const std::wstring& path, const PictureHeaderInfo& info, int twipsX,
                                             int twipsY) {
  std::shared_ptr<WicPicture> picture(new WicPicture());
  picture->path_ = path;
  picture->frame_ = OpenFrame(path, picture->decoder_);
  IWICBitmapFrameDecode* frame = picture->frame_.get();
  if (!frame) InvalidPicture();
  UINT w = 0, h = 0;
  WICPixelFormatGUID format{};
  if (FAILED(frame->GetSize(&w, &h)) || w == 0 || h == 0 || FAILED(frame->GetPixelFormat(&format))) InvalidPicture();
  // Formats we do not know were not checked before: their size is checked
  // here, before any pixel is asked for.
  if (static_cast<uint64_t>(w) * h * 4 > kMaxDecodedBytes) InvalidPicture();
  // BMP and TIFF decoders read the pixels only when asked: the last one is
  // asked for now, so a damaged file fails here and not when it is drawn.
  if (info.format == PictureFormat::Bmp || info.format == PictureFormat::Tiff) {
    ComPtr<IWICBitmapSource> converted = Converted(frame);
    BYTE pixel[4];
    const WICRect last{static_cast<INT>(w) - 1, static_cast<INT>(h) - 1, 1, 1};
    if (!converted || FAILED(CopyRect(converted.get(), last, 4, pixel))) InvalidPicture();
  }
  picture->storedWidth_ = w;
  picture->storedHeight_ = h;
  if (info.format == PictureFormat::Jpeg || info.format == PictureFormat::Tiff)
    picture->orientation_ = info.orientation;
  const bool swap = OrientationSwapsAxes(picture->orientation_);
  picture->width_ = static_cast<int>(swap ? h : w);
  picture->height_ = static_cast<int>(swap ? w : h);
  picture->widthTwips_ = static_cast<long>(picture->width_) * twipsX;
  picture->heightTwips_ = static_cast<long>(picture->height_) * twipsY;
  // An indexed picture (a GIF) is translucent exactly when its colour table
  // holds a transparent colour, whatever the system says of indexed formats
  // in general (some imaging components call them all opaque and would show
  // a GIF's transparent colour as the colour it stands in the table).
  const FormatFacts facts = FactsOf(format);
  picture->translucent_ =
      facts.indexedBits != 0 ? !IndexedFrameOpaque(frame, facts.indexedBits) : facts.mayBeTranslucent;
  return picture;
}

bool WicPicture::DrawsByCopy(const RECT& image) const {
  return image.right - image.left <= width_ && image.bottom - image.top <= height_;
}

WicPicture::~WicPicture() { GiveBackDib(decoded_.release()); }

bool WicPicture::Decode(SIZE size, const RECT& part, COLORREF back) const {
  GiveBackDib(decoded_.release());
  decodedSize_ = SIZE{};
  decodedPart_ = RECT{};
  // The decoder opened at load time serves the first decode; later ones
  // (another size or part) open the file again.
  ComPtr<IWICBitmapDecoder> decoder = decoder_;
  ComPtr<IWICBitmapFrameDecode> frame = frame_;
  decoder_.reset();
  frame_.reset();
  if (!frame) frame = OpenFrame(path_, decoder);
  if (!frame) return false;

  // The stored picture at the size that turns into `size` upright: reduced
  // by the codec as far as it goes, then by sampling.
  const bool swap = OrientationSwapsAxes(orientation_);
  const UINT sw = static_cast<UINT>(swap ? size.cy : size.cx), sh = static_cast<UINT>(swap ? size.cx : size.cy);
  ComPtr<IWICBitmapSource> source = AsSource(frame.get());
  UINT srcW = storedWidth_, srcH = storedHeight_;
  if (sw != storedWidth_ || sh != storedHeight_) {
    if (ComPtr<IWICBitmapSource> reduced = ReducedByCodec(frame.get(), sw, sh, storedWidth_)) {
      source = reduced;
      source->GetSize(&srcW, &srcH);
    }
  }
  ComPtr<IWICBitmapSource> converted = Converted(source.get());
  if (!converted) return false;

  const int pw = part.right - part.left, ph = part.bottom - part.top;
  void* bits = nullptr;
  struct Dib {  // back to the kept ones unless it is held
    HBITMAP bitmap;
    ~Dib() { GiveBackDib(bitmap); }
  } dib{TakeDib(pw, ph, &bits)};
  if (!dib.bitmap || !bits) return false;
  auto* out = static_cast<uint32_t*>(bits);
  // The stored pixels that turn into `part`: straight into the bitmap when
  // nothing turns.
  const PixelArea stored = StoredRect(orientation_, static_cast<int>(sw), static_cast<int>(sh),
                                      PixelArea{part.left, part.top, part.right, part.bottom});
  std::vector<uint32_t> turning(orientation_ == 1 ? 0 : static_cast<std::size_t>(pw) * ph);
  uint32_t* pixels = orientation_ == 1 ? out : turning.data();
  const bool read = srcW == sw && srcH == sh
                        ? CopyPart(converted.get(), stored, pixels)
                        : ReducePixels(RowReader(converted.get()), srcW, srcH, sw, sh, stored, pixels);
  if (!read) return false;
  if (orientation_ != 1 && !(FlipRotatorTurns(orientation_) && TurnByRotator(turning, stored, orientation_, out)))
    OrientPixels(orientation_, turning.data(), stored.Width(), stored.Height(), out);
  BYTE* bytes = static_cast<BYTE*>(bits);
  if (translucent_) ComposeOver(bytes, static_cast<std::size_t>(pw) * ph, back);
  GdiFlush();
  decoded_.reset(dib.bitmap);
  dib.bitmap = nullptr;
  decodedSize_ = size;
  decodedPart_ = part;
  decodedBack_ = back;
  return true;
}

bool WicPicture::Draw(HDC dc, const RECT& image, const RECT& visible, const RECT& part, COLORREF back) const {
  const int dw = image.right - image.left, dh = image.bottom - image.top;
  if (dw <= 0 || dh <= 0 || IsRectEmpty(&part) || IsRectEmpty(&visible)) return false;
  // Decoded at the drawn size where that is smaller than the picture, at
  // its own size otherwise (and stretched when drawn).
  const SIZE size{std::min(dw, width_), std::min(dh, height_)};
  const bool copy = size.cx == dw && size.cy == dh;
  const double kx = static_cast<double>(size.cx) / dw, ky = static_cast<double>(size.cy) / dh;
  // The visible part in the decoded picture's pixels; stretching takes a
  // pixel more on each side.
  RECT need{static_cast<LONG>(std::floor((visible.left - image.left) * kx)),
            static_cast<LONG>(std::floor((visible.top - image.top) * ky)),
            static_cast<LONG>(std::ceil((visible.right - image.left) * kx)),
            static_cast<LONG>(std::ceil((visible.bottom - image.top) * ky))};
  if (!copy) InflateRect(&need, 1, 1);
  const RECT whole{0, 0, size.cx, size.cy};
  if (!IntersectRect(&need, &need, &whole)) return false;

  const bool fresh = decoded_ && decodedSize_.cx == size.cx && decodedSize_.cy == size.cy &&
                     Contains(decodedPart_, need) && (!translucent_ || decodedBack_ == back);
  if (!fresh && !Decode(size, need, back)) return false;

  if (copy) {
    MemoryDC source(dc);
    Selection from(source.get(), decoded_.get());
    if (!source || !from.ok()) return false;
    return BitBlt(dc, part.left, part.top, part.right - part.left, part.bottom - part.top, source.get(),
                  part.left - image.left - decodedPart_.left, part.top - image.top - decodedPart_.top,
                  SRCCOPY) != FALSE;
  }
  // Drawn larger than decoded: enlarged by our own bilinear filter (the
  // same on every system, and far quicker than some systems' halftone
  // stretching), only the part that is drawn.
  DIBSECTION ds{};
  if (GetObject(decoded_.get(), sizeof ds, &ds) != sizeof ds || !ds.dsBm.bmBits) return false;
  const int pw = part.right - part.left, ph = part.bottom - part.top;
  void* bits = nullptr;
  struct Dib {  // back to the kept ones afterwards
    HBITMAP bitmap;
    ~Dib() { GiveBackDib(bitmap); }
  } enlarged{TakeDib(pw, ph, &bits)};
  if (!enlarged.bitmap || !bits) return false;
  const PixelArea held{decodedPart_.left, decodedPart_.top, decodedPart_.right, decodedPart_.bottom};
  const PixelArea drawn{part.left - image.left, part.top - image.top, part.right - image.left, part.bottom - image.top};
  if (!EnlargePixels(static_cast<const uint32_t*>(ds.dsBm.bmBits), held, static_cast<uint32_t>(size.cx),
                     static_cast<uint32_t>(size.cy), static_cast<uint32_t>(dw), static_cast<uint32_t>(dh), drawn,
                     static_cast<uint32_t*>(bits)))
    return false;
  MemoryDC source(dc);
  Selection from(source.get(), enlarged.bitmap);
  if (!source || !from.ok()) return false;
  return BitBlt(dc, part.left, part.top, pw, ph, source.get(), 0, 0, SRCCOPY) != FALSE;
}

}  // namespace tessaly::picture
