// A picture box created straight in a window that is not one of ours, as
// the system's preview hands us one.
#include "UiTestSupport.h"

namespace uitest {
namespace {

LRESULT CALLBACK PlainProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcA(h, m, w, l); }

class PreviewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitTwips(15, 15);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = PlainProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    wc.lpszClassName = "UiTestPreviewParent";
    RegisterClassA(&wc);
    parent = CreateWindowA("UiTestPreviewParent", "Preview", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 500, 400, 152,
                           112, nullptr, nullptr, wc.hInstance, nullptr);
    UpdateWindow(parent);
    DoEvents();
  }
  void TearDown() override {
    if (IsWindow(parent)) DestroyWindow(parent);
    DrainQuit();
  }
  HWND parent = nullptr;
};

TEST_F(PreviewTest, BoxInAForeignWindowDraws) {
  HostForm owner;  // never loaded: the preview has no window of its own
  PictureBox& box = owner.box;
  box.Create(parent);
  ASSERT_TRUE(IsWindow(box.hWnd()));
  EXPECT_EQ(GetParent(box.hWnd()), parent);
  RECT client{};
  GetClientRect(parent, &client);
  box.Move(0, 0, client.right * 15, client.bottom * 15);
  EXPECT_EQ(box.Width(), 152 * 15);
  EXPECT_EQ(box.Height(), 112 * 15);
  box.SetBackColor(kBlack);
  EXPECT_PIXEL(box.hWnd(), 76, 56, kBlack);

  box.Line(150, 150, 600, 450, kRed, LineStyle::BoxFilled);
  EXPECT_PIXEL(box.hWnd(), 20, 20, kRed);
  EXPECT_PIXEL(box.hWnd(), 45, 25, kBlack);

  owner.target.Move(60 * 15, 40 * 15, 80 * 15, 60 * 15);
  owner.target.SetPicture(LoadPictureFile(WriteFile("preview.bmp", HalvesBmp(8, 8))));
  EXPECT_PIXEL(box.hWnd(), 70, 60, kRed);
  EXPECT_PIXEL(box.hWnd(), 130, 90, kBlue);
  EXPECT_PIXEL(box.hWnd(), 20, 20, kRed);  // outside the image: still there

  // The screen's own reading of the parent's area agrees.
  WindowDC screen(nullptr);
  POINT p{130, 90};
  ClientToScreen(box.hWnd(), &p);
  EXPECT_TRUE(Near(GetPixel(screen.get(), p.x, p.y), kBlue));
}

TEST_F(PreviewTest, ParentGoingAwayLeavesTheBoxHarmless) {
  HostForm owner;
  owner.box.Create(parent);
  DestroyWindow(parent);
  EXPECT_EQ(owner.box.hWnd(), nullptr);
  EXPECT_NO_THROW(owner.box.Line(0, 0, 100, 100, kRed));
  EXPECT_NO_THROW(owner.box.Cls());
  EXPECT_NO_THROW(owner.target.SetVisible(false));
}

}  // namespace
}  // namespace uitest
