#include "picture/Picture_win.h"

#include <cmath>
#include <utility>
#include <vector>

#include "common/AppError.h"
#include "common/ScopedWin.h"
#include "common/WideText_win.h"
#include "picture/PictureHeader.h"
#include "picture/WicPicture_win.h"

namespace tessaly::picture {
namespace {

// OleLoadPicturePath reports a missing file with this.
const HRESULT kResourceNotFound = static_cast<HRESULT>(0x800C0005L);

[[noreturn]] void FileNotFound() { throw AppError(kErrFileNotFound, "File not found", "Tessaly"); }

// The full path, in the wide form every call below takes.
std::wstring FullPath(const std::string& path) {
  const std::wstring given = Wide(path);
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD n = GetFullPathNameW(given.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
    if (n == 0) InvalidPicture();
    if (n < buffer.size()) return std::wstring(buffer.data(), n);
    buffer.resize(n + 1);
  }
}

// Opens the file and reads its signature, claimed size and orientation.
PictureHeaderInfo CheckHeader(const std::wstring& fullPath) {
  KernelHandle file(CreateFileW(fullPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_INVALID_NAME ||
        error == ERROR_BAD_NETPATH || error == ERROR_INVALID_DRIVE)
      FileNotFound();
    InvalidPicture();
  }
  const ByteReader read = [&file](uint64_t offset, void* buffer, std::size_t size) -> std::size_t {
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(offset);
    if (!SetFilePointerEx(file.get(), at, nullptr, FILE_BEGIN)) return 0;
    DWORD got = 0;
    if (!ReadFile(file.get(), buffer, static_cast<DWORD>(size), &got, nullptr)) return 0;
    return got;
  };
  return ReadPictureHeader(read);
}

}  // namespace

void InvalidPicture() { throw errors::InvalidPicture("Tessaly"); }

HBITMAP TopDownDib(int width, int height, void** bits) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  return CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, bits, nullptr, 0);
}

MetafilePicture::MetafilePicture(ComPtr<IPicture> picture) : picture_(std::move(picture)) {
  if (!picture_) return;
  picture_->get_Type(&type_);
  OLE_XSIZE_HIMETRIC w = 0;
  OLE_YSIZE_HIMETRIC h = 0;
  picture_->get_Width(&w);
  picture_->get_Height(&h);
  himetricWidth_ = w;
  himetricHeight_ = h;
  widthTwips_ = std::lround(himetricWidth_ * 1440.0 / 2540.0);
  heightTwips_ = std::lround(himetricHeight_ * 1440.0 / 2540.0);
}

bool MetafilePicture::Draw(HDC dc, const RECT& image, const RECT&, const RECT& part, COLORREF back) const {
  if (!picture_ || IsRectEmpty(&part)) return false;
  // The background shows through, then the picture played at the image's
  // size, clipped to the part.
  GdiObject<HBRUSH> brush(CreateSolidBrush(back));
  FillRect(dc, &part, brush.get());
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, part.left, part.top, part.right, part.bottom);
  const HRESULT hr = picture_->Render(dc, image.left, image.top, image.right - image.left, image.bottom - image.top, 0,
                                      himetricHeight_, himetricWidth_, -himetricHeight_, nullptr);
  RestoreDC(dc, saved);
  return SUCCEEDED(hr);
}

PicturePtr LoadPictureFile(const std::string& path, int twipsX, int twipsY) {
  if (path.empty()) InvalidPicture();
  std::wstring wide = FullPath(path);
  const PictureHeaderInfo info = CheckHeader(wide);
  const bool metafile = info.format == PictureFormat::PlaceableWmf || info.format == PictureFormat::Emf;
  // A signature of no format we know may still be one the system's imaging
  // component decodes; a damaged or oversized file of a known one is not
  // handed to any decoder.
  if (info.format != PictureFormat::Unknown && !PictureHeaderAcceptable(info)) InvalidPicture();
  if (!metafile) return WicPicture::Load(wide, info, twipsX, twipsY);

  InitOle();
  ComPtr<IPicture> loaded;
  const HRESULT hr = OleLoadPicturePath(&wide[0], nullptr, 0, 0, IID_IPicture, reinterpret_cast<void**>(loaded.put()));
  if (FAILED(hr) || !loaded) {
    if (hr == kResourceNotFound) FileNotFound();
    InvalidPicture();
  }
  auto picture = std::make_shared<MetafilePicture>(std::move(loaded));
  if ((picture->Type() != PICTYPE_METAFILE && picture->Type() != PICTYPE_ENHMETAFILE) ||
      picture->HimetricWidth() <= 0 || picture->HimetricHeight() <= 0)
    InvalidPicture();
  return picture;
}

}  // namespace tessaly::picture
