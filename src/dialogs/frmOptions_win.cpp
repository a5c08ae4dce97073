#include "dialogs/frmOptions.h"

#include <commctrl.h>
#include <commdlg.h>

#include "ui/App.h"
#include "common/AppError.h"
#include "common/AppTitle.h"
#include "common/Convert.h"
#include "common/HelpPage.h"
#include "ui/mForm.h"
#include "show/mSlideShow.h"
#include "dialogs/frmOptionsRes.h"

namespace tessaly {
namespace {

const int kMinSpeed = 1, kMaxSpeed = 20, kSpeedSmallChange = 1, kSpeedLargeChange = 4;
const int kBoxLength = 2;

const int kTabCount = 2;

// The controls of each page, its frame first.
const int kPicturesPage[] = {IDC_FRAME1_1,      IDC_LABEL1,          IDC_TXTINTERVAL,       IDC_CHKSTRETCH,
                             IDC_CHKPICRANDOM,  IDC_CHKSHOWFILENAME, IDC_CHKRESETPICLIST,   IDC_CHKSHOWFRAME,
                             IDC_FRAME4,        IDC_LBLTHICKNESS,    IDC_TXTFRAMETHICKNESS, IDC_CMDFRAMECOLOR,
                             IDC_LBLFRAMECOLOR, IDC_CMDBACKCOLOR,    IDC_LBLBACKCOLOR,      IDC_FRAME3,
                             IDC_CBOAFFECT,     IDC_LABEL2,          IDC_SLDSPEED,          IDC_LABEL3,
                             IDC_LABEL4,        IDC_CHKPANZOOM,      IDC_CHKSUBFOLDERS};
const int kSoundsPage[] = {IDC_FRAME1_2, IDC_CHKSOUNDRANDOM, IDC_CHKRESETSOUNDLIST};

int CheckId(OptionsForm::Check c) {
  switch (c) {
    case OptionsForm::chkPicRandom: return IDC_CHKPICRANDOM;
    case OptionsForm::chkShowFileName: return IDC_CHKSHOWFILENAME;
    case OptionsForm::chkSoundRandom: return IDC_CHKSOUNDRANDOM;
    case OptionsForm::chkStretch: return IDC_CHKSTRETCH;
    case OptionsForm::chkShowFrame: return IDC_CHKSHOWFRAME;
    case OptionsForm::chkResetPicList: return IDC_CHKRESETPICLIST;
    case OptionsForm::chkResetSoundList: return IDC_CHKRESETSOUNDLIST;
    case OptionsForm::chkSubfolders: return IDC_CHKSUBFOLDERS;
    case OptionsForm::chkPanZoom: return IDC_CHKPANZOOM;
  }
  return 0;
}

int BoxId(OptionsForm::Box b) { return b == OptionsForm::txtInterval ? IDC_TXTINTERVAL : IDC_TXTFRAMETHICKNESS; }
int SwatchId(OptionsForm::Swatch s) { return s == OptionsForm::lblBackColor ? IDC_LBLBACKCOLOR : IDC_LBLFRAMECOLOR; }

AppError InvalidProperty(const char* control) { return errors::InvalidPropertyValue(control); }

// Gives the tab strip's own tool tip one tool per tab, where the tab strip
// has not made them itself (Wine's does not), so that the tabs' tips show
// on hover; their texts are asked for with TTN_GETDISPINFO.
void AddMissingTabTools(HWND tabs) {
  HWND tips = reinterpret_cast<HWND>(SendMessageA(tabs, TCM_GETTOOLTIPS, 0, 0));
  if (!tips) return;
  const LRESULT count = SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    TOOLINFOA info = {};
    info.cbSize = sizeof info;
    info.hwnd = tabs;
    info.uId = static_cast<UINT_PTR>(i);
    if (SendMessageA(tips, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&info))) continue;
    SendMessageA(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&info.rect));
    info.uFlags = 0;
    info.lpszText = LPSTR_TEXTCALLBACKA;
    SendMessageA(tips, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
  }
}

