// Whole text files (play lists, the help page): read in one piece, and
// replaced only once the new content is complete. Behind an interface, so
// that the play-list format is tested without a file system.
#pragma once

#include <string>

namespace tessaly {

class TextFileStore {
 public:
  virtual ~TextFileStore() = default;
  // Reads the file's content into `content`. Raises an AppError with the
  // platform's error mapped to the program's numbers (53 "File not found",
  // 76 "Path not found", 70 "Permission denied", 75 "Path/File access
  // error", 57 "Device I/O error", ...) when the file cannot be opened or
  // read; `content` then holds what was read before the failure.
  virtual void Read(const std::string& path, std::string& content) = 0;
  // The file's whole content; raises as Read does.
  std::string ReadAll(const std::string& path) {
    std::string content;
    Read(path, content);
    return content;
  }
  // Makes `content` the file's content. The content goes to a new file
  // beside the old one, which replaces the old one only once it is complete
  // and flushed: on any failure an AppError is raised, the old file is left
  // byte for byte as it was and no temporary file is left behind.
  virtual void ReplaceAll(const std::string& path, const std::string& content) = 0;
};

// The running platform's files.
TextFileStore& SystemTextFiles();

}  // namespace tessaly
