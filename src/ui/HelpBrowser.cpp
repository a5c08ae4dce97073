#include "ui/HelpBrowser.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <vector>

#include "common/AppTitle.h"
#include "common/HelpPage.h"
#include "common/ScopedWin.h"

namespace tessaly::ui {
namespace {

// ASSOCF_IS_PROTOCOL: the browser the user chose for web addresses (Windows
// 8 and later); older systems refuse the flag and are asked without it.
const ASSOCF kIsProtocol = static_cast<ASSOCF>(0x00001000);

std::string ProgramFolder() {
  char path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  const std::string full(path, length < MAX_PATH ? length : 0);
  return full.substr(0, full.find_last_of('\\') + 1);
}

// The help page beside the program, "" when it is not installed.
std::string InstalledHelpPage() {
  const std::string page = ProgramFolder() + help::kPageName;
  const DWORD attributes = GetFileAttributesA(page.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY) ? page : std::string();
}

std::string& HelpPageSetting() {
  static std::string page = InstalledHelpPage();
  return page;
}

std::wstring Wide(const std::string& text, UINT codePage) {
  const int n = MultiByteToWideChar(codePage, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) MultiByteToWideChar(codePage, 0, text.c_str(), static_cast<int>(text.size()), &wide[0], n);
  return wide;
}

std::string Utf8(const std::wstring& text) {
  const int n =
      WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
  if (n > 0)
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &narrow[0], n, nullptr, nullptr);
  return narrow;
}

// The command registered for opening web addresses, its environment
// variables expanded; "" when there is none.
std::wstring BrowserCommand() {
  for (const ASSOCF flags : {kIsProtocol, static_cast<ASSOCF>(ASSOCF_NONE)}) {
    wchar_t command[2048] = {};
    DWORD length = ARRAYSIZE(command);
    if (FAILED(AssocQueryStringW(flags, ASSOCSTR_COMMAND, L"http", L"open", command, &length)) || !command[0]) continue;
    wchar_t expanded[4096] = {};
    const DWORD n = ExpandEnvironmentStringsW(command, expanded, ARRAYSIZE(expanded));
    return n > 0 && n <= ARRAYSIZE(expanded) ? expanded : command;
  }
  return std::wstring();
}

bool StartBrowser(const std::string& address) {
  const std::wstring command = BrowserCommand();
  if (command.empty()) return false;
  std::wstring line = Wide(help::BrowserCommandLine(Utf8(command), address), CP_UTF8);
  STARTUPINFOW si = {};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION pi = {};
  if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
  const ProcessHandles started(pi);
  return true;
}

// The shell's own way of opening it; its failure says nothing (the help
// reports it).
bool ShellOpens(HWND owner, const std::wstring& what) {
  SHELLEXECUTEINFOW run = {};
  run.cbSize = sizeof run;
  run.fMask = SEE_MASK_FLAG_NO_UI;
  run.hwnd = owner;
  run.lpVerb = L"open";
  run.lpFile = what.c_str();
  run.nShow = SW_SHOWNORMAL;
  return ShellExecuteExW(&run) != FALSE;
}

}  // namespace

const std::string& HelpPage() { return HelpPageSetting(); }

void SetHelpPage(const std::string& path) { HelpPageSetting() = path; }

void ShowHelpTopic(HWND owner, const char* title, const char* anchor) {
  const std::string& page = HelpPage();
  if (page.empty()) {
    MessageBoxA(owner, help::kNoHelpMessage, title, MB_OK | MB_ICONINFORMATION);
    return;
  }
  const std::wstring widePage = Wide(page, CP_ACP);
  const std::string address = help::PageAddress(Utf8(widePage), anchor ? anchor : "");
  // The browser itself, given the address with its anchor; failing that the
  // shell, given the address (some systems open it without the anchor),
  // then the page's own path (its top).
  if (StartBrowser(address) || ShellOpens(owner, Wide(address, CP_UTF8)) || ShellOpens(owner, widePage)) return;
  const std::string message = "Unable to open the help page " + page + " in a web browser.";
  MessageBoxA(owner, message.c_str(), kAppTitle, MB_OK);
}

}  // namespace tessaly::ui