// Runs the text box's KeyPress handler on every typed character.
LRESULT CALLBACK KeyPressFilter(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR ref) {
  if (msg == WM_CHAR) {
    int key = static_cast<int>(wParam);
    try {
      reinterpret_cast<frmOptions*>(ref)->txtInterval_KeyPress(key);
    } catch (...) {}
    if (key == 0) return 0;
    wParam = static_cast<WPARAM>(key);
  } else if (msg == WM_NCDESTROY) {
    RemoveWindowSubclass(hwnd, KeyPressFilter, id);
  }
  return DefSubclassProc(hwnd, msg, wParam, lParam);
}

}  // namespace

frmOptions::frmOptions(CRegSettings& settings) : Dialog(IDD_OPTIONS), settings_(settings) {
  OnNotify(IDC_TABSTRIP1, TCN_SELCHANGE, [this](NMHDR&) {
    TabStrip1_Click();
    return 0;
  });
  OnClick(IDC_CHKSTRETCH, [this] { chkStretch_Click(); });
  OnClick(IDC_CHKSHOWFRAME, [this] { chkShowFrame_Click(); });
  for (int id : {IDC_CHKPICRANDOM, IDC_CHKSHOWFILENAME, IDC_CHKRESETPICLIST, IDC_CHKSOUNDRANDOM, IDC_CHKRESETSOUNDLIST,
                 IDC_CHKSUBFOLDERS, IDC_CHKPANZOOM})
    OnClick(id, [this, id] { ClickCheck(id); });
  OnClick(IDC_CMDBACKCOLOR, [this] { cmdBackColor_Click(); });
  OnClick(IDC_CMDFRAMECOLOR, [this] { cmdFrameColor_Click(); });
  OnClick(IDOK, [this] { CmdOK_Click(); });
  OnClick(IDCANCEL, [this] { CmdCancel_Click(); });
  OnClick(IDC_CMDHELP, [this] { cmdHelp_Click(); });
  const int kAccelerator = 1;
  OnCommand(ID_PAGE_NEXT, kAccelerator, [this] { SelectPage(CurFrame == 1 ? 2 : 1); });
  OnCommand(ID_PAGE_PREVIOUS, kAccelerator, [this] { SelectPage(CurFrame == 1 ? 2 : 1); });
  OnCommand(ID_PAGE_PICTURES, kAccelerator, [this] { SelectPage(1); });
  OnCommand(ID_PAGE_SOUNDS, kAccelerator, [this] { SelectPage(2); });
  SetAccelerators(LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_OPTIONS_KEYS)));
  SetHelpContext(help::kOptionsContext);
}

void frmOptions::Form_Load() {
  if (icon_) {
    SendMessageA(hWnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
    SendMessageA(hWnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
  }
  // The controls as they stand before the stored options are applied. The
  // tab strip lies under the pages' controls, drawn plainly so that its body
  // has the colour of the controls on it.
  // The pages' frames lie under the other controls too.
  HWND tabs = Item(IDC_TABSTRIP1);
  for (int id : {IDC_FRAME1_1, IDC_FRAME1_2, IDC_TABSTRIP1})
    SetWindowPos(Item(id), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ui::DrawPlainly(tabs);
  for (int i = 0; i < kTabCount; ++i) {
    std::string caption = ui::LoadText(IDS_TAB_CAPTIONS + i);
    tabTips_[i] = ui::LoadWideText(IDS_TAB_TIPS + i);
    tabTipsAnsi_[i] = ui::LoadText(IDS_TAB_TIPS + i);
    TCITEMA item = {};
    item.mask = TCIF_TEXT | TCIF_PARAM;
    item.pszText = &caption[0];
    item.lParam = i + 1;
    SendMessageA(tabs, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
  }
  AddMissingTabTools(tabs);
  HWND effects = Item(IDC_CBOAFFECT);
  SendMessageA(effects, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kNoEffect));
  SendMessageA(effects, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kRandomEffect));
  for (const char* name : kEffects) SendMessageA(effects, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
  SendMessageA(effects, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kCrossFadeEffect));
  HWND speed = Item(IDC_SLDSPEED);
  SendMessageA(speed, TBM_SETRANGE, FALSE, MAKELPARAM(kMinSpeed, kMaxSpeed));
  SendMessageA(speed, TBM_SETLINESIZE, 0, kSpeedSmallChange);
  SendMessageA(speed, TBM_SETPAGESIZE, 0, kSpeedLargeChange);
  SendMessageA(speed, TBM_SETPOS, TRUE, kMaxSpeed);
  SendDlgItemMessageA(hWnd(), IDC_TXTINTERVAL, EM_LIMITTEXT, kBoxLength, 0);
  SendDlgItemMessageA(hWnd(), IDC_TXTFRAMETHICKNESS, EM_LIMITTEXT, kBoxLength, 0);
  SetWindowSubclass(Item(IDC_TXTINTERVAL), KeyPressFilter, 1, reinterpret_cast<DWORD_PTR>(this));
  SetSwatch(IDC_LBLBACKCOLOR, swatch_[0]);
  SetSwatch(IDC_LBLFRAMECOLOR, swatch_[1]);

  LoadTips(IDS_OPTIONS_TIPS);

  ui::CenterForm(*this);
  CurFrame = 1;
  LoadOptions(settings_, *this);
  UpdateFrameControls();
}

LRESULT frmOptions::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NOTIFY) {
    // The tab strip's own tool tip asks for the tip of the tab under the mouse.
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    HWND tabTips = reinterpret_cast<HWND>(SendMessageA(Item(IDC_TABSTRIP1), TCM_GETTOOLTIPS, 0, 0));
    if (header && tabTips && header->hwndFrom == tabTips && header->idFrom < static_cast<UINT_PTR>(kTabCount)) {
      if (header->code == TTN_GETDISPINFOA) {
        reinterpret_cast<NMTTDISPINFOA*>(lParam)->lpszText = &tabTipsAnsi_[header->idFrom][0];
        return 0;
      }
      if (header->code == TTN_GETDISPINFOW) {
        reinterpret_cast<NMTTDISPINFOW*>(lParam)->lpszText = &tabTips_[header->idFrom][0];
        return 0;
      }
    }
  }
  return Dialog::WndProc(msg, wParam, lParam);
}

