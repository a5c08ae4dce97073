// File and path helpers: existence checks, pattern expansion, path parts and
// the short and long forms of a path. The directory search itself is the
// platform's, reached through FileSystem.
#pragma once

#include <string>
#include <vector>

#include "common/ListBox.h"
#include "common/mCollection.h"

namespace tessaly {

// Attribute bits of a directory search.
enum FileAttr : unsigned {
  kAttrNormal = 0,
  kAttrHidden = 2,
  kAttrSystem = 4,
  kAttrDirectory = 16,
  kAttrArchive = 32,
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // Names (without folder) of the entries matching `pattern`, in the order
  // the platform lists them. Ordinary files always match; hidden, system and
  // folder entries only when their bit is in `attrMask`. A pattern ending in
  // "\" lists the folder's entries. Nothing found is an empty result; a bad
  // name or a device that is not ready raises an AppError.
  virtual std::vector<std::string> Find(const std::string& pattern, unsigned attrMask) = 0;
  // The platform's short (8.3) form given a buffer of `bufferLength`
  // characters; returns the platform's length (0 when there is none).
  virtual size_t ShortPath(const std::string& path, std::string& out, size_t bufferLength) = 0;
};

// The file system of the running platform.
FileSystem& SystemFileSystem();

bool FileExists(const std::string& path, FileSystem& fs = SystemFileSystem());
bool DirExists(const std::string& path, FileSystem& fs = SystemFileSystem());
void CheckPath(const std::string& path, bool& isFile, bool& exists,
               FileSystem& fs = SystemFileSystem());
void AddMatchingFiles(Collection& files, const std::string& folder, std::string patterns,
                      FileSystem& fs = SystemFileSystem());

enum PathPart { kPartDrive = 0, kPartFolder = 1, kPartBase = 2, kPartExtension = 3 };
// The pieces of a path: 0 the drive ("C:"), 1 the folder ("\Pics\"), 2 the base
// name, 3 the extension (".jpg").
// Any other part number raises error 1.
std::string SplitPath(const std::string& path, int part);

std::string ShortPathName(const std::string& path, FileSystem& fs = SystemFileSystem());
std::string LongPathName(const std::string& path, FileSystem& fs = SystemFileSystem());

// Removes, from the last item down, every play-list entry whose file or
// folder no longer exists. Errors of the existence check pass on.
void RemoveMissingEntries(ListBox& list, FileSystem& fs = SystemFileSystem());

}  // namespace tessaly
