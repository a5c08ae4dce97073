// Message pumping, the transition pacer and the platform services.
#include "UiTestSupport.h"

#include "startup/WinPlatform.h"

namespace uitest {
namespace {

double Seconds() {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// A message-only window counting what it gets.
struct Counter {
  static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_APP) {
      ++*reinterpret_cast<int*>(GetWindowLongPtrA(h, GWLP_USERDATA));
      return 0;
    }
    return DefWindowProcA(h, m, w, l);
  }
  Counter() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "UiTestCounter";
    RegisterClassA(&wc);
    hwnd = CreateWindowA("UiTestCounter", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&count));
  }
  ~Counter() { DestroyWindow(hwnd); }
  HWND hwnd;
  int count = 0;
};

TEST(AppTest, DoEventsRunsPendingMessages) {
  Counter c;
  for (int i = 0; i < 5; ++i) PostMessageA(c.hwnd, WM_APP, 0, 0);
  DoEvents();
  EXPECT_EQ(c.count, 5);
}

TEST(AppTest, DoEventsKeepsAQuitForTheMainLoop) {
  DrainQuit();
  Counter c;
  PostMessageA(c.hwnd, WM_APP, 0, 0);
  PostQuitMessage(7);
  DoEvents();
  EXPECT_EQ(c.count, 1);
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 7u);
  DrainQuit();
}

TEST(AppTest, DelayPassesWaitsItsPassesAndPumps) {
  DelayPasses(800);  // uses up any time owed from earlier delays
  Counter c;
  PostMessageA(c.hwnd, WM_APP, 0, 0);
  const double start = Seconds();
  DelayPasses(4000);  // 4000 × 25 µs
  const double took = Seconds() - start;
  EXPECT_GE(took, 0.08);
  EXPECT_EQ(c.count, 1);
}

TEST(AppTest, ShortDelaysAddUp) {
  DelayPasses(800);
  const double start = Seconds();
  for (int i = 0; i < 133; ++i) DelayPasses(30);  // 0.75 ms each, 0.1 s in all
  const double took = Seconds() - start;
  EXPECT_GE(took, 0.08);
}

TEST(AppTest, NoPassesNoDelay) {
  Counter c;
  PostMessageA(c.hwnd, WM_APP, 0, 0);
  DelayPasses(0);
  DelayPasses(-5);
  EXPECT_EQ(c.count, 0);  // not even a pump
  DoEvents();
  EXPECT_EQ(c.count, 1);
}

TEST(AppTest, TwipsScale) {
  InitTwips(12, 20);
  EXPECT_EQ(TwipsX(), 12);
  EXPECT_EQ(TwipsY(), 20);
  EXPECT_EQ(TwipsToPixelsX(120), 10);
  EXPECT_EQ(TwipsToPixelsY(130), 7);
  InitTwips(15, 15);
  WinPlatform platform;
  EXPECT_EQ(platform.ScreenWidthTwips(), GetSystemMetrics(SM_CXSCREEN) * 15L);
  EXPECT_EQ(platform.ScreenHeightTwips(), GetSystemMetrics(SM_CYSCREEN) * 15L);
}

TEST(AppTest, PlatformServices) {
  WinPlatform platform;
  const int shown = platform.ShowCursor(true);
  EXPECT_EQ(platform.ShowCursor(false), shown - 1);
  EXPECT_EQ(&platform.Random(), &SystemRandom());
  HWND w = CreateWindowA("STATIC", "x", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  platform.EnableWindow(reinterpret_cast<uintptr_t>(w), false);
  EXPECT_FALSE(IsWindowEnabled(w));
  platform.EnableWindow(reinterpret_cast<uintptr_t>(w), true);
  EXPECT_TRUE(IsWindowEnabled(w));
  DestroyWindow(w);
  try {
    platform.LoadPicture(TempFolder() + "missing.gif");
    FAIL();
  } catch (const AppError& e) {
    EXPECT_EQ(e.Number(), 53);
  }
  EXPECT_TRUE(platform.LoadedWindows().empty());
}

}  // namespace
}  // namespace uitest
