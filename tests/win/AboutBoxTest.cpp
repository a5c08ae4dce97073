// The about box: what it shows, and the start of the system-information
// program from the registry locations (an in-memory registry names them).
#include "DialogTestSupport.h"

#include "common/AppTitle.h"
#include "common/MemoryRegistry.h"
#include "common/VersionInfo.h"
#include "dialogs/frmAbout.h"
#include "common/mFiles.h"
#include "dialogs/frmAboutRes.h"

namespace dialogtest {
namespace {

const char kUnavailable[] = "System Information Is Unavailable At This Time";

class AboutBoxTest : public ::testing::Test {
 protected:
  MemoryRegistry registry;
  Answerer answers;
  TempDir dir;
  std::unique_ptr<frmAbout> about;

  void TearDown() override {
    if (about && about->Loaded()) about->Unload();
    about.reset();
    DrainQuit();
    EXPECT_TRUE(answers.Unexpected().empty()) << answers.Unexpected()[0].title << ": " << answers.Unexpected()[0].text;
  }

  HWND Open() {
    DrainQuit();
    about = std::make_unique<frmAbout>(registry, SystemFileSystem());
    about->Show();
    answers.Ignore(about->hWnd());
    return about->hWnd();
  }
  HWND Item(int id) const { return GetDlgItem(about->hWnd(), id); }
  void Store(uint32_t root, const std::string& key, const std::string& name, const std::string& text) {
    RegHandle handle = 0;
    ASSERT_EQ(registry.CreateKey(PredefinedRoot(root), key, kKeyAllAccess, handle), kRegSuccess);
    registry.SetValue(handle, name, kRegSz, reinterpret_cast<const unsigned char*>(text.c_str()),
                      static_cast<unsigned long>(text.size() + 1));
    registry.CloseKey(handle);
  }
  // A copy of the stand-in under this name in the test's folder.
  std::string Program(const std::string& name) {
    const std::string path = dir.Path() + name;
    EXPECT_TRUE(CopyFileA(RecorderPath().c_str(), path.c_str(), FALSE)) << RecorderPath();
    return path;
  }
};

TEST_F(AboutBoxTest, ShowsTheProductItsVersionCopyrightAddressAndLogo) {
  Store(kHKeyCurrentUser, "Software\\Quillmark Inc.\\qmunins", "BaseAddress", "http://pages.example/");
  Open();
  EXPECT_EQ(WindowText(about->hWnd()), "About Tessaly Customizable Screen Saver");
  EXPECT_EQ(WindowText(Item(IDC_LBLTITLE)), "Tessaly Customizable Screen Saver   Version 2.0.0");
  const std::string copyright = OwnVersionString("LegalCopyright");
  EXPECT_EQ(copyright.rfind("Copyright", 0), 0u) << copyright;
  EXPECT_EQ(WindowText(Item(IDC_LBLVERSION)), copyright);
  // The maker's address comes from the same setting as the uninstaller's.
  EXPECT_EQ(WindowText(Item(IDC_LABEL2_ADDRESS)), "http://pages.example");
  EXPECT_EQ(about->HomePage(), "http://pages.example/index.htm");
  EXPECT_EQ(LabelTextColour(about->hWnd(), IDC_LABEL2_ADDRESS), RGB(0, 0, 255));
  // The logo: a 48 x 48 icon.
  auto logo = reinterpret_cast<HICON>(SendMessageA(Item(IDC_IMAGE1), STM_GETICON, 0, 0));
  ASSERT_NE(logo, nullptr);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(logo, &info));
  BITMAP bm{};
  GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bm, &bm);
  EXPECT_EQ(bm.bmWidth, 48);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  // The legal warning in Small Fonts.
  LOGFONTA font{};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(Item(IDC_LBLDISCLAIMER), WM_GETFONT, 0, 0)), sizeof font, &font);
  EXPECT_STREQ(font.lfFaceName, "Small Fonts");
  EXPECT_NE(WindowText(Item(IDC_LBLDISCLAIMER)).find("copyright law and international treaties"), std::string::npos);
  // The product picture is painted in its box: more than one colour there.
  UpdateWindow(about->hWnd());
  RECT box{};
  GetClientRect(Item(IDC_PICICON), &box);
  HDC dc = GetDC(Item(IDC_PICICON));
  std::set<COLORREF> colours;
  for (int y = box.bottom / 4; y < box.bottom; y += box.bottom / 4)
    for (int x = box.right / 4; x < box.right; x += box.right / 4) colours.insert(GetPixel(dc, x, y));
  ReleaseDC(Item(IDC_PICICON), dc);
  EXPECT_GE(colours.size(), 3u);
}

