// File and path helpers: existence checks, pattern expansion, path parts and
// the short and long forms of a path. The directory search itself is the
// platform's, reached through FileSystem.
#pragma once

#include <functional>
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
  // Set by ListFolder only: a link (reparse point), to a folder or a file.
  kAttrLink = 1024,
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
  // Every entry of a folder (ending in "\"), "." and ".." left out, in the
  // order the platform lists them, each with its attribute bits (kAttr...),
  // until `visit` returns false. Reads the folder once, whatever patterns
  // the caller matches. A missing folder lists nothing; a bad name or a
  // device that is not ready raises an AppError.
  using FolderVisitor = std::function<bool(const std::string& name, unsigned attributes)>;
  virtual void ListFolder(const std::string& folder, const FolderVisitor& visit) = 0;
  // A text that is the same for every path of one folder, followed links
  // included, and differs between folders; "" when it cannot be told.
  virtual std::string FolderIdentity(const std::string& folder) = 0;
};

// The file system of the running platform.
FileSystem& SystemFileSystem();

bool FileExists(const std::string& path, FileSystem& fs = SystemFileSystem());
bool DirExists(const std::string& path, FileSystem& fs = SystemFileSystem());
void CheckPath(const std::string& path, bool& isFile, bool& exists, FileSystem& fs = SystemFileSystem());
void AddMatchingFiles(Collection& files, const std::string& folder, std::string patterns,
                      FileSystem& fs = SystemFileSystem());

// Whether a file name matches a wildcard pattern ("*" any run of
// characters, "?" one character), letters compared without regard to their
// case: the long name is compared, as the user sees it ("*.jpg" does not
// take "x.jpeg").
bool MatchesPattern(const std::string& name, const std::string& pattern);

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
