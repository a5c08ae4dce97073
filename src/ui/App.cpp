#include "ui/App.h"

#include <algorithm>
#include <cmath>

#include "common/ScopedWin.h"
#include "ui/Form.h"
#include "common/WideText_win.h"
#include "ui/FrameClock.h"

#include <commctrl.h>
#include <ole2.h>

namespace tessaly::ui {
namespace {

int g_twipsX = 15;
int g_twipsY = 15;
std::vector<Form*> g_forms;
std::vector<std::pair<HWND, HACCEL>> g_accelerators;

// Runs pending messages; true when WM_QUIT was seen (and posted again).
bool PumpMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return true;
    }
    DispatchQueued(msg);
  }
  return false;
}

HACCEL AcceleratorsOf(HWND root) {
  for (const auto& entry : g_accelerators)
    if (entry.first == root) return entry.second;
  return nullptr;
}

bool IsDialogWindow(HWND hwnd) { return GetClassLongPtrA(hwnd, GCW_ATOM) == reinterpret_cast<ULONG_PTR>(WC_DIALOG); }

int64_t Ticks() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now.QuadPart;
}

int64_t TicksPerSecond() {
  static const int64_t frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f.QuadPart > 0 ? f.QuadPart : 1000;
  }();
  return frequency;
}

}  // namespace

COLORREF ToColorRef(Color c) {
  const uint32_t u = static_cast<uint32_t>(c);
  if (u & 0x80000000u) return GetSysColor(static_cast<int>(u & 0xFFu));
  return static_cast<COLORREF>(u & 0xFFFFFFu);
}

void InitTwips(int twipsX, int twipsY) {
  g_twipsX = twipsX > 0 ? twipsX : 15;
  g_twipsY = twipsY > 0 ? twipsY : 15;
}

void RegisterWindowClass(const char* name, WNDPROC proc, HBRUSH background) {
  WNDCLASSEXA existing = {};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExA(GetModuleHandleA(nullptr), name, &existing)) return;
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = background;
  wc.lpszClassName = name;
  RegisterClassExA(&wc);
}

int TwipsX() { return g_twipsX; }
int TwipsY() { return g_twipsY; }

int TwipsToPixelsX(double twips) { return static_cast<int>(std::lround(twips / g_twipsX)); }
int TwipsToPixelsY(double twips) { return static_cast<int>(std::lround(twips / g_twipsY)); }

std::vector<LoadedWindow*> Forms() { return std::vector<LoadedWindow*>(g_forms.begin(), g_forms.end()); }

namespace detail {
void AddForm(Form* form) {
  if (std::find(g_forms.begin(), g_forms.end(), form) == g_forms.end()) g_forms.push_back(form);
}
bool RemoveForm(Form* form) {
  auto it = std::find(g_forms.begin(), g_forms.end(), form);
  if (it == g_forms.end()) return false;
  g_forms.erase(it);
  return true;
}
std::size_t FormCount() { return g_forms.size(); }
void SetWindowAccelerators(HWND hwnd, HACCEL table) {
  g_accelerators.erase(std::remove_if(g_accelerators.begin(), g_accelerators.end(),
                                      [hwnd](const auto& entry) { return entry.first == hwnd; }),
                       g_accelerators.end());
  if (hwnd && table) g_accelerators.emplace_back(hwnd, table);
}
}  // namespace detail

void DispatchQueued(MSG& msg) {
  HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
  if (root && IsWindowEnabled(root)) {
    HACCEL table = AcceleratorsOf(root);
    if (table && TranslateAcceleratorA(root, table, &msg)) return;
    if (IsDialogWindow(root) && IsDialogMessageA(root, &msg)) return;
  }
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
}

void DoEvents() { PumpMessages(); }

void DelayPasses(long passes) {
  if (passes <= 0) return;
  static const bool fineTimer = timeBeginPeriod(1) == TIMERR_NOERROR;
  (void)fineTimer;
  static int64_t deadline = 0;

  const int64_t frequency = TicksPerSecond();
  const int64_t now = Ticks();
  // Time owed from earlier calls counts, but no more than 20 ms of it: a
  // long pause between delays must not make later ones run flat out.
  const int64_t earliest = now - frequency / 50;
  const int64_t owed = static_cast<int64_t>(passes) * 25 * frequency / 1000000;
  deadline = std::max(deadline, earliest) + owed;

  for (;;) {
    const bool quitting = PumpMessages();
    RunDueFrames();  // another window's motion goes on meanwhile
    const int64_t remaining = deadline - Ticks();
    if (remaining <= 0) return;
    const int64_t ms = remaining * 1000 / frequency;
    if (ms < 1) {
      // Less than a millisecond left: it stays in the deadline and is
      // waited for by the next delay.
      return;
    }
    if (quitting) {
      // A posted WM_QUIT keeps the queue signalled; sleep instead.
      Sleep(static_cast<DWORD>(ms));
    } else {
      MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(ms), QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
  }
}

int RunModalLoop(const std::function<bool()>& running) {
  MSG msg;
  while (running()) {
    if (FramesWanted()) {
      // Motion: the messages first, then the next frame or the next input,
      // whichever comes first.
      while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) return static_cast<int>(msg.wParam);
        DispatchQueued(msg);
        if (!running()) return -1;
      }
      if (FramesWanted()) WaitInputOrFrame();
      continue;
    }
    const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(msg.wParam);
    if (got == -1) return -1;
    DispatchQueued(msg);
  }
  return -1;
}

int RunMessageLoop() {
  if (g_forms.empty()) return 0;
  return RunModalLoop([] { return true; });
}

void DrawPlainly(HWND control) {
  using SetWindowThemeFn = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
  static const Library uxtheme("uxtheme.dll");  // for the life of the process
  static const SetWindowThemeFn setTheme = uxtheme.Function<SetWindowThemeFn>("SetWindowTheme");
  if (setTheme && control) setTheme(control, L"", L"");
}

std::wstring LoadWideText(UINT id) {
  // With no buffer, LoadStringW gives the string in the resources itself
  // (not ended by a NUL) and its length.
  const wchar_t* text = nullptr;
  const int length = LoadStringW(GetModuleHandleA(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
  return length > 0 && text ? std::wstring(text, static_cast<std::size_t>(length)) : std::wstring();
}

std::string LoadText(UINT id) {
  const std::wstring wide = LoadWideText(id);
  if (wide.empty()) return std::string();
  const int n =
      WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), &text[0], n, nullptr, nullptr);
  return text;
}

void InitDialogControls() {
  static const bool done = [] {
    INITCOMMONCONTROLSEX icc = {sizeof icc,
                                ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    return InitCommonControlsEx(&icc) != FALSE;
  }();
  (void)done;
}

int MessageBoxText(HWND owner, const std::string& text, const std::string& title, UINT type) {
  return MessageBoxW(owner, Wide(text).c_str(), Wide(title).c_str(), type);
}

void EndProgram() { ExitProcess(0); }

}  // namespace tessaly::ui
