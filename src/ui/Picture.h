// Pictures decoded by OLE (BMP, GIF, JPEG, placeable WMF, EMF).
#pragma once

#include "Win32.h"
#include <ole2.h>
#include <olectl.h>

#include <string>

#include "Controls.h"

namespace tessaly::ui {

class WinPicture : public Picture {
 public:
  // Takes over one reference of `picture`.
  explicit WinPicture(IPicture* picture);
  ~WinPicture() override;
  WinPicture(const WinPicture&) = delete;
  WinPicture& operator=(const WinPicture&) = delete;

  long WidthTwips() const override { return widthTwips_; }
  long HeightTwips() const override { return heightTwips_; }

  // PICTYPE_BITMAP, PICTYPE_METAFILE, PICTYPE_ENHMETAFILE, PICTYPE_ICON.
  SHORT Type() const { return type_; }
  bool IsBitmap() const { return type_ == PICTYPE_BITMAP; }
  // The HBITMAP, HMETAFILEPICT-less HMETAFILE or HENHMETAFILE.
  HANDLE Handle() const { return handle_; }
  HBITMAP Bitmap() const { return IsBitmap() ? static_cast<HBITMAP>(handle_) : nullptr; }
  // Raster size in pixels (0 for metafiles).
  int PixelWidth() const { return pixelWidth_; }
  int PixelHeight() const { return pixelHeight_; }
  // Size in HIMETRIC units (0.01 mm).
  long HimetricWidth() const { return himetricWidth_; }
  long HimetricHeight() const { return himetricHeight_; }
  IPicture* Raw() const { return picture_; }
  // Renders the whole picture into the rectangle (x, y, cx, cy) of `dc`.
  void Render(HDC dc, int x, int y, int cx, int cy) const;

 private:
  IPicture* picture_;
  SHORT type_ = PICTYPE_NONE;
  HANDLE handle_ = nullptr;
  int pixelWidth_ = 0, pixelHeight_ = 0;
  long himetricWidth_ = 0, himetricHeight_ = 0;
  long widthTwips_ = 0, heightTwips_ = 0;
};

// Decodes a picture file. A missing file raises AppError 53; an empty path,
// an unreadable file, a file that is not a BMP, GIF, JPEG, placeable WMF or
// EMF, or a raster too large to decode raises AppError 481.
PicturePtr LoadPictureFile(const std::string& path);

}  // namespace tessaly::ui
