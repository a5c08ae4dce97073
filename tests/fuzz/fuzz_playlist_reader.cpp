// The play-list reader on any file content (lines in ANSI or UTF-8): no
// crash, no entry holds a CR, and writing the lists out and reading them back
// gives the same lists.
#include "FuzzSupport.h"
#include "config/PlayListFile.h"
#include "common/Utf.h"
#include "common/mListBox.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text = fuzz::Text(data, size);
  fuzz::VectorList pictures, sounds;
  tessaly::AppendPlayListText(text, pictures, sounds, tessaly::WesternCodePage());

  size_t entryBytes = 0;
  for (const auto* list : {&pictures, &sounds}) {
    for (const std::string& entry : list->items) {
      FUZZ_CHECK(entry.find('\r') == std::string::npos);
      FUZZ_CHECK(tessaly::IsUtf8(entry));
      entryBytes += tessaly::Utf16Length(entry);
      tessaly::ListEntryPath(entry);
    }
  }
  FUZZ_CHECK(entryBytes <= size);

  const std::string written = tessaly::PlayListText(pictures, sounds, tessaly::WesternCodePage());
  fuzz::VectorList readPictures, readSounds;
  tessaly::AppendPlayListText(written, readPictures, readSounds, tessaly::WesternCodePage());
  FUZZ_CHECK(readPictures.items == pictures.items);
  FUZZ_CHECK(readSounds.items == sounds.items);
  return 0;
}
