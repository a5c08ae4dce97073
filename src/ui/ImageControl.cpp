#include "ui/ImageControl.h"

#include <algorithm>
#include <cmath>

#include "ui/App.h"
#include "ui/Form.h"
#include "common/ScopedWin.h"
#include "picture/Picture_win.h"
#include "ui/PictureBox.h"

namespace tessaly::ui {
namespace {

bool SameRect(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }

long g_cacheRenders = 0;

}  // namespace

long ImageControl::CacheRenders() { return g_cacheRenders; }

ImageControl::ImageControl(PictureBox& container, LoadedWindow& parent, bool stretch)
    : container_(&container), parent_(parent), stretch_(stretch) {
  container.AttachImage(this);
}

ImageControl::~ImageControl() {
  if (container_) {
    const RECT r = visible_ ? PixelRect() : RECT{};
    container_->DetachImage(this);
    if (container_->hWnd() && !IsRectEmpty(&r)) InvalidateRect(container_->hWnd(), &r, FALSE);
  }
  DropCache();
}

Surface& ImageControl::Container() { return *container_; }

RECT ImageControl::PixelRect() const {
  // At the DPI of the box's window, or the process-wide scale without a box.
  const auto px = [this](long t) { return container_ ? container_->TwipsToPixelsX(t) : TwipsToPixelsX(t); };
  const auto py = [this](long t) { return container_ ? container_->TwipsToPixelsY(t) : TwipsToPixelsY(t); };
  const int x = px(left_), y = py(top_);
  const int w = std::max(0, px(width_)), h = std::max(0, py(height_));
  return RECT{x, y, x + w, y + h};
}

void ImageControl::Change(long left, long top, long width, long height, bool visible, PicturePtr picture) {
  const RECT before = visible_ ? PixelRect() : RECT{};
  const bool pictureSet = picture != picture_;
  if (pictureSet) DropCache();
  const bool wasVisible = visible_;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  visible_ = visible;
  picture_ = std::move(picture);
  const RECT after = visible_ ? PixelRect() : RECT{};
  // Nothing to repaint when an invisible image stays invisible, or a visible
  // one keeps its place and picture.
  if (!wasVisible && !visible_) return;
  if (wasVisible == visible_ && SameRect(before, after) && !pictureSet) return;
  RECT both;
  UnionRect(&both, &before, &after);
  if (!container_) return;
  // Hiding leaves the picture on screen until the next paint: a show that
  // hides its image, loads the next picture and shows it again goes
  // straight from one picture to the next, without the background between.
  if (!visible_ && !pictureSet) {
    container_->RepaintLater(both);
  } else {
    container_->RepaintRect(both);
  }
}

void ImageControl::SetLeft(long v) { Change(v, top_, width_, height_, visible_, picture_); }
void ImageControl::SetTop(long v) { Change(left_, v, width_, height_, visible_, picture_); }
void ImageControl::SetWidth(long v) { Change(left_, top_, v, height_, visible_, picture_); }
void ImageControl::SetHeight(long v) { Change(left_, top_, width_, v, visible_, picture_); }
void ImageControl::Move(long left, long top, long width, long height) {
  Change(left, top, width, height, visible_, picture_);
}
void ImageControl::SetVisible(bool v) { Change(left_, top_, width_, height_, v, picture_); }

void ImageControl::SetPicture(PicturePtr picture) {
  long width = width_, height = height_;
  if (!stretch_ && picture) {
    width = picture->WidthTwips();
    height = picture->HeightTwips();
    // A raster's natural size is its pixels at the DPI of the box's window,
    // so that it is drawn pixel for pixel there.
    const auto* raster = dynamic_cast<const picture::WinPicture*>(picture.get());
    if (container_ && raster && raster->IsBitmap() && container_->Owner().Scale().Dpi() != 0) {
      width = std::lround(raster->PixelWidth() * container_->TwipsX());
      height = std::lround(raster->PixelHeight() * container_->TwipsY());
    }
  }
  const bool same = picture == picture_;
  Change(left_, top_, width, height, visible_, std::move(picture));
  // Assigning the same picture again still redraws it.
  if (same && visible_ && container_) container_->RepaintRect(PixelRect());
}

void ImageControl::DropCache() {
  cache_.reset();
  cachePicture_ = nullptr;
}

bool ImageControl::RenderCache(const RECT& image, const RECT& visible) {
  DropCache();
  const auto* picture = dynamic_cast<const picture::WinPicture*>(picture_.get());
  if (!picture || !container_) return false;
  const int vw = visible.right - visible.left, vh = visible.bottom - visible.top;
  if (vw <= 0 || vh <= 0 || image.right <= image.left || image.bottom <= image.top) return false;

  WindowDC screen(container_->hWnd());
  if (!screen) return false;
  GdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(screen.get(), vw, vh));
  MemoryDC mem(screen.get());
  if (!bitmap || !mem) return false;
  {
    Selection into(mem.get(), bitmap.get());
    // The cache holds the visible part: the box's pixels moved so that its
    // top-left is at the origin (metafile playback sets its own viewport, so
    // the rectangles move, not the DC's origin).
    RECT shiftedImage = image, shiftedVisible = visible;
    OffsetRect(&shiftedImage, -visible.left, -visible.top);
    OffsetRect(&shiftedVisible, -visible.left, -visible.top);
    const COLORREF back = ToColorRef(container_->BackColor());
    if (!picture->Draw(mem.get(), shiftedImage, shiftedVisible, shiftedVisible, back)) return false;
  }
  ++g_cacheRenders;
  cache_.reset(bitmap.release());
  cachePicture_ = picture_.get();
  cacheImage_ = image;
  cacheVisible_ = visible;
  cacheBox_ = container_->ClientPixels();
  cacheBack_ = container_->BackColor();
  return true;
}

