// Drawing on the picture box, read back from the screen.
#include "UiTestSupport.h"

namespace uitest {
namespace {

class DrawingTest : public HostedBoxTest {
 protected:
  static double T(int pixels) { return pixels * 15.0; }

  // Coloured pixels along a row, from x0 to x1 inclusive.
  int CountInRow(int y, int x0, int x1, COLORREF c) {
    int n = 0;
    for (int x = x0; x <= x1; ++x) n += Near(PixelAt(hwnd(), x, y), c) ? 1 : 0;
    return n;
  }
  int CountInColumn(int x, int y0, int y1, COLORREF c) {
    int n = 0;
    for (int y = y0; y <= y1; ++y) n += Near(PixelAt(hwnd(), x, y), c) ? 1 : 0;
    return n;
  }
};

TEST_F(DrawingTest, BoxMeasuresTheTwipsItWasGiven) {
  EXPECT_EQ(box().Width(), kFormW * 15);
  EXPECT_EQ(box().Height(), kFormH * 15);
  RECT r{};
  GetClientRect(hwnd(), &r);
  EXPECT_EQ(r.right, kFormW);
  EXPECT_EQ(r.bottom, kFormH);
  box().Move(0, 0, 3000, 1500);
  EXPECT_EQ(box().Width(), 3000);
  EXPECT_EQ(box().Height(), 1500);
  GetClientRect(hwnd(), &r);
  EXPECT_EQ(r.right, 200);
  EXPECT_EQ(r.bottom, 100);
}

TEST_F(DrawingTest, BackColorFillsTheBox) {
  EXPECT_PIXEL(hwnd(), 0, 0, kWhite);
  EXPECT_PIXEL(hwnd(), kFormW - 1, kFormH - 1, kWhite);
  box().SetBackColor(kGreen);
  EXPECT_PIXEL(hwnd(), 10, 10, kGreen);
  EXPECT_PIXEL(hwnd(), kFormW - 1, kFormH - 1, kGreen);
}

TEST_F(DrawingTest, WideLineIsCentredWithRoundEnds) {
  box().SetDrawWidth(5);
  box().Line(T(20), T(50), T(200), T(50), kRed);
  EXPECT_PIXEL(hwnd(), 100, 50, kRed);
  EXPECT_PIXEL(hwnd(), 100, 48, kRed);
  EXPECT_PIXEL(hwnd(), 100, 52, kRed);
  EXPECT_PIXEL(hwnd(), 100, 45, kWhite);
  EXPECT_PIXEL(hwnd(), 100, 55, kWhite);
  // Across the line it is as wide as the pen.
  const int across = CountInColumn(100, 40, 60, kRed);
  EXPECT_GE(across, 4);
  EXPECT_LE(across, 6);
  // The round cap reaches past the end point, but not as a square would.
  EXPECT_PIXEL(hwnd(), 18, 50, kRed);
  EXPECT_PIXEL(hwnd(), 202, 50, kRed);
  EXPECT_PIXEL(hwnd(), 14, 50, kWhite);
  EXPECT_PIXEL(hwnd(), 18, 48, kWhite);
}

TEST_F(DrawingTest, BoxIsAnOutlineWithThePen) {
  box().SetDrawWidth(3);
  box().Line(T(40), T(100), T(140), T(160), kGreen, LineStyle::Box);
  EXPECT_PIXEL(hwnd(), 90, 100, kGreen);  // top edge
  EXPECT_PIXEL(hwnd(), 90, 101, kGreen);
  EXPECT_PIXEL(hwnd(), 90, 160, kGreen);   // bottom edge
  EXPECT_PIXEL(hwnd(), 40, 130, kGreen);   // left edge
  EXPECT_PIXEL(hwnd(), 140, 130, kGreen);  // right edge
  EXPECT_PIXEL(hwnd(), 40, 100, kGreen);   // corner
  EXPECT_PIXEL(hwnd(), 90, 130, kWhite);   // inside stays
  EXPECT_PIXEL(hwnd(), 90, 96, kWhite);    // outside
}

TEST_F(DrawingTest, FilledBoxCoversItsCornersInclusive) {
  box().SetDrawWidth(7);  // the pen does not widen a filled box
  box().Line(T(250), T(60), T(200), T(20), kBlue, LineStyle::BoxFilled);
  EXPECT_PIXEL(hwnd(), 200, 20, kBlue);
  EXPECT_PIXEL(hwnd(), 250, 60, kBlue);
  EXPECT_PIXEL(hwnd(), 225, 40, kBlue);
  EXPECT_PIXEL(hwnd(), 251, 60, kWhite);
  EXPECT_PIXEL(hwnd(), 250, 61, kWhite);
  EXPECT_PIXEL(hwnd(), 199, 20, kWhite);
  EXPECT_EQ(CountInRow(40, 190, 260, kBlue), 51);
}

TEST_F(DrawingTest, CircleIsARingInForeColor) {
  box().SetDrawWidth(3);
  box().SetForeColor(RGB(255, 0, 255));
  box().Circle(T(300), T(200), T(50));
  const COLORREF magenta = RGB(255, 0, 255);
  EXPECT_GE(CountInRow(200, 345, 355, magenta), 2);  // right of the centre
  EXPECT_GE(CountInRow(200, 245, 255, magenta), 2);  // left
  EXPECT_GE(CountInColumn(300, 145, 155, magenta), 2);
  EXPECT_GE(CountInColumn(300, 245, 255, magenta), 2);
  EXPECT_PIXEL(hwnd(), 300, 200, kWhite);  // an outline, not a disc
  EXPECT_PIXEL(hwnd(), 320, 200, kWhite);
  EXPECT_PIXEL(hwnd(), 360, 200, kWhite);
  // The pen is centred on the outline and exactly as wide as DrawWidth.
  EXPECT_EQ(CountInRow(200, 340, 360, magenta), 3);
  EXPECT_EQ(CountInColumn(300, 240, 260, magenta), 3);

  // A wide ring, and a circle smaller than its pen, which is a dot.
  box().SetDrawWidth(12);
  box().SetForeColor(kBlue);
  box().Circle(T(150), T(150), T(80));
  EXPECT_EQ(CountInRow(150, 215, 245, kBlue), 12);
  EXPECT_EQ(CountInRow(150, 55, 85, kBlue), 12);
  EXPECT_PIXEL(hwnd(), 150, 150, kWhite);
  EXPECT_PIXEL(hwnd(), 150 + 56, 150 + 56, kBlue);  // on the diagonal too
  EXPECT_PIXEL(hwnd(), 150 + 45, 150 + 45, kWhite);
  box().Circle(T(360), T(40), T(3));
  EXPECT_PIXEL(hwnd(), 360, 40, kBlue);
  EXPECT_GE(CountInRow(40, 345, 375, kBlue), 11);
}

TEST_F(DrawingTest, WidePSetIsARoundDotAsWideAsThePen) {
  box().SetDrawWidth(9);
  box().PSet(T(60), T(250), kRed);
  EXPECT_PIXEL(hwnd(), 60, 250, kRed);
  const int across = CountInRow(250, 45, 75, kRed);
  const int down = CountInColumn(60, 235, 265, kRed);
  EXPECT_GE(across, 8);
  EXPECT_LE(across, 10);
  EXPECT_GE(down, 8);
  EXPECT_LE(down, 10);
  // Round: the corners of its square stay clear.
  EXPECT_PIXEL(hwnd(), 56, 246, kWhite);
  EXPECT_PIXEL(hwnd(), 64, 254, kWhite);
}

TEST_F(DrawingTest, ThinPSetSetsOnePixel) {
  box().PSet(T(70), T(70), kBlue);
  EXPECT_PIXEL(hwnd(), 70, 70, kBlue);
  EXPECT_PIXEL(hwnd(), 71, 70, kWhite);
  EXPECT_PIXEL(hwnd(), 70, 71, kWhite);
  EXPECT_PIXEL(hwnd(), 69, 70, kWhite);
}

TEST_F(DrawingTest, DrawWidthBelowOneIsRefused) {
  box().SetDrawWidth(4);
  try {
    box().SetDrawWidth(0);
    FAIL() << "no error";
  } catch (const AppError& e) {
    EXPECT_EQ(e.Number(), 380);
  }
  EXPECT_EQ(box().DrawWidth(), 4);
}

TEST_F(DrawingTest, PrintedTextLiesInsideTheMeasuredBox) {
  box().SetBackColor(kBlack);
  box().SetForeColor(kWhite);
  box().SetFont("Arial", 14, true);
  const std::string caption = "Tessaly Caption";
  const long tw = box().TextWidth(caption), th = box().TextHeight(caption);
  ASSERT_GT(tw, 0);
  ASSERT_GT(th, 0);
  EXPECT_GT(box().TextWidth(caption + caption), tw);
  EXPECT_EQ(box().TextWidth(""), 0);
  box().SetCurrentX(T(100));
  box().SetCurrentY(T(80));
  box().Print(caption);
  EXPECT_EQ(box().CurrentX(), 0);
  EXPECT_EQ(box().CurrentY(), T(80) + th);

  const int left = 100, top = 80, right = 100 + static_cast<int>(tw / 15), bottom = 80 + static_cast<int>(th / 15);
  int inside = 0, outside = 0;
  for (int y = top - 10; y < bottom + 10; ++y) {
    for (int x = left - 10; x < right + 10; ++x) {
      const COLORREF c = PixelAt(hwnd(), x, y);
      const bool lit = GetRValue(c) + GetGValue(c) + GetBValue(c) > 3 * 96;
      if (!lit) continue;
      (x >= left && x < right && y >= top && y < bottom ? inside : outside)++;
    }
  }
  EXPECT_GT(inside, 50);
  EXPECT_EQ(outside, 0);
  // Text spreads over most of its width: both ends hold lit pixels.
  int firstColumn = right, lastColumn = left;
  for (int x = left; x < right; ++x)
    for (int y = top; y < bottom; ++y) {
      const COLORREF c = PixelAt(hwnd(), x, y);
      if (GetRValue(c) + GetGValue(c) + GetBValue(c) > 3 * 96) {
        firstColumn = std::min(firstColumn, x);
        lastColumn = std::max(lastColumn, x);
      }
    }
  EXPECT_LT(firstColumn, left + 6);
  EXPECT_GT(lastColumn, right - 6);
}

TEST_F(DrawingTest, BiggerFontMeasuresTaller) {
  box().SetFont("Arial", 10, false);
  const long small = box().TextHeight("Ag");
  box().SetFont("Arial", 24, false);
  const long big = box().TextHeight("Ag");
  EXPECT_GT(big, small * 2);
  EXPECT_GT(box().TextHeight(""), 0);
}

TEST_F(DrawingTest, ClsRemovesDrawingAndResetsThePrintPosition) {
  box().SetDrawWidth(3);
  box().Line(T(10), T(10), T(300), T(10), kRed);
  box().SetCurrentX(500);
  box().SetCurrentY(700);
  ASSERT_TRUE(Near(PixelAt(hwnd(), 150, 10), kRed));
  box().Cls();
  EXPECT_PIXEL(hwnd(), 150, 10, kWhite);
  EXPECT_EQ(box().CurrentX(), 0);
  EXPECT_EQ(box().CurrentY(), 0);
}

TEST_F(DrawingTest, RepaintFromTheSystemRemovesDrawingThere) {
  box().Line(T(0), T(120), T(399), T(120), kRed);
  RECT part{0, 100, 100, 140};
  RedrawWindow(hwnd(), &part, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_PIXEL(hwnd(), 50, 120, kWhite);
  EXPECT_PIXEL(hwnd(), 200, 120, kRed);
}

}  // namespace
}  // namespace uitest
