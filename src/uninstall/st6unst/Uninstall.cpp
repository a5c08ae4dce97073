#include "uninstall/st6unst/Uninstall.h"

#include <algorithm>
#include <vector>

namespace st6unst {
namespace {

const char kNothingRemovedText[] = " Nothing was removed.";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool Is(const std::string& token, const char* a, const char* b) { return SamePath(token, a) || SamePath(token, b); }

// Tokens separated by blanks; a token that starts with a quote runs to the
// next quote, which must end it.
bool Tokens(const std::string& text, std::vector<std::string>& tokens) {
  size_t i = 0;
  while (true) {
    while (i < text.size() && IsBlank(text[i])) ++i;
    if (i >= text.size()) return true;
    if (text[i] == '"') {
      const size_t close = text.find('"', i + 1);
      if (close == std::string::npos) return false;
      if (close + 1 < text.size() && !IsBlank(text[close + 1])) return false;
      tokens.push_back(text.substr(i + 1, close - i - 1));
      i = close + 1;
    } else {
      const size_t start = i;
      while (i < text.size() && !IsBlank(text[i])) {
        if (text[i] == '"') return false;
        ++i;
      }
      tokens.push_back(text.substr(start, i - start));
    }
  }
}

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

std::string List(const std::vector<std::string>& paths) {
  std::string text;
  for (const std::string& path : paths) text += "\r\n    " + path;
  return text;
}

}  // namespace

Arguments ParseArguments(const std::string& text) {
  Arguments arguments;
  std::vector<std::string> tokens;
  if (!Tokens(text, tokens)) return arguments;
  bool named = false;
  for (size_t i = 0; i < tokens.size(); ++i) {
    if (Is(tokens[i], "/S", "-S")) {
      arguments.silent = true;
    } else if (SamePath(tokens[i], "/ELEVATED")) {
      arguments.elevated = true;
    } else if (Is(tokens[i], "-n", "/n") && !named && i + 1 < tokens.size() && !tokens[i + 1].empty()) {
      arguments.logPath = tokens[++i];
      named = true;
    } else {
      return Arguments();
    }
  }
  arguments.ok = named;
  return arguments;
}

std::string ArgumentText(const std::string& commandLine) {
  size_t i = 0;
  if (!commandLine.empty() && commandLine[0] == '"') {
    const size_t close = commandLine.find('"', 1);
    i = close == std::string::npos ? commandLine.size() : close + 1;
  } else {
    while (i < commandLine.size() && !IsBlank(commandLine[i])) ++i;
  }
  while (i < commandLine.size() && IsBlank(commandLine[i])) ++i;
  return commandLine.substr(i);
}

bool NamesTessaly(const std::string& screenSaver) {
  std::string value = screenSaver;
  while (!value.empty() && IsBlank(value.back())) value.pop_back();
  const size_t slash = value.find_last_of("\\/:");
  return SamePath(slash == std::string::npos ? value : value.substr(slash + 1), "Tessaly.scr");
}

std::string ConfirmationText(const UninstallLog& log) {
  return "Remove " + std::string(kProductName) + " " + log.version +
         " (the screen saver, its help, samples and uninstall programs)?\r\n\r\n"
         "Your pictures, sounds and play-list files stay, and so do your lists and options in the "
         "registry: a new installation finds them again.";
}

int Uninstall(const std::string& argumentText, UninstallPlatform& platform) {
  const Arguments arguments = ParseArguments(argumentText);
  auto tell = [&](const std::string& text, bool problem) {
    if (!arguments.silent) platform.Tell(text, problem);
  };
  if (!arguments.ok) {
    tell("This program removes " + std::string(kProductName) +
             ".  Run Add/Remove Programs in the Control Panel and select the application "
             "name.\r\n\r\nCommand line: st6unst.exe -n \"<uninstall log>\" [/S]",
         true);
    return kNothingRemoved;
  }

  // The log, whole and sound, or nothing happens.
  const std::string log = Quoted(arguments.logPath);
  std::string text;
  switch (platform.ReadFile(arguments.logPath, text)) {
    case UninstallPlatform::Read::Ok: break;
    case UninstallPlatform::Read::Missing:
      if (!platform.Exists(LogEntry{EntryKind::RegKey, kUninstallKey})) {
        tell(std::string("There is nothing left to remove: ") + kProductName + " is not installed.", false);
        return kDone;
      }
      tell("The uninstall log " + log + " cannot be found." + kNothingRemovedText, true);
      return kNothingRemoved;
    case UninstallPlatform::Read::Failed:
      tell("The uninstall log " + log + " cannot be read." + kNothingRemovedText, true);
      return kNothingRemoved;
  }
  const LogReading reading = ReadUninstallLog(text, platform.Folders());
  if (!reading.ok) {
    std::string where = reading.line > 0 ? " (line " + std::to_string(reading.line) + ")" : "";
    tell("The uninstall log " + log + " is damaged: " + reading.problem + where + "." + kNothingRemovedText, true);
    return kNothingRemoved;
  }
  if (!arguments.silent && !platform.Confirm(ConfirmationText(reading.log))) return kCancelled;

  // Files first, this program's own file last of all; folders once emptied,
  // the deepest first.
  const std::string self = platform.OwnFile();
  std::vector<LogEntry> files, keys, folders;
  bool removesSelf = false;
  for (const LogEntry& entry : reading.log.entries) {
    if (entry.kind == EntryKind::File && SamePath(entry.path, self))
      removesSelf = true;
    else if (entry.kind == EntryKind::File)
      files.push_back(entry);
    else if (entry.kind == EntryKind::RegKey)
      keys.push_back(entry);
    else
      folders.push_back(entry);
  }
  std::stable_sort(folders.begin(), folders.end(),
                   [](const LogEntry& a, const LogEntry& b) { return a.path.size() > b.path.size(); });

  std::vector<std::string> atRestart, failed, leftFolders;
  auto remove = [&](const LogEntry& entry) {
    switch (platform.Remove(entry)) {
      case UninstallPlatform::Removal::Removed:
      case UninstallPlatform::Removal::Absent: break;
      case UninstallPlatform::Removal::AtRestart: atRestart.push_back(entry.path); break;
      case UninstallPlatform::Removal::NotEmpty: leftFolders.push_back(entry.path); break;
      case UninstallPlatform::Removal::Failed: failed.push_back(entry.path); break;
    }
  };
  for (const LogEntry& entry : files) remove(entry);
  if (NamesTessaly(platform.ScreenSaver())) platform.ClearScreenSaver();
  for (const LogEntry& entry : keys) remove(entry);
  for (const LogEntry& entry : folders) remove(entry);
  // Its own file cannot go while it runs; it goes at the next restart then.
  if (removesSelf) platform.Remove(LogEntry{EntryKind::File, self});

  std::string report;
  if (failed.empty())
    report = std::string(kProductName) + " was removed from your computer.";
  else
    report = std::string("Some parts of ") + kProductName + " could not be removed:" + List(failed);
  if (!atRestart.empty())
    report += "\r\n\r\nThese files are in use and will be removed when Windows restarts:" + List(atRestart);
  if (!leftFolders.empty())
    report += "\r\n\r\nThese folders hold further files and were left in place:" + List(leftFolders);
  tell(report, !failed.empty());
  return failed.empty() ? kDone : kPartlyRemoved;
}

}  // namespace st6unst
