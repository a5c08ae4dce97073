#include "show/mSound.h"

namespace tessaly {

bool PlaySoundFile(ShowPlatform& platform, const std::string& FileName, int32_t Flags) {
  return platform.PlayWave(FileName, static_cast<uint32_t>(Flags) + kSndAsync + kSndNoDefault);
}

}  // namespace tessaly
