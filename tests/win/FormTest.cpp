// Forms: loading, the list of loaded forms, unloading and its handlers.
#include "UiTestSupport.h"

#include "ui/mForm.h"

namespace uitest {
namespace {

// Records its handlers; cancels when told to.
class RecordingForm : public Form {
 public:
  explicit RecordingForm(std::string caption, std::vector<std::string>* log = nullptr)
      : Form(std::move(caption)), log_(log) {}
  int cancelQuery = 0, cancelUnload = 0;
  bool unloadAgainInQuery = false;
  bool failLoad = false;
  bool throwOnMouse = false;
  int queries = 0;
  std::vector<int> modes;
  std::vector<std::string> mice;

  void Form_Load() override {
    Log("load");
    if (failLoad) throw AppError(76, "Path not found", "RecordingForm");
  }
  void Form_QueryUnload(int& Cancel, int UnloadMode) override {
    ++queries;
    modes.push_back(UnloadMode);
    Log("query " + std::to_string(UnloadMode));
    if (unloadAgainInQuery) Unload();
    Cancel = cancelQuery;
  }
  void Form_Unload(int& Cancel) override {
    Log("unload");
    Cancel = cancelUnload;
  }
  void Form_MouseDown(int Button, int Shift, float X, float Y) override {
    if (throwOnMouse) throw std::runtime_error("handler failed");
    mice.push_back("down " + std::to_string(Button) + " " + std::to_string(Shift) + " " + std::to_string(int(X)) + " " +
                   std::to_string(int(Y)));
  }
  void Form_MouseMove(int Button, int, float X, float Y) override {
    mice.push_back("move " + std::to_string(Button) + " " + std::to_string(int(X)) + " " + std::to_string(int(Y)));
  }
  void Form_KeyDown(int KeyCode, int) override { mice.push_back("key " + std::to_string(KeyCode)); }

 private:
  void Log(const std::string& s) {
    if (log_) log_->push_back(Caption() + ": " + s);
  }
  std::vector<std::string>* log_;
};

class FormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitTwips(15, 15);
    DrainQuit();
    ASSERT_TRUE(Forms().empty());
  }
  void TearDown() override { DrainQuit(); }
  static bool QuitPosted() {
    MSG msg;
    return PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != FALSE;
  }
};

TEST_F(FormTest, LoadCreatesAHiddenListedWindowAndRunsFormLoad) {
  std::vector<std::string> log;
  RecordingForm a("Form A", &log), b("Form B", &log);
  EXPECT_FALSE(a.Loaded());
  a.Load();
  b.Load();
  a.Load();  // already loaded: nothing happens
  EXPECT_EQ(log, (std::vector<std::string>{"Form A: load", "Form B: load"}));
  ASSERT_TRUE(IsWindow(a.hWnd()));
  EXPECT_FALSE(a.Visible());
  EXPECT_FALSE(IsWindowVisible(a.hWnd()));
  char title[64] = {};
  GetWindowTextA(a.hWnd(), title, sizeof title);
  EXPECT_STREQ(title, "Form A");
  EXPECT_EQ(GetWindowLongPtrA(a.hWnd(), GWL_STYLE) & (WS_POPUP | WS_BORDER | WS_CAPTION), WS_POPUP);
  const auto forms = Forms();
  ASSERT_EQ(forms.size(), 2u);
  EXPECT_EQ(forms[0], &a);
  EXPECT_EQ(forms[1], &b);
  a.Unload();
  b.Unload();
}

TEST_F(FormTest, UnloadRunsHandlersRemovesTheFormAndTheLastPostsQuit) {
  std::vector<std::string> log;
  RecordingForm a("A", &log), b("B", &log);
  a.Load();
  b.Load();
  HWND ha = a.hWnd();
  a.Unload();
  EXPECT_FALSE(IsWindow(ha));
  EXPECT_EQ(a.hWnd(), nullptr);
  EXPECT_EQ(Forms(), (std::vector<LoadedWindow*>{&b}));
  EXPECT_FALSE(QuitPosted());
  a.Unload();  // unloaded already: no handler runs
  EXPECT_EQ(a.queries, 1);
  b.Unload();
  EXPECT_TRUE(Forms().empty());
  EXPECT_TRUE(QuitPosted());
  EXPECT_EQ(log,
            (std::vector<std::string>{"A: load", "B: load", "A: query 1", "A: unload", "B: query 1", "B: unload"}));
}

TEST_F(FormTest, QueryUnloadAndUnloadCanCancel) {
  std::vector<std::string> log;
  RecordingForm a("A", &log);
  a.Load();
  a.cancelQuery = 1;
  a.Unload();
  EXPECT_TRUE(IsWindow(a.hWnd()));
  EXPECT_EQ(log.back(), "A: query 1");  // Form_Unload not asked
  a.cancelQuery = 0;
  a.cancelUnload = 1;
  a.Unload();
  EXPECT_TRUE(IsWindow(a.hWnd()));
  EXPECT_EQ(log.back(), "A: unload");
  EXPECT_EQ(Forms().size(), 1u);
  EXPECT_FALSE(QuitPosted());
  a.cancelUnload = 0;
  a.Unload();
  EXPECT_FALSE(a.Loaded());
  EXPECT_TRUE(Forms().empty());
}

