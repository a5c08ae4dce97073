// List-box helpers: the first selected item, the transfer of a list box to
// and from a numbered section of the settings store, and the path of a
// play-list entry.
#pragma once

#include <cstdint>
#include <string>

#include "common/CRegSettings.h"
#include "common/ListBox.h"

namespace tessaly {

// A list in the settings store is a section of numbered values, "File0",
// "File1", ..., that ends at the first missing value or one reading "EOF".
// Item numbers are 16-bit: a list holds at most kMaxListItems + 1 items.
inline constexpr char kListValuePrefix[] = "File";
inline constexpr char kEndOfList[] = "EOF";
inline constexpr int kMaxListItems = 32767;

// Index of the first selected item; 0 when none is selected.
int16_t FirstSelectedIndex(const ListBox& list);

// Deletes the whole section, then stores item i as value prefix + i.
void SaveListBoxToRegistry(CRegSettings& settings, const ListBox& list, const std::string& section,
                           const std::string& prefix);

// Appends the values prefix + 0, prefix + 1, ... until one is missing or
// reads "EOF". Item numbers are 16-bit: a 32768th value raises an overflow.
void LoadListBoxFromRegistry(CRegSettings& settings, ListBox& list, const std::string& section,
                             const std::string& prefix);

// A play-list entry is a text of kEntryLength characters (UTF-16 units, the
// characters of Windows; the program holds it as UTF-8): the file name (or
// the folder of a folder entry) from column 1, the folder from column
// kEntryFolderColumn. Both fields are written over blanks without changing
// the length, so text beyond column 512 is lost and the field written second
// covers whatever of the first runs past column 255.
const size_t kEntryLength = 512;
const size_t kEntryFolderColumn = 256;

// The entry the installation stores for a sample file: the folder is written
// first and the file name over it.
std::string MakeEntry(const std::string& fileName, const std::string& folder);

// The entry the configuration window adds for a chosen file: the name is
// written first and the folder over it.
std::string MakeFileEntry(const std::string& name, const std::string& folder);

// The entry for a whole folder (ending in "\"): the folder in both fields.
std::string MakeFolderEntry(const std::string& folder);

// The full path of a play-list entry: the folder of a folder entry (with its
// trailing "\"), or folder + file name of a file entry, padding removed.
std::string ListEntryPath(const std::string& entry);

// The folder part of an entry: its text from column kEntryFolderColumn on,
// without the padding after it; "" for an entry shorter than that.
std::string EntryFolderPart(const std::string& entry);

}  // namespace tessaly
