// The list commands and the play-list files through the configuration
// window, with the real file and folder dialogs answered as a user would:
// names typed into the dialog and its OK pressed.
#include "ConfigWindowFixture.h"

namespace dialogtest {
namespace {

const char kAddFilesTitle[] = "Select One or More Files to Add";
const char kOpenTitle[] = "Select Play List";
const char kSaveTitle[] = "Save Play List";  // the Save As dialog, and the save prompt
const char kPictureFilter[] = "Pictures (*.bmp;*.gif;*.jpg;*.jpeg;*.wmf;*.emf;*.png;*.tif;*.tiff)";

std::string Changed(const std::string& base) {
  return "Your Play List [" + base + "] has been changed.  Do you want to save your changes?";
}

class PlayListCommandsTest : public ConfigWindowTest {
 protected:
  // What a file dialog showed when it was answered.
  struct DialogSeen {
    std::string filter;
    std::string name;
    bool previewRunning = true;
  };
  // Notes what the dialog shows, then does `then`.
  std::function<void(HWND)> Note(DialogSeen& seen, std::function<void(HWND)> then) {
    return [this, &seen, then](HWND dialog) {
      seen.filter = FirstFilter(dialog);
      seen.name = WindowText(FileNameBox(dialog));
      seen.previewRunning = form->tmrSwitch().Enabled();
      then(dialog);
    };
  }
  // Waits until the preview has ticked once (its timer then runs at the
  // interval, 1 s), so that a restart shows as the first tick's 500 ms.
  void AfterFirstTick() {
    ASSERT_TRUE(PumpUntil([this] { return form->tmrSwitch().Interval() == 1000; }));
  }
  void ExpectRestarted() {
    EXPECT_TRUE(form->tmrSwitch().Enabled());
    EXPECT_EQ(form->tmrSwitch().Interval(), 500);
  }
  // The window's state as the play-list table has it.
  void ExpectState(const std::string& current, bool dirty) {
    EXPECT_EQ(form->CurPlayList(), current);
    EXPECT_EQ(form->PlayListDirty(), dirty);
  }
  // Removes the first picture: an edit.
  void Edit() {
    Select({0});
    Click(Window(), IDC_CMDIMAGES2);
    ASSERT_TRUE(form->PlayListDirty());
  }
};

// ---------------------------------------------------------------------------
// Adding and arranging

TEST_F(PlayListCommandsTest, AddFilesTakesTheChosenFilesInTheDialogsOrder) {
  StoreList("PictureFiles", {Entry("a.bmp")});
  Open();
  AfterFirstTick();
  DialogSeen seen;
  answers.Expect(kAddFilesTitle, Note(seen, Press(IDCANCEL)));
  Click(Window(), IDC_CMDIMAGES0);
  ASSERT_TRUE(answers.Done());
  EXPECT_EQ(seen.filter, kPictureFilter);
  EXPECT_FALSE(seen.previewRunning);
  EXPECT_EQ(Items(0), (std::vector<std::string>{Entry("a.bmp")}));
  EXPECT_FALSE(form->PlayListDirty());  // a cancelled add changes nothing
  ExpectRestarted();                    // but the preview starts again

  answers.Expect(kAddFilesTitle, ChooseFile("\"c.bmp\" \"b.bmp\" \"d.bmp\"", dir.Path()));
  Click(Window(), IDC_CMDIMAGES0);
  EXPECT_EQ(Items(0), (std::vector<std::string>{Entry("a.bmp"), Entry("c.bmp"), Entry("b.bmp"), Entry("d.bmp")}));
  EXPECT_TRUE(form->PlayListDirty());
  ExpectRestarted();
  // The same file again is a second entry; the menu item does the same.
  answers.Expect(kAddFilesTitle, ChooseFile(dir.Path() + "a.bmp"));
  MenuCommand(Window(), IDM_ADDFILES);
  EXPECT_EQ(Items(0).size(), 5u);
  EXPECT_EQ(Items(0).back(), Entry("a.bmp"));

  // The sound list offers sounds, and only it changes.
  Click(Window(), IDC_OPTSOUND);
  answers.Expect(kAddFilesTitle, Note(seen, ChooseFile(dir.Path() + "y.wav")));
  Click(Window(), IDC_CMDIMAGES0);
  EXPECT_EQ(seen.filter, "Sounds (*.wav)");
  EXPECT_EQ(Items(1), (std::vector<std::string>{Entry("y.wav")}));
  EXPECT_EQ(Items(0).size(), 5u);
}

TEST_F(PlayListCommandsTest, AddDirectoryTakesTheFolderAndADriveRootAsIs) {
  Open();
  const std::string album = dir.Folder("album");
  std::string text;
  answers.Expect("Browse for Folder", [&text](HWND picker) {
    text = StaticTexts(picker);
    Press(IDCANCEL)(picker);
  });
  Click(Window(), IDC_CMDIMAGES1);
  EXPECT_NE(text.find("Select Directory"), std::string::npos) << text;
  EXPECT_TRUE(Items(0).empty());
  EXPECT_FALSE(form->PlayListDirty());

  answers.Expect("Browse for Folder", ChooseFolder(album.substr(0, album.size() - 1)));
  Click(Window(), IDC_CMDIMAGES1);
  answers.Expect("Browse for Folder", ChooseFolder("C:\\"));
  MenuCommand(Window(), IDM_ADDDIR);
  EXPECT_EQ(Items(0), (std::vector<std::string>{MakeFolderEntry(album), MakeFolderEntry("C:\\")}));
  EXPECT_EQ(ListEntryPath(Items(0)[1]), "C:\\");
  EXPECT_TRUE(form->PlayListDirty());
  ExpectRestarted();
}

TEST_F(PlayListCommandsTest, RemoveTakesEverySelectedEntryAndSelectsTheFirstLeft) {
  StoreList("PictureFiles", {Entry("a.bmp"), Entry("b.bmp"), Entry("c.bmp"), Entry("d.bmp")});
  Open();
  Select({1, 3});
  Click(Window(), IDC_CMDIMAGES2);
  EXPECT_EQ(Items(0), (std::vector<std::string>{Entry("a.bmp"), Entry("c.bmp")}));
  EXPECT_EQ(Selected(0), std::vector<int>{0});
  EXPECT_EQ(ListCommands(), (Commands{false, true, true}));
  EXPECT_TRUE(form->PlayListDirty());
  Select({0, 1});
  MenuCommand(Window(), IDM_REMOVE);
  EXPECT_TRUE(Items(0).empty());
  EXPECT_TRUE(Selected(0).empty());
  EXPECT_EQ(ListCommands(), (Commands{false, false, false}));
  EXPECT_EQ(PathLabel(), "");
}

TEST_F(PlayListCommandsTest, UpAndDownMoveTheEntryWithItsSelection) {
  StoreList("PictureFiles", {Entry("a.bmp"), Entry("b.bmp"), Entry("c.bmp")});
  Open();
  Select({1});
  Click(Window(), IDC_CMDIMAGES3);
  EXPECT_EQ(Items(0), (std::vector<std::string>{Entry("b.bmp"), Entry("a.bmp"), Entry("c.bmp")}));
  EXPECT_EQ(Selected(0), std::vector<int>{0});
  EXPECT_EQ(ListCommands(), (Commands{false, true, true}));
  EXPECT_TRUE(form->PlayListDirty());
  MenuCommand(Window(), IDM_MOVEDOWN);
  Click(Window(), IDC_CMDIMAGES4);
  EXPECT_EQ(Items(0), (std::vector<std::string>{Entry("a.bmp"), Entry("c.bmp"), Entry("b.bmp")}));
  EXPECT_EQ(Selected(0), std::vector<int>{2});
  EXPECT_EQ(ListCommands(), (Commands{true, false, true}));
}

// ---------------------------------------------------------------------------
// New, Open, Save, Save As, Add Play List

TEST_F(PlayListCommandsTest, NewWithoutChangesClearsAtOnce) {
  const std::string file = dir.Write("Holiday.tsl", PlayListOf({Entry("a.bmp")}, {}));
  StoreList("PictureFiles", {Entry("a.bmp")});
  StoreList("SoundFiles", {Entry("x.wav")});
  settings.Set("Options", "PlayList", file);
  Open();
  AfterFirstTick();
  MenuCommand(Window(), IDM_NEW);
  EXPECT_TRUE(answers.Seen().empty());
  EXPECT_TRUE(Items(0).empty());
  EXPECT_TRUE(Items(1).empty());
  ExpectState("", false);
  EXPECT_EQ(FrameCaption(), "Play List");
  ExpectRestarted();
  EXPECT_EQ(ReadBytes(file), PlayListOf({Entry("a.bmp")}, {}));
}

TEST_F(PlayListCommandsTest, NewWithChangesAnsweredCancelNoAndYes) {
  const std::string original = PlayListOf({Entry("a.bmp"), Entry("b.bmp")}, {});
  const std::string file = dir.Write("Holiday.tsl", original);
  StoreList("PictureFiles", {Entry("a.bmp"), Entry("b.bmp")});
  settings.Set("Options", "PlayList", file);
  Open();
  Edit();
  answers.Expect(kSaveTitle, Press(IDCANCEL));
  MenuCommand(Window(), IDM_NEW);
  EXPECT_EQ(answers.Texts().back(), Changed("Holiday"));
  EXPECT_EQ(Items(0), std::vector<std::string>{Entry("b.bmp")});
  ExpectState(file, true);

  answers.Expect(kSaveTitle, Press(IDNO));
  MenuCommand(Window(), IDM_NEW);
  EXPECT_TRUE(Items(0).empty());
  ExpectState("", false);
  EXPECT_EQ(ReadBytes(file), original);

  // Yes with a current file: saved, then cleared.
  Open();
  Edit();
  answers.Expect(kSaveTitle, Press(IDYES));
  MenuCommand(Window(), IDM_NEW);
  EXPECT_EQ(ReadBytes(file), PlayListOf({Entry("b.bmp")}, {}));
  EXPECT_TRUE(Items(0).empty());
  ExpectState("", false);

  // Yes without one: Save As comes; cancelling it still clears the lists.
  StoreList("PictureFiles", {Entry("c.bmp"), Entry("d.bmp")});
  settings.Set("Options", "PlayList", "");
  Open();
  Edit();
  answers.Expect(kSaveTitle, Press(IDYES));
  answers.Expect(kSaveTitle, Press(IDCANCEL));
  MenuCommand(Window(), IDM_NEW);
  ASSERT_TRUE(answers.Done());
  EXPECT_EQ(answers.Seen()[answers.Seen().size() - 2].text,
            "Your Play List has been changed.  Do you want to save your changes?");
  EXPECT_TRUE(Items(0).empty());
  ExpectState("", false);
  EXPECT_EQ(FolderNames(dir.Path()).size(),
            7u);  // the six pictures and sounds and Holiday.tsl: nothing written
}

TEST_F(PlayListCommandsTest, OpenWithChangesAnsweredCancelNoAndYes) {
  const std::string holiday = dir.Write("Holiday.tsl", PlayListOf({Entry("a.bmp"), Entry("b.bmp")}, {}));
  const std::string beach = dir.Write("Beach.tsl", PlayListOf({Entry("c.bmp")}, {Entry("x.wav")}));
  StoreList("PictureFiles", {Entry("a.bmp"), Entry("b.bmp")});
  settings.Set("Options", "PlayList", holiday);
  Open();
  Edit();
  answers.Expect(kSaveTitle, Press(IDCANCEL));  // no file dialog follows
  MenuCommand(Window(), IDM_OPEN);
  ASSERT_TRUE(answers.Done());
  ExpectState(holiday, true);

  // No: the changes are dropped; a cancelled Open then changes nothing more.
  answers.Expect(kSaveTitle, Press(IDNO));
  answers.Expect(kOpenTitle, Press(IDCANCEL));
  MenuCommand(Window(), IDM_OPEN);
  ExpectState(holiday, false);
  EXPECT_EQ(Items(0), std::vector<std::string>{Entry("b.bmp")});

  AfterFirstTick();
  DialogSeen seen;
  answers.Expect(kOpenTitle, Note(seen, ChooseFile(beach)));
  MenuCommand(Window(), IDM_OPEN);
  EXPECT_EQ(seen.filter, "Play Lists (*.tsl)");
  EXPECT_FALSE(seen.previewRunning);
  EXPECT_EQ(Items(0), std::vector<std::string>{Entry("c.bmp")});
  EXPECT_EQ(Items(1), std::vector<std::string>{Entry("x.wav")});
  ExpectState(beach, false);
  EXPECT_EQ(FrameCaption(), "Play List - [Beach]");
  ExpectRestarted();

  // Yes with a current file: it is saved first, then the dialog comes.
  Edit();
  answers.Expect(kSaveTitle, Press(IDYES));
  answers.Expect(kOpenTitle, ChooseFile(holiday));
  MenuCommand(Window(), IDM_OPEN);
  EXPECT_EQ(ReadBytes(beach), PlayListOf({}, {Entry("x.wav")}));
  EXPECT_EQ(Items(0), (std::vector<std::string>{Entry("a.bmp"), Entry("b.bmp")}));
  ExpectState(holiday, false);

  // Yes without one: a cancelled Save As, and Open goes on all the same.
  MenuCommand(Window(), IDM_NEW);
  answers.Expect(kAddFilesTitle, ChooseFile(dir.Path() + "d.bmp"));
  Click(Window(), IDC_CMDIMAGES0);
  answers.Expect(kSaveTitle, Press(IDYES));
  answers.Expect(kSaveTitle, Press(IDCANCEL));
  answers.Expect(kOpenTitle, ChooseFile(beach));
  MenuCommand(Window(), IDM_OPEN);
  ASSERT_TRUE(answers.Done());
  EXPECT_EQ(Items(1), std::vector<std::string>{Entry("x.wav")});
  ExpectState(beach, false);
}

TEST_F(PlayListCommandsTest, OpenDropsEntriesWhoseFilesAreGone) {
  const std::string some =
      dir.Write("Some.tsl", PlayListOf({Entry("gone.bmp"), Entry("a.bmp"), MakeFolderEntry(dir.Path() + "nowhere\\")},
                                       {Entry("gone.wav"), Entry("y.wav")}));
  const std::string none = dir.Write("None.tsl", PlayListOf({Entry("gone.bmp")}, {Entry("gone.wav")}));
  const std::string empty = dir.Write("Empty.tsl", "");
  StoreList("PictureFiles", {Entry("b.bmp")});
  Open();
  answers.Expect(kOpenTitle, ChooseFile(some));
  MenuCommand(Window(), IDM_OPEN);
  EXPECT_EQ(Items(0), std::vector<std::string>{Entry("a.bmp")});
  EXPECT_EQ(Items(1), std::vector<std::string>{Entry("y.wav")});
  ExpectState(some, false);
  for (const std::string& file : {none, empty}) {
    answers.Expect(kOpenTitle, ChooseFile(file));
    MenuCommand(Window(), IDM_OPEN);
    EXPECT_TRUE(Items(0).empty());
    EXPECT_TRUE(Items(1).empty());
    ExpectState(file, false);
  }
  EXPECT_EQ(answers.Seen().size(), 3u);  // no message on the way
}

TEST_F(PlayListCommandsTest, SaveWithACurrentFileWritesWithoutADialog) {
  const std::string file = dir.Write("Holiday.tsl", "not what the lists hold\r\n");
  StoreList("PictureFiles", {Entry("a.bmp"), Entry("b.bmp")});
  StoreList("SoundFiles", {Entry("x.wav")});
  settings.Set("Options", "PlayList", file);
  Open();
  MenuCommand(Window(), IDM_SAVE);  // nothing changed: written all the same
  EXPECT_EQ(ReadBytes(file), PlayListOf({Entry("a.bmp"), Entry("b.bmp")}, {Entry("x.wav")}));
  Edit();
  SendMessageA(Window(), WM_COMMAND, MAKEWPARAM(IDM_SAVE, 1), 0);  // as Ctrl+S sends it
  EXPECT_EQ(ReadBytes(file), PlayListOf({Entry("b.bmp")}, {Entry("x.wav")}));
  ExpectState(file, false);
  EXPECT_TRUE(answers.Seen().empty());
}

TEST_F(PlayListCommandsTest, SaveAsWritesTheNameAsTypedAndAsksBeforeReplacing) {
  const std::string holiday = dir.Write("Holiday.tsl", "old\r\n");
  StoreList("PictureFiles", {Entry("a.bmp")});
  settings.Set("Options", "PlayList", holiday);
  Open();
  Edit();
  DialogSeen seen;
  answers.Expect(kSaveTitle, Note(seen, ChooseFile(dir.Path() + "Beach")));
  MenuCommand(Window(), IDM_SAVEAS);
  EXPECT_EQ(seen.filter, "Play List Files (*.tsl)");
  EXPECT_EQ(seen.name, "Holiday.tsl");  // the current play list to start with
  EXPECT_FALSE(seen.previewRunning);
  EXPECT_EQ(ReadBytes(dir.Path() + "Beach"), "");  // two empty lists: an empty file
  EXPECT_TRUE(Exists(dir.Path() + "Beach"));
  EXPECT_FALSE(Exists(dir.Path() + "Beach.tsl"));
  ExpectState(dir.Path() + "Beach", false);
  EXPECT_EQ(FrameCaption(), "Play List - [Beach]");
  EXPECT_TRUE(form->tmrSwitch().Enabled());

  // Over an existing file: asked first; No goes back to the dialog.
  answers.Expect(kSaveTitle, ChooseFile(holiday));
  answers.Expect(kSaveTitle, Press(IDNO));
  answers.Expect(kSaveTitle, Press(IDCANCEL));
  MenuCommand(Window(), IDM_SAVEAS);
  ASSERT_TRUE(answers.Done());
  EXPECT_NE(answers.Texts()[answers.Texts().size() - 2].find("already exists"), std::string::npos);
  EXPECT_EQ(ReadBytes(holiday), "old\r\n");
  ExpectState(dir.Path() + "Beach", false);
  // Yes replaces it.
  answers.Expect(kSaveTitle, ChooseFile(holiday));
  answers.Expect(kSaveTitle, Press(IDYES));
  MenuCommand(Window(), IDM_SAVEAS);
  EXPECT_EQ(ReadBytes(holiday), "");
  ExpectState(holiday, false);
}

TEST_F(PlayListCommandsTest, AddingThePlayListTwiceDoublesEveryEntry) {
  const std::string holiday = dir.Write("Holiday.tsl", PlayListOf({Entry("a.bmp")}, {Entry("x.wav")}));
  const std::string more = dir.Write("More.tsl", PlayListOf({Entry("b.bmp"), Entry("gone.bmp")}, {Entry("y.wav")}));
  StoreList("PictureFiles", {Entry("a.bmp")});
  StoreList("SoundFiles", {Entry("x.wav")});
  settings.Set("Options", "PlayList", holiday);
  Open();
  Edit();  // unsaved changes: Add Play List asks nothing
  answers.Expect(kOpenTitle, ChooseFile(more));
  MenuCommand(Window(), IDM_MERGELIST);
  answers.Expect(kOpenTitle, ChooseFile(more));
  MenuCommand(Window(), IDM_MERGELIST);
  EXPECT_EQ(answers.Seen().size(), 2u);
  EXPECT_EQ(Items(0), (std::vector<std::string>{Entry("b.bmp"), Entry("b.bmp")}));
  EXPECT_EQ(Items(1), (std::vector<std::string>{Entry("x.wav"), Entry("y.wav"), Entry("y.wav")}));
  ExpectState(holiday, true);
  ExpectRestarted();
}

TEST_F(PlayListCommandsTest, AFailingWriteLeavesTheOldFileAndTheChanges) {
  const std::string locked = dir.Write("Locked.tsl", "P:kept as it was\r\n");
  SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_READONLY);
  const std::string folder = dir.Folder("Folder.tsl");
  StoreList("PictureFiles", {Entry("a.bmp"), Entry("b.bmp")});
  settings.Set("Options", "PlayList", locked);
  Open();
  Edit();
  answers.Expect(kAppTitle, Press(IDOK));
  MenuCommand(Window(), IDM_SAVE);
  ASSERT_TRUE(answers.Done());
  EXPECT_EQ(answers.Texts().back().rfind("Unable to write to Play List File.  ", 0), 0u) << answers.Texts().back();
  EXPECT_EQ(ReadBytes(locked), "P:kept as it was\r\n");
  ExpectState(locked, true);

