#include "Picture.h"

#include <cmath>
#include <vector>

#include "App.h"
#include "AppError.h"
#include "PictureHeader.h"

namespace tessaly::ui {
namespace {

// OleLoadPicturePath reports a missing file with this.
const HRESULT kResourceNotFound = static_cast<HRESULT>(0x800C0005L);

[[noreturn]] void FileNotFound() { throw AppError(kErrFileNotFound, "File not found", "Tessaly"); }
[[noreturn]] void InvalidPicture() { throw AppError(481, "Invalid picture", "Tessaly"); }

void EnsureOle() {
  static bool initialised = false;
  if (initialised) return;
  // S_FALSE / RPC_E_CHANGED_MODE: COM is already running on this thread,
  // which serves as well.
  OleInitialize(nullptr);
  initialised = true;
}

class FileHandle {
 public:
  explicit FileHandle(HANDLE h) : h_(h) {}
  ~FileHandle() {
    if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  HANDLE get() const { return h_; }
  bool ok() const { return h_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE h_;
};

std::string FullPath(const std::string& path) {
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    const DWORD n = GetFullPathNameA(path.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
    if (n == 0) InvalidPicture();
    if (n < buffer.size()) return std::string(buffer.data(), n);
    buffer.resize(n + 1);
  }
}

std::wstring Wide(const std::string& text) {
  const int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
  if (n <= 0) InvalidPicture();
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], n);
  wide.resize(static_cast<std::size_t>(n - 1));
  return wide;
}

// Opens the file and checks its signature and claimed size.
void CheckHeader(const std::string& fullPath) {
  FileHandle file(CreateFileA(fullPath.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.ok()) {
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
  if (!PictureHeaderAcceptable(ReadPictureHeader(read))) InvalidPicture();
}

}  // namespace

WinPicture::WinPicture(IPicture* picture) : picture_(picture) {
  if (!picture_) return;
  picture_->get_Type(&type_);
  OLE_HANDLE handle = 0;
  if (SUCCEEDED(picture_->get_Handle(&handle)))
    handle_ = LongToHandle(static_cast<LONG>(handle));  // GDI handles are 32-bit values
  OLE_XSIZE_HIMETRIC w = 0;
  OLE_YSIZE_HIMETRIC h = 0;
  picture_->get_Width(&w);
  picture_->get_Height(&h);
  himetricWidth_ = w;
  himetricHeight_ = h;
  if (type_ == PICTYPE_BITMAP && handle_) {
    BITMAP bm{};
    if (GetObjectA(handle_, sizeof bm, &bm)) {
      pixelWidth_ = bm.bmWidth;
      pixelHeight_ = bm.bmHeight < 0 ? -bm.bmHeight : bm.bmHeight;
    }
    widthTwips_ = static_cast<long>(pixelWidth_) * TwipsX();
    heightTwips_ = static_cast<long>(pixelHeight_) * TwipsY();
  } else {
    widthTwips_ = std::lround(himetricWidth_ * 1440.0 / 2540.0);
    heightTwips_ = std::lround(himetricHeight_ * 1440.0 / 2540.0);
  }
}

WinPicture::~WinPicture() {
  if (picture_) picture_->Release();
}

void WinPicture::Render(HDC dc, int x, int y, int cx, int cy) const {
  if (!picture_) return;
  picture_->Render(dc, x, y, cx, cy, 0, himetricHeight_, himetricWidth_, -himetricHeight_, nullptr);
}

PicturePtr LoadPictureFile(const std::string& path) {
  if (path.empty()) InvalidPicture();
  const std::string full = FullPath(path);
  CheckHeader(full);
  std::wstring wide = Wide(full);
  EnsureOle();
  IPicture* raw = nullptr;
  const HRESULT hr = OleLoadPicturePath(&wide[0], nullptr, 0, 0, IID_IPicture, reinterpret_cast<void**>(&raw));
  if (FAILED(hr) || !raw) {
    if (raw) raw->Release();
    if (hr == kResourceNotFound) FileNotFound();
    InvalidPicture();
  }
  auto picture = std::make_shared<WinPicture>(raw);
  switch (picture->Type()) {
    case PICTYPE_BITMAP:
      if (picture->PixelWidth() <= 0 || picture->PixelHeight() <= 0) InvalidPicture();
      break;
    case PICTYPE_METAFILE:
    case PICTYPE_ENHMETAFILE:
      if (picture->HimetricWidth() <= 0 || picture->HimetricHeight() <= 0) InvalidPicture();
      break;
    default:
      InvalidPicture();
  }
  return picture;
}

}  // namespace tessaly::ui
