#include "ui/PictureBox.h"

#include <windowsx.h>

#include <algorithm>
#include <cmath>

#include "ui/App.h"
#include "common/AppError.h"
#include "ui/Form.h"
#include "common/ScopedWin.h"
#include "common/WideText_win.h"
#include "ui/ImageControl.h"

namespace tessaly::ui {
namespace {

const char kPictureBoxClass[] = "TessalyPictureBox";

}  // namespace

PictureBox::PictureBox(Form& owner) : owner_(owner) {}

PictureBox::~PictureBox() {
  for (ImageControl* image : images_) image->DetachContainer();
  Destroy();
}

void PictureBox::Create(HWND parent) {
  Destroy();
  RegisterWindowClass(kPictureBoxClass, BoundWindowProc, nullptr);
  HWND hwnd = CreateWindowExA(0, kPictureBoxClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, TwipsToPixelsX(left_),
                              TwipsToPixelsY(top_), TwipsToPixelsX(width_), TwipsToPixelsY(height_), parent, nullptr,
                              GetModuleHandleA(nullptr), static_cast<WindowHandler*>(this));
  if (!hwnd) {
    hwnd_ = nullptr;
    throw AppError(kErrInvalidCall, "Unable to create the picture box", "PictureBox");
  }
  hwnd_ = hwnd;
  if (parent && parent == owner_.hWnd() && WantsKeys()) ::SetFocus(hwnd_);
}

bool PictureBox::WantsKeys() const { return !owner_.IsDialog(); }

void PictureBox::Destroy() {
  canvas_.Detach();
  if (!hwnd_) return;
  HWND hwnd = hwnd_;
  hwnd_ = nullptr;
  UnbindWindow(hwnd);
  DestroyWindow(hwnd);
}

void PictureBox::Move(long left, long top, long width, long height) {
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  if (hwnd_)
    MoveWindow(hwnd_, TwipsToPixelsX(left), TwipsToPixelsY(top), TwipsToPixelsX(width), TwipsToPixelsY(height), TRUE);
}

long PictureBox::Left() const { return left_; }
long PictureBox::Top() const { return top_; }

void PictureBox::SetFont(const std::string& face, double points, bool bold) {
  const int height = -static_cast<int>(std::lround(points * 20.0 / TwipsY()));
  HFONT font =
      CreateFontA(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face.c_str());
  if (!font) throw errors::InvalidPropertyValue("PictureBox");
  font_.reset(font);
}

HFONT PictureBox::Font() const { return font_ ? font_.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

void PictureBox::SetFocus() {
  if (hwnd_) ::SetFocus(hwnd_);
}

SIZE PictureBox::ClientPixels() const {
  if (!hwnd_) return SIZE{TwipsToPixelsX(width_), TwipsToPixelsY(height_)};
  RECT r{};
  GetClientRect(hwnd_, &r);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

long PictureBox::Width() const { return ClientPixels().cx * TwipsX(); }
long PictureBox::Height() const { return ClientPixels().cy * TwipsY(); }

void PictureBox::Cls() {
  currentX_ = currentY_ = 0;
  if (!hwnd_) return;
  InvalidateRect(hwnd_, nullptr, FALSE);
  UpdateWindow(hwnd_);
}

long PictureBox::TextWidth(const std::string& text) {
  WindowDC dc(hwnd_);
  if (!dc) return 0;
  Selection font(dc.get(), Font());
  SIZE size{};
  const std::wstring wide = Wide(text);
  GetTextExtentPoint32W(dc.get(), wide.c_str(), static_cast<int>(wide.size()), &size);
  return size.cx * TwipsX();
}

long PictureBox::TextHeight(const std::string& text) {
  WindowDC dc(hwnd_);
  if (!dc) return 0;
  Selection font(dc.get(), Font());
  SIZE size{};
  const std::wstring wide = Wide(text);
  if (!wide.empty()) GetTextExtentPoint32W(dc.get(), wide.c_str(), static_cast<int>(wide.size()), &size);
  if (size.cy <= 0) {
    TEXTMETRICA tm{};
    GetTextMetricsA(dc.get(), &tm);
    size.cy = tm.tmHeight;
  }
  return size.cy * TwipsY();
}

void PictureBox::Print(const std::string& text) {
  if (hwnd_) {
    WindowDC dc = DrawingDC();
    if (dc) {
      Selection font(dc.get(), Font());
      SetBkMode(dc.get(), TRANSPARENT);
      SetTextColor(dc.get(), ToColorRef(foreColor_));
      const std::wstring wide = Wide(text);
      TextOutW(dc.get(), TwipsToPixelsX(currentX_), TwipsToPixelsY(currentY_), wide.c_str(),
               static_cast<int>(wide.size()));
      GdiFlush();
    }
  }
  const long height = TextHeight(text);
  currentX_ = 0;
  currentY_ += height;
}

void PictureBox::SetDrawWidth(int pixels) {
  if (pixels < 1) throw errors::InvalidPropertyValue("PictureBox");
  drawWidth_ = pixels;
}

void PictureBox::SetBackColor(Color c) {
  backColor_ = c;
  Cls();
}

HPEN PictureBox::Pen(Color color) {
  const int width = std::max(1, owner_.Scale().PenPixels(drawWidth_));
  if (pen_ && penWidth_ == width && penColor_ == color) return pen_.get();
  LOGBRUSH brush{BS_SOLID, ToColorRef(color), 0};
  HPEN pen = ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_ROUND | PS_JOIN_ROUND, static_cast<DWORD>(width), &brush,
                          0, nullptr);
  if (!pen) return static_cast<HPEN>(GetStockObject(BLACK_PEN));
  pen_.reset(pen);
  penWidth_ = width;
  penColor_ = color;
  return pen;
}

void PictureBox::Line(double x1, double y1, double x2, double y2, Color color, LineStyle style) {
  if (!hwnd_) return;
  WindowDC dc = DrawingDC();
  if (!dc) return;
  const int px1 = TwipsToPixelsX(x1), py1 = TwipsToPixelsY(y1);
  const int px2 = TwipsToPixelsX(x2), py2 = TwipsToPixelsY(y2);
  if (style == LineStyle::BoxFilled) {
    RECT r{std::min(px1, px2), std::min(py1, py2), std::max(px1, px2) + 1, std::max(py1, py2) + 1};
    GdiObject<HBRUSH> brush(CreateSolidBrush(ToColorRef(color)));
    FillRect(dc.get(), &r, brush.get());
  } else {
    Selection pen(dc.get(), Pen(color));
    if (style == LineStyle::Box) {
      Selection hollow(dc.get(), GetStockObject(NULL_BRUSH));
      POINT corners[4] = {{px1, py1}, {px2, py1}, {px2, py2}, {px1, py2}};
      Polygon(dc.get(), corners, 4);
    } else {
      MoveToEx(dc.get(), px1, py1, nullptr);
      LineTo(dc.get(), px2, py2);
    }
  }
  GdiFlush();
}

void PictureBox::Circle(double x, double y, double radius) {
  if (!hwnd_) return;
  WindowDC dc = DrawingDC();
  if (!dc) return;
  const int cx = TwipsToPixelsX(x), cy = TwipsToPixelsY(y);
  const int r = static_cast<int>(std::lround(std::fabs(radius) / TwipsX()));
  const int width = std::max(1, owner_.Scale().PenPixels(drawWidth_));
  if (width == 1) {
    Selection pen(dc.get(), Pen(foreColor_));
    Selection hollow(dc.get(), GetStockObject(NULL_BRUSH));
    Ellipse(dc.get(), cx - r, cy - r, cx + r, cy + r);
  } else {
    // A wide pen is centred on the outline: the ring from r - width/2 to
    // r + width/2, filled as a region. (A wide-pen Ellipse covers the same
    // pixels but is widened as a path, far too slow for a transition.)
    const int out = r + width / 2;
    const int in = r - (width - width / 2);
    GdiObject<HRGN> ring(CreateEllipticRgn(cx - out, cy - out, cx + out + 1, cy + out + 1));
    if (ring && in > 0) {
      GdiObject<HRGN> hole(CreateEllipticRgn(cx - in, cy - in, cx + in + 1, cy + in + 1));
      if (hole) CombineRgn(ring.get(), ring.get(), hole.get(), RGN_DIFF);
    }
    GdiObject<HBRUSH> brush(CreateSolidBrush(ToColorRef(foreColor_)));
    if (ring && brush) FillRgn(dc.get(), ring.get(), brush.get());
  }
  GdiFlush();
}

void PictureBox::PSet(double x, double y, Color color) {
  if (!hwnd_) return;
  WindowDC dc = DrawingDC();
  if (!dc) return;
  const int cx = TwipsToPixelsX(x), cy = TwipsToPixelsY(y);
  const COLORREF c = ToColorRef(color);
  const int width = owner_.Scale().PenPixels(drawWidth_);
  if (width <= 1) {
    SetPixel(dc.get(), cx, cy, c);
  } else {
    // Ellipse with a one-pixel pen covers left..right-1: a dot of exactly
    // DrawWidth pixels across.
    const int left = cx - width / 2, top = cy - width / 2;
    GdiObject<HBRUSH> brush(CreateSolidBrush(c));
    GdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, c));
    Selection sb(dc.get(), brush.get());
    Selection sp(dc.get(), pen.get());
    Ellipse(dc.get(), left, top, left + width, top + width);
  }
  GdiFlush();
}

