#include "common/mCommonDialogs.h"

#include "common/Convert.h"
#include "common/mFiles.h"
#include "common/mString.h"

namespace tessaly {

void GetDialogFiles(const std::string& fileNameText, Collection& files, std::string& folder) {
  if (fileNameText.find('\0') == std::string::npos) {
    files.Add(SplitPath(fileNameText, kPartBase) + SplitPath(fileNameText, kPartExtension), "0");
    folder = SplitPath(fileNameText, kPartDrive) + SplitPath(fileNameText, kPartFolder);
    return;
  }
  std::string rest = fileNameText + std::string(2, '\0');
  const std::string first = NextToken(rest, '\0');
  long added = 0;
  for (std::string name = NextToken(rest, '\0'); !name.empty(); name = NextToken(rest, '\0')) {
    files.Add(name, TextOfNumber(added));
    ++added;
  }
  folder = first + "\\";
}

}  // namespace tessaly
