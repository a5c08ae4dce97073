#include "common/mListBox.h"

#include <algorithm>

#include "common/AppError.h"
#include "common/Convert.h"
#include "common/Utf.h"

namespace tessaly {

int16_t FirstSelectedIndex(const ListBox& list) {
  const int count = list.ListCount();
  for (int i = 0; i < count; ++i) {
    if (list.Selected(i)) return ToInt16(i);
  }
  return 0;
}

void SaveListBoxToRegistry(CRegSettings& settings, const ListBox& list, const std::string& section,
                           const std::string& prefix) {
  settings.DeleteSetting(section);  // the section may not exist yet
  const int count = list.ListCount();
  for (int i = 0; i < count; ++i) {
    if (i > kMaxListItems) throw AppError(kErrOverflow, "Overflow", "mListBox.SaveListBoxToRegistry");
    settings.SaveSetting(section, prefix + TextOfNumber(i), list.List(i));
  }
}

void LoadListBoxFromRegistry(CRegSettings& settings, ListBox& list, const std::string& section,
                             const std::string& prefix) {
  for (int i = 0;; ++i) {
    const std::string value = settings.GetSetting(section, prefix + TextOfNumber(i), kEndOfList);
    if (value == kEndOfList) return;
    list.AddItem(value);
    if (i == kMaxListItems) throw AppError(kErrOverflow, "Overflow", "mListBox.LoadListBoxFromRegistry");
  }
}

namespace {
// Writes `field` over `entry` from 0-based position `at`, cut at the end.
// Both count UTF-16 units.
void WriteField(std::u16string& entry, size_t at, const std::string& text) {
  const std::u16string field = Utf16FromUtf8(text);
  const size_t room = kEntryLength - at;
  entry.replace(at, std::min(field.size(), room), field, 0, room);
}

// Trims blanks from a part of an entry.
std::string Part(const std::u16string& entry, size_t from, size_t count = std::u16string::npos) {
  if (from >= entry.size()) return std::string();
  return Trim(Utf8FromUtf16(std::u16string_view(entry).substr(from, count)));
}
}  // namespace

std::string MakeEntry(const std::string& fileName, const std::string& folder) {
  std::u16string entry(kEntryLength, u' ');
  WriteField(entry, kEntryFolderColumn - 1, folder);
  WriteField(entry, 0, fileName);
  return Utf8FromUtf16(entry);
}

std::string MakeFileEntry(const std::string& name, const std::string& folder) {
  std::u16string entry(kEntryLength, u' ');
  WriteField(entry, 0, name);
  WriteField(entry, kEntryFolderColumn - 1, folder);
  return Utf8FromUtf16(entry);
}

std::string MakeFolderEntry(const std::string& folder) { return MakeFileEntry(folder, folder); }

std::string ListEntryPath(const std::string& text) {
  const std::u16string entry = Utf16FromUtf8(text);
  const std::string name = Part(entry, 0, 254);
  if (!name.empty() && name.back() == '\\') return Part(entry, 0, 255);
  return Part(entry, 254) + name;
}

std::string EntryFolderPart(const std::string& text) {
  const std::u16string entry = Utf16FromUtf8(text);
  if (entry.size() < kEntryFolderColumn) return std::string();
  return TrimRight(Utf8FromUtf16(std::u16string_view(entry).substr(kEntryFolderColumn - 1)));
}

}  // namespace tessaly
