// The results of the platform's file and folder dialogs.
#pragma once

#include <cstdint>
#include <string>

#include "common/mCollection.h"

namespace tessaly {

// Splits the file-open dialog's file-name text: one full path, or a folder,
// a NUL and NUL-separated names. Adds each name (without folder) keyed "0",
// "1", ... and sets `folder` to the folder, ending in "\".
void GetDialogFiles(const std::string& fileNameText, Collection& files, std::string& folder);

// The platform's folder dialog (only file-system folders); the chosen path,
// or "" when the user cancels. Implemented by the Win32 side.
std::string BrowseForFolder(uintptr_t ownerHwnd, const std::string& title);

}  // namespace tessaly
