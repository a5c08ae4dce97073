#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "common/FolderWalk.h"
#include "common/WideText_win.h"
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

namespace {

// A folder of names in several languages, under the prefix's temporary
// folder, made through the wide calls.
struct NamesWinTest : ::testing::Test {
  std::string root;
  const std::vector<std::string> names{
      "\xC5\x81\xC3\xB3"
      "d\xC5\xBA.jpg",                                 // Łódź.jpg
      "\xCE\x91\xCE\xB8\xCE\xAE\xCE\xBD\xCE\xB1.jpg",  // Αθήνα.jpg
      "\xE6\x9D\xB1\xE4\xBA\xAC.jpg",                  // 東京.jpg
      "\xF0\x9F\x8C\x85.jpg",                          // 🌅.jpg
      "Zo\xC3\xAB.jpg",                                // Zoë.jpg
  };
  const std::string sub =
      "Zdj\xC4\x99"
      "cia\\";  // Zdjęcia
  const std::string hidden = "Ukryte\\";

  void SetUp() override {
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    root = Utf8(tmp) + "Tessaly Names Test " + std::to_string(GetCurrentProcessId()) + "\\";
    ASSERT_TRUE(CreateDirectoryW(Wide(root).c_str(), nullptr));
    for (const std::string& name : names) Touch(name);
    CreateDirectoryW(Wide(root + sub).c_str(), nullptr);
    Touch(sub +
          "g\xC5\x82\xC4\x99"
          "boko.png");  // głęboko.png
    CreateDirectoryW(Wide(root + hidden).c_str(), nullptr);
    Touch(hidden + "never.jpg");
    SetFileAttributesW(Wide(root + hidden).c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY);
  }
  void TearDown() override {
    for (const std::string& name : names) DeleteFileW(Wide(root + name).c_str());
    DeleteFileW(Wide(root + sub +
                     "g\xC5\x82\xC4\x99"
                     "boko.png")
                    .c_str());
    RemoveDirectoryW(Wide(root + sub).c_str());
    SetFileAttributesW(Wide(root + hidden).c_str(), FILE_ATTRIBUTE_DIRECTORY);
    DeleteFileW(Wide(root + hidden + "never.jpg").c_str());
    RemoveDirectoryW(Wide(root + hidden).c_str());
    RemoveDirectoryW(Wide(root).c_str());
  }
  void Touch(const std::string& name) {
    HANDLE h = CreateFileW(Wide(root + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << name;
    CloseHandle(h);
  }
};

class Collected : public WalkSink {
 public:
  std::vector<std::string> paths;
  std::string folder;
  bool Folder(const std::string& f) override {
    folder = f;
    return true;
  }
  bool File(const std::string& name) override {
    paths.push_back(folder + name);
    return true;
  }
};

}  // namespace

TEST_F(NamesWinTest, EveryNameIsFoundAndOpensByTheNameFound) {
  std::vector<std::string> listed;
  SystemFileSystem().ListFolder(root, [&](const std::string& name, unsigned attributes) {
    if (!(attributes & kAttrDirectory)) listed.push_back(name);
    return true;
  });
  std::vector<std::string> expected = names;
  std::sort(expected.begin(), expected.end());
  std::sort(listed.begin(), listed.end());
  EXPECT_EQ(listed, expected);
  Collection matching;
  AddMatchingFiles(matching, root, "*.jpg");
  for (const std::string& name : names) {
    EXPECT_TRUE(FileExists(root + name)) << name;
    EXPECT_EQ(std::count_if(matching.Items().begin(), matching.Items().end(),
                            [&](const CollectionItem& i) { return i.item == root + name; }),
              1)
        << name;
  }
  EXPECT_TRUE(DirExists(root + sub));
  EXPECT_NE(SystemFileSystem().FolderIdentity(root + sub), SystemFileSystem().FolderIdentity(root));
  EXPECT_EQ(SystemFileSystem().FolderIdentity(root + sub),
            SystemFileSystem().FolderIdentity(root + sub + "..\\" + sub));
}

TEST_F(NamesWinTest, TheTreeWithoutItsHiddenFolderAndTheTopLevelAlone) {
  Collected tree;
  WalkFolder(SystemFileSystem(), root, "*.jpg;*.png", true, tree);
  EXPECT_EQ(tree.paths.size(), names.size() + 1);
  EXPECT_EQ(tree.paths.back(), root + sub +
                                   "g\xC5\x82\xC4\x99"
                                   "boko.png");  // after the folder's own files
  for (const std::string& p : tree.paths) EXPECT_EQ(p.find("never"), std::string::npos) << p;
  Collected top;
  WalkFolder(SystemFileSystem(), root, "*.jpg;*.png", false, top);
  EXPECT_EQ(top.paths.size(), names.size());
}
