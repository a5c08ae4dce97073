#include "uninstall/st6unst/UninstallLog.h"

#include <cstddef>

#include "common/ProductNames.h"

namespace st6unst {

const char kLogHeader[] = "Tessaly Uninstall Log 1";
const char kProductName[] = TESSALY_PRODUCT_NAME;
const char kUninstallKey[] = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tessaly";

namespace {

const size_t kLargestLog = 1 << 20;  // a log of the setup's is a few hundred bytes
const size_t kLongestPath = 259;     // MAX_PATH less the NUL
const char kUninstallParent[] = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

char Fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool StartsWith(const std::string& text, const std::string& prefix) {
  return text.size() >= prefix.size() && SamePath(text.substr(0, prefix.size()), prefix);
}

// Below (or equal to) the folder: "C:\A\B" is within "C:\A", "C:\AB" is not.
bool Within(const std::string& path, const std::string& folder) {
  if (folder.empty()) return false;
  if (SamePath(path, folder)) return true;
  return path.size() > folder.size() && StartsWith(path, folder) &&
         (folder.back() == '\\' || path[folder.size()] == '\\');
}

std::string WithoutTrailingBackslash(std::string path) {
  if (path.size() > 3 && path.back() == '\\') path.pop_back();
  return path;
}

bool IsReserved(unsigned char c) {
  return c < 0x20 || c == 0x7F || c == '<' || c == '>' || c == '"' || c == '/' || c == '|' || c == '?' || c == '*' ||
         c == ':';
}

bool IsVersion(const std::string& text) {
  if (text.empty() || text.size() > 32 || text.front() == '.' || text.back() == '.') return false;
  for (const char c : text)
    if (!(c >= '0' && c <= '9') && c != '.') return false;
  return true;
}

struct Checker {
  const SystemFolders& folders;
  std::vector<std::string> logFolders;

  std::string LongName(const std::string& path) const { return folders.longName ? folders.longName(path) : path; }

  // Every folder that must stay, as given and in its long form.
  std::vector<std::string> Kept() const {
    std::vector<std::string> kept;
    auto add = [&](const std::string& folder) {
      if (folder.empty()) return;
      kept.push_back(WithoutTrailingBackslash(folder));
      kept.push_back(WithoutTrailingBackslash(LongName(folder)));
    };
    add(folders.windows);
    add(folders.system);
    for (const std::string& folder : folders.kept) add(folder);
    return kept;
  }

  std::string FolderProblem(const std::string& folder) const {
    if (!IsPlainPath(folder)) return "is not a plain folder path";
    if (folder.size() <= 3) return "is the root of a drive";
    for (const std::string& form : {folder, LongName(folder)}) {
      for (const std::string& windows : {folders.windows, LongName(folders.windows)})
        if (Within(form, WithoutTrailingBackslash(windows))) return "lies in the Windows directory";
      for (const std::string& kept : Kept())
        if (Within(kept, form)) return "is a folder of Windows or holds one";
    }
    return "";
  }

  std::string FileProblem(const std::string& file) const {
    if (!IsPlainPath(file) || file.back() == '\\') return "is not a plain file path";
    const std::string folder = FolderOf(file), name = NameOf(file);
    if (folder.size() < 3 || name.empty()) return "is not a plain file path";
    for (const std::string& own : logFolders)
      if (SamePath(folder, own)) return "";
    auto in = [&](const std::string& systemFolder) {
      if (systemFolder.empty()) return false;
      const std::string forms[] = {WithoutTrailingBackslash(systemFolder),
                                   WithoutTrailingBackslash(LongName(systemFolder))};
      for (const std::string& form : forms)
        if (SamePath(folder, form) || SamePath(LongName(folder), form)) return true;
      return false;
    };
    if (in(folders.system) && (SamePath(name, "Tessaly.scr") || SamePath(name, "TSCSS.htm"))) return "";
    if (in(folders.windows) && SamePath(name, "st6unst.exe")) return "";
    return "is not a file the setup installs";
  }

  static std::string KeyProblem(const std::string& key) {
    if (!StartsWith(key, kUninstallParent)) return "is not an Add/Remove Programs entry";
    const std::string name = key.substr(sizeof kUninstallParent - 1);
    if (name.empty() || name.size() > 255) return "is not an Add/Remove Programs entry";
    for (const char c : name)
      if (static_cast<unsigned char>(c) < 0x20 || c == '\\') return "is not an Add/Remove Programs entry";
    if (name.front() == ' ' || name.back() == ' ' || name == "." || name == "..")
      return "is not an Add/Remove Programs entry";
    return "";
  }
};

// Splits at CR LF or LF. A CR anywhere else stays in its line, where the
// path checks refuse it.
std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    size_t stop = end;
    if (stop > start && text[stop - 1] == '\r') --stop;
    lines.push_back(text.substr(start, stop - start));
    start = end + 1;
  }
  return lines;
}

