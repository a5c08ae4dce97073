#include "mForm.h"

#include "Win32.h"

#include "App.h"
#include "Form.h"

namespace tessaly::ui {

void CenterForm(Form& f) {
  const long screenWidth = static_cast<long>(GetSystemMetrics(SM_CXSCREEN)) * TwipsX();
  const long screenHeight = static_cast<long>(GetSystemMetrics(SM_CYSCREEN)) * TwipsY();
  const long width = f.Width(), height = f.Height();
  const long top = screenHeight / 2 - height / 2;
  f.Move(f.Left(), top, width, height);
  const long left = screenWidth / 2 - width / 2;
  f.Move(left, top, width, height);
}

}  // namespace tessaly::ui
