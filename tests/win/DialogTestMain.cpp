// The dialog tests' entry point. These tests open and close hundreds of
// dialogs and message boxes, so under Wine the program first asks to place
// its windows without a window manager (see RunAgainUnmanaged).
#include "common/ScopedWin.h"
#include "common/Win32.h"

#include <gtest/gtest.h>

#include "ui/App.h"
#include "DialogTestSupport.h"

int main(int argc, char** argv) {
  int exitCode = 0;
  if (dialogtest::RunAgainUnmanaged(exitCode)) return exitCode;
  tessaly::ui::InitTwips(15, 15);
  tessaly::InitOle();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
