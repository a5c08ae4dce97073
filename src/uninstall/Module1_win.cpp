#include "uninstall/Module1.h"

#include <windows.h>

#include "common/ProductNames.h"
#include "common/ScopedWin.h"
#include "uninstall/frmSurvey_win.h"

#ifndef QMUNINS_BASE_URL
#define QMUNINS_BASE_URL "http://www.quillmark.com"
#endif

namespace Module1 {

const char kAppTitle[] = TESSALY_PRODUCT_NAME;

namespace {

const char kSettingsKey[] = "Software\\" TESSALY_COMPANY_NAME "\\qmunins";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Starts the uninstaller minimized and does not wait for it.
bool StartMinimized(const std::string& command) {
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = SW_SHOWMINIMIZED;
  PROCESS_INFORMATION pi = {};
  std::string buffer = command;  // CreateProcessA may write into the command text
  buffer.push_back('\0');
  if (!CreateProcessA(nullptr, &buffer[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
  const tessaly::ProcessHandles started(pi);
  return true;
}

}  // namespace

std::string StripNull(const std::string& text) {
  const size_t nul = text.find('\0');
  return nul == std::string::npos ? text : text.substr(0, nul);
}

void AddBackslash(std::string& text) {
  const size_t last = text.find_last_not_of(' ');
  if (last != std::string::npos && (text[last] == '/' || text[last] == '\\')) return;
  text.erase(last == std::string::npos ? 0 : last + 1);
  text += '\\';
}

std::string WindowsDirectory() {
  std::string buffer(255, ' ');
  const UINT length = GetWindowsDirectoryA(&buffer[0], 255);
  if (length == 0) return std::string();
  std::string directory = StripNull(buffer);
  AddBackslash(directory);
  return directory;
}

std::string ArgumentsOf(const char* p) {
  if (!p) return std::string();
  if (*p == '"') {
    ++p;
    while (*p && *p != '"') ++p;
    if (*p) ++p;
  } else {
    while (*p && !IsBlank(*p)) ++p;
  }
  while (IsBlank(*p)) ++p;
  return p;
}

std::string CommandLine() { return ArgumentsOf(GetCommandLineA()); }

std::string BaseAddress() {
  std::string base = QMUNINS_BASE_URL;
  tessaly::RegistryKey key;
  if (key.Open(HKEY_CURRENT_USER, kSettingsKey, KEY_QUERY_VALUE) != ERROR_SUCCESS) return base;
  DWORD type = 0, size = 0;
  if (RegQueryValueExA(key.get(), "BaseAddress", nullptr, &type, nullptr, &size) == ERROR_SUCCESS && type == REG_SZ &&
      size > 0) {
    std::string value(size, '\0');
    if (RegQueryValueExA(key.get(), "BaseAddress", nullptr, &type, reinterpret_cast<BYTE*>(&value[0]), &size) ==
        ERROR_SUCCESS) {
      value = StripNull(value.substr(0, size));
      if (!value.empty()) base = value;
    }
  }
  return base;
}

int Main() {
  const std::string commandLine = CommandLine();
  if (commandLine.empty()) {
    MessageBoxA(nullptr,
                "This program cannot be run directly.  Run Add/Remove Programs in the Control "
                "Panel and select the application name.",
                "Cannot Run Directly", MB_ICONSTOP | MB_OK);
    return 0;
  }

  {
    frmSurvey survey(GetModuleHandleA(nullptr), commandLine);
    survey.ShowModal();
  }

  const std::string command = WindowsDirectory() + "st6unst.exe " + commandLine;
  if (!StartMinimized(command)) {
    const std::string message = "The uninstaller could not be started.\r\n\r\nCommand:\r\n" + command;
    MessageBoxA(nullptr, message.c_str(), kAppTitle, MB_ICONSTOP | MB_OK);
    return 1;
  }
  return 0;
}

}  // namespace Module1
