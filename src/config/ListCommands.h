// The list commands of the configuration window, on whichever list is
// visible: add chosen files, add a folder, remove the selection, move the
// selected entry. The window supplies the dialogs, the pausing of its
// preview and the dirty flag; these only change the list.
#pragma once

#include <string>

#include "common/ListBox.h"
#include "common/mCollection.h"

namespace tessaly {

// Appends one file entry per name, in the collection's order, each with the
// same folder (ending in "\").
void AddFileEntries(ListBox& list, const std::string& folder, const Collection& names);

// Appends the folder entry for the folder picker's answer. The answer is
// trimmed; an empty one (the picker was cancelled) adds nothing and gives
// false. A "\" is appended unless the answer ends in one (a drive root).
bool AddFolderEntry(ListBox& list, std::string answer);

// Removes every selected entry, from the last to the first, and then
// selects the first remaining entry, if any.
void RemoveSelectedEntries(ListBox& list);

// Exchanges the first selected entry with the one `delta` places away and
// moves the selection with it. A target outside the list raises an
// invalid-call error and changes nothing.
void MoveSelectedEntry(ListBox& list, int delta);

}  // namespace tessaly
