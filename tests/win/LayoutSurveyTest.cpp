// The uninstall wrapper's survey window laid out for the font and the DPI it
// runs with: its picture, its title beside it, the invitation below, and the
// question between "Yes" and "No". The window is modal; it is checked from a
// timer inside its own loop and then closed as its close box does.
#include "common/Win32.h"

#include <gtest/gtest.h>

#include <set>

#include "LayoutCheck.h"
#include "uninstall/frmSurvey_win.h"
#include "uninstall/qmuninsRes.h"

namespace layouttest {
namespace {

const UINT kTickMs = 50;
const int kPatienceTicks = 200;  // ten seconds for the window to show

struct SurveyWatch {
  int ticks = 0;
  bool checked = false;
  size_t pictureColours = 0;
} g_watch;

// The colours of a 4 x 4 grid over the picture box as it is painted.
size_t PictureColours(HWND survey) {
  HWND box = GetDlgItem(survey, IDC_PICTURE1);
  UpdateWindow(survey);
  RECT r{};
  GetClientRect(box, &r);
  std::set<COLORREF> colours;
  HDC dc = GetDC(box);
  for (int y = r.bottom / 5; y < r.bottom && r.bottom >= 5; y += r.bottom / 5)
    for (int x = r.right / 5; x < r.right && r.right >= 5; x += r.right / 5) colours.insert(GetPixel(dc, x, y));
  ReleaseDC(box, dc);
  return colours.size();
}

BOOL CALLBACK FindSurvey(HWND hwnd, LPARAM found) {
  if (GetDlgItem(hwnd, IDC_CMDYES) && GetDlgItem(hwnd, IDC_LBLSTRIVE)) {
    *reinterpret_cast<HWND*>(found) = hwnd;
    return FALSE;
  }
  return TRUE;
}

void CALLBACK SurveyTick(HWND, UINT, UINT_PTR, DWORD) {
  HWND survey = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindSurvey, reinterpret_cast<LPARAM>(&survey));
  if (!survey) return;
  if (!IsWindowVisible(survey) && ++g_watch.ticks < kPatienceTicks) return;
  if (!g_watch.checked) {
    g_watch.checked = true;
    CheckLayout(survey, "the survey window");
    g_watch.pictureColours = PictureColours(survey);
  }
  PostMessageA(survey, WM_CLOSE, 0, 0);
}

TEST(SurveyLayout, TheSurveyWindowHolds) {
  g_watch = SurveyWatch{};
  const UINT_PTR timer = SetTimer(nullptr, 0, kTickMs, SurveyTick);
  Module1::frmSurvey survey(GetModuleHandleA(nullptr), "/layout");
  survey.ShowModal();
  KillTimer(nullptr, timer);
  EXPECT_TRUE(g_watch.checked) << "the survey window did not open";
  // The picture decoded from the resources is painted in its box.
  EXPECT_GE(g_watch.pictureColours, 3u);
}

}  // namespace
}  // namespace layouttest
