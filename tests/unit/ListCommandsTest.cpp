// Play-list entries and the list commands of the configuration window.
#include <gtest/gtest.h>

#include "common/AppError.h"
#include "config/ListCommands.h"
#include "ShowFakes.h"
#include "common/mListBox.h"

using namespace tessaly;

namespace {

FakeListBox ListOf(std::initializer_list<const char*> items) {
  FakeListBox list;
  for (const char* item : items) list.AddItem(item);
  return list;
}

std::vector<int> SelectedIndices(const ListBox& list) {
  std::vector<int> out;
  for (int i = 0; i < list.ListCount(); ++i)
    if (list.Selected(i)) out.push_back(i);
  return out;
}

}  // namespace

TEST(Entries, FileEntryHasTheNameAtColumn1AndTheFolderAtColumn256) {
  const std::string e = MakeFileEntry("beach.jpg", "C:\\Photos\\");
  ASSERT_EQ(e.size(), 512u);
  EXPECT_EQ(e.substr(0, 9), "beach.jpg");
  EXPECT_EQ(e.substr(9, 246), std::string(246, ' '));
  EXPECT_EQ(e.substr(255, 10), "C:\\Photos\\");
  EXPECT_EQ(e.substr(265), std::string(512 - 265, ' '));
  EXPECT_EQ(ListEntryPath(e), "C:\\Photos\\beach.jpg");
}

TEST(Entries, TheFolderIsWrittenLastAndEverythingIsCutAt512) {
  // A name running past column 255 is covered by the folder; the sample
  // entries of the installation write the name last instead.
  const std::string longName(300, 'n');
  const std::string file = MakeFileEntry(longName, "C:\\F\\");
  ASSERT_EQ(file.size(), 512u);
  EXPECT_EQ(file.substr(0, 255), std::string(255, 'n'));
  EXPECT_EQ(file.substr(255, 5), "C:\\F\\");
  EXPECT_EQ(file.substr(260, 40), std::string(40, 'n'));
  EXPECT_EQ(MakeEntry(longName, "C:\\F\\").substr(255, 45), std::string(45, 'n'));

  EXPECT_EQ(MakeFileEntry(std::string(600, 'x'), ""), std::string(512, 'x'));
  const std::string longFolder = "C:\\" + std::string(300, 'f') + "\\";
  const std::string cut = MakeFileEntry("a.jpg", longFolder);
  ASSERT_EQ(cut.size(), 512u);
  EXPECT_EQ(cut.substr(255), longFolder.substr(0, 257));
}

TEST(Entries, FolderEntryHoldsTheFolderInBothFields) {
  const std::string e = MakeFolderEntry("D:\\My Pictures\\");
  ASSERT_EQ(e.size(), 512u);
  EXPECT_EQ(e.substr(0, 15), "D:\\My Pictures\\");
  EXPECT_EQ(e.substr(15, 240), std::string(240, ' '));
  EXPECT_EQ(e.substr(255, 15), "D:\\My Pictures\\");
  EXPECT_EQ(ListEntryPath(e), "D:\\My Pictures\\");
}

TEST(AddCommands, ChosenFilesAreAppendedInTheDialogsOrderWithOneFolder) {
  FakeListBox list = ListOf({"existing"});
  Collection names;
  names.Add("c.jpg", "0");
  names.Add("a.gif", "1");
  names.Add("b.bmp", "2");
  AddFileEntries(list, "C:\\Pics\\", names);
  ASSERT_EQ(list.ListCount(), 4);
  EXPECT_EQ(list.List(0), "existing");
  EXPECT_EQ(ListEntryPath(list.List(1)), "C:\\Pics\\c.jpg");
  EXPECT_EQ(ListEntryPath(list.List(2)), "C:\\Pics\\a.gif");
  EXPECT_EQ(ListEntryPath(list.List(3)), "C:\\Pics\\b.bmp");
  for (int i = 1; i < 4; ++i) EXPECT_EQ(list.List(i).substr(255, 8), "C:\\Pics\\") << i;

  // The same file again is a second, identical entry.
  Collection again;
  again.Add("a.gif", "0");
  AddFileEntries(list, "C:\\Pics\\", again);
  ASSERT_EQ(list.ListCount(), 5);
  EXPECT_EQ(list.List(4), list.List(2));

  AddFileEntries(list, "C:\\Pics\\", Collection());
  EXPECT_EQ(list.ListCount(), 5);
}