bool ImageControl::Shows(const RECT& area) const {
  if (!visible_ || !picture_ || !container_) return false;
  const RECT image = PixelRect();
  RECT part;
  return IntersectRect(&part, &image, &area) != FALSE;
}

bool ImageControl::VisiblePart(const RECT& image, RECT& visible) const {
  const SIZE box = container_->ClientPixels();
  const RECT boxRect{0, 0, box.cx, box.cy};
  return IntersectRect(&visible, &image, &boxRect) != FALSE;
}

bool ImageControl::Covers(const RECT& area) const {
  if (!Shows(area) || !dynamic_cast<const picture::WinPicture*>(picture_.get())) return false;
  RECT visible, part;
  if (!VisiblePart(PixelRect(), visible)) return false;
  IntersectRect(&part, &visible, &area);
  return SameRect(part, area);
}

bool ImageControl::Paint(HDC dc, const RECT& area) {
  if (!visible_ || !picture_ || !container_) return false;
  const auto* picture = dynamic_cast<const picture::WinPicture*>(picture_.get());
  if (!picture) return false;
  const RECT image = PixelRect();
  RECT visible, part;
  if (!VisiblePart(image, visible) || !IntersectRect(&part, &visible, &area)) return false;

  // A picture that holds its pixels at the drawn size is copied straight
  // from them.
  if (picture->DrawsByCopy(image)) return picture->Draw(dc, image, visible, part, ToColorRef(container_->BackColor()));

  const SIZE box = container_->ClientPixels();
  const bool fresh = cache_ && cachePicture_ == picture_.get() && SameRect(cacheImage_, image) &&
                     SameRect(cacheVisible_, visible) && cacheBox_.cx == box.cx && cacheBox_.cy == box.cy &&
                     (!picture->UsesBackColor() || cacheBack_ == container_->BackColor());
  if (!fresh && !RenderCache(image, visible)) return false;
  MemoryDC source(dc);
  if (!source) return false;
  Selection from(source.get(), cache_.get());
  return BitBlt(dc, part.left, part.top, part.right - part.left, part.bottom - part.top, source.get(),
                part.left - visible.left, part.top - visible.top, SRCCOPY) != FALSE;
}

PicturePtr LoadPictureFile(const std::string& path) { return picture::LoadPictureFile(path, TwipsX(), TwipsY()); }

}  // namespace tessaly::ui
