// The directory search on Win32, through the wide calls: every name the file
// system can hold is found, whatever the system's ANSI code page.
#include "common/AppError.h"
#include "common/ScopedWin.h"
#include "common/WideText_win.h"
#include "common/mFiles.h"

namespace tessaly {
namespace {

bool Matches(DWORD a, unsigned mask) {
  if ((a & FILE_ATTRIBUTE_DIRECTORY) && !(mask & kAttrDirectory)) return false;
  if ((a & FILE_ATTRIBUTE_HIDDEN) && !(mask & kAttrHidden)) return false;
  if ((a & FILE_ATTRIBUTE_SYSTEM) && !(mask & kAttrSystem)) return false;
  return true;
}

unsigned Attributes(DWORD a) {
  unsigned bits = 0;
  if (a & FILE_ATTRIBUTE_HIDDEN) bits |= kAttrHidden;
  if (a & FILE_ATTRIBUTE_SYSTEM) bits |= kAttrSystem;
  if (a & FILE_ATTRIBUTE_DIRECTORY) bits |= kAttrDirectory;
  if (a & FILE_ATTRIBUTE_ARCHIVE) bits |= kAttrArchive;
  if (a & FILE_ATTRIBUTE_REPARSE_POINT) bits |= kAttrLink;
  return bits;
}

// Opens a search; nullptr-like (INVALID_HANDLE_VALUE) when nothing is
// there, an AppError when the name or the device is bad. Only the long names
// are asked for (no short names to make), in large batches.
HANDLE OpenSearch(const std::wstring& query, WIN32_FIND_DATAW& fd) {
  HANDLE h =
      FindFirstFileExW(query.c_str(), FindExInfoBasic, &fd, FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (h == INVALID_HANDLE_VALUE && GetLastError() == ERROR_INVALID_PARAMETER)
    h = FindFirstFileW(query.c_str(), &fd);  // a system that has neither of the two options
  if (h != INVALID_HANDLE_VALUE) return h;
  switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_NO_MORE_FILES: return INVALID_HANDLE_VALUE;
    case ERROR_NOT_READY: throw errors::DiskNotReady("mFiles");
    default: throw errors::BadFileName("mFiles");
  }
}

bool Dots(const wchar_t* name) { return name[0] == L'.' && (!name[1] || (name[1] == L'.' && !name[2])); }

class Win32FileSystem : public FileSystem {
 public:
  std::vector<std::string> Find(const std::string& pattern, unsigned attrMask) override {
    std::vector<std::string> names;
    std::string query = pattern;
    if (!query.empty() && (query.back() == '\\' || query.back() == '/')) query += "*";
    WIN32_FIND_DATAW fd;
    FindHandle h(OpenSearch(Wide(query), fd));
    if (!h) return names;
    do {
      if (Matches(fd.dwFileAttributes, attrMask)) names.push_back(Utf8(fd.cFileName));
    } while (FindNextFileW(h.get(), &fd));
    return names;
  }

  size_t ShortPath(const std::string& path, std::string& out, size_t bufferLength) override {
    std::wstring buffer(bufferLength, L'\0');
    const DWORD len = GetShortPathNameW(Wide(path).c_str(), &buffer[0], static_cast<DWORD>(bufferLength));
    if (len > 0 && len <= bufferLength) out = Utf8(std::wstring_view(buffer.data(), len));
    return len;
  }

  void ListFolder(const std::string& folder, const FolderVisitor& visit) override {
    WIN32_FIND_DATAW fd;
    FindHandle h(OpenSearch(Wide(folder + "*"), fd));
    if (!h) return;
    do {
      if (Dots(fd.cFileName)) continue;
      if (!visit(Utf8(fd.cFileName), Attributes(fd.dwFileAttributes))) return;
    } while (FindNextFileW(h.get(), &fd));
  }

  std::string FolderIdentity(const std::string& folder) override {
    // Opening the folder follows links to the folder they stand for.
    const KernelHandle h(CreateFileW(Wide(folder).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!h || !GetFileInformationByHandle(h.get(), &info)) return std::string();
    return std::to_string(info.dwVolumeSerialNumber) + ":" + std::to_string(info.nFileIndexHigh) + ":" +
           std::to_string(info.nFileIndexLow);
  }
};

}  // namespace

FileSystem& SystemFileSystem() {
  static Win32FileSystem fs;
  return fs;
}

}  // namespace tessaly
