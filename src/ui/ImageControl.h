// A windowless image inside a picture box. The stretched kind (the show's
// target) draws its picture at its own size; the other (the work image)
// takes its picture's natural size. Changing what a visible image shows
// repaints the old and new area of the box at once.
#pragma once

#include "common/Win32.h"

#include <functional>
#include <string>

#include "common/Controls.h"
#include "common/ScopedWin.h"

namespace tessaly::ui {

class PictureBox;

class ImageControl : public Image {
 public:
  ImageControl(PictureBox& container, LoadedWindow& parent, bool stretch);
  ~ImageControl() override;
  ImageControl(const ImageControl&) = delete;
  ImageControl& operator=(const ImageControl&) = delete;

  // Mouse events over the image; X and Y in twips from its top-left.
  std::function<void(int Button, int Shift, float X, float Y)> MouseMove;
  // When unset, a click over the image goes to the box's MouseDown.
  std::function<void(int Button, int Shift, float X, float Y)> MouseDown;

  long Left() const override { return left_; }
  long Top() const override { return top_; }
  long Width() const override { return width_; }
  long Height() const override { return height_; }
  void SetLeft(long v) override;
  void SetTop(long v) override;
  void SetWidth(long v) override;
  void SetHeight(long v) override;
  // All four at once, with one repaint.
  void Move(long left, long top, long width, long height);
  bool Visible() const override { return visible_; }
  void SetVisible(bool v) override;
  PicturePtr GetPicture() const override { return picture_; }
  void SetPicture(PicturePtr picture) override;
  Surface& Container() override;
  LoadedWindow& Parent() override { return parent_; }
  bool Stretch() const { return stretch_; }

  // The image's rectangle in the box's client pixels.
  RECT PixelRect() const;
  // Whether the image shows anything in `area`, and whether it covers all
  // of it (its picture is opaque where it lies).
  bool Shows(const RECT& area) const;
  bool Covers(const RECT& area) const;
  // Draws the visible part of the image that lies in `area` into `dc`
  // (origin = the box's top-left); false when nothing could be drawn.
  bool Paint(HDC dc, const RECT& area);
  // How many times any image rendered its picture into its cache (a
  // repaint that only copies from the cache does not count).
  static long CacheRenders();
  // Called when the box goes away first.
  void DetachContainer() { container_ = nullptr; }

 private:
  void Change(long left, long top, long width, long height, bool visible, PicturePtr picture);
  // The part of `image` (pixels) inside the box; false when none is.
  bool VisiblePart(const RECT& image, RECT& visible) const;
  void DropCache();
  bool RenderCache(const RECT& image, const RECT& visible);

  PictureBox* container_;
  LoadedWindow& parent_;
  bool stretch_;
  long left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  bool visible_ = true;
  PicturePtr picture_;

  // The visible part of the picture rendered at its displayed size, and
  // what it was rendered for.
  GdiObject<HBITMAP> cache_;
  const Picture* cachePicture_ = nullptr;
  RECT cacheImage_{};    // image rectangle (pixels)
  RECT cacheVisible_{};  // part of it inside the box (pixels)
  SIZE cacheBox_{};
  Color cacheBack_ = 0;
};

// Decodes a picture file for the image controls (picture/Picture_win.h),
// its natural size in the process's twips per pixel.
PicturePtr LoadPictureFile(const std::string& path);

}  // namespace tessaly::ui
