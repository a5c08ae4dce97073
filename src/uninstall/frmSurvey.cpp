#include "frmSurvey.h"

#include <objidl.h>
#include <ocidl.h>
#include <olectl.h>
#include <shellapi.h>

#include "Module1.h"
#include "SurveyAddress.h"
#include "resource.h"

namespace qmunins {
namespace {

const char kSurveyMessage[] =
    "Our development team strives to make the best software available and values your input.  "
    "We can only assume that because you are uninstalling that something wasn't quite right.  "
    "Won't you please provide us with your valuable input on what went wrong by filling out an "
    "anonymous "
    "On-Line Survey?  It takes only a minute to complete, but means the world to us!";

HFONT MakeFont(int points, bool bold) {
  HDC screen = GetDC(nullptr);
  int height = -MulDiv(points, GetDeviceCaps(screen, LOGPIXELSY), 72);
  ReleaseDC(nullptr, screen);
  return CreateFontA(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                     DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH | FF_SCRIPT, "Comic Sans MS");
}

// Decodes the embedded GIF into a bitmap of its own size.
HBITMAP LoadSurveyPicture(HINSTANCE instance) {
  HRSRC res = FindResourceA(instance, MAKEINTRESOURCEA(IDR_SURVEY_GIF), MAKEINTRESOURCEA(10));
  if (!res) return nullptr;
  DWORD size = SizeofResource(instance, res);
  const void* bytes = LockResource(LoadResource(instance, res));
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, size);
  if (!mem || !bytes) return nullptr;
  memcpy(GlobalLock(mem), bytes, size);
  GlobalUnlock(mem);
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(mem, TRUE, &stream))) {
    GlobalFree(mem);
    return nullptr;
  }
  IPicture* picture = nullptr;
  HRESULT hr = OleLoadPicture(stream, static_cast<LONG>(size), FALSE, IID_IPicture,
                              reinterpret_cast<void**>(&picture));
  stream->Release();
  if (FAILED(hr) || !picture) return nullptr;
  HBITMAP copy = nullptr;
  OLE_HANDLE handle = 0;
  if (SUCCEEDED(picture->get_Handle(&handle)))
    copy = static_cast<HBITMAP>(CopyImage(reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(handle)),
                                          IMAGE_BITMAP, 0, 0, 0));
  picture->Release();
  return copy;
}

void CenterOnScreen(HWND hwnd) {
  RECT r;
  GetWindowRect(hwnd, &r);
  int w = r.right - r.left, h = r.bottom - r.top;
  SetWindowPos(hwnd, nullptr, (GetSystemMetrics(SM_CXSCREEN) - w) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - h) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

}  // namespace

frmSurvey::~frmSurvey() {
  for (HGDIOBJ obj : {static_cast<HGDIOBJ>(titleFont_), static_cast<HGDIOBJ>(textFont_),
                      static_cast<HGDIOBJ>(boldFont_), static_cast<HGDIOBJ>(picture_)})
    if (obj) DeleteObject(obj);
}

void frmSurvey::ShowModal() {
  OleInitialize(nullptr);
  DialogBoxParamA(instance_, MAKEINTRESOURCEA(IDD_SURVEY), nullptr, DialogProc,
                  reinterpret_cast<LPARAM>(this));
  OleUninitialize();
}

INT_PTR CALLBACK frmSurvey::DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_INITDIALOG) SetWindowLongPtrA(hwnd, DWLP_USER, lp);
  auto* self = reinterpret_cast<frmSurvey*>(GetWindowLongPtrA(hwnd, DWLP_USER));
  if (!self) return FALSE;
  try {
    switch (msg) {
      case WM_INITDIALOG:
        self->hwnd_ = hwnd;
        self->Form_Load();
        return TRUE;
      case WM_CTLCOLORSTATIC:
        if (GetDlgCtrlID(reinterpret_cast<HWND>(lp)) == IDC_LABEL1) {
          HDC dc = reinterpret_cast<HDC>(wp);
          SetTextColor(dc, RGB(0xC0, 0, 0));
          SetBkMode(dc, TRANSPARENT);
          return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
        }
        return FALSE;
      case WM_DRAWITEM:
        if (wp == IDC_PICTURE1) {
          self->Picture1_Paint(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
          return TRUE;
        }
        return FALSE;
      case WM_COMMAND:
        switch (LOWORD(wp)) {
          case IDC_CMDYES: case IDOK: self->cmdYes_Click(); return TRUE;
          case IDC_CMDNO: case IDCANCEL: self->cmdNo_Click(); return TRUE;
        }
        return FALSE;
      case WM_CLOSE:
        self->cmdNo_Click();
        return TRUE;
    }
  } catch (...) {
    EndDialog(hwnd, IDCANCEL);
  }
  return FALSE;
}

void frmSurvey::Form_Load() {
  titleFont_ = MakeFont(16, true);
  textFont_ = MakeFont(10, false);
  boldFont_ = MakeFont(10, true);
  SendDlgItemMessageA(hwnd_, IDC_LABEL1, WM_SETFONT, reinterpret_cast<WPARAM>(titleFont_), FALSE);
  SendDlgItemMessageA(hwnd_, IDC_LBLSTRIVE, WM_SETFONT, reinterpret_cast<WPARAM>(textFont_), FALSE);
  SendDlgItemMessageA(hwnd_, IDC_LABEL3, WM_SETFONT, reinterpret_cast<WPARAM>(boldFont_), FALSE);
  SetDlgItemTextA(hwnd_, IDC_LBLSTRIVE, kSurveyMessage);
  picture_ = LoadSurveyPicture(instance_);
  CenterOnScreen(hwnd_);
}

void frmSurvey::Picture1_Paint(const DRAWITEMSTRUCT& dis) {
  if (!picture_) return;
  HDC mem = CreateCompatibleDC(dis.hDC);
  HGDIOBJ old = SelectObject(mem, picture_);
  BITMAP bm = {};
  GetObjectA(picture_, sizeof bm, &bm);
  StretchBlt(dis.hDC, 0, 0, dis.rcItem.right, dis.rcItem.bottom, mem, 0, 0, bm.bmWidth,
             bm.bmHeight, SRCCOPY);
  SelectObject(mem, old);
  DeleteDC(mem);
}

void frmSurvey::cmdYes_Click() {
  try {
    std::string address = SurveyAddress(BaseAddress(), commandLine_);
    ShellExecuteA(nullptr, "Open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  } catch (...) {
    // The survey is an invitation: a failure to open it is not reported.
  }
  EndDialog(hwnd_, IDOK);
}

void frmSurvey::cmdNo_Click() { EndDialog(hwnd_, IDCANCEL); }

}  // namespace qmunins
