#include "common/FolderWalk.h"

#include <cstdint>
#include <set>
#include <vector>

#include "common/Convert.h"
#include "common/mString.h"

namespace tessaly {
namespace {

bool Stopped(const std::atomic<bool>* stop) { return stop && stop->load(std::memory_order_relaxed); }

std::vector<std::string> PatternList(std::string patterns) {
  std::vector<std::string> list;
  for (std::string p = NextToken(patterns, ';'); !p.empty(); p = NextToken(patterns, ';')) list.push_back(p);
  return list;
}

// One folder's listing: its matching files by pattern, and its subfolders.
// The names lie in one block (a folder may hold a hundred thousand).
struct Listing {
  std::string text;                              // the names, one after the other
  std::vector<uint32_t> starts;                  // where each name starts in `text`, and where the last ends
  std::vector<std::vector<uint32_t>> byPattern;  // indexes of names
  struct Subfolder {
    std::string name;
    bool link;
  };
  std::vector<Subfolder> subfolders;  // in the order listed
};

void ReadFolder(FileSystem& fs, const std::string& folder, const std::vector<std::string>& patterns, bool subfolders,
                Listing& out, const std::atomic<bool>* stop) {
  out.byPattern.assign(patterns.size(), {});
  const unsigned hiddenOrSystem = kAttrHidden | kAttrSystem;
  try {
    fs.ListFolder(folder, [&](const std::string& name, unsigned attributes) {
      if (Stopped(stop)) return false;
      if (attributes & hiddenOrSystem) return true;
      if (attributes & kAttrDirectory) {
        if (subfolders) out.subfolders.push_back({name, (attributes & kAttrLink) != 0});
        return true;
      }
      bool kept = false;
      for (std::size_t p = 0; p < patterns.size(); ++p) {
        if (!MatchesPattern(name, patterns[p])) continue;
        if (!kept) {
          if (out.starts.empty()) out.starts.push_back(0);
          out.text += name;
          out.starts.push_back(static_cast<uint32_t>(out.text.size()));
        }
        kept = true;
        out.byPattern[p].push_back(static_cast<uint32_t>(out.starts.size() - 2));
      }
      return true;
    });
  } catch (...) {
    // A folder that cannot be read (any more) gives what it gave.
  }
}

// The name by which a folder is known once walked: what the file system
// says it is, or, where it cannot tell, its path (letters in one case); ""
// for a link whose folder cannot be told, which is not followed.
std::string Identity(FileSystem& fs, const std::string& folder, bool link) {
  std::string id;
  try {
    id = fs.FolderIdentity(folder);
  } catch (...) {}
  if (!id.empty()) return "id:" + id;
  return link ? std::string() : "path:" + UpperCase(folder);
}

}  // namespace

void WalkFolder(FileSystem& fs, const std::string& folder, const std::string& patternText, bool subfolders,
                WalkSink& sink, const std::atomic<bool>* stop) {
  const std::vector<std::string> patterns = PatternList(patternText);
  if (patterns.empty()) return;
  std::set<std::string> walked;
  // Folders still to walk, the next on top.
  struct Pending {
    std::string path;
    bool link;
  };
  std::vector<Pending> pending{{folder, false}};
  while (!pending.empty() && !Stopped(stop)) {
    const Pending next = pending.back();
    pending.pop_back();
    if (subfolders) {
      const std::string id = Identity(fs, next.path, next.link);
      if (id.empty() || !walked.insert(id).second) continue;
    }
    Listing listing;
    ReadFolder(fs, next.path, patterns, subfolders, listing, stop);
    if (!listing.text.empty()) {
      if (!sink.Folder(next.path)) return;
      std::string name;
      for (const std::vector<uint32_t>& matches : listing.byPattern)
        for (uint32_t i : matches) {
          name.assign(listing.text, listing.starts[i], listing.starts[i + 1] - listing.starts[i]);
          if (!sink.File(name)) return;
        }
    }
    for (auto it = listing.subfolders.rbegin(); it != listing.subfolders.rend(); ++it)
      pending.push_back({next.path + it->name + "\\", it->link});
  }
}

}  // namespace tessaly
