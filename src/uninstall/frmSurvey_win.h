// The survey window: before the uninstaller runs, invites the user to fill in
// the on-line survey. "Yes" opens the survey page; "No" or closing the window
// just goes on.
#pragma once

#include <string>
#include <utility>

#include "common/ScopedWin.h"

namespace Module1 {

class frmSurvey {
 public:
  frmSurvey(HINSTANCE instance, std::string commandLine) : instance_(instance), commandLine_(std::move(commandLine)) {}
  frmSurvey(const frmSurvey&) = delete;
  frmSurvey& operator=(const frmSurvey&) = delete;

  // Shows the window and returns once it has been closed.
  void ShowModal();

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  INT_PTR HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

  void Form_Load();
  void cmdYes_Click();
  void cmdNo_Click();
  void Form_Close();
  void Picture1_Paint(const DRAWITEMSTRUCT& item);

  HINSTANCE instance_;
  std::string commandLine_;
  HWND hwnd_ = nullptr;
  tessaly::GdiObject<HFONT> titleFont_;  // Label1
  tessaly::GdiObject<HFONT> textFont_;   // lblStrive
  tessaly::GdiObject<HFONT> boldFont_;   // Label3
  tessaly::GdiObject<HBITMAP> picture_;  // Picture1's image
};

}  // namespace Module1
