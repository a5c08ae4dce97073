#include "show/PlayList.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "common/AppError.h"
#include "common/FolderWalk.h"

namespace tessaly {
namespace {

// Names go into blocks that grow from small to this size, so that a list of
// one picture holds little and a large one few blocks.
const std::size_t kFirstBlock = 256;
const std::size_t kLargestBlock = 64 * 1024;
// A name longer than the table's length field goes to a list of its own.
const uint32_t kLongName = 1023;

[[noreturn]] void OutOfRange() { throw AppError(kErrSubscript, "Subscript out of range", "PlayList"); }

}  // namespace

// ---------------------------------------------------------------------------
// PathList

void PathList::AddFolder(const std::string& folder) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (folders_.empty() || folders_.back() != folder) folders_.push_back(folder);
}

void PathList::AddName(std::string_view name) {
  std::lock_guard<std::mutex> lock(mutex_);
  AddNameLocked(name);
}

void PathList::AddNames(const std::vector<std::string>& names) {
  std::lock_guard<std::mutex> lock(mutex_);
  for (const std::string& name : names) AddNameLocked(name);
}

void PathList::AddNameLocked(std::string_view name) {
  if (folders_.empty()) folders_.emplace_back();
  Name entry{};
  entry.folder = static_cast<uint32_t>(folders_.size() - 1);
  if (name.size() >= kLongName) {
    entry.block = static_cast<uint32_t>(longNames_.size());
    entry.length = kLongName;
    longNames_.emplace_back(name);
    names_.push_back(entry);
    return;
  }
  if (blocks_.empty() || used_ + name.size() > blockSizes_.back()) {
    const std::size_t size =
        std::max(name.size(), blocks_.empty() ? kFirstBlock : std::min(blockSizes_.back() * 2, kLargestBlock));
    blocks_.push_back(std::make_unique<char[]>(size));
    blockSizes_.push_back(size);
    used_ = 0;
  }
  std::copy(name.begin(), name.end(), blocks_.back().get() + used_);
  entry.block = static_cast<uint32_t>(blocks_.size() - 1);
  entry.offset = static_cast<uint32_t>(used_);
  entry.length = static_cast<uint32_t>(name.size());
  used_ += name.size();
  names_.push_back(entry);
}

void PathList::AddPath(std::string_view path) {
  const std::size_t slash = path.find_last_of('\\');
  const std::size_t cut = slash == std::string_view::npos ? 0 : slash + 1;
  std::lock_guard<std::mutex> lock(mutex_);
  const std::string folder(path.substr(0, cut));
  if (folders_.empty() || folders_.back() != folder) folders_.push_back(folder);
  AddNameLocked(path.substr(cut));
}

void PathList::Finish() {
  std::lock_guard<std::mutex> lock(mutex_);
  complete_ = true;
}

long PathList::Count() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return static_cast<long>(names_.size());
}

bool PathList::Complete() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return complete_;
}

std::string PathList::Item(long index) const {
  std::lock_guard<std::mutex> lock(mutex_);
  if (index < 1 || static_cast<std::size_t>(index) > names_.size()) OutOfRange();
  const Name& entry = names_[static_cast<std::size_t>(index - 1)];
  std::string path = folders_[entry.folder];
  if (entry.length == kLongName) return path + longNames_[entry.block];
  path.append(blocks_[entry.block].get() + entry.offset, entry.length);
  return path;
}

std::size_t PathList::BytesHeld() const {
  std::lock_guard<std::mutex> lock(mutex_);
  std::size_t bytes = sizeof(*this) + names_.capacity() * sizeof(Name) + blocks_.capacity() * sizeof(blocks_[0]) +
                      blockSizes_.capacity() * sizeof(std::size_t) + folders_.capacity() * sizeof(std::string) +
                      longNames_.capacity() * sizeof(std::string);
  for (std::size_t size : blockSizes_) bytes += size;
  for (const std::string& folder : folders_) bytes += folder.capacity() + 1;
  for (const std::string& name : longNames_) bytes += name.capacity() + 1;
  return bytes;
}

// ---------------------------------------------------------------------------
// PlayList

void PlayList::Add(const std::string& path) {
  if (!files_) {
    files_ = std::make_shared<PathList>();
    files_->Finish();
    parts_.push_back(files_);
  }
  files_->AddPath(path);
}

void PlayList::AddList(std::shared_ptr<const PathList> list) {
  parts_.push_back(std::move(list));
  files_.reset();
}

long PlayList::Count() const {
  long count = 0;
  for (const auto& part : parts_) {
    const bool complete = part->Complete();  // before the count: no picture is counted that is not there
    count += part->Count();
    if (!complete) break;
  }
  return count;
}

bool PlayList::Complete() const {
  for (const auto& part : parts_)
    if (!part->Complete()) return false;
  return true;
}

std::string PlayList::Item(long index) const {
  if (index < 1) OutOfRange();
  for (const auto& part : parts_) {
    const bool complete = part->Complete();
    const long count = part->Count();
    if (index <= count) return part->Item(index);
    if (!complete) break;
    index -= count;
  }
  OutOfRange();
}

std::size_t PlayList::BytesHeld() const {
  std::size_t bytes = sizeof(*this) + parts_.capacity() * sizeof(parts_[0]);
  std::set<const PathList*> counted;
  for (const auto& part : parts_)
    if (counted.insert(part.get()).second) bytes += part->BytesHeld();
  return bytes;
}

