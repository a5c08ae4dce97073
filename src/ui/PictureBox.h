// A picture box used as drawing surface for a show. It paints its
// background and its windowless images; everything drawn with Line, Circle,
// PSet or Print goes straight to the screen and is not kept, so a repaint of
// an area (moved image, Cls, WM_PAINT) removes the drawing there.
#pragma once

#include "common/Win32.h"

#include <functional>
#include <string>
#include <vector>

#include "common/Controls.h"
#include "common/ScopedWin.h"
#include "ui/FrameCanvas.h"
#include "ui/WindowBinding.h"

namespace tessaly::ui {

class Form;
class ImageControl;

class PictureBox : public Surface, private WindowHandler {
 public:
  explicit PictureBox(Form& owner);
  ~PictureBox() override;
  PictureBox(const PictureBox&) = delete;
  PictureBox& operator=(const PictureBox&) = delete;

  // Creates the child window in `parent`: normally the owner form's
  // window, or a window of another program (the system preview). Creating
  // it again first destroys the previous window. In a show window the box
  // takes the focus and every key; in a dialog it takes neither, so the
  // dialog's keys keep working.
  void Create(HWND parent);
  void Destroy();
  HWND hWnd() const { return hwnd_; }
  Form& Owner() { return owner_; }
  // Position and size in the parent's client area, in twips.
  void Move(long left, long top, long width, long height);
  long Left() const;
  long Top() const;
  void SetFont(const std::string& face, double points, bool bold);
  void SetFocus();
  // Twips per pixel of the owner form (Dpi.h); inside the box's own code
  // these stand for the process-wide functions of App.h.
  double TwipsX() const;
  double TwipsY() const;
  int TwipsToPixelsX(double twips) const;
  int TwipsToPixelsY(double twips) const;

  // Events; X and Y in twips from the box's top-left. Mouse events over a
  // visible image go to that image instead.
  std::function<void(int KeyCode, int Shift)> KeyDown;
  std::function<void(int Button, int Shift, float X, float Y)> MouseMove;
  std::function<void(int Button, int Shift, float X, float Y)> MouseDown;

  // Surface
  long Width() const override;
  long Height() const override;
  void Cls() override;
  long TextWidth(const std::string& text) override;
  long TextHeight(const std::string& text) override;
  double CurrentX() const override { return currentX_; }
  double CurrentY() const override { return currentY_; }
  void SetCurrentX(double x) override { currentX_ = x; }
  void SetCurrentY(double y) override { currentY_ = y; }
  void Print(const std::string& text) override;
  int DrawWidth() const override { return drawWidth_; }
  void SetDrawWidth(int pixels) override;
  Color ForeColor() const override { return foreColor_; }
  void SetForeColor(Color c) override { foreColor_ = c; }
  Color BackColor() const override { return backColor_; }
  void SetBackColor(Color c) override;
  Color FillColor() const override { return fillColor_; }
  void SetFillColor(Color c) override { fillColor_ = c; }
  void Line(double x1, double y1, double x2, double y2, Color color, LineStyle style = LineStyle::Line) override;
  void Circle(double x, double y, double radius) override;
  void PSet(double x, double y, Color color) override;
  // Motion: composed and presented by the box's canvas; while its frames
  // run, a repaint draws the next frame.
  MotionCanvas* Motion() override { return &canvas_; }
  FrameCanvas& Canvas() { return canvas_; }

  // Used by ImageControl.
  void AttachImage(ImageControl* image);
  void DetachImage(ImageControl* image);
  // Repaints this rectangle (client pixels) at once: background, then the
  // visible images.
  void RepaintRect(const RECT& rect);
  // Marks this rectangle for repainting at the next paint: when the message
  // loop runs, when an image is shown or moved, or before anything is drawn
  // on the box, whichever comes first. A hidden image thus stays on screen
  // until whatever replaces it is ready.
  void RepaintLater(const RECT& rect);
  // Client size in pixels.
  SIZE ClientPixels() const;
  // Composes background and images of `area` (client pixels) into `dc`,
  // whose origin is the box's top-left.
  void Compose(HDC dc, const RECT& area);

 private:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) override;
  void WindowBound(HWND hwnd) override { hwnd_ = hwnd; }
  void WindowGone(HWND hwnd) override;
  // Whether the box takes the focus and the keys (not in a dialog).
  bool WantsKeys() const;
  void OnPaint();
  // The window's DC for drawing straight on the screen. What RepaintLater
  // left is painted first, so that the later paint cannot wipe the drawing out.
  WindowDC DrawingDC();
  // Paints `area` straight into the window DC when that takes a single
  // operation, which cannot flicker: the background where no image shows,
  // or one opaque image covering it that no other image touches.
  bool PaintDirect(HDC dc, const RECT& area);
  void OnMouse(UINT msg, WPARAM wParam, LPARAM lParam);
  HFONT Font() const;
  HPEN Pen(Color color);

  Form& owner_;
  HWND hwnd_ = nullptr;
  std::vector<ImageControl*> images_;
  long left_ = 0, top_ = 0, width_ = 0, height_ = 0;  // twips, as last moved
  double currentX_ = 0, currentY_ = 0;
  int drawWidth_ = 1;
  Color foreColor_ = 0x000000;
  Color backColor_ = 0x000000;
  Color fillColor_ = 0x000000;
  GdiObject<HFONT> font_;  // empty: the default GUI font
  GdiObject<HPEN> pen_;    // the last pen made, reused while width and colour stay
  int penWidth_ = 0;
  Color penColor_ = 0;
  bool repaintPending_ = false;  // RepaintLater has invalidated an area not yet painted
  FrameCanvas canvas_{*this};
};

}  // namespace tessaly::ui
