// The path of any list entry, as read from the registry or a play-list file.
#include <algorithm>

#include "common/Convert.h"
#include "FuzzSupport.h"
#include "common/mListBox.h"

using namespace tessaly;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string entry = fuzz::Text(data, size);
  const std::string path = ListEntryPath(entry);
  FUZZ_CHECK(path.size() <= entry.size());
  FUZZ_CHECK(path == Trim(path));

  // An entry made of a file name and a folder gives back folder + name.
  const size_t cut = size > 0 ? data[0] % 255 : 0;
  const std::string name = entry.substr(std::min(size, size_t{1}), cut);
  const std::string folder = entry.substr(std::min(size, size_t{1} + cut));
  const std::string made = MakeFileEntry(name, folder);
  FUZZ_CHECK(made.size() == kEntryLength);
  const std::string trimmedName = Trim(name);
  const std::string folderField = folder.substr(0, kEntryLength - kEntryFolderColumn + 1);
  if (trimmedName.empty() || trimmedName.back() != '\\')
    FUZZ_CHECK(ListEntryPath(made) == Trim(folderField) + trimmedName);

  const std::string folderEntry = MakeFolderEntry(folder);
  FUZZ_CHECK(folderEntry.size() == kEntryLength);
  const std::string trimmedFolder = Trim(folder);
  if (folder.size() < 254 && !trimmedFolder.empty() && trimmedFolder.back() == '\\')
    FUZZ_CHECK(ListEntryPath(folderEntry) == trimmedFolder);
  return 0;
}
