#include "Module1.h"

#include <windows.h>

#include "frmSurvey.h"

#ifndef QMUNINS_BASE_URL
#define QMUNINS_BASE_URL "http://www.quillmark.com"
#endif

namespace qmunins {

const char kAppTitle[] = "Tessaly Customizable Screen Saver";

std::string StripNull(const std::string& text) {
  size_t nul = text.find('\0');
  return nul == std::string::npos ? text : text.substr(0, nul);
}

void AddBackslash(std::string& text) {
  size_t b = text.find_first_not_of(' ');
  size_t e = text.find_last_not_of(' ');
  char last = (b == std::string::npos) ? '\0' : text[e];
  if (last == '/' || last == '\\') return;
  text.erase(e == std::string::npos ? 0 : e + 1);
  text += '\\';
}

std::string WindowsDirectory() {
  std::string buffer(255, ' ');
  UINT n = GetWindowsDirectoryA(&buffer[0], 255);
  if (n == 0) return std::string();
  std::string dir = StripNull(buffer);
  AddBackslash(dir);
  return dir;
}

std::string CommandLine() {
  const char* p = GetCommandLineA();
  if (*p == '"') {
    ++p;
    while (*p && *p != '"') ++p;
    if (*p) ++p;
  } else {
    while (*p && *p != ' ' && *p != '\t') ++p;
  }
  while (*p == ' ' || *p == '\t') ++p;
  return p;
}

std::string BaseAddress() {
  HKEY key;
  std::string base = QMUNINS_BASE_URL;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Quillmark Inc.\\qmunins", 0, KEY_READ, &key) ==
      ERROR_SUCCESS) {
    char data[1024];
    DWORD size = sizeof data - 1, type = 0;
    if (RegQueryValueExA(key, "BaseAddress", nullptr, &type, reinterpret_cast<BYTE*>(data), &size) ==
            ERROR_SUCCESS && type == REG_SZ && size > 1) {
      data[size] = '\0';
      base = data;
    }
    RegCloseKey(key);
  }
  return base;
}

}  // namespace qmunins

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  using namespace qmunins;
  const std::string commandLine = CommandLine();
  if (commandLine.empty()) {
    MessageBoxA(nullptr,
                "This program cannot be run directly.  Run Add/Remove Programs in the Control "
                "Panel and select the application name.",
                "Cannot Run Directly", MB_ICONSTOP | MB_OK);
    return 0;
  }
  frmSurvey survey(instance, commandLine);
  survey.ShowModal();

  std::string command = WindowsDirectory() + "st6unst.exe " + commandLine;
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = SW_SHOWMINIMIZED;
  PROCESS_INFORMATION pi = {};
  std::string buffer = command;
  if (!CreateProcessA(nullptr, &buffer[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    std::string msg = "The uninstaller could not be started:\r\n\r\n" + command;
    MessageBoxA(nullptr, msg.c_str(), kAppTitle, MB_ICONSTOP | MB_OK);
    return 1;
  }
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return 0;
}
