// The uninstall log: what TessalySetup.exe created, one entry a line, and the
// rules by which st6unst.exe accepts it. Plain C++ only, so it builds and is
// tested anywhere.
//
// The setup writes it in the ANSI code page, CR LF after each line:
//
//   Tessaly Uninstall Log 1
//   Product: Tessaly Customizable Screen Saver
//   Version: 2.0.0
//   Folder: C:\Program Files\Tessaly
//   File: C:\Windows\system32\Tessaly.scr
//   File: C:\Program Files\Tessaly\Sample1.jpg
//   RegKey: HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tessaly
//   End: 4
//
// A log is taken whole or not at all: one line out of place, an entry the
// setup could not have written, or a count at the end that does not match
// makes the whole log damaged, and nothing is removed.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace st6unst {

extern const char kLogHeader[];    // "Tessaly Uninstall Log 1"
extern const char kProductName[];  // "Tessaly Customizable Screen Saver"
// The setup's Add/Remove Programs entry.
extern const char kUninstallKey[];  // "HKLM\Software\...\Uninstall\Tessaly"

enum class EntryKind { File, Folder, RegKey };

struct LogEntry {
  EntryKind kind;
  std::string path;  // folders without a trailing "\"
  bool operator==(const LogEntry& other) const { return kind == other.kind && path == other.path; }
};

struct UninstallLog {
  std::string version;
  std::vector<LogEntry> entries;  // in the order of the log
};

// The folders of this Windows that an uninstall never removes, and where the
// setup puts its own files among them.
struct SystemFolders {
  std::string windows;  // the Windows directory: st6unst.exe
  std::string system;   // the system directory: Tessaly.scr and its help page
  // Further folders that are never removed, nor any folder above them
  // (Program Files, the profiles ...).
  std::vector<std::string> kept;
  // The long form of a path that exists (8.3 names expanded), else the path
  // itself; so that a short alias cannot stand for a kept folder.
  std::function<std::string(const std::string&)> longName;
};

struct LogReading {
  bool ok = false;
  UninstallLog log;
  int line = 0;         // the first line found wrong, counted from 1; 0: the log as a whole
  std::string problem;  // what is wrong with it, for the message
};

// Reads a whole log. Every entry must be one the setup could have written:
// - "Folder:" a folder with a drive letter, not a drive's root, not the
//   Windows directory nor anything inside it, and neither a kept folder nor
//   a folder above one;
// - "File:" a file directly in one of the log's folders, or Tessaly.scr or
//   TSCSS.htm in the system directory, or st6unst.exe in the Windows
//   directory;
// - "RegKey:" a key directly under HKLM's Uninstall key.
LogReading ReadUninstallLog(const std::string& text, const SystemFolders& folders);

// Windows paths compare without regard to the case of ASCII letters.
bool SamePath(const std::string& a, const std::string& b);

// A path with a drive letter and no component that Windows would read as
// another path ("." or "..", trailing dots or blanks, reserved characters).
bool IsPlainPath(const std::string& path);

// The file's folder (without the final "\") and its name.
std::string FolderOf(const std::string& path);
std::string NameOf(const std::string& path);

}  // namespace st6unst