void frmOptions::TabStrip1_Click() {
  const LRESULT selected = SendMessageA(Item(IDC_TABSTRIP1), TCM_GETCURSEL, 0, 0);
  const int index = static_cast<int>(selected) + 1;
  if (index == CurFrame || index < 1 || index > 2) return;
  for (int id : kPicturesPage) ShowItem(id, index == 1);
  for (int id : kSoundsPage) ShowItem(id, index == 2);
  CurFrame = index;
}

void frmOptions::SelectPage(int index) {
  SendMessageA(Item(IDC_TABSTRIP1), TCM_SETCURSEL, static_cast<WPARAM>(index - 1), 0);
  TabStrip1_Click();
}

void frmOptions::ClickCheck(int id) {
  // A click checks an unchecked or grey box and clears a checked one.
  const LRESULT state = SendDlgItemMessageA(hWnd(), id, BM_GETCHECK, 0, 0);
  SendDlgItemMessageA(hWnd(), id, BM_SETCHECK, state == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED, 0);
}

void frmOptions::chkStretch_Click() {
  ClickCheck(IDC_CHKSTRETCH);
  UpdateFrameControls();
}

void frmOptions::chkShowFrame_Click() {
  ClickCheck(IDC_CHKSHOWFRAME);
  UpdateFrameControls();
}

void frmOptions::UpdateFrameControls() {
  const bool stretched = CheckValue(chkStretch) == 1;
  EnableItem(IDC_CHKSHOWFRAME, !stretched);
  const bool framed = CheckValue(chkShowFrame) == 1 && !stretched;
  EnableItem(IDC_TXTFRAMETHICKNESS, framed);
  EnableItem(IDC_CMDFRAMECOLOR, framed);
  EnableItem(IDC_LBLTHICKNESS, framed);
}

void frmOptions::ChooseSwatchColor(Swatch s) {
  static COLORREF custom[16] = {};
  CHOOSECOLORA cc = {};
  cc.lStructSize = sizeof cc;
  cc.hwndOwner = hWnd();
  cc.rgbResult = ui::ToColorRef(SwatchColor(s));
  cc.lpCustColors = custom;
  cc.Flags = CC_RGBINIT | CC_ANYCOLOR;
  if (!ChooseColorA(&cc)) return;  // cancelled: the swatch keeps its colour
  SetSwatchColor(s, static_cast<Color>(cc.rgbResult & 0xFFFFFF));
}