TEST_F(AboutBoxTest, WithoutASystemInformationProgramItSaysSoAndStays) {
  Open();
  answers.Expect(kAppTitle, Press(IDOK));
  Click(about->hWnd(), IDC_CMDSYSINFO);
  // Only the folder location, but no MSINFO32.EXE in that folder.
  Store(kHKeyLocalMachine, "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO", dir.Path() + "empty");
  dir.Folder("empty");
  answers.Expect(kAppTitle, Press(IDOK));
  Click(about->hWnd(), IDC_CMDSYSINFO);
  // A stored path whose program is not there.
  Store(kHKeyLocalMachine, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", dir.Path() + "missing.exe");
  answers.Expect(kAppTitle, Press(IDOK));
  Click(about->hWnd(), IDC_CMDSYSINFO);
  ASSERT_TRUE(answers.Done());
  EXPECT_EQ(answers.Texts(), std::vector<std::string>(3, kUnavailable));
  for (const SeenWindow& box : answers.Seen()) EXPECT_EQ(box.icon, nullptr) << "the message has no icon";
  EXPECT_TRUE(about->Loaded());
}

TEST_F(AboutBoxTest, TheRegisteredSystemInformationProgramIsStarted) {
  const std::string base = "sysinfo" + std::to_string(GetCurrentProcessId());
  const std::string stored = Program(base + ".exe");
  Store(kHKeyLocalMachine, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", stored);
  Open();
  Click(about->hWnd(), IDC_CMDSYSINFO);
  EXPECT_EQ(TakeRecord(base), "ran\t\"" + stored + "\"\n");
  // The folder location alone: MSINFO32.EXE in that folder.
  registry.DeleteKey(PredefinedRoot(kHKeyLocalMachine), "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
  const std::string folder = dir.Folder("tools");
  ASSERT_TRUE(CopyFileA(RecorderPath().c_str(), (folder + "MSINFO32.EXE").c_str(), FALSE));
  Store(kHKeyLocalMachine, "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO", folder.substr(0, folder.size() - 1));
  Click(about->hWnd(), IDC_CMDSYSINFO);
  EXPECT_EQ(TakeRecord("MSINFO32"), "ran\t\"" + folder + "MSINFO32.EXE\"\n");
  EXPECT_TRUE(answers.Seen().empty());
  EXPECT_TRUE(about->Loaded());
}

TEST_F(AboutBoxTest, AClickOnTheLogoOpensTheHomePage) {
  const BrowserStandIn browser(RecorderPath(), dir.Path());
  Store(kHKeyCurrentUser, "Software\\Quillmark Inc.\\qmunins", "BaseAddress", "http://pages.example/");
  Open();
  SendMessageA(Item(IDC_IMAGE1), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageA(Item(IDC_IMAGE1), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(browser.Record(), "ran\t\"" + browser.Program() + "\" \"http://pages.example/index.htm\"\n");
  EXPECT_TRUE(about->Loaded());
  EXPECT_TRUE(answers.Seen().empty());
}

TEST_F(AboutBoxTest, OkEnterAndEscClose) {
  Open();
  Click(about->hWnd(), IDOK);
  EXPECT_FALSE(about->Loaded());
  Open();
  PostMessageA(Item(IDC_CMDSYSINFO), WM_KEYDOWN, VK_ESCAPE, 0x10001);
  EXPECT_TRUE(PumpUntil([this] { return !about->Loaded(); }));
  Open();
  SendMessageA(about->hWnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(IDOK)), TRUE);
  PostMessageA(Item(IDOK), WM_KEYDOWN, VK_RETURN, 0x10001);
  EXPECT_TRUE(PumpUntil([this] { return !about->Loaded(); }));
}

}  // namespace
}  // namespace dialogtest
