#pragma once

#include <windows.h>

#include <string>

namespace qmunins {

// The survey window: asks the user to fill in the on-line survey.
class frmSurvey {
 public:
  frmSurvey(HINSTANCE instance, std::string commandLine)
      : instance_(instance), commandLine_(std::move(commandLine)) {}
  ~frmSurvey();
  frmSurvey(const frmSurvey&) = delete;
  frmSurvey& operator=(const frmSurvey&) = delete;

  void ShowModal();

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  void Form_Load();
  void cmdYes_Click();
  void cmdNo_Click();
  void Picture1_Paint(const DRAWITEMSTRUCT& dis);

  HINSTANCE instance_;
  std::string commandLine_;
  HWND hwnd_ = nullptr;
  HFONT titleFont_ = nullptr;
  HFONT textFont_ = nullptr;
  HFONT boldFont_ = nullptr;
  HBITMAP picture_ = nullptr;
};

}  // namespace qmunins