void PictureBox::AttachImage(ImageControl* image) {
  if (std::find(images_.begin(), images_.end(), image) == images_.end()) images_.push_back(image);
}

void PictureBox::DetachImage(ImageControl* image) {
  images_.erase(std::remove(images_.begin(), images_.end(), image), images_.end());
}

void PictureBox::RepaintRect(const RECT& rect) {
  if (!hwnd_ || IsRectEmpty(&rect)) return;
  InvalidateRect(hwnd_, &rect, FALSE);
  UpdateWindow(hwnd_);
}

void PictureBox::RepaintLater(const RECT& rect) {
  if (!hwnd_ || IsRectEmpty(&rect)) return;
  InvalidateRect(hwnd_, &rect, FALSE);
  repaintPending_ = true;
}

WindowDC PictureBox::DrawingDC() {
  if (repaintPending_) {
    UpdateWindow(hwnd_);
    repaintPending_ = false;
  }
  return WindowDC(hwnd_);
}

void PictureBox::Compose(HDC dc, const RECT& area) {
  GdiObject<HBRUSH> back(CreateSolidBrush(ToColorRef(backColor_)));
  FillRect(dc, &area, back.get());
  for (ImageControl* image : images_) image->Paint(dc, area);
}

bool PictureBox::PaintDirect(HDC dc, const RECT& area) {
  ImageControl* only = nullptr;
  int showing = 0;
  for (ImageControl* image : images_) {
    if (image->Shows(area)) {
      only = image;
      ++showing;
    }
  }
  if (showing == 0) {
    Compose(dc, area);  // the background alone
    return true;
  }
  return showing == 1 && only->Covers(area) && only->Paint(dc, area);
}

