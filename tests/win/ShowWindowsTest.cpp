// The show windows themselves (MainForm and the windows on further monitors)
// in this process: monitors given by the test and changed under a running
// show (WM_DISPLAYCHANGE), and a new DPI (WM_DPICHANGED) as per-monitor
// awareness delivers it.
#include "UiTestSupport.h"

#include <cmath>

#include "common/CRegSettings.h"
#include "common/RegistryApi.h"
#include "startup/ShowWindows.h"
#include "startup/Startup.h"
#include "startup/WinPlatform.h"
#include "common/mFiles.h"

namespace tessaly {

CRegSettings& TestSettings() {
  static CRegSettings settings(SystemRegistry(), "Quillmark Inc.", "Tessaly Show Windows Test");
  return settings;
}
StartupState& Startup() {
  static StartupState state;
  return state;
}
SlideShow& Engine() {
  static WinPlatform platform;
  static SlideShow show(TestSettings(), platform, SystemFileSystem(), Mode::Show, 0);
  return show;
}

}  // namespace tessaly

namespace uitest {
namespace {

std::string Entry(const std::string& file, const std::string& folder) {
  std::string e(512, ' ');
  e.replace(0, file.size(), file);
  e.replace(255, folder.size(), folder);
  return e;
}

MonitorRect RectOf(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return MonitorRect{r.left, r.top, r.right, r.bottom};
}

std::string Text(const MonitorRect& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "-" + std::to_string(r.right) + "," +
         std::to_string(r.bottom);
}

class ShowWindowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitTwips(15, 15);
    DrainQuit();
    CRegSettings& s = TestSettings();
    s.DeleteSetting("PictureFiles");
    s.DeleteSetting("Options");
    s.SaveSetting("PictureFiles", "File0", Entry("halves.bmp", TempFolder()));
    WriteFile("halves.bmp", HalvesBmp(40, 30));
    s.SaveSetting("Options", "Interval", "60");  // the tests tick by hand
    s.SaveSetting("Options", "SwapAffect", "None");
    s.SaveSetting("Options", "ShowFileName", "1");
    s.SaveSetting("Options", "BackColor", "0");
    Engine().StopShow = false;
  }
  void TearDown() override {
    if (form && form->Loaded()) form->Unload();
    form.reset();
    SetMonitorDpiScaling(false);
    TestSettings().DeleteSetting("PictureFiles");
    TestSettings().DeleteSetting("Options");
    DrainQuit();
  }
  // A MainForm over the monitors the test lists.
  void Open() {
    form = std::make_unique<MainForm>();
    form->ListMonitors = [this] { return monitors; };
    form->Load();
    form->Show();
    DoEvents();
  }
  void Tick(ShowForm& f) { Engine().NextSlide(f.PicPreview(), f.imgFullSize(), 0); }
  static RECT TargetPixels(ShowForm& f) { return dynamic_cast<ImageControl&>(f.PicPreview()).PixelRect(); }

  std::vector<MonitorRect> monitors;
  std::unique_ptr<MainForm> form;
};

TEST_F(ShowWindowsTest, EveryMonitorIsCoveredAndStaysCoveredWhenTheyChange) {
  const MonitorRect primary{0, 0, 512, 384}, right{512, 0, 1024, 384}, below{0, 384, 512, 768};
  monitors = {primary, right, below};
  Open();
  EXPECT_EQ(Text(RectOf(form->hWnd())), Text(primary));
  ASSERT_EQ(form->MonitorForms().size(), 2u);
  const HWND rightWindow = form->MonitorForms()[0]->hWnd();
  const HWND belowWindow = form->MonitorForms()[1]->hWnd();
  EXPECT_EQ(Text(RectOf(rightWindow)), Text(right));
  EXPECT_EQ(Text(RectOf(belowWindow)), Text(below));
  EXPECT_TRUE(IsWindowVisible(rightWindow));
  EXPECT_EQ(Forms().size(), 3u);
  // Each window is placed for its own monitor: the picture centred on it.
  for (const auto& monitor : form->MonitorForms()) {
    Tick(*monitor);
    const RECT t = TargetPixels(*monitor);
    EXPECT_EQ(t.left, (512 - 40) / 2);
    EXPECT_EQ(t.top, (384 - 30) / 2);
    EXPECT_EQ(t.right - t.left, 40);
    EXPECT_FALSE(monitor->PlaysSounds());
  }
  EXPECT_TRUE(form->PlaysSounds());

  // The monitor below is unplugged, one is added at the lower right, and the
  // primary takes a new resolution.
  const MonitorRect wider{0, 0, 640, 384}, lowerRight{512, 384, 1024, 768};
  monitors = {wider, right, lowerRight};
  SendMessageA(form->hWnd(), WM_DISPLAYCHANGE, 24, MAKELPARAM(640, 384));
  EXPECT_EQ(Text(RectOf(form->hWnd())), Text(wider));
  ASSERT_EQ(form->MonitorForms().size(), 2u);
  EXPECT_EQ(form->MonitorForms()[0]->hWnd(), rightWindow);  // kept its monitor
  EXPECT_EQ(Text(RectOf(rightWindow)), Text(right));
  EXPECT_EQ(form->MonitorForms()[1]->hWnd(), belowWindow);  // moved to the new one
  EXPECT_EQ(Text(RectOf(belowWindow)), Text(lowerRight));
  RECT client{};
  GetClientRect(dynamic_cast<PictureBox&>(form->PicBase()).hWnd(), &client);
  EXPECT_EQ(client.right, 640);  // the primary's surface follows its monitor

  // Back to one monitor: the other windows close, the show goes on.
  monitors = {primary};
  SendMessageA(form->hWnd(), WM_DISPLAYCHANGE, 24, MAKELPARAM(512, 384));
  EXPECT_TRUE(form->MonitorForms().empty());
  EXPECT_FALSE(IsWindow(rightWindow));
  EXPECT_EQ(Forms().size(), 1u);
  EXPECT_TRUE(form->Loaded());
}

