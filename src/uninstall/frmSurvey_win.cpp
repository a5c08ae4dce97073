#include "uninstall/frmSurvey_win.h"

#include <shellapi.h>

#include <algorithm>

#include "picture/RcDataPicture_win.h"
#include "uninstall/Module1.h"
#include "uninstall/SurveyAddress.h"
#include "uninstall/qmuninsRes.h"

namespace Module1 {
namespace {

const char kLabelFace[] = "Comic Sans MS";
const COLORREF kLabel1Colour = RGB(0xC0, 0x00, 0x00);  // &H000000C0&

int ScreenDpi() { return tessaly::ScreenDC().Dpi(); }

HFONT MakeLabelFont(int points, bool bold) {
  return CreateFontA(-MulDiv(points, ScreenDpi(), 72), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                     DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH | FF_SCRIPT, kLabelFace);
}

RECT ChildRect(HWND dialog, int id) {
  RECT r = {};
  HWND child = GetDlgItem(dialog, id);
  if (child) {
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
  }
  return r;
}

// Moves the controls whose top lies at or below `from` down by `by` pixels,
// and the window's bottom edge with them.
void PushDown(HWND dialog, int from, int by) {
  if (by <= 0) return;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const RECT r = ChildRect(dialog, GetDlgCtrlID(child));
    if (r.top < from) continue;
    SetWindowPos(child, nullptr, r.left, r.top + by, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  RECT frame = {};
  GetWindowRect(dialog, &frame);
  SetWindowPos(dialog, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top + by,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The labels' fonts are in points, the window in units of the dialog font:
// a label whose text, wrapped at its width in its own font, needs more
// height than the template gave it grows, and what lies below moves down.
void FitLabelHeight(HWND dialog, int id) {
  HWND label = GetDlgItem(dialog, id);
  if (!label) return;
  RECT client = {};
  GetClientRect(label, &client);
  const int length = GetWindowTextLengthA(label);
  std::string text(static_cast<size_t>(length) + 1, '\0');
  text.resize(static_cast<size_t>(GetWindowTextA(label, &text[0], length + 1)));
  RECT needed = {0, 0, client.right, 0};
  {
    const tessaly::WindowDC dc(label);
    if (!dc) return;
    const tessaly::Selection font(dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageA(label, WM_GETFONT, 0, 0)));
    DrawTextA(dc.get(), text.c_str(), -1, &needed, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
  }
  const int grow = needed.bottom - client.bottom;
  if (grow <= 0) return;
  const RECT box = ChildRect(dialog, id);
  PushDown(dialog, box.bottom, grow);
  SetWindowPos(label, nullptr, 0, 0, box.right - box.left, box.bottom - box.top + grow,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CenterOnScreen(HWND hwnd) {
  RECT r = {};
  GetWindowRect(hwnd, &r);
  const int width = r.right - r.left, height = r.bottom - r.top;
  SetWindowPos(hwnd, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2, (GetSystemMetrics(SM_CYSCREEN) - height) / 2,
               0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

void frmSurvey::ShowModal() {
  const tessaly::ComApartment com;  // for the picture decoder
  DialogBoxParamA(instance_, MAKEINTRESOURCEA(IDD_SURVEY), nullptr, DialogProc, reinterpret_cast<LPARAM>(this));
  hwnd_ = nullptr;
  picture_.reset();
}

INT_PTR CALLBACK frmSurvey::DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_INITDIALOG) {
    auto* self = reinterpret_cast<frmSurvey*>(lp);
    SetWindowLongPtrA(hwnd, DWLP_USER, lp);
    if (self) self->hwnd_ = hwnd;
  }
  auto* self = reinterpret_cast<frmSurvey*>(GetWindowLongPtrA(hwnd, DWLP_USER));
  if (!self) return FALSE;
  try {
    return self->HandleMessage(msg, wp, lp);
  } catch (...) {
    // Nothing may escape into the dialog manager; a window that failed goes away.
    EndDialog(hwnd, IDCANCEL);
    return TRUE;
  }
}

INT_PTR frmSurvey::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG: Form_Load(); return TRUE;  // focus goes to the default button, "Yes"
    case WM_CTLCOLORSTATIC:
      if (GetDlgCtrlID(reinterpret_cast<HWND>(lp)) == IDC_LABEL1) {
        HDC dc = reinterpret_cast<HDC>(wp);
        SetTextColor(dc, kLabel1Colour);
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
      }
      return FALSE;
    case WM_DRAWITEM:
      if (wp == IDC_PICTURE1) {
        Picture1_Paint(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
        return TRUE;
      }
      return FALSE;
    case WM_COMMAND:
      if (HIWORD(wp) != BN_CLICKED) return FALSE;
      switch (LOWORD(wp)) {
        case IDC_CMDYES:
        case IDOK: cmdYes_Click(); return TRUE;
        case IDC_CMDNO: cmdNo_Click(); return TRUE;
        case IDCANCEL: Form_Close(); return TRUE;
      }
      return FALSE;
    case WM_CLOSE: Form_Close(); return TRUE;
  }
  return FALSE;
}

void frmSurvey::Form_Load() {
  titleFont_.reset(MakeLabelFont(18, true));
  textFont_.reset(MakeLabelFont(10, false));
  boldFont_.reset(MakeLabelFont(10, true));
  SendDlgItemMessageA(hwnd_, IDC_LABEL1, WM_SETFONT, reinterpret_cast<WPARAM>(titleFont_.get()), FALSE);
  SendDlgItemMessageA(hwnd_, IDC_LBLSTRIVE, WM_SETFONT, reinterpret_cast<WPARAM>(textFont_.get()), FALSE);
  SendDlgItemMessageA(hwnd_, IDC_LABEL3, WM_SETFONT, reinterpret_cast<WPARAM>(boldFont_.get()), FALSE);

  SetWindowTextA(hwnd_, "");
  const std::string strive =
      std::string("Our development team strives to make the best software available and values your input.  ") +
      "We can only assume that because you are uninstalling that something wasn't quite right.  " +
      "Won't you please provide us with your valuable input on what went wrong by filling out an anonymous " +
      "On-Line Survey?  It takes only a minute to complete, but means the world to us!";
  SetDlgItemTextA(hwnd_, IDC_LBLSTRIVE, strive.c_str());

  // The picture box takes the image's own size, grown with the DPI like the
  // text; the title sits to its right, and where the picture is taller than
  // the template's box, the text below keeps its distance from it.
  picture_.reset(tessaly::picture::DecodeRcDataPicture(instance_, IDR_SURVEY_GIF));
  if (picture_) {
    BITMAP bm = {};
    GetObjectA(picture_.get(), sizeof bm, &bm);
    const int dpi = std::max(ScreenDpi(), 96);
    const int width = MulDiv(bm.bmWidth, dpi, 96), height = MulDiv(bm.bmHeight, dpi, 96);
    const RECT box = ChildRect(hwnd_, IDC_PICTURE1);
    SetWindowPos(GetDlgItem(hwnd_, IDC_PICTURE1), nullptr, box.left, box.top, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    const RECT title = ChildRect(hwnd_, IDC_LABEL1);
    const int left = box.left + width + (box.left > 0 ? box.left : 8);
    if (left < title.right)
      SetWindowPos(GetDlgItem(hwnd_, IDC_LABEL1), nullptr, left, title.top, title.right - left,
                   title.bottom - title.top, SWP_NOZORDER | SWP_NOACTIVATE);
    PushDown(hwnd_, box.bottom, box.top + height - box.bottom);
  }
  FitLabelHeight(hwnd_, IDC_LABEL1);
  FitLabelHeight(hwnd_, IDC_LBLSTRIVE);
  CenterOnScreen(hwnd_);
}

void frmSurvey::Picture1_Paint(const DRAWITEMSTRUCT& item) {
  FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
  // The box has the picture's size at the window's DPI.
  tessaly::picture::BlitBitmap(item.hDC, item.rcItem, picture_.get());
}

void frmSurvey::cmdYes_Click() {
  const std::string address = qmunins::SurveyAddress(BaseAddress(), commandLine_);
  // Whether the browser opens or not, the uninstall goes on.
  ShellExecuteA(nullptr, "Open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  EndDialog(hwnd_, IDOK);
}

void frmSurvey::cmdNo_Click() { EndDialog(hwnd_, IDNO); }

void frmSurvey::Form_Close() { EndDialog(hwnd_, IDCANCEL); }

}  // namespace Module1
