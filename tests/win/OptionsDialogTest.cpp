// The options dialog, driven as the user drives it: its controls, pages,
// key filter, range checks, colour dialog, Cancel and Help.
#include "DialogTestSupport.h"

#include <commctrl.h>

#include <algorithm>
#include <initializer_list>

#include "common/AppTitle.h"
#include "dialogs/frmOptions.h"
#include "dialogs/frmOptionsRes.h"

namespace dialogtest {
namespace {

const char kIntervalMessage[] = "Swap Interval must be between 2 and 60 seconds.";
const char kThicknessMessage[] = "Frame thickness must be between 1 and 20.";

const int kPicturesPage[] = {
    IDC_FRAME1_1,        IDC_LABEL1,          IDC_TXTINTERVAL,  IDC_CHKSTRETCH,    IDC_CHKPICRANDOM,
    IDC_CHKSHOWFILENAME, IDC_CHKRESETPICLIST, IDC_CHKSHOWFRAME, IDC_LBLTHICKNESS,  IDC_TXTFRAMETHICKNESS,
    IDC_CMDFRAMECOLOR,   IDC_LBLFRAMECOLOR,   IDC_CMDBACKCOLOR, IDC_LBLBACKCOLOR,  IDC_CBOAFFECT,
    IDC_SLDSPEED,        IDC_LABEL3,          IDC_LABEL4,       IDC_CHKSUBFOLDERS, IDC_CHKPANZOOM};
const int kSoundsPage[] = {IDC_FRAME1_2, IDC_CHKSOUNDRANDOM, IDC_CHKRESETSOUNDLIST};
const int kChecks[] = {IDC_CHKSTRETCH,        IDC_CHKPICRANDOM,  IDC_CHKSHOWFILENAME,
                       IDC_CHKRESETPICLIST,   IDC_CHKSHOWFRAME,  IDC_CHKSOUNDRANDOM,
                       IDC_CHKRESETSOUNDLIST, IDC_CHKSUBFOLDERS, IDC_CHKPANZOOM};

class OptionsDialogTest : public ::testing::Test {
 protected:
  TestSettings settings;
  Answerer answers;
  std::unique_ptr<frmOptions> dialog;

  void SetUp() override { DrainQuit(); }
  void TearDown() override {
    if (dialog && dialog->Loaded()) dialog->Unload();
    dialog.reset();
    DrainQuit();
    EXPECT_TRUE(answers.Unexpected().empty())
        << "an unexpected window: " << answers.Unexpected()[0].title << ": " << answers.Unexpected()[0].text;
  }

  HWND Open() {
    DrainQuit();  // the last unloaded form's WM_QUIT would end the next modal loop at once
    dialog = std::make_unique<frmOptions>(settings.store);
    dialog->Show();
    answers.Ignore(dialog->hWnd());
    return dialog->hWnd();
  }
  HWND Item(int id) const { return GetDlgItem(dialog->hWnd(), id); }
  std::string Text(int id) const { return WindowText(Item(id)); }
  LRESULT Check(int id) const { return SendMessageA(Item(id), BM_GETCHECK, 0, 0); }
  bool Enabled(int id) const { return IsWindowEnabled(Item(id)) != FALSE; }
  bool Visible(int id) const { return IsWindowVisible(Item(id)) != FALSE; }
  void SetText(int id, const std::string& text) { SetWindowTextA(Item(id), text.c_str()); }
  std::string Stored(const std::string& name) { return settings.Get("Options", name); }

