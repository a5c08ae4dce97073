// st6unst.exe, the uninstaller behind qmunins: reads the uninstall log named
// on its command line, asks, and removes exactly what the log lists. The
// steps and the texts are here; the platform does the reading, removing and
// asking through UninstallPlatform.
#pragma once

#include <string>

#include "uninstall/st6unst/UninstallLog.h"

namespace st6unst {

// "-n <uninstall log>" (the path quoted when it holds blanks) and, for silent
// mode, "/S" (or "-s"); case does not matter. "/ELEVATED" marks the run that
// the program started again with administrator rights.
struct Arguments {
  bool ok = false;
  std::string logPath;
  bool silent = false;
  bool elevated = false;
};
Arguments ParseArguments(const std::string& text);

// The text after the program name of a full command line (a quoted name runs
// to its closing quote, otherwise up to the first blank), leading blanks
// removed.
std::string ArgumentText(const std::string& commandLine);

// The file name of a SYSTEM.INI screen saver entry is Tessaly's.
bool NamesTessaly(const std::string& screenSaver);

class UninstallPlatform {
 public:
  enum class Read { Ok, Missing, Failed };
  enum class Removal {
    Removed,    // gone now
    Absent,     // was not there
    AtRestart,  // in use: goes when Windows restarts
    NotEmpty,   // a folder that holds files the log does not list: left in place
    Failed
  };
  virtual ~UninstallPlatform() = default;
  virtual Read ReadFile(const std::string& path, std::string& text) = 0;
  virtual SystemFolders Folders() = 0;
  virtual std::string OwnFile() = 0;  // the running program's file
  virtual bool Exists(const LogEntry& entry) = 0;
  virtual Removal Remove(const LogEntry& entry) = 0;  // a folder only when it is empty
  virtual std::string ScreenSaver() = 0;              // SYSTEM.INI [boot] SCRNSAVE.EXE
  virtual void ClearScreenSaver() = 0;
  virtual bool Confirm(const std::string& text) = 0;  // true: the user answered Yes
  virtual void Tell(const std::string& text, bool problem) = 0;
};

// The program's exit codes.
enum ExitCode {
  kDone = 0,            // removed, or nothing was left to remove
  kCancelled = 1,       // the user answered No
  kNothingRemoved = 2,  // bad arguments, or a log missing, unreadable or damaged
  kPartlyRemoved = 3    // some entries could not be removed
};

// Runs the whole uninstall for the argument text; in silent mode the
// confirmation counts as Yes and nothing is told.
int Uninstall(const std::string& arguments, UninstallPlatform& platform);

// The question asked before anything is removed.
std::string ConfirmationText(const UninstallLog& log);

}  // namespace st6unst
