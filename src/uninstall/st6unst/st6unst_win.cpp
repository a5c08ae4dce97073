// st6unst.exe on Win32: the files, keys and questions of the uninstall, and
// the start, which asks for administrator rights where the program lacks them
// (Add/Remove Programs starts qmunins, and qmunins this program, without them).
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <string>
#include <vector>

#include "common/ProductNames.h"
#include "common/ScopedWin.h"
#include "uninstall/st6unst/Uninstall.h"

namespace st6unst {
namespace {

const char kCaption[] = "Tessaly Uninstall";
const char kMachineRoot[] = "HKLM\\";
const DWORD kLargestRead = (1u << 20) + 1;  // one byte more than a log may have
const DWORD kInUseWait = 3000;              // a program that just ended may hold its file a moment

std::string WindowsFolder(UINT(WINAPI* get)(LPSTR, UINT)) {
  char buffer[MAX_PATH + 1] = {};
  const UINT length = get(buffer, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::string(buffer, length) : std::string();
}

std::string LongName(const std::string& path) {
  char buffer[MAX_PATH + 1] = {};
  const DWORD length = GetLongPathNameA(path.c_str(), buffer, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::string(buffer, length) : path;
}

std::string ShellFolder(int csidl) {
  char buffer[MAX_PATH + 1] = {};
  if (FAILED(SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buffer))) return "";
  return buffer;
}

std::string Environment(const char* name) {
  char buffer[MAX_PATH + 1] = {};
  const DWORD length = GetEnvironmentVariableA(name, buffer, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::string(buffer, length) : std::string();
}

// "HKLM\<key>" -> "<key>"; the log reader has made sure of the root.
std::string MachineKey(const std::string& path) { return path.substr(sizeof kMachineRoot - 1); }

class WinPlatform : public UninstallPlatform {
 public:
  Read ReadFile(const std::string& path, std::string& text) override {
    const tessaly::KernelHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
      const DWORD error = GetLastError();
      return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? Read::Missing : Read::Failed;
    }
    text.clear();
    char buffer[16384];
    DWORD got = 0;
    bool ok = true;
    while (text.size() < kLargestRead) {
      if (!::ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) {
        ok = false;
        break;
      }
      if (got == 0) break;
      text.append(buffer, got);
    }
    return ok ? Read::Ok : Read::Failed;
  }

  SystemFolders Folders() override {
    SystemFolders folders;
    folders.windows = WindowsFolder(GetWindowsDirectoryA);
    folders.system = WindowsFolder(GetSystemDirectoryA);
    for (const int csidl :
         {CSIDL_PROGRAM_FILES, CSIDL_PROGRAM_FILESX86, CSIDL_PROGRAM_FILES_COMMON, CSIDL_PROGRAM_FILES_COMMONX86,
          CSIDL_PROFILE, CSIDL_APPDATA, CSIDL_LOCAL_APPDATA, CSIDL_COMMON_APPDATA, CSIDL_PERSONAL, CSIDL_MYPICTURES,
          CSIDL_MYMUSIC, CSIDL_DESKTOPDIRECTORY, CSIDL_COMMON_DOCUMENTS})
      folders.kept.push_back(ShellFolder(csidl));
    folders.kept.push_back(Environment("ProgramW6432"));  // the 64-bit Program Files
    folders.longName = LongName;
    return folders;
  }

  std::string OwnFile() override {
    char buffer[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    return length > 0 && length < MAX_PATH ? LongName(std::string(buffer, length)) : "";
  }

  bool Exists(const LogEntry& entry) override {
    if (entry.kind == EntryKind::RegKey) {
      tessaly::RegistryKey key;
      return key.Open(HKEY_LOCAL_MACHINE, MachineKey(entry.path).c_str(), KEY_READ) == ERROR_SUCCESS;
    }
    return GetFileAttributesA(entry.path.c_str()) != INVALID_FILE_ATTRIBUTES;
  }

  Removal Remove(const LogEntry& entry) override {
    switch (entry.kind) {
      case EntryKind::RegKey: return RemoveKey(entry.path);
      case EntryKind::Folder: return RemoveFolder(entry.path);
      case EntryKind::File: break;
    }
    return RemoveFile(entry.path);
  }

  std::string ScreenSaver() override {
    char buffer[MAX_PATH + 1] = {};
    GetPrivateProfileStringA("boot", "SCRNSAVE.EXE", "", buffer, sizeof buffer, "SYSTEM.INI");
    return buffer;
  }

  void ClearScreenSaver() override { WritePrivateProfileStringA("boot", "SCRNSAVE.EXE", nullptr, "SYSTEM.INI"); }

  bool Confirm(const std::string& text) override {
    return MessageBoxA(nullptr, text.c_str(), kCaption, MB_YESNO | MB_ICONQUESTION | MB_SETFOREGROUND) == IDYES;
  }

  void Tell(const std::string& text, bool problem) override {
    MessageBoxA(nullptr, text.c_str(), kCaption,
                MB_OK | MB_SETFOREGROUND | (problem ? MB_ICONSTOP : MB_ICONINFORMATION));
  }

 private:
  static Removal RemoveKey(const std::string& path) {
    const LSTATUS status = SHDeleteKeyA(HKEY_LOCAL_MACHINE, MachineKey(path).c_str());
    if (status == ERROR_SUCCESS) return Removal::Removed;
    return status == ERROR_FILE_NOT_FOUND ? Removal::Absent : Removal::Failed;
  }

  static Removal RemoveFolder(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return Removal::Absent;
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return Removal::Failed;
    if (RemoveDirectoryA(path.c_str())) return Removal::Removed;
    return GetLastError() == ERROR_DIR_NOT_EMPTY ? Removal::NotEmpty : Removal::Failed;
  }

  Removal RemoveFile(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return Removal::Absent;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return Removal::Failed;
    if (attributes & FILE_ATTRIBUTE_READONLY) SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    // The program's own file stays in use until it ends: no use waiting.
    const bool self = SamePath(path, OwnFile());
    const DWORD deadline = GetTickCount() + (self ? 0 : kInUseWait);
    while (!DeleteFileA(path.c_str())) {
      const DWORD error = GetLastError();
      if (error == ERROR_FILE_NOT_FOUND) return Removal::Absent;
      if (static_cast<LONG>(GetTickCount() - deadline) >= 0) {
        return MoveFileExA(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) ? Removal::AtRestart : Removal::Failed;
      }
      Sleep(100);
    }
    return Removal::Removed;
  }
};

bool Elevated() {
  HANDLE opened = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &opened)) return true;
  const tessaly::KernelHandle token(opened);
  TOKEN_ELEVATION elevation = {};
  DWORD size = 0;
  const BOOL known = GetTokenInformation(token.get(), TokenElevation, &elevation, sizeof elevation, &size);
  return !known || elevation.TokenIsElevated != 0;  // no answer: a Windows without elevation
}

// Starts the program again with administrator rights (Windows asks the user)
// and returns its exit code once it has ended.
int RunElevated(const std::string& arguments) {
  char self[MAX_PATH + 1] = {};
  if (GetModuleFileNameA(nullptr, self, MAX_PATH) == 0) return kNothingRemoved;
  const std::string parameters = arguments + " /ELEVATED";
  SHELLEXECUTEINFOA run = {};
  run.cbSize = sizeof run;
  run.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
  run.lpVerb = "runas";
  run.lpFile = self;
  run.lpParameters = parameters.c_str();
  run.nShow = SW_SHOWNORMAL;
  if (!ShellExecuteExA(&run) || !run.hProcess) {
    if (!ParseArguments(arguments).silent)
      MessageBoxA(nullptr,
                  "Administrator rights are needed to remove " TESSALY_PRODUCT_NAME
                  ".  "
                  "Nothing was removed.",
                  kCaption, MB_OK | MB_ICONSTOP | MB_SETFOREGROUND);
    return kNothingRemoved;
  }
  const tessaly::KernelHandle process(run.hProcess);
  WaitForSingleObject(process.get(), INFINITE);
  DWORD code = kNothingRemoved;
  GetExitCodeProcess(process.get(), &code);
  return static_cast<int>(code);
}

}  // namespace
}  // namespace st6unst

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  try {
    const std::string arguments = st6unst::ArgumentText(GetCommandLineA());
    const st6unst::Arguments parsed = st6unst::ParseArguments(arguments);
    if (parsed.ok && !parsed.elevated && !st6unst::Elevated()) return st6unst::RunElevated(arguments);
    st6unst::WinPlatform platform;
    return st6unst::Uninstall(arguments, platform);
  } catch (...) {
    MessageBoxA(nullptr, "The uninstaller stopped unexpectedly.", st6unst::kCaption, MB_OK | MB_ICONSTOP);
    return st6unst::kPartlyRemoved;
  }
}
