#include "ui/mForm.h"

#include "common/Win32.h"

#include "ui/App.h"
#include "ui/Form.h"

namespace tessaly::ui {

void CenterForm(Form& f) {
  // The screen in the form's own twips (the DPI of its monitor).
  const long screenWidth = f.Scale().ToTwipsX(GetSystemMetrics(SM_CXSCREEN));
  const long screenHeight = f.Scale().ToTwipsY(GetSystemMetrics(SM_CYSCREEN));
  const long width = f.Width(), height = f.Height();
  const long top = screenHeight / 2 - height / 2;
  f.Move(f.Left(), top, width, height);
  const long left = screenWidth / 2 - width / 2;
  f.Move(left, top, width, height);
}

}  // namespace tessaly::ui
