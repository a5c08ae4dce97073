#include "common/mFiles.h"

#include "common/mListBox.h"

#include "common/AppError.h"
#include "common/mString.h"

namespace tessaly {

bool FileExists(const std::string& path, FileSystem& fs) { return !fs.Find(path, kAttrNormal).empty(); }

bool DirExists(const std::string& path, FileSystem& fs) {
  try {
    return !fs.Find(path, kAttrDirectory).empty();
  } catch (...) {
    return false;
  }
}

void CheckPath(const std::string& path, bool& isFile, bool& exists, FileSystem& fs) {
  if (!path.empty() && path.back() == '\\') {
    isFile = false;
    exists = DirExists(path, fs);
  } else {
    isFile = true;
    exists = FileExists(path, fs);
  }
}

void AddMatchingFiles(Collection& files, const std::string& folder, std::string patterns, FileSystem& fs) {
  try {
    std::string pattern = NextToken(patterns, ';');
    while (!pattern.empty()) {
      for (const std::string& name : fs.Find(folder + pattern, kAttrNormal)) files.Add(folder + name);
      pattern = NextToken(patterns, ';');
    }
  } catch (...) {
    // A folder that cannot be read contributes what was found so far.
  }
}

namespace {
char Folded(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
// The length of the UTF-8 sequence that starts with this byte (1 for a byte
// that starts none).
std::size_t SequenceLength(unsigned char b) { return b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1; }
}  // namespace

bool MatchesPattern(const std::string& name, const std::string& pattern) {
  // On the UTF-8 bytes, without a copy (a walk matches every name of a
  // library against every pattern): letters of ASCII compared without
  // regard to their case, "?" one character, "*" any run. Greedy, with one
  // point to go back to: the last "*" met.
  size_t n = 0, p = 0, starP = std::string::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '?') {
      n += SequenceLength(static_cast<unsigned char>(name[n]));
      ++p;
    } else if (p < pattern.size() && pattern[p] != '*' && Folded(pattern[p]) == Folded(name[n])) {
      ++n, ++p;
    } else if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (starP != std::string::npos) {
      p = starP + 1;
      n = starN += SequenceLength(static_cast<unsigned char>(name[starN]));
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size() && n == name.size();
}

std::string SplitPath(const std::string& path, int part) {
  if (part < kPartDrive || part > kPartExtension) throw AppError(1, "Invalid path part", "mFiles.SplitPath");

  std::string drive, folder, base, ext;
  std::string text = path;
  if (text.size() >= 2 && text[1] == ':') {
    drive = text.substr(0, 2);
    text.erase(0, 2);
  }
  bool extFixed = false;
  bool slashFound = false;
  // Scan from the right; `text` shrinks as trailing dots and the extension
  // are cut off.
  for (size_t i = text.size(); i-- > 0;) {
    char c = text[i];
    if (c == '.' && !extFixed) {
      if (i == text.size() - 1) {
        text.erase(i);  // a trailing dot gives no extension
      } else {
        ext = text.substr(i);
        text.erase(i);
        extFixed = true;
      }
      continue;
    }
    if (c == '\\' && i != text.size() - 1) {
      base = text.substr(i + 1);
      folder = text.substr(0, i + 1);
      slashFound = true;
      break;
    }
  }
  if (!slashFound) base = text;

  switch (part) {
    case kPartDrive: return drive;
    case kPartFolder: return folder;
    case kPartBase: return base;
    default: return ext;
  }
}

std::string ShortPathName(const std::string& path, FileSystem& fs) {
  const size_t kBuffer = 250;
  std::string out;
  size_t len = fs.ShortPath(path, out, kBuffer);
  // A short form that does not fit the buffer is no usable short form.
  if (len == 0 || len > kBuffer) return std::string();
  return out.substr(0, len);
}

std::string LongPathName(const std::string& given, FileSystem& fs) {
  const unsigned kMask = kAttrHidden | kAttrSystem | kAttrDirectory | kAttrArchive;  // 54
  if (given.empty()) return std::string();

  std::string path = given;
  bool trailing = false;
  if (path.back() == '\\') {
    path.pop_back();
    trailing = true;
  }
  const std::string tail = trailing ? "\\" : "";

  if (path.find('\\') == std::string::npos) {
    // A bare drive ("C:") is its own long form; any other single name is
    // what the search finds for it.
    if (path.size() == 2 && path[1] == ':') return path + tail;
    try {
      std::vector<std::string> found = fs.Find(path, kMask);
      return (found.empty() ? std::string() : found.front()) + tail;
    } catch (...) {
      return tail;
    }
  }

  std::string result;
  bool first = true;
  while (path.find('\\') != std::string::npos) {
    std::vector<std::string> found;
    try {
      found = fs.Find(path, kMask);
    } catch (...) {
      if (first) return tail;
      // A later component that cannot be searched is left out.
    }
    if (first && found.empty()) return given;
    if (!found.empty() && !found.front().empty())
      result = result.empty() ? found.front() : found.front() + "\\" + result;
    first = false;
    path.erase(path.rfind('\\'));
  }
  return path + "\\" + result + tail;
}

void RemoveMissingEntries(ListBox& list, FileSystem& fs) {
  for (int i = list.ListCount() - 1; i >= 0; --i) {
    bool isFile = false;
    bool exists = false;
    CheckPath(ListEntryPath(list.List(i)), isFile, exists, fs);
    if (!exists) list.RemoveItem(i);
  }
}

}  // namespace tessaly
