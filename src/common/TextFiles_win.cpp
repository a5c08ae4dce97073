// Whole text files on the Win32 file system. A write goes to a new file in
// the same folder, which is flushed and then renamed over the old one, so a
// write that fails half-way (a full disk, a removed drive) leaves the old
// file (a play list) as it was.
#include <new>
#include <string>

#include "common/AppError.h"
#include "common/ScopedWin.h"
#include "common/TextFiles.h"
#include "common/WideText_win.h"

namespace tessaly {
namespace {

const char kSource[] = "TextFiles";

// The program's error for a failed file operation.
AppError FileError(DWORD code) {
  switch (code) {
    case ERROR_FILE_NOT_FOUND: return AppError(kErrFileNotFound, "File not found", kSource);
    case ERROR_PATH_NOT_FOUND:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME: return AppError(kErrPathNotFound, "Path not found", kSource);
    case ERROR_INVALID_DRIVE:
    case ERROR_DEV_NOT_EXIST: return AppError(kErrDeviceUnavailable, "Device unavailable", kSource);
    case ERROR_NOT_READY: return errors::DiskNotReady(kSource);
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT: return AppError(kErrPermissionDenied, "Permission denied", kSource);
    case ERROR_ACCESS_DENIED: return AppError(kErrPathFileAccess, "Path/File access error", kSource);
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return AppError(kErrDiskFull, "Disk full", kSource);
    case ERROR_TOO_MANY_OPEN_FILES: return AppError(kErrTooManyFiles, "Too many files", kSource);
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_DIRECTORY: return errors::BadFileName(kSource);
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY: return AppError(kErrOutOfMemory, "Out of memory", kSource);
    default: return AppError(kErrDeviceIO, "Device I/O error", kSource);
  }
}

[[noreturn]] void RaiseLastError() { throw FileError(GetLastError()); }

// Creates a new, empty file in the folder of `path` and sets `name` to it.
HANDLE CreateFileBeside(const std::string& path, std::string& name) {
  const size_t slash = path.find_last_of("\\/");
  std::string folder;
  if (slash != std::string::npos)
    folder = path.substr(0, slash + 1);
  else if (path.size() >= 2 && path[1] == ':')
    folder = path.substr(0, 2);  // "C:name"
  static unsigned counter = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = folder + "~tsl" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter) + ".tmp";
    HANDLE h = CreateFileW(Wide(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) return h;
    const DWORD code = GetLastError();
    if (code != ERROR_FILE_EXISTS && code != ERROR_ALREADY_EXISTS) throw FileError(code);
  }
  throw AppError(kErrFileExists, "File already exists", kSource);
}

// A new file beside `path`, deleted again unless Keep() is called.
class TemporaryFile {
 public:
  explicit TemporaryFile(const std::string& path) : file_(CreateFileBeside(path, name_)) {}
  ~TemporaryFile() {
    file_.Close();
    if (!kept_) DeleteFileW(Wide(name_).c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  KernelHandle& File() { return file_; }
  const std::string& Name() const { return name_; }
  void Keep() { kept_ = true; }

 private:
  std::string name_;  // set while file_ is made
  KernelHandle file_;
  bool kept_ = false;
};

void WriteWhole(HANDLE file, const std::string& content) {
  const char* data = content.data();
  size_t left = content.size();
  while (left > 0) {
    const DWORD chunk = left > (1u << 30) ? (1u << 30) : static_cast<DWORD>(left);
    DWORD written = 0;
    if (!WriteFile(file, data, chunk, &written, nullptr)) RaiseLastError();
    if (written == 0) throw FileError(ERROR_DISK_FULL);
    data += written;
    left -= written;
  }
}

class Win32TextFiles : public TextFileStore {
 public:
  void Read(const std::string& path, std::string& content) override {
    content.clear();
    KernelHandle file(CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) RaiseLastError();
    try {
      LARGE_INTEGER size;
      if (GetFileSizeEx(file.get(), &size) && size.QuadPart > 0) content.reserve(static_cast<size_t>(size.QuadPart));
      char buffer[64 * 1024];
      for (;;) {
        DWORD got = 0;
        if (!ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) RaiseLastError();
        if (got == 0) break;
        content.append(buffer, got);
      }
    } catch (const std::bad_alloc&) {
      throw AppError(kErrOutOfMemory, "Out of memory", kSource);
    }
  }

  void ReplaceAll(const std::string& path, const std::string& content) override {
    // The old file must be one that could be rewritten in place: a
    // read-only file or a folder of that name is refused before anything is
    // written.
    const std::wstring target = Wide(path);
    const DWORD old = GetFileAttributesW(target.c_str());
    const bool exists = old != INVALID_FILE_ATTRIBUTES;
    if (!exists && GetLastError() != ERROR_FILE_NOT_FOUND) RaiseLastError();
    if (exists && (old & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY))) throw FileError(ERROR_ACCESS_DENIED);

    TemporaryFile temp(path);
    WriteWhole(temp.File().get(), content);
    if (!FlushFileBuffers(temp.File().get())) RaiseLastError();
    if (!temp.File().Close()) RaiseLastError();
    // The new file keeps the old one's hidden and system marks.
    if (exists) {
      const DWORD kept = old & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
      if (kept) SetFileAttributesW(Wide(temp.Name()).c_str(), kept | FILE_ATTRIBUTE_ARCHIVE);
    }
    if (!MoveFileExW(Wide(temp.Name()).c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      RaiseLastError();
    }
    temp.Keep();
  }
};

}  // namespace

TextFileStore& SystemTextFiles() {
  static Win32TextFiles files;
  return files;
}

}  // namespace tessaly
