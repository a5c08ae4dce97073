// The survey window: before the uninstaller runs, invites the user to fill in
// the on-line survey. "Yes" opens the survey page; "No" or closing the window
// just goes on.
#pragma once

#include <windows.h>

#include <string>
#include <utility>

namespace Module1 {

// Owns one GDI object and deletes it when it goes.
template <typename Handle>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(Handle handle) : handle_(handle) {}
  ~GdiObject() { reset(); }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  GdiObject(GdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  GdiObject& operator=(GdiObject&& other) noexcept {
    if (this != &other) {
      reset();
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }
  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  void reset() {
    if (handle_) DeleteObject(handle_);
    handle_ = nullptr;
  }

 private:
  Handle handle_ = nullptr;
};

class frmSurvey {
 public:
  frmSurvey(HINSTANCE instance, std::string commandLine)
      : instance_(instance), commandLine_(std::move(commandLine)) {}
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
  GdiObject<HFONT> titleFont_;   // Label1
  GdiObject<HFONT> textFont_;    // lblStrive
  GdiObject<HFONT> boldFont_;    // Label3
  GdiObject<HBITMAP> picture_;   // Picture1's image
};

}  // namespace Module1
