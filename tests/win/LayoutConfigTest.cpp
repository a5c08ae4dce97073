// The configuration window laid out for the font and the DPI it runs with:
// the monitor picture (grown with the DPI) above the "Play List" frame, the
// preview on the picture's screen, and the play list's controls.
#include "ConfigWindowFixture.h"
#include "LayoutCheck.h"
#include "ui/PictureBox.h"

namespace layouttest {
namespace {

class ConfigWindowLayout : public dialogtest::ConfigWindowTest {};

TEST_F(ConfigWindowLayout, TheConfigurationWindowHoldsWithEitherList) {
  StoreList("PictureFiles", {Entry("a.bmp"), Entry("b.bmp")});
  HWND window = Open();
  auto& preview = dynamic_cast<tessaly::ui::PictureBox&>(form->PicBase());
  const std::vector<Nested> onThePicture = {{Item(IDC_MONITOR_IMAGE1), preview.hWnd()}};
  CheckLayout(window, "the configuration window", onThePicture);
  // With an entry chosen, the File Path line shows.
  dialogtest::SelectItems(window, IDC_LSTLIST0, {0});
  ASSERT_TRUE(IsWindowVisible(Item(IDC_LBLPATHLABEL)));
  CheckLayout(window, "the configuration window, an entry chosen", onThePicture);
  dialogtest::Click(window, IDC_OPTSOUND);
  ASSERT_TRUE(IsWindowVisible(Item(IDC_LSTLIST1)));
  CheckLayout(window, "the configuration window, sounds", onThePicture);
}

}  // namespace
}  // namespace layouttest
