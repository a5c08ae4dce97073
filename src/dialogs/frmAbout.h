// The about box: product name and version, copyright, the maker's address
// and logo (a click opens the home page), the legal warning, and the start
// of the system-information program.
#pragma once

#include <string>

#include "ui/Dialog.h"
#include "common/ScopedWin.h"
#include "common/RegistryApi.h"
#include "common/mFiles.h"

namespace tessaly {

class frmAbout : public ui::Dialog {
 public:
  frmAbout(RegistryApi& registry = SystemRegistry(), FileSystem& fs = SystemFileSystem());

  void Form_Load() override;
  void cmdOK_Click();
  void cmdSysInfo_Click();
  void Image1_Click();

  // Starts the system-information program, or says it is unavailable.
  void StartSysInfo();

  // The home page the logo opens.
  std::string HomePage() const;

 protected:
  LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  RegistryApi& registry_;
  FileSystem& fs_;
  GdiObject<HBITMAP> picture_;
  IconHandle logo_;
  double zoom_ = 1.0;  // of the picture and the logo, at a high DPI
};

}  // namespace tessaly