bool Field(const std::string& line, const std::string& tag, std::string& value) {
  const std::string prefix = tag + ": ";
  if (line.compare(0, prefix.size(), prefix) != 0) return false;
  value = line.substr(prefix.size());
  return true;
}

}  // namespace

bool SamePath(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Fold(a[i]) != Fold(b[i])) return false;
  return true;
}

bool IsPlainPath(const std::string& path) {
  if (path.size() < 3 || path.size() > kLongestPath) return false;
  const char drive = Fold(path[0]);
  if (drive < 'a' || drive > 'z' || path[1] != ':' || path[2] != '\\') return false;
  if (path.size() == 3) return true;
  // Components after "X:\", the last one possibly followed by a single "\".
  const std::string rest = path.back() == '\\' ? path.substr(3, path.size() - 4) : path.substr(3);
  size_t start = 0;
  while (true) {
    const size_t end = rest.find('\\', start);
    const std::string part = rest.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (part.empty() || part == "." || part == "..") return false;
    if (part.back() == '.' || part.back() == ' ') return false;
    for (const char c : part)
      if (IsReserved(static_cast<unsigned char>(c))) return false;
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return true;
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('\\');
  if (slash == std::string::npos) return "";
  return slash == 2 ? path.substr(0, 3) : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const size_t slash = path.rfind('\\');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

LogReading ReadUninstallLog(const std::string& text, const SystemFolders& folders) {
  LogReading reading;
  auto fail = [&reading](int line, const std::string& problem) {
    reading.ok = false;
    reading.line = line;
    reading.problem = problem;
    reading.log = UninstallLog();
    return reading;
  };
  if (text.empty()) return fail(0, "it is empty");
  if (text.size() > kLargestLog) return fail(0, "it is far larger than an uninstall log");
  if (text.find('\0') != std::string::npos) return fail(0, "it holds binary data");
  if (text.back() != '\n') return fail(0, "it was cut short (its last line is incomplete)");

  const std::vector<std::string> lines = Lines(text);
  if (lines[0] != kLogHeader) return fail(1, "it is not an uninstall log of Tessaly's setup");
  std::string value;
  if (lines.size() < 2 || !Field(lines[1], "Product", value) || value != kProductName)
    return fail(2, "it names no product or another one");
  if (lines.size() < 3 || !Field(lines[2], "Version", value) || !IsVersion(value))
    return fail(3, "it names no version");
  reading.log.version = value;

  // The entries, then "End:" with their number as the last line.
  Checker checker{folders, {}};
  std::vector<int> entryLines;
  size_t index = 3;
  for (; index < lines.size(); ++index) {
    const std::string& line = lines[index];
    const int number = static_cast<int>(index) + 1;
    if (Field(line, "End", value)) break;
    LogEntry entry{EntryKind::File, ""};
    if (Field(line, "File", value)) {
      entry.kind = EntryKind::File;
    } else if (Field(line, "Folder", value)) {
      entry.kind = EntryKind::Folder;
      value = WithoutTrailingBackslash(value);
    } else if (Field(line, "RegKey", value)) {
      entry.kind = EntryKind::RegKey;
    } else {
      return fail(number, "the line is not an entry");
    }
    entry.path = value;
    if (entry.kind == EntryKind::Folder) {
      const std::string problem = checker.FolderProblem(entry.path);
      if (!problem.empty()) return fail(number, "the folder " + problem);
      checker.logFolders.push_back(entry.path);
    } else if (entry.kind == EntryKind::RegKey) {
      const std::string problem = Checker::KeyProblem(entry.path);
      if (!problem.empty()) return fail(number, "the key " + problem);
    }
    reading.log.entries.push_back(entry);
    entryLines.push_back(number);
  }
  if (index >= lines.size()) return fail(0, "it was cut short (its \"End\" line is missing)");
  if (index + 1 != lines.size()) return fail(static_cast<int>(index) + 2, "lines follow its \"End\" line");
  if (value != std::to_string(reading.log.entries.size()))
    return fail(static_cast<int>(index) + 1, "the number of entries does not match");
  if (reading.log.entries.empty()) return fail(static_cast<int>(index) + 1, "it lists nothing");

  // Files are checked once every folder of the log is known.
  for (size_t i = 0; i < reading.log.entries.size(); ++i) {
    const LogEntry& entry = reading.log.entries[i];
    if (entry.kind != EntryKind::File) continue;
    const std::string problem = checker.FileProblem(entry.path);
    if (!problem.empty()) return fail(entryLines[i], "the file " + problem);
  }
  reading.ok = true;
  return reading;
}

}  // namespace st6unst
