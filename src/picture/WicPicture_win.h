// Raster pictures decoded through the Windows imaging component (WIC):
// BMP, GIF (first frame), JPEG, PNG, TIFF (first page) and any other format
// a codec installed on the system reads. A picture is decoded when it is
// first drawn, at the size it is drawn when that is smaller than its pixels
// (the codec reduces while decoding where it can, sampling does the rest),
// and only the part of it inside its box; transparent pixels are composed over
// the background colour; JPEG and TIFF pictures are turned upright by the
// orientation their camera recorded. The natural size is that of the
// upright picture, whatever size it is decoded at.
#pragma once

#include "common/Win32.h"

#include <wincodec.h>

#include <memory>
#include <string>

#include "common/ScopedWin.h"
#include "picture/Picture_win.h"
#include "picture/PictureHeader.h"

namespace tessaly::picture {

class WicPicture : public WinPicture {
 public:
  // Opens the file (its header already read into `info`) and checks what the
  // decoder reports; the decoder is kept until the picture is first drawn.
  // Raises AppError 481 when the file cannot be decoded.
  static std::shared_ptr<WicPicture> Load(const std::wstring& path, const PictureHeaderInfo& info, int twipsX,
                                          int twipsY);

  ~WicPicture() override;
  WicPicture(const WicPicture&) = delete;
  WicPicture& operator=(const WicPicture&) = delete;

  bool IsBitmap() const override { return true; }
  int PixelWidth() const override { return width_; }
  int PixelHeight() const override { return height_; }
  bool Draw(HDC dc, const RECT& image, const RECT& visible, const RECT& part, COLORREF back) const override;
  bool DrawsByCopy(const RECT& image) const override;
  bool UsesBackColor() const override { return translucent_; }

  // The recorded orientation the picture is turned upright from (1 to 8).
  uint16_t Orientation() const { return orientation_; }
  // The size of the whole picture as last decoded, and the part of it that
  // was decoded (0 x 0 before the first draw).
  SIZE DecodedSize() const { return decodedSize_; }
  RECT DecodedPart() const { return decodedPart_; }
  // Whether the decoder opened at load time is still held.
  bool HoldsDecoder() const { return static_cast<bool>(frame_); }

 private:
  WicPicture() = default;
  bool Decode(SIZE size, const RECT& part, COLORREF back) const;

  std::wstring path_;
  uint16_t orientation_ = 1;
  int width_ = 0, height_ = 0;               // upright
  UINT storedWidth_ = 0, storedHeight_ = 0;  // as the file stores it
  bool translucent_ = false;

  mutable ComPtr<IWICBitmapDecoder> decoder_;
  mutable ComPtr<IWICBitmapFrameDecode> frame_;
  // The last decode: `decodedPart_` of the picture at `decodedSize_`, as a
  // 32-bit top-down DIB section.
  mutable GdiObject<HBITMAP> decoded_;
  mutable SIZE decodedSize_{};
  mutable RECT decodedPart_{};
  mutable COLORREF decodedBack_ = 0;
};

}  // namespace tessaly::picture
