// The whole library through the configuration window: names in any
// language added, shown, stored and kept in play-list files, lists of the
// earlier versions read as before, any number of chosen files, play-list
// files that cannot be read whole, and a preview that does not walk its
// folders again.
#include "ConfigWindowFixture.h"

#include "common/AppError.h"
#include "common/WideText_win.h"
#include "ui/PictureBox.h"

namespace dialogtest {
namespace {

const char kAddFilesTitle[] = "Select One or More Files to Add";
const char kOpenTitle[] = "Select Play List";
const char kSaveTitle[] = "Save Play List";
const char kFolderTitle[] = "Browse for Folder";

const std::string kFolder =
    "Zdj\xC4\x99"
    "cia";  // Zdjęcia
struct Named {
  std::string name;
  COLORREF colour;
};
const Named kNamed[] = {
    {"\xC5\x81\xC3\xB3"
     "d\xC5\xBA.bmp",
     RGB(255, 0, 0)},                                                  // Łódź
    {"\xCE\x91\xCE\xB8\xCE\xAE\xCE\xBD\xCE\xB1.bmp", RGB(0, 255, 0)},  // Αθήνα
    {"\xE6\x9D\xB1\xE4\xBA\xAC.bmp", RGB(0, 0, 255)},                  // 東京
    {"\xF0\x9F\x8C\x85 sunrise.bmp", RGB(255, 255, 0)},                // 🌅 sunrise
};

// Reads play-list files through the system's, and fails half-way through
// the file it is told to (a device gone in the middle of the read).
class HalfReadFiles : public TextFileStore {
 public:
  std::string failing;
  std::size_t after = 0;
  void Read(const std::string& path, std::string& content) override {
    SystemTextFiles().Read(path, content);
    if (path != failing) return;
    content.resize(std::min(after, content.size()));
    throw AppError(kErrDeviceIO, "Device I/O error", "test");
  }
  void ReplaceAll(const std::string& path, const std::string& content) override {
    SystemTextFiles().ReplaceAll(path, content);
  }
};

class LibraryDialogTest : public ConfigWindowTest {
 protected:
  std::string sub;  // the folder of the named pictures, ends in "\"

  void SetUp() override {
    ConfigWindowTest::SetUp();
    settings.Set("Options", "Stretch", "1");  // each picture fills the preview
    sub = dir.Folder(kFolder);
    for (const Named& n : kNamed) dir.Picture(kFolder + "\\" + n.name, n.colour);
  }
  // True once the preview shows this colour in its middle.
  bool PreviewShows(COLORREF colour) {
    HWND preview = dynamic_cast<tessaly::ui::PictureBox&>(form->PicBase()).hWnd();
    return PumpUntil(
        [preview, colour] {
          HDC dc = GetDC(preview);
          const COLORREF pixel = GetPixel(dc, 76, 57);
          ReleaseDC(preview, dc);
          return pixel == colour;
        },
        15000);
  }
  // The stored text of a value as the registry holds it, in UTF-16.
  std::wstring RawValue(const std::string& section, const std::string& name) {
    const std::wstring key =
        Wide("Software\\" + settings.store.Company() + "\\" + settings.store.AppName() + "\\" + section);
    wchar_t data[2048] = {};
    DWORD size = sizeof data;
    if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), Wide(name).c_str(), RRF_RT_REG_SZ, nullptr, data, &size) !=
        ERROR_SUCCESS)
      return L"<missing>";
    return data;
  }
};