// ---------------------------------------------------------------------------
// RandomOrder

void RandomOrder::Reset() {
  order_.clear();
  drawn_ = 0;
}

long RandomOrder::Next(long count, bool complete, RandomSource& random) {
  if (count <= 0) return 0;
  const std::size_t known = static_cast<std::size_t>(count);
  if (order_.size() > known) Reset();  // a shorter list than before: begin again
  // Pictures found since the last draw join those left.
  while (order_.size() < known) order_.push_back(static_cast<uint32_t>(order_.size()));
  if (drawn_ >= order_.size()) {
    if (!complete) return 0;
    drawn_ = 0;  // a new round
  }
  const std::size_t left = order_.size() - drawn_;
  const double r = random.Next();
  std::size_t k = static_cast<std::size_t>(std::nearbyint(r * static_cast<double>(left - 1)));
  if (k >= left) k = left - 1;
  std::swap(order_[drawn_], order_[drawn_ + k]);
  return static_cast<long>(order_[drawn_++]) + 1;
}

// ---------------------------------------------------------------------------
// PlayListBuilder

namespace {

// Hands what a walk finds to its list a few hundred names at a time, so that
// the list's lock is taken now and then, not for every name.
class Appender : public WalkSink {
 public:
  explicit Appender(PathList& list) : list_(list) {}
  ~Appender() override { Flush(); }
  bool Folder(const std::string& folder) override {
    Flush();
    list_.AddFolder(folder);
    return true;
  }
  bool File(const std::string& name) override {
    names_.push_back(name);
    if (names_.size() == kBatch) Flush();
    return true;
  }
  void Flush() {
    if (names_.empty()) return;
    list_.AddNames(names_);
    names_.clear();
  }

 private:
  static constexpr std::size_t kBatch = 256;
  PathList& list_;
  std::vector<std::string> names_;
};

}  // namespace

PlayListBuilder::PlayListBuilder(FileSystem& fs, bool background) : fs_(fs), background_(background) {}

PlayListBuilder::~PlayListBuilder() { Stop(); }

void PlayListBuilder::Stop() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    quit_ = true;
    for (auto& walk : current_) walk->stop = true;
  }
  wake_.notify_all();
  if (worker_.joinable()) worker_.join();
}

void PlayListBuilder::Run(Walk& walk) {
  ++walksStarted_;
  try {
    Appender sink(*walk.list);
    WalkFolder(fs_, walk.folder, walk.patterns, walk.subfolders, sink, &walk.stop);
    sink.Flush();
  } catch (...) {
    // Out of memory: the list keeps what it has.
  }
  walk.list->Finish();
}

void PlayListBuilder::Work() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return quit_ || !queue_.empty(); });
    if (quit_) return;
    std::shared_ptr<Walk> walk = queue_.front();
    queue_.pop_front();
    running_ = true;
    lock.unlock();
    Run(*walk);
    lock.lock();
    running_ = false;
    if (queue_.empty()) idle_.notify_all();
  }
}

PlayList PlayListBuilder::Build(const std::vector<std::string>& paths, const std::string& patterns, bool subfolders,
                                bool keep) {
  PlayList list;
  std::vector<std::shared_ptr<Walk>> used;
  std::vector<std::shared_ptr<Walk>> fresh;
  std::map<WalkKey, std::shared_ptr<Walk>> kept;
  for (const std::string& path : paths) {
    if (path.empty() || path.back() != '\\') {
      list.Add(path);
      continue;
    }
    const WalkKey key{path, patterns, subfolders};
    std::shared_ptr<Walk> walk;
    if (auto it = kept.find(key); it != kept.end()) walk = it->second;  // the same folder twice
    if (auto it = kept_.find(key); !walk && keep && it != kept_.end()) walk = it->second;
    if (!walk) {
      walk = std::make_shared<Walk>();
      walk->folder = path;
      walk->patterns = patterns;
      walk->subfolders = subfolders;
      fresh.push_back(walk);
    }
    kept[key] = walk;
    used.push_back(walk);
    list.AddList(walk->list);
  }

  std::lock_guard<std::mutex> lock(mutex_);
  // Walks no longer used stop; those left to run run in this list's order.
  for (auto& walk : current_)
    if (std::find(used.begin(), used.end(), walk) == used.end()) walk->stop = true;
  current_ = used;
  kept_ = keep ? std::move(kept) : std::map<WalkKey, std::shared_ptr<Walk>>();
  if (!background_ || quit_) {  // after Stop, at once
    for (auto& walk : fresh) Run(*walk);
    return list;
  }
  std::set<Walk*> waiting;
  for (auto& walk : queue_) waiting.insert(walk.get());
  for (auto& walk : fresh) waiting.insert(walk.get());
  queue_.clear();
  std::set<Walk*> queued;
  for (auto& walk : used)
    if (waiting.count(walk.get()) && queued.insert(walk.get()).second) queue_.push_back(walk);
  if (!worker_.joinable()) worker_ = std::thread([this] { Work(); });
  wake_.notify_all();
  return list;
}

void PlayListBuilder::WaitIdle() {
  std::unique_lock<std::mutex> lock(mutex_);
  idle_.wait(lock, [this] { return queue_.empty() && !running_; });
}

}  // namespace tessaly
