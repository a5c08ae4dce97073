// What every window of the program owes its user, checked over all its
// controls and menus rather than against a copy of its resources: every
// control that can take the focus has a tool tip (a tab strip, one for each
// tab), no two controls of a page share an access key and no two items of a
// menu, and OK is the default button. A few texts the product fixes are
// checked as they stand.
#include "ConfigWindowFixture.h"

#include <commctrl.h>

#include <cctype>
#include <map>

#include "common/MemoryRegistry.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmAboutRes.h"
#include "dialogs/frmOptions.h"
#include "dialogs/frmOptionsRes.h"

namespace dialogtest {
namespace {

std::string ClassOf(HWND hwnd) {
  char name[64] = {};
  GetClassNameA(hwnd, name, sizeof name);
  std::string lower(name);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

LONG_PTR StyleOf(HWND hwnd) { return GetWindowLongPtrA(hwnd, GWL_STYLE); }

bool IsGroupBox(HWND hwnd) { return ClassOf(hwnd) == "button" && (StyleOf(hwnd) & BS_TYPEMASK) == BS_GROUPBOX; }

// A control the keyboard can reach: a tab stop, or a button, box, list,
// slider or tab strip (an option button after the first of its group is
// reached with the arrow keys).
bool Focusable(HWND hwnd) {
  if (StyleOf(hwnd) & WS_TABSTOP) return true;
  const std::string cls = ClassOf(hwnd);
  if (cls == "button") return !IsGroupBox(hwnd);
  return cls == "edit" || cls == "listbox" || cls == "combobox" || cls == "msctls_trackbar32" ||
         cls == "systabcontrol32";
}

std::vector<HWND> Controls(HWND dialog) {
  std::vector<HWND> controls;
  for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) controls.push_back(c);
  return controls;
}

// The access key of a caption ("S&wap" gives 'w'); 0 for none. "&&" is an
// ampersand.
char AccessKey(const std::string& caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;
      continue;
    }
    return static_cast<char>(std::tolower(static_cast<unsigned char>(caption[i + 1])));
  }
  return 0;
}

// The access keys of the captions shown now (buttons, frames and labels
// that show their "&"), and of `more`: key -> the captions that have it.
using Keys = std::map<char, std::vector<std::string>>;
Keys ShownKeys(HWND dialog, const std::vector<std::string>& more = {}) {
  Keys keys;
  for (HWND c : Controls(dialog)) {
    if (!IsWindowVisible(c)) continue;
    const std::string cls = ClassOf(c);
    if (cls == "static" && (StyleOf(c) & SS_NOPREFIX)) continue;
    if (cls != "button" && cls != "static") continue;
    const std::string caption = WindowText(c);
    if (const char key = AccessKey(caption)) keys[key].push_back(caption);
  }
  for (const std::string& caption : more)
    if (const char key = AccessKey(caption)) keys[key].push_back(caption);
  return keys;
}

// The keys that more than one caption has, as "w: S&wap Interval (Sec.):, Sho&w ...".
std::vector<std::string> Clashes(const Keys& keys) {
  std::vector<std::string> clashes;
  for (const auto& [key, captions] : keys) {
    if (captions.size() < 2) continue;
    std::string line(1, key);
    line += ":";
    for (const std::string& caption : captions) line += " " + caption + ",";
    clashes.push_back(line);
  }
  return clashes;
}

// Every menu of the bar, and each of its submenus: no two items share a key.
void ExpectMenuKeysUnique(HMENU menu, const std::string& name) {
  Keys keys;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    char text[128] = {};
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STRING | MIIM_SUBMENU;
    info.dwTypeData = text;
    info.cch = sizeof text;
    ASSERT_TRUE(GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info));
    if (info.fType & MFT_SEPARATOR) continue;
    const std::string caption = std::string(text).substr(0, std::string(text).find('\t'));
    const char key = AccessKey(caption);
    EXPECT_NE(key, 0) << "the item " << caption << " of " << name << " has no access key";
    if (key) keys[key].push_back(caption);
    if (info.hSubMenu) ExpectMenuKeysUnique(info.hSubMenu, caption);
  }
  EXPECT_EQ(Clashes(keys), std::vector<std::string>()) << "in the menu " << name;
}