TEST_F(LibraryDialogTest, NamesInAnyLanguageAreAddedShownStoredAndKeptInPlayListFiles) {
  Open();
  std::string chosen;
  for (const Named& n : kNamed) chosen += "\"" + n.name + "\" ";
  answers.Expect(kAddFilesTitle, ChooseFile(chosen, sub));
  Click(Window(), IDC_CMDIMAGES0);
  ASSERT_TRUE(answers.Done());
  std::vector<std::string> entries;
  for (const Named& n : kNamed) entries.push_back(MakeFileEntry(n.name, sub));
  EXPECT_EQ(Items(0), entries);
  Select({2});
  EXPECT_EQ(PathLabel(), sub);
  for (const Named& n : kNamed) EXPECT_TRUE(PreviewShows(n.colour)) << n.name;

  // The folder itself: the show finds every name in it.
  Select({0, 1, 2, 3});
  Click(Window(), IDC_CMDIMAGES2);
  answers.Expect(kFolderTitle, ChooseFolder(sub.substr(0, sub.size() - 1)));
  Click(Window(), IDC_CMDIMAGES1);
  ASSERT_TRUE(answers.Done());
  EXPECT_EQ(Items(0), std::vector<std::string>{MakeFolderEntry(sub)});
  for (const Named& n : kNamed) EXPECT_TRUE(PreviewShows(n.colour)) << n.name;
  for (const std::string& e : entries) form->lstList(0)->AddItem(e);

  // Saved to a play-list file of a name of its own, and read back the same.
  const std::string file = sub + "Wycieczka \xE6\x97\x85.tsl";  // Wycieczka 旅
  answers.Expect(kSaveTitle, ChooseFile(file));
  MenuCommand(Window(), IDM_SAVEAS);
  ASSERT_TRUE(answers.Done());
  EXPECT_EQ(form->CurPlayList(), file);
  ASSERT_TRUE(Exists(file));
  const std::vector<std::string> saved = Items(0);
  MenuCommand(Window(), IDM_NEW);
  EXPECT_TRUE(Items(0).empty());
  answers.Expect(kOpenTitle, ChooseFile(file));
  MenuCommand(Window(), IDM_OPEN);
  ASSERT_TRUE(answers.Done());
  EXPECT_EQ(Items(0), saved);
  EXPECT_EQ(FrameCaption(), "Play List - [Wycieczka \xE6\x97\x85]");

  // OK stores them in the registry as they are, characters and columns.
  Click(Window(), IDOK);
  EXPECT_FALSE(form->Loaded());
  EXPECT_EQ(settings.Get("PictureFiles", "File3"), saved[3]);
  EXPECT_EQ(RawValue("PictureFiles", "File3"), Wide(saved[3]));
  EXPECT_EQ(RawValue("PictureFiles", "File3").size(), kEntryLength);
  EXPECT_EQ(settings.Get("Options", "PlayList"), file);
  // And the window shows them again.
  Open();
  EXPECT_EQ(Items(0), saved);
  EXPECT_EQ(FrameCaption(), "Play List - [Wycieczka \xE6\x97\x85]");
}

TEST_F(LibraryDialogTest, ListsAndPlayListFilesInAnsiOfTheCurrentVersionReadTheSame) {
  const std::string folderName =
      "Gr\xC3\xBC\xC3\x9F"
      "e";  // Grüße
  const std::string folder = dir.Folder(folderName);
  dir.Picture(folderName + "\\Zo\xC3\xAB.bmp", RGB(0, 128, 0));  // Zoë
  std::string ansiFolder, ansiName;
  if (!SystemAnsiCodePage().FromUtf8(folder, ansiFolder) || !SystemAnsiCodePage().FromUtf8("Zo\xC3\xAB.bmp", ansiName))
    GTEST_SKIP() << "this system's code page has no umlauts";
  // The registry list as the current version stored it, through the A calls.
  std::string oldFolderEntry(512, ' '), oldFileEntry(512, ' ');
  oldFolderEntry.replace(0, ansiFolder.size(), ansiFolder);
  oldFolderEntry.replace(255, ansiFolder.size(), ansiFolder);
  oldFileEntry.replace(0, ansiName.size(), ansiName);
  oldFileEntry.replace(255, ansiFolder.size(), ansiFolder);
  HKEY key = nullptr;
  const std::string path = "Software\\" + settings.store.Company() + "\\" + settings.store.AppName() + "\\PictureFiles";
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(key, "File0", 0, REG_SZ, reinterpret_cast<const BYTE*>(oldFolderEntry.c_str()), 513);
  RegSetValueExA(key, "File1", 0, REG_SZ, reinterpret_cast<const BYTE*>(oldFileEntry.c_str()), 513);
  RegCloseKey(key);
  const std::vector<std::string> expected{MakeFolderEntry(folder), MakeFileEntry("Zo\xC3\xAB.bmp", folder)};
  Open();
  EXPECT_EQ(Items(0), expected);
  EXPECT_TRUE(PreviewShows(RGB(0, 128, 0)));

  // A play-list file as the current version wrote it.
  const std::string file = dir.Write("Old.tsl", "P:" + oldFolderEntry + "\r\nP:" + oldFileEntry + "\r\n");
  MenuCommand(Window(), IDM_NEW);
  answers.Expect(kOpenTitle, ChooseFile(file));
  MenuCommand(Window(), IDM_OPEN);
  ASSERT_TRUE(answers.Done());
  EXPECT_EQ(Items(0), expected);
  // Written again, it is what the current version wrote: the current
  // version reads it as before.
  MenuCommand(Window(), IDM_SAVE);
  EXPECT_EQ(ReadBytes(file), "P:" + oldFolderEntry + "\r\nP:" + oldFileEntry + "\r\n");
}

TEST_F(LibraryDialogTest, AddFilesTakesEveryChosenFileHoweverLongTheirNames) {
  const std::string many = dir.Folder("Many");
  std::string chosen;
  std::vector<std::string> expected;
  for (int i = 0; i < 400; ++i) {
    const std::string name = "IMG_20230815_" + std::to_string(100000 + i) + " holiday at the sea.bmp";
    dir.Picture("Many\\" + name, RGB(10, 20, 30));
    chosen += "\"" + name + "\" ";
    expected.push_back(MakeFileEntry(name, many));
  }
  ASSERT_GT(chosen.size(), 10000u);  // more than the first versions' dialog took
  Open();
  answers.Expect(kAddFilesTitle, ChooseFile(chosen, many));
  Click(Window(), IDC_CMDIMAGES0);
  ASSERT_TRUE(answers.Done());
  EXPECT_EQ(Items(0), expected);
  EXPECT_TRUE(form->PlayListDirty());
}

