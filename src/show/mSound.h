// Playing one sound file.
#pragma once

#include <cstdint>
#include <string>

#include "show/ShowHost.h"

namespace tessaly {

const uint32_t kSndAsync = 0x1;
const uint32_t kSndNoDefault = 0x2;
const uint32_t kSndFilename = 0x20000;

// Plays the file in the background, cutting off a sound still playing; no
// default sound when the file cannot be played. True when the platform
// accepted the sound.
bool PlaySoundFile(ShowPlatform& platform, const std::string& FileName, int32_t Flags);

}  // namespace tessaly
