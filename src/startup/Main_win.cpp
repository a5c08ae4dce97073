#include <windows.h>

#include <string>
#include <vector>

#include "Convert.h"
#include "App.h"
#include "Dpi.h"
#include "WinPlatform.h"
#include "ShowWindows.h"
#include "frmConfig.h"
#include "Startup.h"
#include "StartupCore.h"
#include "VersionInfo.h"
#include "OptionNames.h"
#include "mFiles.h"
#include "mString.h"

namespace tessaly {
namespace {

const char kMainFormCaption[] = "Screen Saver Main Form";
const char kDefaultCompany[] = "Quillmark Inc.";
const char kDefaultProduct[] = "Tessaly Customizable Screen Saver";

ErrorChoice ProgramErrorMessage(const AppError& err) {
  switch (MessageBoxA(nullptr, ProgramErrorText(err).c_str(), "Program Error",
                      MB_ABORTRETRYIGNORE | MB_ICONEXCLAMATION | MB_SETFOREGROUND)) {
    case IDRETRY: return ErrorChoice::Retry;
    case IDIGNORE: return ErrorChoice::Ignore;
    default: return ErrorChoice::Abort;
  }
}

int16_t TwipsPerPixel(int logPixels) {
  return ToInt16(logPixels > 0 ? 1440.0 / logPixels : 15.0);
}

struct TitleSearch {
  const char* prefix;
  HWND found;
};

BOOL CALLBACK FindTitlePrefix(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<TitleSearch*>(param);
  char title[256] = {};
  GetWindowTextA(hwnd, title, sizeof title);
  if (std::string(title).rfind(search->prefix, 0) == 0) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

// Brings the window with this title (exact, else the first that begins with
// it) to the foreground.
void ActivateWindowByTitle(const char* title) {
  HWND hwnd = FindWindowA(nullptr, title);
  if (!hwnd) {
    TitleSearch search{title, nullptr};
    EnumWindows(FindTitlePrefix, reinterpret_cast<LPARAM>(&search));
    hwnd = search.found;
  }
  if (!hwnd) return;
  if (IsIconic(hwnd)) ShowWindow(hwnd, SW_RESTORE);
  SetForegroundWindow(hwnd);
}

// Starts a command line with a window style, without waiting for it.
void StartProgram(const std::string& commandLine, WORD showStyle) {
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = showStyle;
  PROCESS_INFORMATION pi = {};
  std::string buffer = commandLine;
  if (!CreateProcessA(nullptr, &buffer[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    throw AppError(kErrFileNotFound, "File not found: " + commandLine, "Tessaly");
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
}

// Types the text as keystrokes into the window that has the focus.
void SendKeys(const std::string& text) {
  std::vector<INPUT> inputs;
  for (char c : text) {
    SHORT vk = VkKeyScanA(c);
    if (vk == -1) continue;
    bool shift = (vk & 0x100) != 0;
    auto key = [&inputs](WORD code, bool up) {
      INPUT in = {};
      in.type = INPUT_KEYBOARD;
      in.ki.wVk = code;
      in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
      inputs.push_back(in);
    };
    if (shift) key(VK_SHIFT, false);
    key(static_cast<WORD>(vk & 0xFF), false);
    key(static_cast<WORD>(vk & 0xFF), true);
    if (shift) key(VK_SHIFT, true);
  }
  if (!inputs.empty()) SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

std::string OwnBaseName() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return SplitPath(path, kPartBase);
}

using PwdChangePasswordFn = DWORD(WINAPI*)(LPCSTR, HWND, DWORD, DWORD);

void ChangePassword(int32_t ownerHwnd) {
  HMODULE mpr = LoadLibraryA("mpr.dll");
  if (!mpr) return;
  auto change = reinterpret_cast<PwdChangePasswordFn>(
      reinterpret_cast<void*>(GetProcAddress(mpr, "PwdChangePasswordA")));
  if (change) change("SCRSAVE", reinterpret_cast<HWND>(static_cast<intptr_t>(ownerHwnd)), 0, 0);
  FreeLibrary(mpr);
}

void RunConfiguration(StartupState& s) {
  HWND owner = GetForegroundWindow();
  s.ConfigOwnerHwnd = reinterpret_cast<uintptr_t>(owner);
  EnableWindow(owner, FALSE);
  try {
    ShowConfigurationDialog();
  } catch (...) {
  }
  EnableWindow(owner, TRUE);
  ui::DoEvents();
  try {
    ActivateWindowByTitle("Display Properties");
  } catch (...) {
  }
}

void RunInstallation(StartupState& s, const std::string& arguments,
                     const std::function<ErrorChoice(const AppError&)>& onError) {
  const size_t position = InstallPosition(arguments);
  if (position == 0) return;
  std::string folder;
  std::string longFolder;
  struct Sample {
    const char* section;
    const char* key;
    const char* file;
  };
  static const Sample kSamples[] = {
      {opt::kPictureFiles, "File0", "Sample1.jpg"}, {opt::kPictureFiles, "File1", "Sample2.jpg"},
      {opt::kPictureFiles, "File2", "Sample3.jpg"}, {opt::kSoundFiles, "File0", "Camera.wav"},
      {opt::kSoundFiles, "File1", "SlideProjector.wav"}};

  std::vector<StartupStep> steps;
  steps.push_back([&] { folder = InstallFolder(arguments, position); });
  steps.push_back([&] { s.RegSettings->SaveSetting(opt::kSection, opt::kInstallPath, folder); });
  steps.push_back([&] { longFolder = LongPathName(folder); });
  for (const Sample& sample : kSamples) {
    steps.push_back([&, sample] {
      s.RegSettings->SaveSetting(sample.section, sample.key, MakeEntry(sample.file, longFolder));
    });
  }
  steps.push_back([&] {
    std::string scr = ShortPathName(s.SystemDir + "\\" + OwnBaseName() + ".SCR");
    WritePrivateProfileStringA("boot", "SCRNSAVE.EXE", scr.c_str(), "SYSTEM.INI");
  });
  steps.push_back([] { StartProgram("rundll32.exe shell32.dll,Control_RunDLL desk.cpl,,1", SW_SHOWMINIMIZED); });
  steps.push_back([&] { SendKeys(s.RegSettings->AppName().substr(0, 2)); });
  RunSteps(steps, onError);
}

}  // namespace

StartupState& Startup() {
  static StartupState state;
  return state;
}

std::unique_ptr<CRegSettings> MakeRegSettings() {
  std::string company = OwnVersionString("CompanyName");
  std::string product = OwnVersionString("ProductName");
  return std::make_unique<CRegSettings>(SystemRegistry(), company.empty() ? kDefaultCompany : company,
                                        product.empty() ? kDefaultProduct : product);
}

bool WindowMissing(const std::string& title) { return FindWindowA(nullptr, title.c_str()) == nullptr; }

void ShowConfigurationDialog() {
  ui::InitTwips(Startup().ScreenTwipsX, Startup().ScreenTwipsY);
  ui::InitOle();
  HWND owner = reinterpret_cast<HWND>(Startup().ConfigOwnerHwnd);
  if (!IsWindow(owner) || owner == GetDesktopWindow()) owner = nullptr;
  frmConfig form(Engine(), *Startup().RegSettings);
  form.ShowModal(owner);
}

SlideShow& Engine() {
  static WinPlatform platform;
  static SlideShow show(*Startup().RegSettings, platform, SystemFileSystem(), Startup().CommandMode,
                        Startup().ConfigOwnerHwnd);
  return show;
}

void ShowMainForm() {
  ui::InitTwips(Startup().ScreenTwipsX, Startup().ScreenTwipsY);
  static MainForm form;
  form.Load();
  form.Show();
  SetForegroundWindow(form.hWnd());
}

void LoadControlForm() {
  ui::InitTwips(Startup().ScreenTwipsX, Startup().ScreenTwipsY);
  static ControlForm form;
  form.Load();
}

void Main() {
  StartupState& s = Startup();
  const std::string arguments = ArgumentString(GetCommandLineA());
  const auto onError = [](const AppError& err) { return ProgramErrorMessage(err); };

  std::vector<StartupStep> steps;
  steps.push_back([&] {
    HDC screen = GetDC(nullptr);
    s.ScreenTwipsX = TwipsPerPixel(GetDeviceCaps(screen, LOGPIXELSX));
    s.ScreenTwipsY = TwipsPerPixel(GetDeviceCaps(screen, LOGPIXELSY));
    ReleaseDC(nullptr, screen);
  });
  steps.push_back([&] { s.RegSettings = MakeRegSettings(); });
  steps.push_back([&] {
    std::string buffer(144, ' ');
    GetSystemDirectoryA(&buffer[0], 144);
    s.SystemDir = NextToken(buffer, '\0');
  });
  steps.push_back([&] { s.CommandMode = CommandModeOf(arguments); });
  steps.push_back([&] {
    const std::string& mode = s.CommandMode;
    if (mode == "/C") {
      RunConfiguration(s);
    } else if (mode == "/S") {
      if (!WindowMissing(kMainFormCaption)) return;
      ShowMainForm();
    } else if (mode == "/P") {
      s.PreviewHwnd = HandleArgument(arguments);
      LoadControlForm();
    } else if (mode == "/A") {
      s.PreviewHwnd = HandleArgument(arguments);
      ChangePassword(s.PreviewHwnd);
    } else {
      RunInstallation(s, arguments, onError);
    }
  });
  RunSteps(steps, onError);
}

}  // namespace tessaly

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // Every window of the program is drawn at the DPI of its monitor.
  tessaly::ui::EnablePerMonitorAwareness();
  tessaly::ui::SetMonitorDpiScaling(true);
  tessaly::Main();
  return tessaly::ui::RunMessageLoop();
}
