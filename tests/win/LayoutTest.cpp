// Every window of the programs laid out for the font and the DPI it runs
// with: the options dialog (both pages) and the about box here; the
// configuration window and the uninstall wrapper's survey window beside. Each is opened with the programs' own
// resources and code and checked by CheckLayout. The layout script runs
// this program under two dialog fonts of different metrics, at 96 and at
// 192 DPI.
#include "common/ScopedWin.h"
#include "DialogTestSupport.h"

#include <commctrl.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "ui/App.h"
#include "ui/Dpi.h"
#include "LayoutCheck.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmOptions.h"
#include "dialogs/frmOptionsRes.h"  // the options dialog's and the about box's ids

namespace layouttest {
namespace {

using namespace dialogtest;

class OptionsLayout : public ::testing::Test {
 protected:
  TestSettings settings;
  Answerer answers;
  std::unique_ptr<frmOptions> dialog;

  void TearDown() override {
    if (dialog && dialog->Loaded()) dialog->Unload();
    dialog.reset();
    DrainQuit();
    EXPECT_TRUE(answers.Unexpected().empty()) << "an unexpected window: " << answers.Unexpected()[0].title;
  }
  HWND Open() {
    DrainQuit();
    dialog = std::make_unique<frmOptions>(settings.store);
    dialog->Show();
    answers.Ignore(dialog->hWnd());
    return dialog->hWnd();
  }
  // A click on the tab with the mouse, as the user turns the page.
  void ClickTab(int index) {
    HWND tabs = GetDlgItem(dialog->hWnd(), IDC_TABSTRIP1);
    RECT r{};
    SendMessageA(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    SendMessageA(tabs, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(tabs, WM_LBUTTONUP, 0, at);
  }
};

// The run is at the DPI and under the font the layout script asked for
// (TESSALY_LAYOUT_DPI); the font's measures go to the log, where the script
// compares the runs.
TEST_F(OptionsLayout, RunsAtTheDpiAskedAndReportsItsFont) {
  HWND window = Open();
  std::cout << "# layout: " << FontReport(window) << std::endl;
  if (const char* dpi = std::getenv("TESSALY_LAYOUT_DPI")) {
    EXPECT_EQ(DpiOf(window), std::atoi(dpi));
  }
  // The dialog's font follows the DPI: 8 points are a third of the DPI in
  // pixels (ascent and descent), give or take the font's leading.
  HDC dc = GetDC(window);
  HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)));
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  SelectObject(dc, previous);
  ReleaseDC(window, dc);
  EXPECT_NEAR(tm.tmHeight - tm.tmInternalLeading, std::lround(8 * DpiOf(window) / 72.0), 1 + DpiOf(window) / 96);
}

TEST_F(OptionsLayout, ThePicturesPageHolds) {
  HWND window = Open();
  ASSERT_EQ(dialog->CurFrame, 1);
  CheckLayout(window, "Screen Saver Options, Pictures page");
}

TEST_F(OptionsLayout, TheSoundsPageHolds) {
  HWND window = Open();
  ClickTab(1);
  ASSERT_EQ(dialog->CurFrame, 2);
  CheckLayout(window, "Screen Saver Options, Sounds page");
}

TEST(AboutLayout, TheAboutBoxHolds) {
  DrainQuit();
  frmAbout about;
  about.Show();
  CheckLayout(about.hWnd(), "the about box");
  about.Unload();
  DrainQuit();
}

}  // namespace
}  // namespace layouttest

int main(int argc, char** argv) {
  // Unbuffered, so that a run that ends abruptly still shows how far it came.
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  int exitCode = 0;
  if (dialogtest::RunAgainUnmanaged(exitCode)) return exitCode;
  // As in the program: every window at the DPI of its monitor.
  tessaly::ui::EnablePerMonitorAwareness();
  tessaly::ui::SetMonitorDpiScaling(true);
  const int twips = static_cast<int>(std::lround(1440.0 / tessaly::ScreenDC().Dpi(LOGPIXELSX)));
  tessaly::ui::InitTwips(twips, twips);
  tessaly::InitOle();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
