#include "dialogs/frmAbout.h"

#include <shellapi.h>

#include <algorithm>
#include <cmath>

#include "dialogs/AboutInfo.h"
#include "common/AppError.h"
#include "common/AppTitle.h"
#include "common/Convert.h"
#include "ui/Dpi.h"
#include "picture/ResourcePicture_win.h"
#include "common/VersionInfo.h"
#include "ui/mForm.h"
#include "dialogs/frmAboutRes.h"

#ifndef TESSALY_MAKER_ADDRESS
#define TESSALY_MAKER_ADDRESS "http://www.quillmark.com"
#endif

namespace tessaly {
namespace {

const Color kAddressBlue = 0xFF0000;  // red in the low byte
const int kLogoSize = 48;
const char kSysInfoUnavailable[] = "System Information Is Unavailable At This Time";

// Starts a program in a normal window with the focus. The path is quoted, so
// that a path with blanks cannot start another program on the way.
void StartProgram(const std::string& path) {
  if (path.empty()) throw AppError(kErrFileNotFound, "File not found", "frmAbout");
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION pi = {};
  std::string commandLine = "\"" + path + "\"";
  if (!CreateProcessA(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    throw AppError(kErrFileNotFound, "File not found: " + path, "frmAbout");
  ProcessHandles started(pi);
}

using ui::ChildRect;

}  // namespace

frmAbout::frmAbout(RegistryApi& registry, FileSystem& fs) : Dialog(IDD_ABOUT), registry_(registry), fs_(fs) {
  OnClick(IDOK, [this] { cmdOK_Click(); });
  OnClick(IDCANCEL, [this] { cmdOK_Click(); });  // OK is the cancel button too
  OnClick(IDC_CMDSYSINFO, [this] { cmdSysInfo_Click(); });
  OnCommand(IDC_IMAGE1, STN_CLICKED, [this] { Image1_Click(); });
}

std::string frmAbout::HomePage() const { return MakerAddress(registry_, TESSALY_MAKER_ADDRESS) + "/index.htm"; }

void frmAbout::Form_Load() {
  const std::string product = OwnVersionString("ProductName");
  SetCaption("About " + product);
  SetItemText(IDC_LBLVERSION, OwnVersionString("LegalCopyright"));
  VersionNumbers v;
  OwnVersionNumbers(v);
  SetItemText(IDC_LBLTITLE, product + "   Version " + TextOfNumber(v.major) + "." + TextOfNumber(v.minor) + "." +
                                TextOfNumber(v.revision));
  SetItemText(IDC_LABEL2_ADDRESS, MakerAddress(registry_, TESSALY_MAKER_ADDRESS));
  SetLabelColor(IDC_LABEL2_ADDRESS, kAddressBlue);
  LoadTips(IDS_ABOUT_TIPS);
  SetItemFont(IDC_LBLDISCLAIMER, "Small Fonts", 7, false);
  // The warning's font is not the dialog's: where it wraps into more lines
  // than the template has room for, the label grows and the box with it.
  FitLabelHeight(IDC_LBLDISCLAIMER);
  ui::CenterForm(*this);
  // The picture and the logo grow with the DPI, like the text around them.
  const int dpi = ui::MonitorDpiScaling() ? ui::WindowDpi(hWnd()) : 96;
  zoom_ = std::max(1.0, dpi / 96.0);
  picture_.reset(picture::LoadResourcePicture(IDR_ABOUT_PICTURE));
  const int logoSize = static_cast<int>(std::lround(kLogoSize * zoom_));
  logo_.reset(static_cast<HICON>(
      LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_MAKER_LOGO), IMAGE_ICON, logoSize, logoSize, 0)));
  if (logo_) {
    // The control takes the icon's size; it keeps the right edge the
    // template gave it, at the box's margin.
    const RECT box = ChildRect(hWnd(), Item(IDC_IMAGE1));
    SendDlgItemMessageA(hWnd(), IDC_IMAGE1, STM_SETICON, reinterpret_cast<WPARAM>(logo_.get()), 0);
    const RECT shown = ChildRect(hWnd(), Item(IDC_IMAGE1));
    SetWindowPos(Item(IDC_IMAGE1), nullptr, box.right - (shown.right - shown.left), shown.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

LRESULT frmAbout::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_DRAWITEM:
      if (wParam == IDC_PICICON) {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        picture::DrawBitmapInto(item.hDC, item.rcItem, picture_.get(), zoom_);
        return TRUE;
      }
      break;
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wParam) == Item(IDC_IMAGE1)) {
        SetCursor(LoadCursor(nullptr, IDC_HAND));
        return TRUE;
      }
      break;
    case WM_DESTROY: logo_.reset(); break;
    default: break;
  }
  return Dialog::WndProc(msg, wParam, lParam);
}

void frmAbout::cmdOK_Click() { Unload(); }

void frmAbout::cmdSysInfo_Click() { StartSysInfo(); }

void frmAbout::StartSysInfo() {
  try {
    StartProgram(SysInfoProgram(registry_, fs_));
  } catch (const std::exception&) {
    MessageBoxA(hWnd(), kSysInfoUnavailable, kAppTitle, MB_OK);
  }
}

void frmAbout::Image1_Click() {
  // Whether the browser opens or not, the about box stays.
  ShellExecuteA(nullptr, "Open", HomePage().c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace tessaly