void frmOptions::cmdBackColor_Click() { ChooseSwatchColor(lblBackColor); }
void frmOptions::cmdFrameColor_Click() { ChooseSwatchColor(lblFrameColor); }

void frmOptions::txtInterval_KeyPress(int& KeyAscii) {
  if ((KeyAscii < '0' || KeyAscii > '9') && KeyAscii != 8) KeyAscii = 0;
}

void frmOptions::LeadTo(int id) {
  const bool onPictures = id == IDC_TXTINTERVAL || id == IDC_TXTFRAMETHICKNESS;
  if (onPictures && CurFrame != 1) SelectPage(1);
  if (!ItemEnabled(id)) id = CheckValue(chkStretch) == 1 ? IDC_CHKSTRETCH : IDC_CHKSHOWFRAME;
  FocusItem(id);
}

bool frmOptions::RangeCheck(int id, double low, double high, const char* message) {
  const double value = NumberOfText(ItemText(id));
  if (value >= low && value <= high) return true;
  MessageBoxA(hWnd(), message, kAppTitle, MB_OK | MB_ICONEXCLAMATION);
  LeadTo(id);
  return false;
}

void frmOptions::CmdOK_Click() {
  if (!RangeCheck(IDC_TXTINTERVAL, 2, 60, "Swap Interval must be between 2 and 60 seconds.")) return;
  if (!RangeCheck(IDC_TXTFRAMETHICKNESS, 1, 20, "Frame thickness must be between 1 and 20.")) return;
  SaveOptions(settings_, *this);
  Unload();
}

void frmOptions::CmdCancel_Click() { Unload(); }

void frmOptions::cmdHelp_Click() {
  // What the F1 key does in the dialog: its help topic.
  ShowContextHelp();
}

// ---------------------------------------------------------------------------
// The controls as the options record sees them.

int16_t frmOptions::CheckValue(Check c) const {
  switch (SendDlgItemMessageA(hWnd(), CheckId(c), BM_GETCHECK, 0, 0)) {
    case BST_CHECKED: return 1;
    case BST_INDETERMINATE: return 2;
    default: return 0;
  }
}

void frmOptions::SetCheckValue(Check c, int16_t value) {
  if (value < 0 || value > 2) throw InvalidProperty("CheckBox");
  const WPARAM state = value == 1 ? BST_CHECKED : value == 2 ? BST_INDETERMINATE : BST_UNCHECKED;
  SendDlgItemMessageA(hWnd(), CheckId(c), BM_SETCHECK, state, 0);
}

std::string frmOptions::Text(Box b) const { return ItemText(BoxId(b)); }

// The stored text is shown whole, even where it is longer than a user may
// type (the box's limit holds for typing only): OK's range check judges it.
void frmOptions::SetText(Box b, const std::string& text) { SetItemText(BoxId(b), text); }

Color frmOptions::SwatchColor(Swatch s) const { return swatch_[s == lblBackColor ? 0 : 1]; }

void frmOptions::SetSwatchColor(Swatch s, Color c) {
  swatch_[s == lblBackColor ? 0 : 1] = c;
  SetSwatch(SwatchId(s), c);
}

std::string frmOptions::EffectText() const { return ItemText(IDC_CBOAFFECT); }

void frmOptions::SetEffectText(const std::string& text) {
  HWND list = Item(IDC_CBOAFFECT);
  const LRESULT count = SendMessageA(list, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    char item[64] = {};
    if (SendMessageA(list, CB_GETLBTEXTLEN, i, 0) >= static_cast<LRESULT>(sizeof item)) continue;
    SendMessageA(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item));
    if (text == item) {  // the names are compared exactly, letter case included
      SendMessageA(list, CB_SETCURSEL, i, 0);
      return;
    }
  }
  throw InvalidProperty("ComboBox");
}

int32_t frmOptions::SpeedPosition() const {
  return static_cast<int32_t>(SendDlgItemMessageA(hWnd(), IDC_SLDSPEED, TBM_GETPOS, 0, 0));
}

void frmOptions::SetSpeedPosition(int32_t position) {
  if (position < kMinSpeed || position > kMaxSpeed) throw InvalidProperty("Slider");
  SendDlgItemMessageA(hWnd(), IDC_SLDSPEED, TBM_SETPOS, TRUE, position);
}

}  // namespace tessaly
