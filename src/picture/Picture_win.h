// Pictures of the window layer. Raster pictures (BMP, GIF, JPEG, PNG, TIFF
// and whatever else the imaging component of the system decodes) are
// decoded through it, at the size they are drawn (WicPicture.h); metafiles
// (placeable WMF, EMF) are loaded by OLE and played by GDI.
#pragma once

#include "common/Win32.h"
#include <ole2.h>
#include <olectl.h>

#include <string>

#include "common/Controls.h"
#include "common/ScopedWin.h"

namespace tessaly::picture {

// What the image controls draw.
class WinPicture : public Picture {
 public:
  long WidthTwips() const override { return widthTwips_; }
  long HeightTwips() const override { return heightTwips_; }

  // A raster picture (not a metafile).
  virtual bool IsBitmap() const = 0;
  // Size in pixels of the upright raster picture (0 for metafiles).
  virtual int PixelWidth() const { return 0; }
  virtual int PixelHeight() const { return 0; }
  // Draws the part `part` of the picture shown over `image`, where `visible`
  // is the part of `image` inside its box: box pixels, with the box's
  // top-left at the origin of `dc`. Transparent parts show `back`. False when
  // nothing could be drawn.
  virtual bool Draw(HDC dc, const RECT& image, const RECT& visible, const RECT& part, COLORREF back) const = 0;
  // Whether drawing over `image` is a plain copy of pixels it holds, cheap
  // enough for every repaint (otherwise the image control keeps a copy).
  virtual bool DrawsByCopy(const RECT& image) const = 0;
  // Whether the drawing depends on the background colour.
  virtual bool UsesBackColor() const = 0;

 protected:
  long widthTwips_ = 0, heightTwips_ = 0;
};

// A metafile loaded by OLE.
class MetafilePicture : public WinPicture {
 public:
  explicit MetafilePicture(ComPtr<IPicture> picture);

  // PICTYPE_METAFILE or PICTYPE_ENHMETAFILE.
  SHORT Type() const { return type_; }
  // Size in HIMETRIC units (0.01 mm).
  long HimetricWidth() const { return himetricWidth_; }
  long HimetricHeight() const { return himetricHeight_; }

  bool IsBitmap() const override { return false; }
  bool Draw(HDC dc, const RECT& image, const RECT& visible, const RECT& part, COLORREF back) const override;
  bool DrawsByCopy(const RECT&) const override { return false; }
  bool UsesBackColor() const override { return true; }

 private:
  ComPtr<IPicture> picture_;
  SHORT type_ = PICTYPE_NONE;
  long himetricWidth_ = 0, himetricHeight_ = 0;
};

// Decodes a picture file. A missing file raises AppError 53; an empty path,
// an unreadable file, a file that is not a picture the system can decode
// (among them a non-placeable WMF), a damaged one, or a raster too large to
// decode raises AppError 481.
// A raster picture's natural size is its pixels times the given twips per
// pixel.
PicturePtr LoadPictureFile(const std::string& path, int twipsX, int twipsY);

// Raises AppError 481 "Invalid picture".
[[noreturn]] void InvalidPicture();

// A 32-bit top-down DIB section of the size, its pixels at *bits; nullptr
// when the system has no room for it.
HBITMAP TopDownDib(int width, int height, void** bits);

}  // namespace tessaly::picture