TEST(AddCommands, FolderAnswersAreTrimmedAndEndInOneBackslash) {
  FakeListBox list;
  EXPECT_TRUE(AddFolderEntry(list, "C:\\"));
  EXPECT_TRUE(AddFolderEntry(list, "  D:\\Holiday 2003  "));
  EXPECT_TRUE(AddFolderEntry(list, "D:\\Holiday 2003"));
  ASSERT_EQ(list.ListCount(), 3);
  EXPECT_EQ(list.List(0), MakeFolderEntry("C:\\"));
  EXPECT_EQ(ListEntryPath(list.List(0)), "C:\\");
  EXPECT_EQ(list.List(1), MakeFolderEntry("D:\\Holiday 2003\\"));
  EXPECT_EQ(list.List(2), list.List(1));

  // A cancelled folder picker answers with nothing.
  EXPECT_FALSE(AddFolderEntry(list, ""));
  EXPECT_FALSE(AddFolderEntry(list, "   "));
  EXPECT_EQ(list.ListCount(), 3);
}

TEST(RemoveCommand, RemovesEverySelectedEntryAndSelectsTheFirstLeft) {
  FakeListBox list = ListOf({"a", "b", "c", "d", "e"});
  list.SetSelected(1, true);
  list.SetSelected(3, true);
  list.SetSelected(4, true);
  RemoveSelectedEntries(list);
  EXPECT_EQ(list.items, (std::vector<std::string>{"a", "c"}));
  EXPECT_EQ(SelectedIndices(list), std::vector<int>{0});

  // Without a selection nothing goes, but the first entry becomes selected.
  FakeListBox none = ListOf({"a", "b"});
  RemoveSelectedEntries(none);
  EXPECT_EQ(none.ListCount(), 2);
  EXPECT_EQ(SelectedIndices(none), std::vector<int>{0});
}

TEST(RemoveCommand, RemovingTheLastEntriesLeavesAnEmptyList) {
  FakeListBox list = ListOf({"a", "b"});
  list.SetSelected(0, true);
  list.SetSelected(1, true);
  RemoveSelectedEntries(list);
  EXPECT_EQ(list.ListCount(), 0);
  EXPECT_TRUE(SelectedIndices(list).empty());

  FakeListBox empty;
  RemoveSelectedEntries(empty);
  EXPECT_EQ(empty.ListCount(), 0);
}

TEST(MoveCommands, TheSelectionFollowsTheMovedEntry) {
  FakeListBox list = ListOf({"a", "b", "c"});
  list.SetSelected(1, true);
  MoveSelectedEntry(list, -1);
  EXPECT_EQ(list.items, (std::vector<std::string>{"b", "a", "c"}));
  EXPECT_EQ(SelectedIndices(list), std::vector<int>{0});

  MoveSelectedEntry(list, +1);
  MoveSelectedEntry(list, +1);
  EXPECT_EQ(list.items, (std::vector<std::string>{"a", "c", "b"}));
  EXPECT_EQ(SelectedIndices(list), std::vector<int>{2});
}

TEST(MoveCommands, OnlyTheFirstSelectedEntryMoves) {
  FakeListBox list = ListOf({"a", "b", "c", "d"});
  list.SetSelected(1, true);
  list.SetSelected(3, true);
  MoveSelectedEntry(list, +1);
  EXPECT_EQ(list.items, (std::vector<std::string>{"a", "c", "b", "d"}));
  EXPECT_EQ(SelectedIndices(list), (std::vector<int>{2, 3}));

  // With nothing selected the first entry counts as the selected one.
  FakeListBox none = ListOf({"a", "b"});
  MoveSelectedEntry(none, +1);
  EXPECT_EQ(none.items, (std::vector<std::string>{"b", "a"}));
  EXPECT_EQ(SelectedIndices(none), std::vector<int>{1});
}

TEST(MoveCommands, MovingPastEitherEndIsAnInvalidCallAndChangesNothing) {
  FakeListBox list = ListOf({"a", "b"});
  list.SetSelected(0, true);
  for (int delta : {-1, +2}) {
    try {
      MoveSelectedEntry(list, delta);
      ADD_FAILURE() << delta;
    } catch (const AppError& e) {
      EXPECT_EQ(e.Number(), kErrInvalidCall);
    }
    EXPECT_EQ(list.items, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(SelectedIndices(list), std::vector<int>{0});
  }
  FakeListBox empty;
  EXPECT_THROW(MoveSelectedEntry(empty, +1), AppError);
}
