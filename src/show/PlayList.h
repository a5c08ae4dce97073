// The show's picture list: the pictures of every entry, filled while the show
// already runs. Folder entries are walked by a thread of their own, so the
// first picture does not wait for a library of any size; the show goes
// through the part found so far, and random order draws from it as it grows.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "common/mCollection.h"
#include "common/mFiles.h"

namespace tessaly {

// Paths, appended by one thread and read by others. Each folder is held once
// and the names in shared blocks: a listed picture costs its name and
// kBytesPerName more.
class PathList {
 public:
  static constexpr std::size_t kBytesPerName = 12;

  // The names that follow lie in `folder` (ending in "\").
  void AddFolder(const std::string& folder);
  void AddName(std::string_view name);
  // Several names of the folder last added, at once.
  void AddNames(const std::vector<std::string>& names);
  // A whole path: its folder, then its name.
  void AddPath(std::string_view path);
  // Nothing more comes.
  void Finish();

  long Count() const;
  bool Complete() const;
  // 1-based; an index outside 1..Count raises a subscript error.
  std::string Item(long index) const;
  // The memory the list holds: blocks, folders and the table of names, as
  // allocated (room not used yet counted too).
  std::size_t BytesHeld() const;

 private:
  struct Name {
    uint32_t folder;
    uint32_t block;
    uint32_t offset : 22;  // within its block
    uint32_t length : 10;  // names are at most 255 UTF-16 units
  };
  static_assert(sizeof(Name) == kBytesPerName, "the table of names stays compact");
  void AddNameLocked(std::string_view name);

  mutable std::mutex mutex_;
  std::vector<std::string> folders_;
  std::vector<std::unique_ptr<char[]>> blocks_;
  std::vector<std::size_t> blockSizes_;
  std::size_t used_ = 0;  // in the last block
  std::vector<Name> names_;
  std::vector<std::string> longNames_;  // names beyond the table's length (a path of a file entry)
  bool complete_ = false;
};

// The play list: the entries' lists in the list's order. Pictures are known
// from the start of the list up to the first entry still being walked, and
// what that one has found: positions never move as the list grows.
class PlayList {
 public:
  // A path of its own (a file entry): appended to the run of file entries
  // at the end.
  void Add(const std::string& path);
  // The list of a folder entry, filled elsewhere.
  void AddList(std::shared_ptr<const PathList> list);

  long Count() const;
  bool Complete() const;
  bool Empty() const { return Count() == 0; }
  // 1-based among the pictures known; outside them a subscript error.
  std::string Item(long index) const;
  // The memory the lists hold (see PathList::BytesHeld).
  std::size_t BytesHeld() const;

 private:
  std::vector<std::shared_ptr<const PathList>> parts_;
  std::shared_ptr<PathList> files_;  // the run of file entries at the end, if any
};

// Random order over a list that may still grow: every picture known is drawn
// once before any is drawn again; pictures found later join those not drawn
// yet. At each draw k = round-half-even(r × (left − 1)) picks among the
// pictures left, as the shuffle of the sounds does.
class RandomOrder {
 public:
  // A new run: nothing drawn yet.
  void Reset();
  // The next picture (1-based), or 0 when every picture known has been drawn
  // and the list is not complete (the caller waits for more). When it is
  // complete, a new round begins.
  long Next(long count, bool complete, RandomSource& random);
  std::size_t BytesHeld() const { return order_.capacity() * sizeof(uint32_t); }

 private:
  std::vector<uint32_t> order_;  // drawn this round first, then those left
  std::size_t drawn_ = 0;
};

// Builds the play list of a list's entries. The walks of folder entries run
// on a thread of their own (or at once, for tests), one after the other in
// the list's order. A walk can be kept for the next build: the configuration
// window's preview builds its list again after every list command, and the
// folders of entries it had already walked are not walked again.
class PlayListBuilder {
 public:
  PlayListBuilder(FileSystem& fs, bool background);
  ~PlayListBuilder();
  PlayListBuilder(const PlayListBuilder&) = delete;
  PlayListBuilder& operator=(const PlayListBuilder&) = delete;

  // The play list of these paths (files, and folders ending in "\"). Walks
  // of an earlier build that this one does not use are stopped; with `keep`
  // this build's walks are kept for the next one.
  PlayList Build(const std::vector<std::string>& paths, const std::string& patterns, bool subfolders, bool keep);
  // Waits until no walk is left to run (the bench, the tests).
  void WaitIdle();
  // Stops every walk and the thread that runs them, and waits for it: the
  // process may end right after without cutting a walk off in the middle of
  // a call.
  void Stop();
  // How many folder walks have been started so far.
  long WalksStarted() const { return walksStarted_; }

 private:
  struct Walk {
    std::string folder;
    std::string patterns;
    bool subfolders = false;
    std::shared_ptr<PathList> list = std::make_shared<PathList>();
    std::atomic<bool> stop{false};
  };
  using WalkKey = std::tuple<std::string, std::string, bool>;
  void Run(Walk& walk);
  void Work();

  FileSystem& fs_;
  const bool background_;
  std::map<WalkKey, std::shared_ptr<Walk>> kept_;
  std::vector<std::shared_ptr<Walk>> current_;  // the last build's walks
  std::atomic<long> walksStarted_{0};

  std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable idle_;
  std::deque<std::shared_ptr<Walk>> queue_;
  bool running_ = false;  // a walk is being run
  bool quit_ = false;
  std::thread worker_;
};

}  // namespace tessaly
