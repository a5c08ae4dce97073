// What a folder entry of the picture list stands for: the matching files of
// the folder, and with subfolders those of its whole tree, in a fixed order.
#pragma once

#include <atomic>
#include <string>

#include "common/mFiles.h"

namespace tessaly {

// Receives what a walk finds: Folder once before the files that lie in it,
// then File for each of them (the name without folder). Either returns false
// to end the walk.
class WalkSink {
 public:
  virtual ~WalkSink() = default;
  virtual bool Folder(const std::string& folder) = 0;
  virtual bool File(const std::string& name) = 0;
};

// Walks `folder` (ending in "\"). Each folder is read once; its files that
// match the patterns (";"-separated, up to the first empty one) are given
// pattern by pattern in the list's order, and within one pattern in the order
// the file system lists them; hidden and system files are left out. With
// `subfolders`, each folder inside follows in the order listed, depth first
// (a folder, then the whole tree of its first subfolder, then of the next),
// hidden and system folders left out, and no folder is walked twice: a link
// to a folder walked already (a loop, or a second way to the same folder) is
// passed over. A folder that cannot be read gives what it gave before the
// failure and the walk goes on. The walk ends early when the sink says so or
// `stop` is set.
void WalkFolder(FileSystem& fs, const std::string& folder, const std::string& patterns, bool subfolders, WalkSink& sink,
                const std::atomic<bool>* stop = nullptr);

}  // namespace tessaly