  // A play list that is a folder's name: the same.
  form->SetCurPlayList(folder.substr(0, folder.size() - 1));
  answers.Expect(kAppTitle, Press(IDOK));
  MenuCommand(Window(), IDM_SAVE);
  ASSERT_TRUE(answers.Done());
  EXPECT_EQ(GetFileAttributesA(folder.c_str()) & FILE_ATTRIBUTE_DIRECTORY,
            static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
  EXPECT_TRUE(FolderNames(folder).empty());
  ExpectState(folder.substr(0, folder.size() - 1), true);
  // Save As to the read-only file: the new name is current all the same.
  answers.Expect(kSaveTitle, ChooseFile(locked));
  answers.Expect(kSaveTitle, Press(IDYES));  // replace it?
  answers.Expect(kAppTitle, Press(IDOK));
  MenuCommand(Window(), IDM_SAVEAS);
  ASSERT_TRUE(answers.Done());
  ExpectState(locked, true);
  EXPECT_EQ(ReadBytes(locked), "P:kept as it was\r\n");

  // The prompt of Cancel comes again; a failed save keeps the window open.
  answers.Expect(kSaveTitle, Press(IDYES));
  answers.Expect(kAppTitle, Press(IDOK));
  Click(Window(), IDCANCEL);
  ASSERT_TRUE(answers.Done());
  EXPECT_EQ(answers.Seen()[answers.Seen().size() - 2].text, Changed("Locked"));
  EXPECT_TRUE(form->Loaded());
  // OK shows the failure and closes, with the lists stored.
  answers.Expect(kAppTitle, Press(IDOK));
  Click(Window(), IDOK);
  EXPECT_FALSE(form->Loaded());
  EXPECT_EQ(settings.Section("PictureFiles"), (std::map<std::string, std::string>{{"File0", Entry("b.bmp")}}));
  EXPECT_EQ(ReadBytes(locked), "P:kept as it was\r\n");
  // No temporary file is left behind.
  const auto names = FolderNames(dir.Path());
  for (const std::string& name : names) EXPECT_EQ(name.find("~tsl"), std::string::npos) << name;
}

TEST_F(PlayListCommandsTest, YesInTheExitPromptSavesTheFileAndTheLists) {
  const std::string file = dir.Write("Holiday.tsl", PlayListOf({Entry("a.bmp"), Entry("b.bmp")}, {}));
  StoreList("PictureFiles", {Entry("a.bmp"), Entry("b.bmp")});
  settings.Set("Options", "PlayList", file);
  Open();
  Edit();
  answers.Expect(kSaveTitle, Press(IDYES));
  Click(Window(), IDCANCEL);
  EXPECT_EQ(answers.Texts(), std::vector<std::string>{Changed("Holiday")});
  EXPECT_FALSE(form->Loaded());
  EXPECT_EQ(ReadBytes(file), PlayListOf({Entry("b.bmp")}, {}));
  EXPECT_EQ(settings.Section("PictureFiles"), (std::map<std::string, std::string>{{"File0", Entry("b.bmp")}}));

  // Without a current file, Yes and a cancelled Save As leave the window open.
  settings.Set("Options", "PlayList", "");
  Open();
  Edit();
  answers.Expect(kSaveTitle, Press(IDYES));
  answers.Expect(kSaveTitle, Press(IDCANCEL));
  Click(Window(), IDCANCEL);
  ASSERT_TRUE(answers.Done());
  EXPECT_TRUE(form->Loaded());
  EXPECT_TRUE(Items(0).empty());
  ExpectState("", true);
}

}  // namespace
}  // namespace dialogtest
