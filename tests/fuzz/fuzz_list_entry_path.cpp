// The path of any list entry, as read from the registry or a play-list file.
// An entry's columns count UTF-16 units, the characters of Windows; a byte
// that begins no valid UTF-8 sequence reads as U+FFFD, one unit.
#include <algorithm>

#include "FuzzSupport.h"
#include "common/Convert.h"
#include "common/Utf.h"
#include "common/mListBox.h"

using namespace tessaly;

namespace {

// The text as the program holds it once it has read it.
std::string AsRead(const std::string& text) { return Utf8FromUtf16(Utf16FromUtf8(text)); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string entry = fuzz::Text(data, size);
  const std::string path = ListEntryPath(entry);
  FUZZ_CHECK(IsUtf8(path));
  FUZZ_CHECK(Utf16Length(path) <= Utf16Length(entry));
  FUZZ_CHECK(path == Trim(path));

  // An entry made of a file name and a folder gives back folder + name.
  const size_t cut = size > 0 ? data[0] % 255 : 0;
  const std::string name = AsRead(entry.substr(std::min(size, size_t{1}), cut));
  const std::string folder = AsRead(entry.substr(std::min(size, size_t{1} + cut)));
  const std::string made = MakeFileEntry(name, folder);
  FUZZ_CHECK(Utf16Length(made) == kEntryLength);
  const std::string trimmedName = Trim(name);
  const std::string folderField = Utf16Substr(folder, 0, kEntryLength - kEntryFolderColumn + 1);
  if (trimmedName.empty() || trimmedName.back() != '\\')
    FUZZ_CHECK(ListEntryPath(made) == Trim(folderField) + trimmedName);

  const std::string folderEntry = MakeFolderEntry(folder);
  FUZZ_CHECK(Utf16Length(folderEntry) == kEntryLength);
  const std::string trimmedFolder = Trim(folder);
  if (Utf16Length(folder) < 254 && !trimmedFolder.empty() && trimmedFolder.back() == '\\')
    FUZZ_CHECK(ListEntryPath(folderEntry) == trimmedFolder);
  return 0;
}