TEST_F(LibraryDialogTest, APlayListThatCouldNotBeReadWholeKeepsWhatWasReadAndIsNotReplacedUnasked) {
  HalfReadFiles half;
  files = &half;
  const std::string content = PlayListOf({Entry("a.bmp"), Entry("b.bmp"), Entry("c.bmp")}, {Entry("x.wav")});
  const std::string file = dir.Write("Half.tsl", content);
  half.failing = file;
  half.after = 514 + 2 + 100;  // the first line whole, the second in part
  Open();
  answers.Expect(kOpenTitle, ChooseFile(file));
  answers.Expect(kAppTitle, Press(IDOK));
  MenuCommand(Window(), IDM_OPEN);
  ASSERT_TRUE(answers.Done());
  EXPECT_EQ(answers.Texts().back(), "Unable to Read Play List File.  Device I/O error");
  EXPECT_EQ(Items(0), std::vector<std::string>{Entry("a.bmp")});  // what was read is kept
  EXPECT_TRUE(Items(1).empty());
  EXPECT_EQ(form->CurPlayList(), file);
  EXPECT_TRUE(form->CurPlayListPartial());
  // OK stores the lists but asks before the file goes: No keeps it.
  answers.Expect(kSaveTitle, Press(IDNO));
  Click(Window(), IDOK);
  ASSERT_TRUE(answers.Done());
  EXPECT_EQ(answers.Texts().back(), ReplacePartialQuestion(file));
  EXPECT_FALSE(form->Loaded());
  EXPECT_EQ(ReadBytes(file), content);
  EXPECT_EQ(settings.Section("PictureFiles"), (std::map<std::string, std::string>{{"File0", Entry("a.bmp")}}));

  // Save asks the same; Yes replaces it with what was read.
  Open();
  answers.Expect(kOpenTitle, ChooseFile(file));
  answers.Expect(kAppTitle, Press(IDOK));
  MenuCommand(Window(), IDM_OPEN);
  answers.Expect(kSaveTitle, Press(IDNO));
  MenuCommand(Window(), IDM_SAVE);
  EXPECT_EQ(ReadBytes(file), content);
  answers.Expect(kSaveTitle, Press(IDYES));
  MenuCommand(Window(), IDM_SAVE);
  ASSERT_TRUE(answers.Done());
  EXPECT_EQ(ReadBytes(file), PlayListOf({Entry("a.bmp")}, {}));
  EXPECT_FALSE(form->CurPlayListPartial());
  Click(Window(), IDOK);  // replaced once, asked once
  EXPECT_FALSE(form->Loaded());
}

TEST_F(LibraryDialogTest, ThePreviewWalksItsFoldersOnceWhateverTheListCommands) {
  settings.Set("Options", "Subfolders", "1");
  const std::string deeper = dir.Folder(kFolder + "\\2019");
  dir.Picture(kFolder + "\\2019\\deep.bmp", RGB(0, 255, 255));
  StoreList("PictureFiles", {MakeFolderEntry(sub), Entry("a.bmp"), Entry("b.bmp")});
  Open();
  SlideShow& show = *engine;
  show.PictureBuilder().WaitIdle();
  EXPECT_EQ(show.PictureBuilder().WalksStarted(), 1);
  EXPECT_EQ(show.PicList.Count(), 7);  // the four names, the picture of 2019, a and b
  EXPECT_TRUE(PreviewShows(RGB(0, 255, 255)));
  Select({1});
  Click(Window(), IDC_CMDIMAGES4);  // down
  Click(Window(), IDC_CMDIMAGES3);  // up
  Click(Window(), IDC_CMDIMAGES2);  // remove
  answers.Expect(kAddFilesTitle, ChooseFile("c.bmp", dir.Path()));
  Click(Window(), IDC_CMDIMAGES0);
  ASSERT_TRUE(answers.Done());
  show.PictureBuilder().WaitIdle();
  EXPECT_EQ(show.PictureBuilder().WalksStarted(), 1);
  EXPECT_EQ(show.PicList.Count(), 7);
  // A folder added is walked, alone.
  answers.Expect(kFolderTitle, ChooseFolder(deeper.substr(0, deeper.size() - 1)));
  Click(Window(), IDC_CMDIMAGES1);
  ASSERT_TRUE(answers.Done());
  show.PictureBuilder().WaitIdle();
  EXPECT_EQ(show.PictureBuilder().WalksStarted(), 2);
  EXPECT_EQ(show.PicList.Count(), 8);
}

}  // namespace
}  // namespace dialogtest