void PictureBox::OnPaint() {
  repaintPending_ = false;
  PaintDC paint(hwnd_);
  if (!paint) return;
  if (canvas_.RunsFrames()) {
    // A picture in motion: its next frame instead of the still image.
    paint.End();
    canvas_.Repaint();
    return;
  }
  HDC dc = paint.get();
  const RECT area = paint.Area();
  const int w = area.right - area.left, h = area.bottom - area.top;
  if (w > 0 && h > 0 && !PaintDirect(dc, area)) {
    MemoryDC mem(dc);
    GdiObject<HBITMAP> bitmap(mem ? CreateCompatibleBitmap(dc, w, h) : nullptr);
    if (bitmap) {
      {
        Selection select(mem.get(), bitmap.get());
        SetViewportOrgEx(mem.get(), -area.left, -area.top, nullptr);
        Compose(mem.get(), area);
        SetViewportOrgEx(mem.get(), 0, 0, nullptr);
        BitBlt(dc, area.left, area.top, w, h, mem.get(), 0, 0, SRCCOPY);
      }
    } else {
      Compose(dc, area);  // out of memory: paint directly
    }
  }
}

void PictureBox::OnMouse(UINT msg, WPARAM wParam, LPARAM lParam) {
  const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  const int shift = ShiftFromMouseKeys(wParam);
  const bool down = msg != WM_MOUSEMOVE;
  const int button = msg == WM_MOUSEMOVE     ? ButtonsFromMouseKeys(wParam)
                     : msg == WM_LBUTTONDOWN ? kLeftButton
                     : msg == WM_RBUTTONDOWN ? kRightButton
                                             : kMiddleButton;
  if (down && owner_.hWnd() && GetParent(hwnd_) == owner_.hWnd() && WantsKeys()) ::SetFocus(hwnd_);

  // Topmost image first.
  for (auto it = images_.rbegin(); it != images_.rend(); ++it) {
    ImageControl* image = *it;
    if (!image->Visible()) continue;
    const RECT r = image->PixelRect();
    if (!PtInRect(&r, pt)) continue;
    const float x = static_cast<float>(pt.x - r.left) * TwipsX();
    const float y = static_cast<float>(pt.y - r.top) * TwipsY();
    if (!down) {
      if (image->MouseMove) image->MouseMove(button, shift, x, y);
      return;
    }
    if (image->MouseDown) {
      image->MouseDown(button, shift, x, y);
      return;
    }
    break;
  }
  const float x = static_cast<float>(pt.x) * TwipsX();
  const float y = static_cast<float>(pt.y) * TwipsY();
  if (down) {
    if (MouseDown) MouseDown(button, shift, x, y);
  } else {
    if (MouseMove) MouseMove(button, shift, x, y);
  }
}

LRESULT PictureBox::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) {
  switch (msg) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: OnPaint(); return 0;
    case WM_GETDLGCODE:
      if (!WantsKeys()) break;
      return DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (!WantsKeys()) break;
      if (KeyDown) KeyDown(static_cast<int>(wParam), ShiftFromKeyboard());
      if (msg == WM_KEYDOWN) return 0;
      break;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: OnMouse(msg, wParam, lParam); return 0;
    default: break;
  }
  handled = false;
  return 0;
}

void PictureBox::WindowGone(HWND hwnd) {
  // Destroyed with its parent (the form, or the preview's window).
  if (hwnd_ == hwnd) {
    canvas_.Detach();
    hwnd_ = nullptr;
  }
}

// The scale of the owning form's monitor.
double PictureBox::TwipsX() const { return owner_.Scale().TwipsX(); }
double PictureBox::TwipsY() const { return owner_.Scale().TwipsY(); }
int PictureBox::TwipsToPixelsX(double twips) const { return owner_.Scale().ToPixelsX(twips); }
int PictureBox::TwipsToPixelsY(double twips) const { return owner_.Scale().ToPixelsY(twips); }

}  // namespace tessaly::ui
