#include <gtest/gtest.h>

#include "common/CRegSettings.h"
#include "Fakes.h"
#include "common/MemoryRegistry.h"
#include "ShowFakes.h"
#include "common/mCommonDialogs.h"
#include "common/mListBox.h"
#include "show/mSlideShow.h"

using namespace tessaly;

namespace {

std::string Entry(const std::string& name, const std::string& folder) {
  std::string e(512, ' ');
  e.replace(255, folder.size(), folder);
  e.replace(0, name.size(), name);
  return e;
}

class Dialog : public ConfigLists {
 public:
  FakeListBox lists[2];
  std::string playList = "unset";
  ListBox* lstList(int i) override { return &lists[i]; }
  std::string CurPlayList() const override { return playList; }
  void SetCurPlayList(const std::string& p) override { playList = p; }
};

class ListsTest : public ::testing::Test {
 protected:
  MemoryRegistry registry;
  CRegSettings settings{registry, "Quillmark Inc.", "Tessaly Customizable Screen Saver"};
  FakePlatform platform;
  FakeFileSystem fs;
  SlideShow show{settings, platform, fs, Mode::Configure};
};

TEST_F(ListsTest, StoringReplacesTheWholeSectionAndLoadingAppends) {
  Dialog d;
  for (int i = 0; i < 5; ++i) d.lists[0].AddItem(Entry("p" + std::to_string(i) + ".jpg", "C:\\P\\"));
  d.playList = "C:\\Lists\\mine.tsl";
  show.SaveListsToRegistry(d);
  d.lists[0].items.resize(3);
  show.SaveListsToRegistry(d);
  EXPECT_EQ(settings.GetSetting("PictureFiles", "File2", "EOF"), Entry("p2.jpg", "C:\\P\\"));
  EXPECT_EQ(settings.GetSetting("PictureFiles", "File3", "EOF"), "EOF");
  // The empty sound list stores no value.
  EXPECT_EQ(settings.GetSetting("SoundFiles", "File0", "EOF"), "EOF");
  EXPECT_EQ(settings.GetSetting("Options", "PlayList"), "C:\\Lists\\mine.tsl");

  Dialog loaded;
  loaded.lists[0].AddItem("already there");
  show.GetConfiguration(loaded);
  ASSERT_EQ(loaded.lists[0].ListCount(), 4);
  EXPECT_EQ(loaded.lists[0].List(0), "already there");
  EXPECT_EQ(loaded.lists[0].List(3), Entry("p2.jpg", "C:\\P\\"));  // blanks kept
  EXPECT_EQ(loaded.lists[1].ListCount(), 0);
  EXPECT_EQ(loaded.playList, "C:\\Lists\\mine.tsl");
}

TEST_F(ListsTest, GapsAndEofTextsEndAList) {
  settings.SaveSetting("PictureFiles", "File0", Entry("a.jpg", "C:\\"));
  settings.SaveSetting("PictureFiles", "File1", Entry("b.jpg", "C:\\"));
  settings.SaveSetting("PictureFiles", "File3", Entry("d.jpg", "C:\\"));
  FakeListBox box;
  LoadListBoxFromRegistry(settings, box, "PictureFiles", "File");
  EXPECT_EQ(box.ListCount(), 2);
  settings.SaveSetting("PictureFiles", "File1", "EOF");
  EXPECT_EQ(show.BuildListFromRegistry("PictureFiles", kPicturePatterns).Count(), 1);
  FakeListBox none;
  LoadListBoxFromRegistry(settings, none, "NoSuchSection", "File");
  EXPECT_EQ(none.ListCount(), 0);
}

TEST_F(ListsTest, FoldersExpandByPatternOrderAndFilesStayUnchecked) {
  fs.entries["C:\\Mix\\"] = {true, false};
  fs.entries["C:\\Mix\\b.gif"] = {false, false};
  fs.entries["C:\\Mix\\a.jpeg"] = {false, false};
  fs.entries["C:\\Mix\\c.bmp"] = {false, false};
  fs.entries["C:\\Mix\\d.emf"] = {false, false};
  fs.entries["C:\\Mix\\f.tiff"] = {false, false};
  fs.entries["C:\\Mix\\g.png"] = {false, false};
  fs.entries["C:\\Mix\\h.tif"] = {false, false};
  fs.entries["C:\\Mix\\i.webp"] = {false, false};
  fs.entries["C:\\Mix\\sub\\"] = {true, false};
  fs.entries["C:\\Mix\\sub\\e.bmp"] = {false, false};
  FakeListBox box;
  box.AddItem(Entry("C:\\Mix\\", "C:\\Mix\\"));
  box.AddItem(Entry("C:\\Empty\\", "C:\\Empty\\"));
  box.AddItem(Entry("c.bmp", "C:\\Mix\\"));  // listed and in a listed folder: twice
  box.AddItem(Entry("readme.txt", "C:\\Mix\\"));
  Collection list = show.BuildListFromListBox(box, kPicturePatterns);
  std::vector<std::string> got;
  for (const auto& i : list.Items()) got.push_back(i.item);
  EXPECT_EQ(got, (std::vector<std::string>{"C:\\Mix\\c.bmp", "C:\\Mix\\b.gif", "C:\\Mix\\a.jpeg", "C:\\Mix\\d.emf",
                                           "C:\\Mix\\g.png", "C:\\Mix\\h.tif", "C:\\Mix\\f.tiff", "C:\\Mix\\c.bmp",
                                           "C:\\Mix\\readme.txt"}));
}

TEST(ListHelpers, EntryPathsSelectionDialogFilesAndMissingEntries) {
  EXPECT_EQ(ListEntryPath(Entry("C:\\Pics\\", "C:\\Pics\\")), "C:\\Pics\\");
  EXPECT_EQ(ListEntryPath(Entry("Sunset.jpg", "C:\\My Pics\\")), "C:\\My Pics\\Sunset.jpg");
  EXPECT_EQ(ListEntryPath(Entry("  padded.bmp", "D:\\")), "D:\\padded.bmp");
  EXPECT_EQ(ListEntryPath("short.bmp"), "short.bmp");  // no folder part at all

  FakeListBox box;
  for (int i = 0; i < 4; ++i) box.AddItem("i");
  EXPECT_EQ(FirstSelectedIndex(box), 0);
  box.SetSelected(2, true);
  box.SetSelected(3, true);
  EXPECT_EQ(FirstSelectedIndex(box), 2);
  FakeListBox empty;
  EXPECT_EQ(FirstSelectedIndex(empty), 0);

  Collection files;
  std::string folder;
  GetDialogFiles("C:\\Pics\\a.bmp", files, folder);
  EXPECT_EQ(folder, "C:\\Pics\\");
  ASSERT_EQ(files.Count(), 1);
  EXPECT_EQ(files.Item(1), "a.bmp");
  EXPECT_EQ(files.Key(1), "0");
  Collection many;
  GetDialogFiles(std::string("C:\\Pics\0a.bmp\0b.bmp", 19), many, folder);
  EXPECT_EQ(folder, "C:\\Pics\\");
  ASSERT_EQ(many.Count(), 2);
  EXPECT_EQ(many.Item(2), "b.bmp");
  EXPECT_EQ(many.Key(2), "1");

  FakeFileSystem fs;
  fs.entries["C:\\Here\\"] = {true, false};
  fs.entries["C:\\Here\\x.jpg"] = {false, false};
  FakeListBox list;
  list.AddItem(Entry("gone.jpg", "C:\\Here\\"));
  list.AddItem(Entry("x.jpg", "C:\\Here\\"));
  list.AddItem(Entry("C:\\Gone\\", "C:\\Gone\\"));
  list.AddItem(Entry("C:\\Here\\", "C:\\Here\\"));
  RemoveMissingEntries(list, fs);
  ASSERT_EQ(list.ListCount(), 2);
  EXPECT_EQ(ListEntryPath(list.List(0)), "C:\\Here\\x.jpg");
  EXPECT_EQ(ListEntryPath(list.List(1)), "C:\\Here\\");
}

}  // namespace
