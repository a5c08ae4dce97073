// Stand-ins for the platform shared by the unit tests.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "common/AppError.h"
#include "common/mCollection.h"
#include "config/PlayListFile.h"
#include "common/mFiles.h"

namespace tessaly {

// A directory tree in memory. Entries are full paths; folders end in "\".
// Find answers a full path or a "<folder>\*.ext" pattern like the platform.
class FakeFileSystem : public FileSystem {
 public:
  struct Entry {
    bool dir;
    bool hidden;
    bool system = false;
  };
  std::map<std::string, Entry> entries;  // "C:\Pics\a.jpg" -> file
  // Folder links: "C:\Top\a\loop\" -> "C:\Top\" (the link is an entry too).
  std::map<std::string, std::string> links;
  std::vector<std::string> listings;             // the folders ListFolder read
  std::string listFailsAfter;                    // ListFolder of this folder raises after its first entry
  std::map<std::string, std::string> longNames;  // short component path -> long name
  std::string failOn;                            // a pattern whose search raises
  std::vector<std::string> searches;

  std::vector<std::string> Find(const std::string& pattern, unsigned mask) override {
    searches.push_back(pattern);
    if (!failOn.empty() && pattern == failOn) throw errors::BadFileName("fake");
    std::vector<std::string> names;
    auto ok = [mask](const Entry& e) {
      return (!e.dir || (mask & kAttrDirectory)) && (!e.hidden || (mask & kAttrHidden));
    };
    auto alias = longNames.find(pattern);
    if (alias != longNames.end()) {
      names.push_back(alias->second);
      return names;
    }
    size_t star = pattern.find('*');
    std::string folder = pattern.substr(0, pattern.rfind('\\') + 1);
    for (const auto& [path, e] : entries) {
      std::string name = path.substr(folder.size());
      if (path.rfind(folder, 0) != 0 || name.empty()) continue;
      bool nested = name.find('\\') != std::string::npos && name.find('\\') != name.size() - 1;
      if (nested) continue;
      if (e.dir) name.pop_back();
      bool match;
      if (pattern.back() == '\\')
        match = true;
      else if (star != std::string::npos) {
        std::string ext = pattern.substr(star + 1);  // "*.jpg" -> ".jpg"
        match = name.size() >= ext.size() && name.compare(name.size() - ext.size(), ext.size(), ext) == 0;
      } else {
        match = (folder + name) == pattern;
      }
      if (match && ok(e)) names.push_back(name);
    }
    return names;
  }
  // The folder a path stands for, links followed.
  std::string Resolve(std::string path) const {
    for (bool again = true; again;) {
      again = false;
      for (const auto& [link, target] : links) {
        if (path.rfind(link, 0) == 0) {
          path = target + path.substr(link.size());
          again = true;
          break;
        }
      }
    }
    return path;
  }
  void ListFolder(const std::string& given, const FolderVisitor& visit) override {
    listings.push_back(given);
    const std::string folder = Resolve(given);
    int listed = 0;
    for (const auto& [path, e] : entries) {
      if (path.rfind(folder, 0) != 0 || path.size() == folder.size()) continue;
      std::string name = path.substr(folder.size());
      if (e.dir) name.pop_back();
      if (name.find('\\') != std::string::npos) continue;
      if (given == listFailsAfter && listed == 1) throw AppError(57, "Device I/O error", "fake");
      unsigned attributes = 0;
      if (e.dir) attributes |= kAttrDirectory;
      if (e.hidden) attributes |= kAttrHidden;
      if (e.system) attributes |= kAttrSystem;
      if (links.count(path)) attributes |= kAttrLink;
      ++listed;
      if (!visit(name, attributes)) return;
    }
  }
  std::string FolderIdentity(const std::string& folder) override {
    const std::string resolved = Resolve(folder);
    return entries.count(resolved) ? "#" + resolved : std::string();
  }
  size_t ShortPath(const std::string& path, std::string& out, size_t bufferLength) override {
    std::string s = "SHORT~1\\" + path.substr(path.rfind('\\') + 1);
    if (path.size() > 40) return 300;  // pretend the short form does not fit
    if (s.size() <= bufferLength) out = s;
    return s.size();
  }
};

// Text files in memory; a missing one cannot be read, and one named in
// `failAfter` fails with a device error after that many bytes.
class MemoryTextFiles : public TextFileStore {
 public:
  std::map<std::string, std::string> files;
  std::map<std::string, size_t> failAfter;

  void Read(const std::string& path, std::string& content) override {
    content.clear();
    auto it = files.find(path);
    if (it == files.end()) throw AppError(kErrFileNotFound, "File not found", "MemoryTextFiles");
    auto fail = failAfter.find(path);
    if (fail == failAfter.end()) {
      content = it->second;
      return;
    }
    content = it->second.substr(0, fail->second);
    throw AppError(kErrDeviceIO, "Device I/O error", "MemoryTextFiles");
  }
  void ReplaceAll(const std::string& path, const std::string& content) override { files[path] = content; }
};

class ScriptedRandom : public RandomSource {
 public:
  explicit ScriptedRandom(std::vector<double> values) : values_(std::move(values)) {}
  void SeedFromClock() override { ++seeds; }
  double Next() override { return values_.at(next_++); }
  int seeds = 0;

 private:
  std::vector<double> values_;
  size_t next_ = 0;
};

}  // namespace tessaly
