// The dialog tests' entry point. Under Wine without a window manager, every
// shown top-level window that Wine hands to the (absent) manager takes two
// seconds to go away; these tests open and close hundreds of dialogs and
// message boxes, so the program asks Wine, for itself alone, to place its
// windows without one and runs itself again. Nothing else changes: the
// windows, their messages and their modal loops are the same.
#include "Win32.h"

#include <gtest/gtest.h>

#include <string>

#include "App.h"

namespace {

bool UnderWine() { return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr; }

// True when the X11 driver's setting for this program had to be written, in
// which case `exitCode` is the result of the run started again.
bool RunAgainUnmanaged(int& exitCode) {
  if (!UnderWine()) return false;
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string name = self;
  name = name.substr(name.find_last_of('\\') + 1);
  const std::string key = "Software\\Wine\\AppDefaults\\" + name + "\\X11 Driver";
  char value[8] = {};
  DWORD size = sizeof value;
  if (RegGetValueA(HKEY_CURRENT_USER, key.c_str(), "Managed", RRF_RT_REG_SZ, nullptr, value, &size) ==
          ERROR_SUCCESS &&
      (value[0] == 'N' || value[0] == 'n'))
    return false;
  HKEY handle = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr) !=
      ERROR_SUCCESS)
    return false;
  RegSetValueExA(handle, "Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>("N"), 2);
  RegCloseKey(handle);
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  si.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
  si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION pi = {};
  std::string commandLine = GetCommandLineA();
  if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi))
    return false;
  WaitForSingleObject(pi.hProcess, INFINITE);
  DWORD code = 1;
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  exitCode = static_cast<int>(code);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  int exitCode = 0;
  if (RunAgainUnmanaged(exitCode)) return exitCode;
  tessaly::ui::InitTwips(15, 15);
  tessaly::ui::InitOle();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
