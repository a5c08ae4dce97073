// The uninstall wrapper's survey window laid out for the font and the DPI it
// runs with: its picture, its title beside it, the invitation below, and the
// question between "Yes" and "No". The window is modal; it is checked from a
// timer inside its own loop and then closed as its close box does.
#include "common/Win32.h"

#include <gtest/gtest.h>

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
} g_watch;

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
}

}  // namespace
}  // namespace layouttest