// The controls that can take the focus and have no tip, by caption or id;
// a tab strip counts through its tabs.
std::vector<std::string> WithoutTip(HWND dialog, HWND tips) {
  std::vector<std::string> missing;
  for (HWND c : Controls(dialog)) {
    if (!Focusable(c)) continue;
    const std::string name = WindowText(c).empty() ? "control " + std::to_string(GetDlgCtrlID(c)) : WindowText(c);
    if (ClassOf(c) == "systabcontrol32") {
      HWND tabTips = reinterpret_cast<HWND>(SendMessageA(c, TCM_GETTOOLTIPS, 0, 0));
      const LRESULT count = SendMessageA(c, TCM_GETITEMCOUNT, 0, 0);
      for (LRESULT i = 0; i < count; ++i) {
        char text[512] = {};
        TOOLINFOA info = {};
        info.cbSize = sizeof info;
        info.hwnd = c;
        info.uId = static_cast<UINT_PTR>(i);
        info.lpszText = text;
        if (tabTips) SendMessageA(tabTips, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&info));
        if (!text[0]) missing.push_back(name + ", tab " + std::to_string(i));
      }
      continue;
    }
    const std::string tip = tips ? ToolTip(tips, dialog, c) : "<no tool>";
    if (tip.empty() || tip == "<no tool>") missing.push_back(name);
  }
  return missing;
}

std::vector<std::string> TabCaptions(HWND tabs) {
  std::vector<std::string> captions;
  const LRESULT count = SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    char text[64] = {};
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(tabs, TCM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    captions.push_back(text);
  }
  return captions;
}

