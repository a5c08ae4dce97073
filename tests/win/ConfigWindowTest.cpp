// The configuration window: its controls and menus, loading, the enabling
// of the list commands, OK, Cancel and the close box, the frame caption,
// the preview and its pausing, and the windows it opens from its menus.
#include "ConfigWindowFixture.h"

#include <commctrl.h>

#include "common/HelpPage.h"
#include "ui/HelpBrowser.h"
#include "ui/PictureBox.h"

namespace dialogtest {
namespace {

const char kChangedQuestion[] = "Your Play List has been changed.  Do you want to save your changes?";

RECT RectIn(HWND dialog, HWND child) {
  RECT r{};
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// Watches the preview's timer from inside a menu loop: a thread timer runs
// there, notes whether a menu is open and the timer's state, and closes
// the menu with the keyboard.
struct MenuProbe {
  Timer* timer = nullptr;
  HWND window = nullptr;
  bool menuSeen = false;
  bool timerOnInMenu = true;
  static MenuProbe* current;
  // A popup menu of this thread that is shown.
  static BOOL CALLBACK FindMenu(HWND hwnd, LPARAM found) {
    char name[16] = {};
    GetClassNameA(hwnd, name, sizeof name);
    if (std::string(name) == "#32768" && IsWindowVisible(hwnd)) *reinterpret_cast<HWND*>(found) = hwnd;
    return TRUE;
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    MenuProbe* p = current;
    if (!p || p->menuSeen) return;
    HWND menu = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindMenu, reinterpret_cast<LPARAM>(&menu));
    if (!menu) return;
    p->menuSeen = true;
    p->timerOnInMenu = p->timer->Enabled();
    // Esc closes the menu, a second Esc leaves the menu bar. (EndMenu would
    // too, but under Wine every later menu then closes at once.)
    PostMessageA(p->window, WM_KEYDOWN, VK_ESCAPE, 0x10001);
    PostMessageA(p->window, WM_KEYDOWN, VK_ESCAPE, 0x10001);
  }
};
MenuProbe* MenuProbe::current = nullptr;

TEST_F(ConfigWindowTest, TheWindowHasItsControlsInTheirPlaces) {
  Open();
  EXPECT_NE(SendMessageA(Window(), WM_GETICON, ICON_BIG, 0), 0);
  EXPECT_EQ(FrameCaption(), "Play List");
  EXPECT_EQ(PathLabel(), "");
  EXPECT_EQ(SendMessageA(Item(IDC_OPTPICTURE), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_TRUE(IsWindowVisible(Item(IDC_LSTLIST0)));
  EXPECT_FALSE(IsWindowVisible(Item(IDC_LSTLIST1)));
  for (int id : {IDC_LSTLIST0, IDC_LSTLIST1}) {
    EXPECT_TRUE(GetWindowLongPtrA(Item(id), GWL_STYLE) & LBS_EXTENDEDSEL);
    EXPECT_EQ(RectIn(Window(), Item(id)).left, RectIn(Window(), Item(IDC_LSTLIST0)).left);
  }

  // The list buttons right of the list, the option buttons above it, the
  // path below it, OK and Cancel side by side at the bottom right.
  const RECT listRect = RectIn(Window(), Item(IDC_LSTLIST0));
  for (int id = IDC_CMDIMAGES0; id <= IDC_CMDIMAGES4; ++id) EXPECT_GE(RectIn(Window(), Item(id)).left, listRect.right);
  EXPECT_LE(RectIn(Window(), Item(IDC_OPTPICTURE)).bottom, listRect.top);
  EXPECT_GE(RectIn(Window(), Item(IDC_LBLPATH)).top, listRect.bottom);
  const RECT ok = RectIn(Window(), Item(IDOK)), cancel = RectIn(Window(), Item(IDCANCEL));
  EXPECT_EQ(ok.top, cancel.top);
  EXPECT_LT(ok.right, cancel.left + 1);
  RECT client{};
  GetClientRect(Window(), &client);
  EXPECT_GT(cancel.right, client.right * 3 / 4);
  EXPECT_LE(cancel.bottom, client.bottom);
}

TEST_F(ConfigWindowTest, ThePreviewLiesOnTheMonitorsScreen) {
  Open();
  HWND image = Item(IDC_MONITOR_IMAGE1);
  auto monitor = reinterpret_cast<HBITMAP>(SendMessageA(image, STM_GETIMAGE, IMAGE_BITMAP, 0));
  ASSERT_NE(monitor, nullptr);
  BITMAP bm{};
  GetObjectA(monitor, sizeof bm, &bm);
  const RECT picture = RectIn(Window(), image);
  RECT client{};
  GetClientRect(Window(), &client);
  EXPECT_EQ(picture.right - picture.left, bm.bmWidth);
  EXPECT_EQ(picture.bottom - picture.top, bm.bmHeight);
  EXPECT_NEAR((picture.left + picture.right) / 2, client.right / 2, 1);
  HWND preview = dynamic_cast<tessaly::ui::PictureBox&>(form->PicBase()).hWnd();
  ASSERT_NE(preview, nullptr);
  EXPECT_EQ(GetParent(preview), Window());
  const RECT screen = RectIn(Window(), preview);
  EXPECT_EQ(screen.left - picture.left, 18);
  EXPECT_EQ(screen.top - picture.top, 18);
  EXPECT_EQ(screen.right - screen.left, 153);
  EXPECT_EQ(screen.bottom - screen.top, 114);
}

TEST_F(ConfigWindowTest, UpDownAndRemoveFollowTheSelectionOfTheVisibleList) {
  StoreList("PictureFiles", {Entry("a.bmp"), Entry("b.bmp"), Entry("c.bmp")});
  StoreList("SoundFiles", {Entry("x.wav")});
  Open();
  EXPECT_EQ(ListCommands(), (Commands{false, false, false}));
  EXPECT_EQ(PathLabel(), "");
  Select({1});
  EXPECT_EQ(ListCommands(), (Commands{true, true, true}));
  EXPECT_EQ(PathLabel(), dir.Path());  // the folder part, without the entry's padding
  EXPECT_TRUE(IsWindowVisible(Item(IDC_LBLPATHLABEL)));
  Select({0});  // the first
  EXPECT_EQ(ListCommands(), (Commands{false, true, true}));
  Select({2});  // the last
  EXPECT_EQ(ListCommands(), (Commands{true, false, true}));
  Select({0, 2});  // two
  EXPECT_EQ(ListCommands(), (Commands{false, false, true}));
  EXPECT_EQ(PathLabel(), "");

  // The sound list of one item: its own state, not the picture list's.
  Click(Window(), IDC_OPTSOUND);
  EXPECT_FALSE(IsWindowVisible(Item(IDC_LSTLIST0)));
  EXPECT_TRUE(IsWindowVisible(Item(IDC_LSTLIST1)));
  EXPECT_EQ(ListCommands(), (Commands{false, false, false}));
  Select({0});  // one item, selected
  EXPECT_EQ(ListCommands(), (Commands{false, false, true}));
  EXPECT_EQ(PathLabel(), dir.Path());

  // Back through the View menu: the picture list kept its two selected.
  MenuCommand(Window(), IDM_VIEWPICS);
  EXPECT_EQ(SendMessageA(Item(IDC_OPTPICTURE), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageA(Item(IDC_OPTSOUND), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(GetFocus(), Item(IDC_OPTPICTURE));
  EXPECT_EQ(Selected(0), (std::vector<int>{0, 2}));
  EXPECT_EQ(ListCommands(), (Commands{false, false, true}));
  EXPECT_EQ(PathLabel(), "");
  MenuCommand(Window(), IDM_VIEWSOUNDS);
  EXPECT_TRUE(IsWindowVisible(Item(IDC_LSTLIST1)));
  EXPECT_EQ(GetFocus(), Item(IDC_OPTSOUND));
  EXPECT_EQ(ListCommands(), (Commands{false, false, true}));
  EXPECT_TRUE(answers.Seen().empty());
}

TEST_F(ConfigWindowTest, CancelRightAfterOpeningAsksNothingAndStoresNothing) {
  const std::string file = dir.Write("Holiday.tsl", "P:" + Entry("a.bmp") + "\r\n");
  StoreList("PictureFiles", {Entry("a.bmp"), Entry("b.bmp")});
  StoreList("SoundFiles", {Entry("x.wav")});
  settings.Set("Options", "PlayList", file);
  const auto before = settings.Lists();
  Open();
  EXPECT_EQ(Items(0), (std::vector<std::string>{Entry("a.bmp"), Entry("b.bmp")}));
  EXPECT_FALSE(form->PlayListDirty());
  Click(Window(), IDCANCEL);
  EXPECT_FALSE(form->Loaded());
  EXPECT_EQ(settings.Lists(), before);
  EXPECT_EQ(ReadBytes(file), "P:" + Entry("a.bmp") + "\r\n");
  EXPECT_TRUE(answers.Seen().empty());
}

TEST_F(ConfigWindowTest, OkStoresBothListsAndThePlayListAndRewritesItsFile) {
  const std::string file = dir.Write("Holiday.tsl", "an older play list\r\n");
  StoreList("PictureFiles", {Entry("a.bmp"), Entry("b.bmp"), Entry("c.bmp")});
  StoreList("SoundFiles", {Entry("x.wav"), Entry("y.wav")});
  settings.Set("Options", "PlayList", file);
  Open();
  Select({1});
  Click(Window(), IDC_CMDIMAGES2);  // remove b.bmp
  Click(Window(), IDC_OPTSOUND);
  Select({0});
  Click(Window(), IDC_CMDIMAGES4);  // x.wav after y.wav
  Click(Window(), IDOK);
  EXPECT_FALSE(form->Loaded());
  EXPECT_TRUE(answers.Seen().empty());
  const std::map<std::string, std::string> pictures{{"File0", Entry("a.bmp")}, {"File1", Entry("c.bmp")}};
  const std::map<std::string, std::string> sounds{{"File0", Entry("y.wav")}, {"File1", Entry("x.wav")}};
  EXPECT_EQ(settings.Section("PictureFiles"), pictures);  // File2 of the longer list is gone
  EXPECT_EQ(settings.Section("SoundFiles"), sounds);
  EXPECT_EQ(settings.Get("Options", "PlayList"), file);
  EXPECT_EQ(ReadBytes(file), PlayListOf({Entry("a.bmp"), Entry("c.bmp")}, {Entry("y.wav"), Entry("x.wav")}));

  // OK with nothing changed and no play list: the lists as they are, and
  // "PlayList" empty.
  settings.Set("Options", "PlayList", "");
  Open();
  Click(Window(), IDOK);
  EXPECT_EQ(settings.Section("PictureFiles"), pictures);
  EXPECT_EQ(settings.Section("Options").at("PlayList"), "");
  // Enter is OK.
  settings.Set("PictureFiles", "File0", Entry("d.bmp"));
  Open();
  SetFocus(Item(IDC_LSTLIST0));
  PostMessageA(Item(IDC_LSTLIST0), WM_KEYDOWN, VK_RETURN, 0x1C0001);
  EXPECT_TRUE(PumpUntil([this] { return !form->Loaded(); }));
  EXPECT_EQ(settings.Get("PictureFiles", "File0"), Entry("d.bmp"));
}

TEST_F(ConfigWindowTest, EntriesWhoseFilesAreGoneDisappearAtOpenWithoutAQuestion) {
  const std::string folder = dir.Folder("album");
  StoreList("PictureFiles", {Entry("a.bmp"), Entry("gone.bmp"), MakeFolderEntry(folder),
                             MakeFolderEntry(dir.Path() + "nowhere\\"), Entry("c.bmp")});
  StoreList("SoundFiles", {Entry("gone.wav"), Entry("x.wav")});
  const auto stored = settings.Lists();
  Open();
  EXPECT_EQ(Items(0), (std::vector<std::string>{Entry("a.bmp"), MakeFolderEntry(folder), Entry("c.bmp")}));
  EXPECT_EQ(Items(1), (std::vector<std::string>{Entry("x.wav")}));
  EXPECT_FALSE(form->PlayListDirty());
  EXPECT_TRUE(answers.Seen().empty());
  EXPECT_EQ(settings.Lists(), stored);  // until OK stores the lists
  Click(Window(), IDCANCEL);
  EXPECT_FALSE(form->Loaded());
}

TEST_F(ConfigWindowTest, TheFrameCaptionNamesTheCurrentPlayList) {
  settings.Set("Options", "PlayList", "C:\\Lists\\Holiday.tsl");
  Open();
  EXPECT_EQ(form->CurPlayList(), "C:\\Lists\\Holiday.tsl");
  EXPECT_EQ(FrameCaption(), "Play List - [Holiday]");
  MenuCommand(Window(), IDM_NEW);
  EXPECT_EQ(form->CurPlayList(), "");
  EXPECT_EQ(FrameCaption(), "Play List");
}

TEST_F(ConfigWindowTest, ThePreviewPausesWhileAMenuIsOpenAndPlaysOnAfter) {
  settings.Set("Options", "Stretch", "1");  // each picture fills the preview
  dir.Picture("red.bmp", RGB(255, 0, 0));
  dir.Picture("blue.bmp", RGB(0, 0, 255));
  StoreList("PictureFiles", {Entry("red.bmp"), Entry("blue.bmp")});
  Open();
  ASSERT_TRUE(form->tmrSwitch().Enabled());
  for (char key : {'f', 'p', 'h'}) {
    SCOPED_TRACE(std::string("menu key ") + key);
    MenuProbe probe;
    probe.timer = &form->tmrSwitch();
    probe.window = Window();
    MenuProbe::current = &probe;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, MenuProbe::Tick);
    SendMessageA(Window(), WM_SYSCOMMAND, SC_KEYMENU,
                 key);  // Alt + the menu's key: returns when the menu closes
    KillTimer(nullptr, timer);
    MenuProbe::current = nullptr;
    EXPECT_TRUE(probe.menuSeen);
    EXPECT_FALSE(probe.timerOnInMenu);
    EXPECT_TRUE(form->tmrSwitch().Enabled());
  }
  // It plays on: both pictures come into the preview in turn.
  HWND preview = dynamic_cast<tessaly::ui::PictureBox&>(form->PicBase()).hWnd();
  auto shows = [preview](COLORREF colour) {
    return [preview, colour] {
      HDC dc = GetDC(preview);
      const COLORREF pixel = GetPixel(dc, 76, 57);
      ReleaseDC(preview, dc);
      return pixel == colour;
    };
  };
  EXPECT_TRUE(PumpUntil(shows(RGB(255, 0, 0)), 10000));
  EXPECT_TRUE(PumpUntil(shows(RGB(0, 0, 255)), 10000));
  EXPECT_TRUE(PumpUntil(shows(RGB(255, 0, 0)), 10000));
}

// Acts on the window from inside the preview's slow sweep: a thread timer
// runs in the sweep's own message pump, and once the preview shows the
// sweep half-way (background on the left, the picture on the right) it acts.
struct MidSweep {
  HWND preview = nullptr;
  std::function<void()> action;
  bool done = false;
  static MidSweep* current;
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    MidSweep* p = current;
    if (!p || p->done) return;
    HDC dc = GetDC(p->preview);
    const COLORREF left = GetPixel(dc, 3, 57), right = GetPixel(dc, 149, 57);
    ReleaseDC(p->preview, dc);
    if (left != RGB(0, 255, 0) || right != RGB(255, 0, 0)) return;
    p->done = true;
    p->action();
  }
};
MidSweep* MidSweep::current = nullptr;

class SlowSweepTest : public ConfigWindowTest {
 protected:
  void SetUp() override {
    ConfigWindowTest::SetUp();
    dir.Picture("red.bmp", RGB(255, 0, 0));
    StoreList("PictureFiles", {Entry("red.bmp"), Entry("red.bmp")});
    settings.Set("Options", "Stretch", "1");
    settings.Set("Options", "BackColor", std::to_string(RGB(0, 255, 0)));
    settings.Set("Options", "SwapAffect", "Sweep Right");
    settings.Set("Options", "TransSpeed", "1");  // some seconds for the sweep
  }
  // Runs the preview until `action` has run half-way through its sweep and
  // the window has closed; true when both happened.
  bool ActMidSweep(std::function<void()> action) {
    MidSweep probe;
    probe.preview = dynamic_cast<tessaly::ui::PictureBox&>(form->PicBase()).hWnd();
    probe.action = std::move(action);
    MidSweep::current = &probe;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, MidSweep::Tick);
    const bool closed = PumpUntil([this] { return !form->Loaded(); }, 20000);
    KillTimer(nullptr, timer);
    MidSweep::current = nullptr;
    EXPECT_TRUE(probe.done);
    return probe.done && closed;
  }
};

TEST_F(SlowSweepTest, OkDuringTheTransitionStoresTheListsAndStopsThePreview) {
  Open();
  Select({0});
  Click(Window(), IDC_CMDIMAGES4);  // an edit: the lists as the window holds them must be stored
  ASSERT_TRUE(ActMidSweep([this] { Click(Window(), IDOK); }));
  EXPECT_EQ(settings.Section("PictureFiles").size(), 2u);
  // The tick stopped with the sweep: the second picture was neither shown
  // nor its position stored, and no message came.
  EXPECT_EQ(settings.Get("Options", "LastPicture"), "1");
  EXPECT_TRUE(answers.Seen().empty());
}

TEST_F(SlowSweepTest, EscTypedDuringTheTransitionIsCancel) {
  Open();
  const auto stored = settings.Lists();
  // The key goes through the sweep's message pump to the dialog manager.
  ASSERT_TRUE(ActMidSweep([] { PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0x10001); }));
  EXPECT_EQ(settings.Lists(), stored);
  EXPECT_EQ(settings.Get("Options", "LastPicture"), "1");
}

TEST_F(ConfigWindowTest, TheCloseBoxWithUnsavedEditsAsksLikeCancel) {
  StoreList("PictureFiles", {Entry("a.bmp"), Entry("b.bmp")});
  const auto stored = settings.Lists();
  Open();
  Select({0});
  Click(Window(), IDC_CMDIMAGES2);
  ASSERT_TRUE(form->PlayListDirty());
  answers.Expect("Save Play List", Press(IDCANCEL));
  SendMessageA(Window(), WM_CLOSE, 0, 0);
  ASSERT_TRUE(answers.Done());
  EXPECT_EQ(answers.Texts().back(), kChangedQuestion);
  EXPECT_EQ(answers.Seen().back().icon, LoadIconA(nullptr, IDI_QUESTION));
  ASSERT_TRUE(form->Loaded());
  EXPECT_EQ(Items(0), (std::vector<std::string>{Entry("b.bmp")}));
  // Alt+F4 the same way, and Cancel: the same question.
  answers.Expect("Save Play List", Press(IDCANCEL));
  SendMessageA(Window(), WM_SYSCOMMAND, SC_CLOSE, 0);
  answers.Expect("Save Play List", Press(IDCANCEL));
  Click(Window(), IDCANCEL);
  ASSERT_TRUE(answers.Done());
  EXPECT_EQ(answers.Texts(), std::vector<std::string>(3, kChangedQuestion));
  ASSERT_TRUE(form->Loaded());
  // No: the window closes and nothing is stored.
  answers.Expect("Save Play List", Press(IDNO));
  SendMessageA(Window(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(form->Loaded());
  EXPECT_EQ(settings.Lists(), stored);

  // The end of the Windows session closes without a question.
  Open();
  Select({0});
  Click(Window(), IDC_CMDIMAGES2);
  const std::size_t asked = answers.Seen().size();
  SendMessageA(Window(), WM_ENDSESSION, TRUE, 0);
  EXPECT_FALSE(form->Loaded());
  EXPECT_EQ(answers.Seen().size(), asked);
  EXPECT_EQ(settings.Lists(), stored);
}

TEST_F(ConfigWindowTest, OptionsAboutAndHelpOpenFromTheMenusWithThePreviewPaused) {
  StoreList("PictureFiles", {Entry("a.bmp")});
  settings.Set("Options", "Interval", "3");
  Open();
  // Wait for the first tick: from then on the timer runs at the interval.
  ASSERT_TRUE(PumpUntil([this] { return form->tmrSwitch().Interval() == 3000; }));
  bool timerOn = true;
  HICON icon = nullptr;
  answers.Expect("Screen Saver Options", [&](HWND options) {
    timerOn = form->tmrSwitch().Enabled();
    icon = reinterpret_cast<HICON>(SendMessageA(options, WM_GETICON, ICON_BIG, 0));
    SetDlgItemTextA(options, 205 /* the interval */, "4");
    Press(IDOK)(options);
  });
  MenuCommand(Window(), IDM_OPTIONS);
  ASSERT_TRUE(answers.Done());
  EXPECT_FALSE(timerOn);
  EXPECT_EQ(icon, form->Icon());
  EXPECT_EQ(settings.Get("Options", "Interval"), "4");
  // The preview starts again from the beginning with the new options.
  EXPECT_TRUE(form->tmrSwitch().Enabled());
  EXPECT_EQ(form->tmrSwitch().Interval(), 500);
  EXPECT_TRUE(PumpUntil([this] { return form->tmrSwitch().Interval() == 4000; }));

  timerOn = true;
  answers.Expect("About Tessaly Customizable Screen Saver", [&](HWND about) {
    timerOn = form->tmrSwitch().Enabled();
    Press(IDOK)(about);
  });
  MenuCommand(Window(), IDM_HELPABOUT);
  ASSERT_TRUE(answers.Done());
  EXPECT_FALSE(timerOn);
  EXPECT_TRUE(form->tmrSwitch().Enabled());
  EXPECT_EQ(form->tmrSwitch().Interval(), 4000);  // resumed, not restarted

  EXPECT_TRUE(form->Loaded());
}

TEST_F(ConfigWindowTest, HelpOpensThePageBesideTheProgramInTheBrowser) {
  const BrowserStandIn browser(RecorderPath(), dir.Path());
  Open();
  // Help, Contents: the browser gets the page's address at its contents.
  MenuCommand(Window(), IDM_HELPCONTENTS);
  const std::string started = "ran\t\"" + browser.Program() + "\" \"";
  EXPECT_EQ(browser.Record(), started + HelpAddressBesideTests("contents") + "\"\n");
  // Search for Help On...: at the index.
  MenuCommand(Window(), IDM_HELPSEARCH);
  EXPECT_EQ(browser.Record(), started + HelpAddressBesideTests("index") + "\"\n");
  EXPECT_TRUE(answers.Seen().empty());
  EXPECT_TRUE(form->Loaded());
}

TEST_F(ConfigWindowTest, WithoutAHelpPageTheHelpCommandsSaySo) {
  const BrowserStandIn browser(RecorderPath(), dir.Path());
  const std::string installed = tessaly::ui::HelpPage();
  ASSERT_EQ(installed.substr(installed.find_last_of('\\') + 1), "TSCSS.htm");  // beside the tests
  tessaly::ui::SetHelpPage("");
  Open();
  answers.Expect("Screen Saver Properties", Press(IDOK));
  MenuCommand(Window(), IDM_HELPCONTENTS);
  answers.Expect("Screen Saver Properties", Press(IDOK));
  MenuCommand(Window(), IDM_HELPSEARCH);
  ASSERT_TRUE(answers.Done());
  EXPECT_EQ(answers.Texts(), std::vector<std::string>(2, tessaly::help::kNoHelpMessage));
  EXPECT_EQ(answers.Seen().back().icon, LoadIconA(nullptr, IDI_INFORMATION));
  EXPECT_EQ(browser.Record(500), "");  // no browser was started
  tessaly::ui::SetHelpPage(installed);
  EXPECT_TRUE(form->Loaded());
}

TEST_F(ConfigWindowTest, APageThatNoBrowserOpensIsReported) {
  const std::string installed = tessaly::ui::HelpPage();
  {
    // The registered browser is gone and the page with it.
    const BrowserStandIn browser(RecorderPath(), dir.Path());
    DeleteFileA(browser.Program().c_str());
    tessaly::ui::SetHelpPage(dir.Path() + "gone\\TSCSS.htm");
    Open();
    answers.Expect(kAppTitle, Press(IDOK));
    MenuCommand(Window(), IDM_HELPCONTENTS);
    ASSERT_TRUE(answers.Done());
  }
  tessaly::ui::SetHelpPage(installed);
  EXPECT_EQ(answers.Texts().back(), "Unable to open the help page " + dir.Path() + "gone\\TSCSS.htm in a web browser.");
  EXPECT_EQ(answers.Seen().back().icon, nullptr);
  EXPECT_TRUE(form->Loaded());
}

}  // namespace
}  // namespace dialogtest
