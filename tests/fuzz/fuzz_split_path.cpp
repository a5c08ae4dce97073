// The parts of any path: together they are the path without the dots that
// ended it, and each part has its own shape.
#include "common/AppError.h"
#include "FuzzSupport.h"
#include "common/mFiles.h"

using namespace tessaly;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = fuzz::Text(data, size);
  const std::string drive = SplitPath(path, kPartDrive);
  const std::string folder = SplitPath(path, kPartFolder);
  const std::string base = SplitPath(path, kPartBase);
  const std::string ext = SplitPath(path, kPartExtension);

  std::string rest = path.substr(drive.size());
  while (!rest.empty() && rest.back() == '.') rest.pop_back();
  FUZZ_CHECK(drive + folder + base + ext == path.substr(0, drive.size()) + rest);
  FUZZ_CHECK(drive.empty() || (drive.size() == 2 && drive[1] == ':'));
  FUZZ_CHECK(folder.empty() || folder.back() == '\\');
  FUZZ_CHECK(ext.empty() || (ext.size() >= 2 && ext[0] == '.'));
  for (int bad : {-1, 4}) {
    try {
      SplitPath(path, bad);
      FUZZ_CHECK(false);
    } catch (const AppError& e) {
      FUZZ_CHECK(e.Number() == 1);
    }
  }
  return 0;
}