TEST_F(FormTest, CloseMessageUnloadsWithModeZero) {
  RecordingForm a("A");
  a.Load();
  a.cancelQuery = 1;
  SendMessageA(a.hWnd(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(a.Loaded());
  a.cancelQuery = 0;
  SendMessageA(a.hWnd(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(a.Loaded());
  EXPECT_EQ(a.modes, (std::vector<int>{0, 0}));
}

TEST_F(FormTest, UnloadDuringUnloadDoesNothing) {
  RecordingForm a("A");
  a.Load();
  a.unloadAgainInQuery = true;
  a.Unload();
  EXPECT_EQ(a.queries, 1);
  EXPECT_FALSE(a.Loaded());
}

TEST_F(FormTest, FormLoadErrorReachesTheCallerAndUnloadsTheForm) {
  std::vector<std::string> log;
  RecordingForm a("A", &log);
  a.failLoad = true;
  try {
    a.Load();
    FAIL() << "no error";
  } catch (const AppError& e) {
    EXPECT_EQ(e.Number(), 76);
  }
  // Unloaded without asking, so that a program whose only window failed
  // to load comes to its end.
  EXPECT_FALSE(a.Loaded());
  EXPECT_EQ(a.hWnd(), nullptr);
  EXPECT_TRUE(Forms().empty());
  EXPECT_EQ(log, (std::vector<std::string>{"A: load", "A: unload"}));
  EXPECT_TRUE(QuitPosted());
  EXPECT_EQ(RunMessageLoop(), 0);
  // Loading again (Retry) makes a new window.
  DrainQuit();
  a.failLoad = false;
  a.Load();
  EXPECT_TRUE(a.Loaded());
  a.Unload();
}

TEST_F(FormTest, DestroyingTheObjectUnlistsTheForm) {
  {
    RecordingForm a("A");
    a.Load();
    EXPECT_EQ(Forms().size(), 1u);
  }
  EXPECT_TRUE(Forms().empty());
}

TEST_F(FormTest, ShowLoadsAndShows) {
  RecordingForm a("A");
  a.Show();
  EXPECT_TRUE(a.Loaded());
  EXPECT_TRUE(a.Visible());
  a.Hide();
  EXPECT_FALSE(a.Visible());
  a.Unload();
}

TEST_F(FormTest, MoveAndSizeAreInTwips) {
  RecordingForm a("A");
  a.Load();
  a.Move(150, 300, 6000, 4500);
  EXPECT_EQ(a.Left(), 150);
  EXPECT_EQ(a.Top(), 300);
  EXPECT_EQ(a.Width(), 6000);
  EXPECT_EQ(a.Height(), 4500);
  RECT r{};
  GetWindowRect(a.hWnd(), &r);
  EXPECT_EQ(r.left, 10);
  EXPECT_EQ(r.top, 20);
  EXPECT_EQ(r.right - r.left, 400);
  EXPECT_EQ(r.bottom - r.top, 300);
  InitTwips(12, 12);
  EXPECT_EQ(a.Width(), 4800);
  InitTwips(15, 15);
  a.SetCaption("Renamed");
  char title[64] = {};
  GetWindowTextA(a.hWnd(), title, sizeof title);
  EXPECT_STREQ(title, "Renamed");
  a.Unload();
}

TEST_F(FormTest, CenterFormCentresOnTheScreen) {
  RecordingForm a("A");
  a.Load();
  a.Move(0, 0, 4500, 3000);
  CenterForm(a);
  const long sw = GetSystemMetrics(SM_CXSCREEN) * 15L, sh = GetSystemMetrics(SM_CYSCREEN) * 15L;
  EXPECT_NEAR(a.Left(), sw / 2 - 2250, 15);
  EXPECT_NEAR(a.Top(), sh / 2 - 1500, 15);
  EXPECT_EQ(a.Width(), 4500);
  EXPECT_EQ(a.Height(), 3000);
  a.Unload();
}

TEST_F(FormTest, MouseAndKeysReachTheHandlersInTwips) {
  RecordingForm a("A");
  a.Load();
  SendMessageA(a.hWnd(), WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, MAKELPARAM(4, 6));
  SendMessageA(a.hWnd(), WM_MOUSEMOVE, MK_RBUTTON, MAKELPARAM(7, 8));
  SendMessageA(a.hWnd(), WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_EQ(a.mice, (std::vector<std::string>{"down 1 2 60 90", "move 2 105 120", "key 27"}));
  a.throwOnMouse = true;
  EXPECT_NO_THROW(SendMessageA(a.hWnd(), WM_LBUTTONDOWN, 0, 0));
  EXPECT_TRUE(a.Loaded());
  a.Unload();
}

TEST_F(FormTest, MessageLoopEndsWhenTheLastFormUnloads) {
  EXPECT_EQ(RunMessageLoop(), 0);  // no form: returns at once
  RecordingForm a("A");
  a.Load();
  PostMessageA(a.hWnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(RunMessageLoop(), 0);
  EXPECT_FALSE(a.Loaded());
  EXPECT_EQ(a.modes, (std::vector<int>{0}));
}

}  // namespace
}  // namespace uitest
