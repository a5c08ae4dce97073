#include "common/mListBox.h"

#include <algorithm>

#include "common/AppError.h"
#include "common/Convert.h"

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
void WriteField(std::string& entry, size_t at, const std::string& field) {
  const size_t room = kEntryLength - at;
  entry.replace(at, std::min(field.size(), room), field, 0, room);
}
}  // namespace

std::string MakeEntry(const std::string& fileName, const std::string& folder) {
  std::string entry(kEntryLength, ' ');
  WriteField(entry, kEntryFolderColumn - 1, folder);
  WriteField(entry, 0, fileName);
  return entry;
}

std::string MakeFileEntry(const std::string& name, const std::string& folder) {
  std::string entry(kEntryLength, ' ');
  WriteField(entry, 0, name);
  WriteField(entry, kEntryFolderColumn - 1, folder);
  return entry;
}

std::string MakeFolderEntry(const std::string& folder) { return MakeFileEntry(folder, folder); }

std::string ListEntryPath(const std::string& entry) {
  const std::string name = Trim(entry.substr(0, 254));
  if (!name.empty() && name.back() == '\\') return Trim(entry.substr(0, 255));
  const std::string folder = entry.size() > 254 ? Trim(entry.substr(254)) : std::string();
  return folder + name;
}

}  // namespace tessaly
