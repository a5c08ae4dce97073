#include "common/AppError.h"
#include "common/ScopedWin.h"
#include "common/mFiles.h"

namespace tessaly {
namespace {

bool Matches(const WIN32_FIND_DATAA& fd, unsigned mask) {
  DWORD a = fd.dwFileAttributes;
  if ((a & FILE_ATTRIBUTE_DIRECTORY) && !(mask & kAttrDirectory)) return false;
  if ((a & FILE_ATTRIBUTE_HIDDEN) && !(mask & kAttrHidden)) return false;
  if ((a & FILE_ATTRIBUTE_SYSTEM) && !(mask & kAttrSystem)) return false;
  return true;
}

class Win32FileSystem : public FileSystem {
 public:
  std::vector<std::string> Find(const std::string& pattern, unsigned attrMask) override {
    std::vector<std::string> names;
    std::string query = pattern;
    if (!query.empty() && (query.back() == '\\' || query.back() == '/')) query += "*";
    WIN32_FIND_DATAA fd;
    FindHandle h(FindFirstFileA(query.c_str(), &fd));
    if (!h) {
      DWORD err = GetLastError();
      switch (err) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_NO_MORE_FILES:
          return names;
        case ERROR_NOT_READY:
          throw errors::DiskNotReady("mFiles");
        default:
          throw errors::BadFileName("mFiles");
      }
    }
    do {
      if (Matches(fd, attrMask)) names.emplace_back(fd.cFileName);
    } while (FindNextFileA(h.get(), &fd));
    return names;
  }

  size_t ShortPath(const std::string& path, std::string& out, size_t bufferLength) override {
    std::string buffer(bufferLength, '\0');
    DWORD len = GetShortPathNameA(path.c_str(), &buffer[0], static_cast<DWORD>(bufferLength));
    if (len > 0 && len <= bufferLength) out = buffer.substr(0, len);
    return len;
  }
};

}  // namespace

FileSystem& SystemFileSystem() {
  static Win32FileSystem fs;
  return fs;
}

}  // namespace tessaly
