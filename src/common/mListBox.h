// List-box helpers: the first selected item, the transfer of a list box to
// and from a numbered section of the settings store, and the path of a
// play-list entry.
#pragma once

#include <cstdint>
#include <string>

#include "CRegSettings.h"
#include "ListBox.h"

namespace tessaly {

// Index of the first selected item; 0 when none is selected.
int16_t FirstSelectedIndex(const ListBox& list);

// Deletes the whole section, then stores item i as value prefix + i.
void SaveListBoxToRegistry(CRegSettings& settings, const ListBox& list, const std::string& section,
                           const std::string& prefix);

// Appends the values prefix + 0, prefix + 1, ... until one is missing or
// reads "EOF". Item numbers are 16-bit: a 32768th value raises an overflow.
void LoadListBoxFromRegistry(CRegSettings& settings, ListBox& list, const std::string& section,
                             const std::string& prefix);

// The full path of a play-list entry: the folder of a folder entry (with its
// trailing "\"), or folder + file name of a file entry, padding removed.
std::string ListEntryPath(const std::string& entry);

}  // namespace tessaly