  // A click on tab `index` (0 or 1) with the mouse.
  void ClickTab(int index) {
    HWND tabs = Item(IDC_TABSTRIP1);
    RECT r{};
    SendMessageA(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    SendMessageA(tabs, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(tabs, WM_LBUTTONUP, 0, at);
  }
  // The tab strip's notification that a tab was chosen, for the tab shown.
  void NotifyTabChosen() {
    NMHDR header{Item(IDC_TABSTRIP1), static_cast<UINT_PTR>(IDC_TABSTRIP1), static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageA(dialog->hWnd(), WM_NOTIFY, IDC_TABSTRIP1, reinterpret_cast<LPARAM>(&header));
  }
  void ExpectPage(int page) {
    EXPECT_EQ(dialog->CurFrame, page);
    EXPECT_EQ(SendMessageA(Item(IDC_TABSTRIP1), TCM_GETCURSEL, 0, 0), page - 1);
    for (int id : kPicturesPage) EXPECT_EQ(Visible(id), page == 1) << "control " << id;
    for (int id : kSoundsPage) EXPECT_EQ(Visible(id), page == 2) << "control " << id;
  }
  // The tip a tool tip shows for a tool given by window and id (TTM_GETTEXT:
  // the text the tool's window gives, for a tool that asks for it).
  std::string Tip(HWND tips, HWND owner, UINT_PTR id, UINT flags) {
    char text[512] = {};
    TOOLINFOA info = {};
    info.cbSize = sizeof info;
    info.uFlags = flags;
    info.hwnd = owner;
    info.uId = id;
    info.lpszText = text;
    SendMessageA(tips, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&info));
    return text;
  }
  std::string Tip(int id) { return ToolTip(dialog->TipWindow(), dialog->hWnd(), Item(id)); }
};

TEST_F(OptionsDialogTest, AFreshUserSeesTheDefaultsOnThePicturesPage) {
  Open();
  EXPECT_EQ(WindowText(dialog->hWnd()), "Screen Saver Options");
  EXPECT_EQ(Text(IDC_TXTINTERVAL), "5");
  EXPECT_EQ(Text(IDC_TXTFRAMETHICKNESS), "3");
  EXPECT_EQ(Text(IDC_CBOAFFECT), "Random");
  EXPECT_EQ(SendMessageA(Item(IDC_SLDSPEED), TBM_GETPOS, 0, 0), 20);
  EXPECT_EQ(SwatchColour(dialog->hWnd(), IDC_LBLBACKCOLOR), RGB(0, 0, 0));
  EXPECT_EQ(SwatchColour(dialog->hWnd(), IDC_LBLFRAMECOLOR), RGB(255, 255, 255));
  for (int id : kChecks) EXPECT_EQ(Check(id), BST_UNCHECKED) << "check box " << id;
  ExpectPage(1);
  // Without a frame the frame's controls are off; the frame box itself is on.
  EXPECT_TRUE(Enabled(IDC_CHKSHOWFRAME));
  EXPECT_FALSE(Enabled(IDC_TXTFRAMETHICKNESS));
  EXPECT_FALSE(Enabled(IDC_CMDFRAMECOLOR));
  EXPECT_FALSE(Enabled(IDC_LBLTHICKNESS));
  // Centred on the screen.
  RECT r{};
  GetWindowRect(dialog->hWnd(), &r);
  EXPECT_NEAR((r.left + r.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 2);
  EXPECT_NEAR((r.top + r.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 2);
  EXPECT_TRUE(answers.Seen().empty());
}

TEST_F(OptionsDialogTest, TheEffectsTheSliderAndTheBoxesAreSetUp) {
  Open();
  // The effects in their order, the slider's range and steps, the boxes' size.
  HWND effects = Item(IDC_CBOAFFECT);
  const char* names[] = {
      "None",      "Random",  "Sweep Right",         "Sweep Left",        "Sweep Down",       "Sweep Up",
      "Spotlight", "Bubbles", "Horizontal Sandwich", "Vertical Sandwich", "Shrinking Square", "Cross Fade"};
  ASSERT_EQ(SendMessageA(effects, CB_GETCOUNT, 0, 0), 12);
  for (int i = 0; i < 12; ++i) {
    char text[64] = {};
    SendMessageA(effects, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, names[i]);
  }
  EXPECT_EQ(GetWindowLongPtrA(effects, GWL_STYLE) & 3, CBS_DROPDOWNLIST);
  HWND speed = Item(IDC_SLDSPEED);
  EXPECT_EQ(SendMessageA(speed, TBM_GETRANGEMIN, 0, 0), 1);
  EXPECT_EQ(SendMessageA(speed, TBM_GETRANGEMAX, 0, 0), 20);
  EXPECT_EQ(SendMessageA(speed, TBM_GETLINESIZE, 0, 0), 1);
  EXPECT_EQ(SendMessageA(speed, TBM_GETPAGESIZE, 0, 0), 4);
  EXPECT_EQ(SendMessageA(Item(IDC_TXTINTERVAL), EM_GETLIMITTEXT, 0, 0), 2);
  EXPECT_EQ(SendMessageA(Item(IDC_TXTFRAMETHICKNESS), EM_GETLIMITTEXT, 0, 0), 2);
  // "Slow" under the left end of the slider, "Fast" under its right end.
  RECT slider{}, slow{}, fast{};
  GetWindowRect(speed, &slider);
  GetWindowRect(Item(IDC_LABEL3), &slow);
  GetWindowRect(Item(IDC_LABEL4), &fast);
  EXPECT_GE(slow.top, slider.bottom - 2);
  EXPECT_LT(slow.left, (slider.left + slider.right) / 2);
  EXPECT_GT(fast.right, (slider.left + slider.right) / 2);
}

TEST_F(OptionsDialogTest, TheIntervalBoxTakesDigitsAndBackspaceAlone) {
  Open();
  HWND interval = Item(IDC_TXTINTERVAL);
  SetText(IDC_TXTINTERVAL, "");
  Type(interval, "x4 -.");
  EXPECT_EQ(Text(IDC_TXTINTERVAL), "4");
  Type(interval, "2");
  EXPECT_EQ(Text(IDC_TXTINTERVAL), "42");
  Type(interval, "7");  // two characters at most
  EXPECT_EQ(Text(IDC_TXTINTERVAL), "42");
  Type(interval, "\b");
  EXPECT_EQ(Text(IDC_TXTINTERVAL), "4");
  // The thickness box has no filter, only the length limit.
  HWND thickness = Item(IDC_TXTFRAMETHICKNESS);
  SetText(IDC_TXTFRAMETHICKNESS, "");
  Type(thickness, "a-9");
  EXPECT_EQ(Text(IDC_TXTFRAMETHICKNESS), "a-");
}

TEST_F(OptionsDialogTest, FrameControlsFollowStretchAndShowFrame) {
  Open();
  auto frameControls = [this] {
    return std::vector<bool>{Enabled(IDC_TXTFRAMETHICKNESS), Enabled(IDC_CMDFRAMECOLOR), Enabled(IDC_LBLTHICKNESS)};
  };
  const std::vector<bool> on{true, true, true}, off{false, false, false};
  Click(dialog->hWnd(), IDC_CHKSHOWFRAME);
  EXPECT_EQ(Check(IDC_CHKSHOWFRAME), BST_CHECKED);
  EXPECT_EQ(frameControls(), on);
  Click(dialog->hWnd(), IDC_CHKSTRETCH);  // stretched pictures get no frame
  EXPECT_EQ(Check(IDC_CHKSTRETCH), BST_CHECKED);
  EXPECT_FALSE(Enabled(IDC_CHKSHOWFRAME));
  EXPECT_EQ(Check(IDC_CHKSHOWFRAME), BST_CHECKED);  // keeps its value while disabled
  EXPECT_EQ(frameControls(), off);
  Click(dialog->hWnd(), IDC_CHKSTRETCH);
  EXPECT_TRUE(Enabled(IDC_CHKSHOWFRAME));
  EXPECT_EQ(frameControls(), on);
  Click(dialog->hWnd(), IDC_CHKSHOWFRAME);
  EXPECT_EQ(Check(IDC_CHKSHOWFRAME), BST_UNCHECKED);
  EXPECT_EQ(frameControls(), off);
}

TEST_F(OptionsDialogTest, StoredValuesLoadIntoTheControlsAndAGreyBoxStaysGrey) {
  settings.Set("Options", "PicRandom", "2");
  settings.Set("Options", "ShowFrame", "1");
  settings.Set("Options", "Interval", "07");
  settings.Set("Options", "SwapAffect", "Bubbles");
  settings.Set("Options", "TransSpeed", "6");
  settings.Set("Options", "BackColor", "&H0000FF00&");
  Open();
  EXPECT_EQ(Check(IDC_CHKPICRANDOM), BST_INDETERMINATE);
  EXPECT_EQ(Check(IDC_CHKSHOWFRAME), BST_CHECKED);
  EXPECT_TRUE(Enabled(IDC_TXTFRAMETHICKNESS));
  EXPECT_EQ(Text(IDC_TXTINTERVAL), "7");
  EXPECT_EQ(Text(IDC_CBOAFFECT), "Bubbles");
  EXPECT_EQ(SendMessageA(Item(IDC_SLDSPEED), TBM_GETPOS, 0, 0), 6);
  EXPECT_EQ(SwatchColour(dialog->hWnd(), IDC_LBLBACKCOLOR), RGB(0, 255, 0));
  // OK keeps the grey state as it is.
  Click(dialog->hWnd(), IDOK);
  EXPECT_FALSE(dialog->Loaded());
  EXPECT_EQ(Stored("PicRandom"), "2");
  EXPECT_EQ(Stored("Interval"), "7");
  EXPECT_EQ(Stored("BackColor"), "65280");
}

TEST_F(OptionsDialogTest, TabsSwitchPagesAndTheShownTabChangesNothing) {
  Open();
  ClickTab(1);
  ExpectPage(2);
  NotifyTabChosen();  // the tab already shown, chosen again
  ExpectPage(2);
  ClickTab(1);
  ExpectPage(2);
  ClickTab(0);
  ExpectPage(1);
  NotifyTabChosen();
  ExpectPage(1);
}

// A key pressed with Ctrl, Shift or Alt held, queued to the focused control
// and run through the program's pump (accelerators, dialog keys) as typing
// would be: the thread's key state says which modifiers are down.
void PressKeyWith(HWND control, std::initializer_list<BYTE> modifiers, UINT key) {
  BYTE state[256] = {};
  GetKeyboardState(state);
  BYTE held[256];
  std::copy(std::begin(state), std::end(state), std::begin(held));
  bool alt = false;
  for (BYTE m : modifiers) {
    held[m] = 0x80;
    alt = alt || m == VK_MENU;
  }
  SetKeyboardState(held);
  const UINT down = alt ? WM_SYSKEYDOWN : WM_KEYDOWN, up = alt ? WM_SYSKEYUP : WM_KEYUP;
  const LPARAM context = alt ? (1 << 29) : 0;
  PostMessageA(control, down, key, context | 1);
  PostMessageA(control, up, key, context | 0xC0000001);
  PumpUntil([] { return false; }, 100);
  SetKeyboardState(state);
}

TEST_F(OptionsDialogTest, CtrlTabAndTheTabsAccessKeysSwitchPages) {
  Open();
  SetFocus(Item(IDC_TXTINTERVAL));
  PressKeyWith(Item(IDC_TXTINTERVAL), {VK_CONTROL}, VK_TAB);
  ExpectPage(2);
  PressKeyWith(GetFocus(), {VK_CONTROL}, VK_TAB);
  ExpectPage(1);
  PressKeyWith(GetFocus(), {VK_CONTROL, VK_SHIFT}, VK_TAB);
  ExpectPage(2);
  PressKeyWith(GetFocus(), {VK_MENU}, 'P');
  ExpectPage(1);
  PressKeyWith(GetFocus(), {VK_MENU}, 'S');
  ExpectPage(2);
  // A plain Tab moves the focus, not the page.
  PressKeyWith(GetFocus(), {}, VK_TAB);
  ExpectPage(2);
  EXPECT_TRUE(dialog->Loaded());
}

// What one OK does with the two boxes.
struct RangeCase {
  const char* interval;
  const char* thickness;
  const char* message;  // nullptr: it passes and stores
  int focus;
};

TEST_F(OptionsDialogTest, OkChecksTheIntervalThenTheThicknessWithTheirMessages) {
  const RangeCase cases[] = {
      {"", "3", kIntervalMessage, IDC_TXTINTERVAL},
      {"1", "3", kIntervalMessage, IDC_TXTINTERVAL},
      {"61", "3", kIntervalMessage, IDC_TXTINTERVAL},
      {"1", "0", kIntervalMessage, IDC_TXTINTERVAL},
      {"2", "0", kThicknessMessage, IDC_TXTFRAMETHICKNESS},
      {"60", "21", kThicknessMessage, IDC_TXTFRAMETHICKNESS},
      {"5", "ab", kThicknessMessage, IDC_TXTFRAMETHICKNESS},
      {"2", "1", nullptr, 0},
      {"60", "20", nullptr, 0},
      {"5", "3a", nullptr, 0},
  };
  for (const RangeCase& c : cases) {
    SCOPED_TRACE(std::string("interval \"") + c.interval + "\", thickness \"" + c.thickness + "\"");
    const std::size_t seenBefore = answers.Seen().size();
    settings.Set("Options", "ShowFrame", "1");  // the thickness box can take the focus
    Open();
    SetText(IDC_TXTINTERVAL, c.interval);
    SetText(IDC_TXTFRAMETHICKNESS, c.thickness);
    if (c.message) answers.Expect(kAppTitle, Press(IDOK));
    Click(dialog->hWnd(), IDOK);
    if (!c.message) {
      EXPECT_FALSE(dialog->Loaded());
      EXPECT_EQ(answers.Seen().size(), seenBefore);
      EXPECT_EQ(Stored("Interval"), c.interval);
      EXPECT_EQ(Stored("FrameThickness"), c.thickness);
      continue;
    }
    ASSERT_EQ(answers.Seen().size(), seenBefore + 1);
    const SeenWindow& box = answers.Seen().back();
    EXPECT_EQ(box.text, c.message);
    EXPECT_EQ(box.icon, LoadIconA(nullptr, IDI_EXCLAMATION));
    ASSERT_TRUE(dialog->Loaded());
    EXPECT_EQ(GetFocus(), Item(c.focus));
    EXPECT_EQ(Text(IDC_TXTINTERVAL), c.interval);  // the entries stay as they were
    EXPECT_EQ(Text(IDC_TXTFRAMETHICKNESS), c.thickness);
    EXPECT_EQ(Stored("Interval"), "<missing>");
    dialog->Unload();
  }
}

// A stored text longer than a user may type is shown whole, and OK's range
// check judges it: "100" was shown as "10" and stored as "10" unasked.
TEST_F(OptionsDialogTest, StoredTextsLongerThanTheBoxesAreShownWholeAndJudgedAtOk) {
  settings.Set("Options", "Interval", "100");
  settings.Set("Options", "FrameThickness", "300");
  settings.Set("Options", "ShowFrame", "1");
  Open();
  EXPECT_EQ(Text(IDC_TXTINTERVAL), "100");
  EXPECT_EQ(Text(IDC_TXTFRAMETHICKNESS), "300");
  answers.Expect(kAppTitle, Press(IDOK));
  Click(dialog->hWnd(), IDOK);
  EXPECT_EQ(answers.Texts(), std::vector<std::string>{kIntervalMessage});
  ASSERT_TRUE(dialog->Loaded());
  EXPECT_EQ(Stored("Interval"), "100");
  SetText(IDC_TXTINTERVAL, "10");
  answers.Expect(kAppTitle, Press(IDOK));
  Click(dialog->hWnd(), IDOK);
  EXPECT_EQ(answers.Texts(), (std::vector<std::string>{kIntervalMessage, kThicknessMessage}));
  EXPECT_EQ(Stored("FrameThickness"), "300");
  // Typing still takes two characters at most.
  SetText(IDC_TXTFRAMETHICKNESS, "");
  Type(Item(IDC_TXTFRAMETHICKNESS), "123");
  EXPECT_EQ(Text(IDC_TXTFRAMETHICKNESS), "12");
  Click(dialog->hWnd(), IDOK);
  EXPECT_FALSE(dialog->Loaded());
  EXPECT_EQ(Stored("Interval"), "10");
  EXPECT_EQ(Stored("FrameThickness"), "12");
}

TEST_F(OptionsDialogTest, IncludeSubfoldersShowsAndStoresItsOption) {
  Open();
  EXPECT_EQ(Check(IDC_CHKSUBFOLDERS), BST_UNCHECKED);  // off for lists stored before
  Click(dialog->hWnd(), IDC_CHKSUBFOLDERS);
  EXPECT_EQ(Check(IDC_CHKSUBFOLDERS), BST_CHECKED);
  Click(dialog->hWnd(), IDOK);
  EXPECT_EQ(Stored("Subfolders"), "1");
  Open();
  EXPECT_EQ(Check(IDC_CHKSUBFOLDERS), BST_CHECKED);
  Click(dialog->hWnd(), IDC_CHKSUBFOLDERS);
  Click(dialog->hWnd(), IDOK);
  EXPECT_EQ(Stored("Subfolders"), "0");
  // On the Pictures page, below the other controls of its column.
  Open();
  ClickTab(1);
  EXPECT_FALSE(Visible(IDC_CHKSUBFOLDERS));
  ClickTab(0);
  EXPECT_TRUE(Visible(IDC_CHKSUBFOLDERS));
  RECT box{}, colour{};
  GetWindowRect(Item(IDC_CHKSUBFOLDERS), &box);
  GetWindowRect(Item(IDC_CMDBACKCOLOR), &colour);
  EXPECT_GE(box.top, colour.bottom);
}

TEST_F(OptionsDialogTest, ABoxAtFaultOnTheHiddenPageIsShownFirst) {
  Open();
  SetText(IDC_TXTINTERVAL, "1");
  ClickTab(1);
  ExpectPage(2);
  answers.Expect(kAppTitle, Press(IDOK));
  Click(dialog->hWnd(), IDOK);
  EXPECT_EQ(answers.Texts(), std::vector<std::string>{kIntervalMessage});
  ExpectPage(1);
  EXPECT_EQ(GetFocus(), Item(IDC_TXTINTERVAL));
  // A thickness box that is off leads to the box that turns it on.
  SetText(IDC_TXTINTERVAL, "5");
  SetText(IDC_TXTFRAMETHICKNESS, "0");
  ClickTab(1);
  answers.Expect(kAppTitle, Press(IDOK));
  Click(dialog->hWnd(), IDOK);
  EXPECT_EQ(answers.Texts().back(), kThicknessMessage);
  ExpectPage(1);
  EXPECT_EQ(GetFocus(), Item(IDC_CHKSHOWFRAME));
  EXPECT_TRUE(settings.Section("Options").empty());
}

TEST_F(OptionsDialogTest, TheColourDialogStartsWithTheSwatchAndOnlyOkChangesIt) {
  settings.Set("Options", "BackColor", "255");
  settings.Set("Options", "ShowFrame", "1");
  Open();
  std::string startingColour;
  auto readThenMix = [&startingColour](int r, int g, int b, int button) {
    return [&startingColour, r, g, b, button](HWND colourDialog) {
      startingColour = std::to_string(GetDlgItemInt(colourDialog, 706, nullptr, FALSE)) + " " +
                       std::to_string(GetDlgItemInt(colourDialog, 707, nullptr, FALSE)) + " " +
                       std::to_string(GetDlgItemInt(colourDialog, 708, nullptr, FALSE));
      MixColour(r, g, b, button)(colourDialog);
    };
  };
  answers.Expect("Color", readThenMix(0, 128, 255, IDOK));
  Click(dialog->hWnd(), IDC_CMDBACKCOLOR);
  ASSERT_TRUE(answers.Done());
  EXPECT_EQ(startingColour, "255 0 0");
  EXPECT_EQ(SwatchColour(dialog->hWnd(), IDC_LBLBACKCOLOR), RGB(0, 128, 255));
  EXPECT_EQ(Stored("BackColor"), "255");  // nothing is stored before OK

  answers.Expect("Color", readThenMix(10, 20, 30, IDCANCEL));
  Click(dialog->hWnd(), IDC_CMDFRAMECOLOR);
  ASSERT_TRUE(answers.Done());
  EXPECT_EQ(startingColour, "255 255 255");
  EXPECT_EQ(SwatchColour(dialog->hWnd(), IDC_LBLFRAMECOLOR), RGB(255, 255, 255));

  Click(dialog->hWnd(), IDCANCEL);
  EXPECT_FALSE(dialog->Loaded());
  EXPECT_EQ(settings.Section("Options"),
            (std::map<std::string, std::string>{{"BackColor", "255"}, {"ShowFrame", "1"}}));

  // The same change confirmed with OK is stored as the colour's number.
  Open();
  answers.Expect("Color", MixColour(0, 128, 255, IDOK));
  Click(dialog->hWnd(), IDC_CMDBACKCOLOR);
  Click(dialog->hWnd(), IDOK);
  EXPECT_FALSE(dialog->Loaded());
  EXPECT_EQ(Stored("BackColor"), std::to_string(RGB(0, 128, 255)));
  EXPECT_EQ(Stored("FrameColor"), "16777215");
}

TEST_F(OptionsDialogTest, OkStoresWhatTheControlsShow) {
  Open();
  SetText(IDC_TXTINTERVAL, "12");
  Click(dialog->hWnd(), IDC_CHKPICRANDOM);
  Click(dialog->hWnd(), IDC_CHKSOUNDRANDOM);
  SendMessageA(Item(IDC_CBOAFFECT), CB_SETCURSEL, 6, 0);
  SendMessageA(Item(IDC_SLDSPEED), TBM_SETPOS, TRUE, 7);
  Click(dialog->hWnd(), IDOK);
  EXPECT_FALSE(dialog->Loaded());
  std::map<std::string, std::string> expected{{"PicRandom", "1"},
                                              {"ShowFileName", "0"},
                                              {"SoundRandom", "1"},
                                              {"Stretch", "0"},
                                              {"Interval", "12"},
                                              {"BackColor", "0"},
                                              {"SwapAffect", "Spotlight"},
                                              {"TransSpeed", "7"},
                                              {"FrameThickness", "3"},
                                              {"FrameColor", "16777215"},
                                              {"ShowFrame", "0"},
                                              {"ResetPicList", "0"},
                                              {"ResetSoundList", "0"},
                                              {"Subfolders", "0"},
                                              {"PanZoom", "0"}};
  EXPECT_EQ(settings.Section("Options"), expected);

  // Pan and zoom, and the cross-fade, the last effect of the list; both
  // shown again when the dialog opens next.
  Open();
  Click(dialog->hWnd(), IDC_CHKPANZOOM);
  SendMessageA(Item(IDC_CBOAFFECT), CB_SETCURSEL, 11, 0);
  Click(dialog->hWnd(), IDOK);
  EXPECT_EQ(Stored("PanZoom"), "1");
  EXPECT_EQ(Stored("SwapAffect"), "Cross Fade");
  Open();
  EXPECT_EQ(SendMessageA(Item(IDC_CHKPANZOOM), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(Text(IDC_CBOAFFECT), "Cross Fade");
  Click(dialog->hWnd(), IDCANCEL);
}

TEST_F(OptionsDialogTest, CancelAndEscStoreNothing) {
  Open();
  SetText(IDC_TXTINTERVAL, "30");
  Click(dialog->hWnd(), IDC_CHKSTRETCH);
  Click(dialog->hWnd(), IDCANCEL);
  EXPECT_FALSE(dialog->Loaded());
  Open();
  SetText(IDC_TXTINTERVAL, "30");
  // Esc reaches the dialog through the program's message pump.
  PostMessageA(Item(IDC_TXTINTERVAL), WM_KEYDOWN, VK_ESCAPE, 0x10001);
  PostMessageA(Item(IDC_TXTINTERVAL), WM_KEYUP, VK_ESCAPE, 0xC0010001);
  EXPECT_TRUE(PumpUntil([this] { return !dialog->Loaded(); }));
  EXPECT_TRUE(settings.Section("Options").empty());
}

TEST_F(OptionsDialogTest, HelpAndF1OpenTheOptionsTopic) {
  TempDir dir;
  const BrowserStandIn browser(RecorderPath(), dir.Path());
  const std::string started = "ran\t\"" + browser.Program() + "\" \"" + HelpAddressBesideTests("options") + "\"\n";
  Open();
  Click(dialog->hWnd(), IDC_CMDHELP);
  EXPECT_EQ(browser.Record(), started);
  // F1 asks for the same topic.
  SendMessageA(dialog->hWnd(), WM_HELP, 0, 0);
  EXPECT_EQ(browser.Record(), started);
  EXPECT_TRUE(dialog->Loaded());
  EXPECT_TRUE(answers.Seen().empty());
}

}  // namespace
}  // namespace dialogtest
