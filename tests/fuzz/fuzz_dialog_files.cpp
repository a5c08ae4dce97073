// The file-open dialog's file-name text, one path or a folder and NUL
// separated names: one item per name, keyed "0", "1", ..., and a folder.
#include "common/Convert.h"
#include "FuzzSupport.h"
#include "common/mCommonDialogs.h"

using namespace tessaly;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text = fuzz::Text(data, size);
  Collection files;
  std::string folder = "unset";
  GetDialogFiles(text, files, folder);
  FUZZ_CHECK(folder != "unset");
  if (text.find('\0') == std::string::npos) {
    FUZZ_CHECK(files.Count() == 1 && files.Key(1) == "0");
    return 0;
  }
  FUZZ_CHECK(folder == text.substr(0, text.find('\0')) + "\\");
  size_t total = folder.size();
  for (long i = 1; i <= files.Count(); ++i) {
    FUZZ_CHECK(!files.Item(i).empty() && files.Item(i).find('\0') == std::string::npos);
    FUZZ_CHECK(files.Key(i) == TextOfNumber(i - 1));
    total += files.Item(i).size();
  }
  FUZZ_CHECK(total <= size + 1);
  return 0;
}
