// What the about box reads: the maker's web address and the location of the
// platform's system-information program.
#pragma once

#include <string>

#include "common/RegistryApi.h"
#include "common/mFiles.h"

namespace tessaly {

// The two registry locations of the system-information program, under
// HKEY_LOCAL_MACHINE.
extern const char kSysInfoPathKey[];    // "SOFTWARE\Microsoft\Shared Tools\MSINFO", value "PATH"
extern const char kSysInfoFolderKey[];  // "SOFTWARE\Microsoft\Shared Tools Location", value "MSINFO"

// Reads the value `SubKeyRef` of `KeyRoot`\`KeyName` into `KeyVal`: true when
// the key opened and the value was read (a value of another type than REG_SZ
// leaves `KeyVal` empty), false with `KeyVal` empty otherwise.
bool GetKeyValue(RegistryApi& registry, RegHandle KeyRoot, const std::string& KeyName, const std::string& SubKeyRef,
                 std::string& KeyVal);

// The full path of the system-information program: the path stored at the
// first location, else the folder stored at the second followed by
// "\MSINFO32.EXE" when a file search finds it there; "" when neither gives
// one.
std::string SysInfoProgram(RegistryApi& registry, FileSystem& fs);

// The maker's web address without a trailing "/": the build's default
// unless HKEY_CURRENT_USER\Software\Quillmark Inc.\qmunins "BaseAddress"
// names another.
std::string MakerAddress(RegistryApi& registry, const std::string& buildDefault);

}  // namespace tessaly
