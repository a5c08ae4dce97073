#include "mSound.h"

namespace tessaly {

bool PlaySoundFile(ShowPlatform& platform, const std::string& FileName, int32_t Flags) {
  return platform.PlaySound(FileName, static_cast<uint32_t>(Flags) + kSndAsync + kSndNoDefault);
}

}  // namespace tessaly
