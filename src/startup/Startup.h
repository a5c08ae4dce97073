// Values prepared at start-up and shared by the whole process.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "common/CRegSettings.h"
#include "common/CommandMode.h"

namespace tessaly {

struct StartupState {
  std::unique_ptr<CRegSettings> RegSettings;
  int16_t ScreenTwipsX = 15;
  int16_t ScreenTwipsY = 15;
  std::string SystemDir;
  std::string CommandMode;         // the switch's two characters, upper-cased
  Mode RunMode = Mode::Configure;  // what they ask for
  int32_t PreviewHwnd = 0;
  uintptr_t ConfigOwnerHwnd = 0;
};

StartupState& Startup();

// The settings object with the names of the program's own version
// information.
std::unique_ptr<CRegSettings> MakeRegSettings();

// True when no top-level window has exactly this title.
bool WindowMissing(const std::string& title);

// The start-up procedure.
void Main();

// The windows each mode opens: the configuration dialog (modal; not part of
// this build yet, so that mode ends at once), the full-screen show window
// and the hidden preview window.
void ShowConfigurationDialog();
void ShowMainForm();
void LoadControlForm();

}  // namespace tessaly
