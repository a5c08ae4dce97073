#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "common/mCollection.h"
#include "common/mFiles.h"

using namespace tessaly;

namespace {

// A folder tree of the test's own under the prefix's temporary folder.
struct FilesWinTest : ::testing::Test {
  std::string root;

  void SetUp() override {
    char tmp[MAX_PATH];
    GetTempPathA(MAX_PATH, tmp);
    root = std::string(tmp) + "Tessaly Files Test " + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(root.c_str(), nullptr);
    CreateDirectoryA((root + "Long Folder Name").c_str(), nullptr);
    Touch("Long Folder Name\\Picture Number One.jpg");
    Touch("b.bmp");
    Touch("a.gif");
    Touch("c.jpg");
    Touch("hidden.jpg");
    SetFileAttributesA((root + "hidden.jpg").c_str(), FILE_ATTRIBUTE_HIDDEN);
  }
  void TearDown() override {
    SetFileAttributesA((root + "hidden.jpg").c_str(), FILE_ATTRIBUTE_NORMAL);
    for (const char* f : {"Long Folder Name\\Picture Number One.jpg", "b.bmp", "a.gif", "c.jpg", "hidden.jpg"})
      DeleteFileA((root + f).c_str());
    RemoveDirectoryA((root + "Long Folder Name").c_str());
    RemoveDirectoryA(root.c_str());
  }
  void Touch(const std::string& name) { std::ofstream(root + name) << "x"; }
};

}  // namespace

TEST_F(FilesWinTest, ExistenceChecksOnRealFolders) {
  EXPECT_TRUE(FileExists(root + "b.bmp"));
  EXPECT_FALSE(FileExists(root + "hidden.jpg"));
  EXPECT_FALSE(FileExists(root + "Long Folder Name"));
  EXPECT_FALSE(FileExists(root + "none.bmp"));
  EXPECT_TRUE(DirExists(root));
  EXPECT_TRUE(DirExists(root + "Long Folder Name\\"));
  EXPECT_FALSE(DirExists(root + "Gone\\"));
  bool isFile = true, exists = false;
  CheckPath(root + "Long Folder Name\\", isFile, exists);
  EXPECT_FALSE(isFile);
  EXPECT_TRUE(exists);
}

TEST_F(FilesWinTest, MatchingFilesComePatternByPatternWithoutSubfolders) {
  Collection files;
  AddMatchingFiles(files, root, "*.bmp;*.gif;*.jpg");
  ASSERT_EQ(files.Count(), 3);
  EXPECT_EQ(files.Item(1), root + "b.bmp");
  EXPECT_EQ(files.Item(2), root + "a.gif");
  EXPECT_EQ(files.Item(3), root + "c.jpg");  // hidden.jpg is not listed

  Collection none;
  AddMatchingFiles(none, root + "Gone\\", "*.bmp");
  EXPECT_EQ(none.Count(), 0);
}

TEST_F(FilesWinTest, LongFormOfAShortFormIsTheOriginalPath) {
  const std::string file = root + "Long Folder Name\\Picture Number One.jpg";
  std::string shortForm = ShortPathName(file);
  ASSERT_FALSE(shortForm.empty());
  EXPECT_NE(shortForm, file);
  EXPECT_EQ(LongPathName(shortForm), file);

  std::string shortFolder = ShortPathName(root + "Long Folder Name\\");
  ASSERT_FALSE(shortFolder.empty());
  EXPECT_EQ(LongPathName(shortFolder), root + "Long Folder Name\\");

  EXPECT_EQ(ShortPathName(root + "missing.jpg"), "");
  EXPECT_EQ(LongPathName("C:\\No Such Folder\\x\\"), "C:\\No Such Folder\\x\\");
}