void ExpectOkIsTheDefault(HWND dialog) {
  EXPECT_EQ(LOWORD(SendMessageA(dialog, DM_GETDEFID, 0, 0)), IDOK);
  EXPECT_EQ(StyleOf(GetDlgItem(dialog, IDOK)) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
}

// The configuration window.
class ConfigWindowProperties : public ConfigWindowTest {};

TEST_F(ConfigWindowProperties, TipsAccessKeysAndTheDefaultButton) {
  Open();
  EXPECT_EQ(WithoutTip(Window(), form->TipWindow()), std::vector<std::string>());
  EXPECT_EQ(Clashes(ShownKeys(Window())), std::vector<std::string>());
  Click(Window(), IDC_OPTSOUND);  // the other list in the same place
  EXPECT_EQ(Clashes(ShownKeys(Window())), std::vector<std::string>());
  ExpectMenuKeysUnique(GetMenu(Window()), "bar");
  ExpectOkIsTheDefault(Window());
}

// The options dialog: each page with the tabs and the buttons below.
class OptionsDialogProperties : public ::testing::Test {
 protected:
  TestSettings settings;
  Answerer answers;
  std::unique_ptr<frmOptions> dialog;
  void TearDown() override {
    if (dialog && dialog->Loaded()) dialog->Unload();
    dialog.reset();
    DrainQuit();
  }
  HWND Open() {
    DrainQuit();
    dialog = std::make_unique<frmOptions>(settings.store);
    dialog->Show();
    answers.Ignore(dialog->hWnd());
    return dialog->hWnd();
  }
};

TEST_F(OptionsDialogProperties, TipsAccessKeysAndTheDefaultButton) {
  HWND window = Open();
  EXPECT_EQ(WithoutTip(window, dialog->TipWindow()), std::vector<std::string>());
  const std::vector<std::string> tabs = TabCaptions(GetDlgItem(window, IDC_TABSTRIP1));
  ASSERT_EQ(tabs.size(), 2u);
  // Two pairs on the Pictures page share a key in the captions the product
  // has always had; the dialog manager moves between them on each press.
  // "Include &Subfolders" is the option's given caption and shares S with
  // the Sounds tab, whose Alt+S wins: the box is reached by Tab or a click.
  // Any other clash is a fault.
  const std::vector<std::string> known{"h: S&how Picture Frame, &Help,", "s: Include &Subfolders, &Sounds,",
                                       "w: S&wap Interval (Sec.):, Sho&w Picture's File Name,"};
  ASSERT_EQ(dialog->CurFrame, 1);
  EXPECT_EQ(Clashes(ShownKeys(window, tabs)), known);
  PostMessageA(window, WM_COMMAND, MAKEWPARAM(ID_PAGE_SOUNDS, 1), 0);  // Alt+S
  ASSERT_TRUE(PumpUntil([this] { return dialog->CurFrame == 2; }));
  EXPECT_EQ(Clashes(ShownKeys(window, tabs)), std::vector<std::string>());
  ExpectOkIsTheDefault(window);
}

TEST(AboutBoxProperties, TipsAccessKeysAndTheDefaultButton) {
  DrainQuit();
  MemoryRegistry registry;
  frmAbout about(registry);
  about.Show();
  EXPECT_EQ(WithoutTip(about.hWnd(), about.TipWindow()), std::vector<std::string>());
  EXPECT_EQ(Clashes(ShownKeys(about.hWnd())), std::vector<std::string>());
  ExpectOkIsTheDefault(about.hWnd());
  about.Unload();
  DrainQuit();
}

// A few of the texts the product fixes, exactly: window captions, a menu,
// captions and tips of each window (a typo there is a fault the properties
// above do not see).
TEST_F(ConfigWindowProperties, RepresentativeTextsAreTheProductsOwn) {
  Open();
  EXPECT_EQ(WindowText(Window()), "Screen Saver Properties");
  EXPECT_EQ(WindowText(Item(IDC_CMDIMAGES1)), "Add Direc&tory...");
  EXPECT_EQ(ToolTip(form->TipWindow(), Window(), Item(IDC_CMDIMAGES1)),
            "Displays a dialog where you can an entire directory to add to your Picture or Sound list.");
  EXPECT_EQ(ToolTip(form->TipWindow(), Window(), Item(IDC_LSTLIST1)),
            "Pictures or sound files/directories that will play when screen saver is active.");
  EXPECT_EQ(ToolTip(form->TipWindow(), Window(), Item(IDCANCEL)), "Close and do not save the Properties.");
  char text[64] = {};
  GetMenuStringA(GetMenu(Window()), IDM_HELPSEARCH, text, sizeof text, MF_BYCOMMAND);
  EXPECT_STREQ(text, "&Search for Help On...");
  GetMenuStringA(GetMenu(Window()), IDM_NEW, text, sizeof text, MF_BYCOMMAND);
  EXPECT_STREQ(text, "&New Play List\tCtrl+N");

  frmOptions options(settings.store);
  options.Show();
  answers.Ignore(options.hWnd());
  EXPECT_EQ(WindowText(options.hWnd()), "Screen Saver Options");
  EXPECT_EQ(WindowText(options.Item(IDC_LABEL1)), "S&wap Interval (Sec.):");
  EXPECT_EQ(ToolTip(options.TipWindow(), options.hWnd(), options.Item(IDC_CBOAFFECT)),
            "Select the affect to transisition between image changes.");
  EXPECT_EQ(ToolTip(options.TipWindow(), options.hWnd(), options.Item(IDC_TXTFRAMETHICKNESS)),
            "Width of picture's frame");
  // Two tips whose wording is free say what their boxes do.
  EXPECT_NE(ToolTip(options.TipWindow(), options.hWnd(), options.Item(IDC_CHKRESETPICLIST)).find("beginning"),
            std::string::npos);
  EXPECT_NE(ToolTip(options.TipWindow(), options.hWnd(), options.Item(IDC_CHKSHOWFRAME)).find("frame"),
            std::string::npos);
  EXPECT_EQ(TabCaptions(options.Item(IDC_TABSTRIP1)), (std::vector<std::string>{"&Pictures", "&Sounds"}));
  HWND tabs = options.Item(IDC_TABSTRIP1);
  char tip[128] = {};
  TOOLINFOA info = {};
  info.cbSize = sizeof info;
  info.hwnd = tabs;
  info.uId = 1;
  info.lpszText = tip;
  SendMessageA(reinterpret_cast<HWND>(SendMessageA(tabs, TCM_GETTOOLTIPS, 0, 0)), TTM_GETTEXTA, sizeof tip,
               reinterpret_cast<LPARAM>(&info));
  EXPECT_STREQ(tip, "Set Sound Options");
  options.Unload();
  DrainQuit();

  MemoryRegistry registry;
  frmAbout about(registry);
  about.Show();
  EXPECT_EQ(WindowText(about.Item(IDOK)), "OK");
  EXPECT_EQ(WindowText(about.Item(IDC_CMDSYSINFO)), "&System Info...");
  about.Unload();
  DrainQuit();
}

}  // namespace
}  // namespace dialogtest