TEST_F(ShowWindowsTest, InputOnAnotherMonitorEndsTheWholeShow) {
  monitors = {{0, 0, 512, 768}, {512, 0, 1024, 768}};
  Open();
  ASSERT_EQ(form->MonitorForms().size(), 1u);
  MonitorForm& other = *form->MonitorForms()[0];
  // A close asked of that window alone ends the show instead.
  SendMessageA(other.hWnd(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(form->Loaded());
  EXPECT_TRUE(Forms().empty());
  EXPECT_TRUE(Engine().StopShow);
  form.reset();
  DrainQuit();

  // Ten real mouse movements over it.
  Engine().StopShow = false;
  Open();
  ASSERT_EQ(form->MonitorForms().size(), 1u);
  const HWND box = dynamic_cast<PictureBox&>(form->MonitorForms()[0]->PicBase()).hWnd();
  for (int i = 1; i <= 9; ++i) {
    SetCursorPos(600 + i * 10, 300);
    SendMessageA(box, WM_MOUSEMOVE, 0, MAKELPARAM(88 + i * 10, 300));
  }
  EXPECT_TRUE(form->Loaded());
  EXPECT_EQ(form->MouseMoves, 9);
  SendMessageA(box, WM_MOUSEMOVE, 0, MAKELPARAM(88, 300));  // in place: not counted
  EXPECT_EQ(form->MouseMoves, 9);
  SetCursorPos(700, 320);
  SendMessageA(box, WM_MOUSEMOVE, 0, MAKELPARAM(188, 320));
  EXPECT_FALSE(form->Loaded());
  EXPECT_TRUE(Forms().empty());
}

TEST_F(ShowWindowsTest, ANewDpiKeepsPicturesPixelForPixelAndGrowsCaptionsAndLines) {
  SetMonitorDpiScaling(true);
  const MonitorRect screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  monitors = {screen};
  Open();
  ASSERT_EQ(form->Scale().Dpi(), 96);  // this display's
  Tick(*form);
  const RECT before = TargetPixels(*form);
  EXPECT_EQ(before.right - before.left, 40);
  Surface& surface = form->PicBase();
  const long captionTwips = surface.TextHeight("Halves");
  const double captionPixels = captionTwips / form->TwipsY();

  RECT suggested{0, 0, screen.right * 2, screen.bottom * 2};  // what the system would scale to
  SendMessageA(form->hWnd(), WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
  EXPECT_EQ(form->Scale().Dpi(), 192);
  EXPECT_DOUBLE_EQ(form->TwipsX(), 7.5);
  // The window still covers its monitor, not the suggested rectangle.
  EXPECT_EQ(Text(RectOf(form->hWnd())), Text(screen));
  EXPECT_EQ(surface.Width(), std::lround(screen.right * 7.5));
  EXPECT_EQ(form->ShowScreen()->width, std::lround(screen.right * 7.5));
  // The picture on show keeps its pixels and its place.
  const RECT kept = TargetPixels(*form);
  EXPECT_EQ(kept.left, before.left);
  EXPECT_EQ(kept.right, before.right);
  EXPECT_EQ(kept.bottom, before.bottom);
  // The caption's font is twice as many pixels high.
  EXPECT_NEAR(surface.TextHeight("Halves") / form->TwipsY(), 2 * captionPixels, 2.0);
  // The next picture is 40 x 30 device pixels again, centred.
  Tick(*form);
  const RECT next = TargetPixels(*form);
  EXPECT_EQ(next.right - next.left, 40);
  EXPECT_EQ(next.bottom - next.top, 30);
  EXPECT_EQ(next.left, (screen.right - 40) / 2);
  EXPECT_EQ(dynamic_cast<ImageControl&>(form->imgFullSize()).Width(), 300);  // 40 pixels x 7.5 twips
  // A 4-pixel line is 8 device pixels wide.
  const HWND box = dynamic_cast<PictureBox&>(surface).hWnd();
  surface.Cls();
  surface.SetDrawWidth(4);
  surface.Line(0, 150, 1500, 150, 0xFFFFFF);
  int rows = 0;
  for (int y = 0; y < 40; ++y) rows += Near(PixelAt(box, 100, y), kWhite) ? 1 : 0;
  EXPECT_EQ(rows, 8);
}

TEST_F(ShowWindowsTest, WithoutPerMonitorScalingWindowsKeepTheProcessTwips) {
  monitors = {{0, 0, 512, 384}};
  Open();
  EXPECT_EQ(form->Scale().Dpi(), 0);
  RECT suggested{0, 0, 1024, 768};
  SendMessageA(form->hWnd(), WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
  EXPECT_EQ(form->Scale().Dpi(), 0);
  EXPECT_EQ(form->Width(), 512 * 15);
  InitTwips(12, 12);
  EXPECT_EQ(form->Width(), 512 * 12);
  InitTwips(15, 15);
}

}  // namespace
}  // namespace uitest
