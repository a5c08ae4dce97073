#include <gtest/gtest.h>

#include <map>

#include "common/AppError.h"
#include "common/mCollection.h"
#include "common/mFiles.h"
#include "common/mString.h"
#include "Fakes.h"

using namespace tessaly;

namespace {

// Random numbers from a script, recording seeding.

std::vector<std::string> ItemsOf(const Collection& c) {
  std::vector<std::string> v;
  for (const auto& i : c.Items()) v.push_back(i.item);
  return v;
}

}  // namespace

TEST(NextToken, CutsAtTheFirstSeparator) {
  std::string t = "a;b";
  EXPECT_EQ(NextToken(t, ';'), "a");
  EXPECT_EQ(t, "b");
  t = ";b";
  EXPECT_EQ(NextToken(t, ';'), "");
  EXPECT_EQ(t, "b");
  t = "ab";
  EXPECT_EQ(NextToken(t, ';'), "ab");
  EXPECT_EQ(t, "");
  t = std::string("C:\\x\0rest", 9);
  EXPECT_EQ(NextToken(t, '\0'), "C:\\x");
  EXPECT_EQ(t, "rest");
}

TEST(SplitPath, GivesDriveFolderBaseAndExtension) {
  const std::string p = "C:\\Pics\\my.photo.jpg";
  EXPECT_EQ(SplitPath(p, 0), "C:");
  EXPECT_EQ(SplitPath(p, 1), "\\Pics\\");
  EXPECT_EQ(SplitPath(p, 2), "my.photo");
  EXPECT_EQ(SplitPath(p, 3), ".jpg");
  EXPECT_EQ(SplitPath("name", 2), "name");
  EXPECT_EQ(SplitPath("name", 3), "");
  EXPECT_EQ(SplitPath("C:name.txt", 0), "C:");
  EXPECT_EQ(SplitPath("C:name.txt", 1), "");
  EXPECT_EQ(SplitPath("C:name.txt", 2), "name");
  EXPECT_EQ(SplitPath("C:name.txt", 3), ".txt");
  // A trailing dot is cut off and gives no extension; the next dot does.
  EXPECT_EQ(SplitPath("a.b.", 2), "a");
  EXPECT_EQ(SplitPath("a.b.", 3), ".b");
  // A trailing backslash is passed over.
  EXPECT_EQ(SplitPath("C:\\Pics\\Sub\\", 1), "\\Pics\\");
  EXPECT_EQ(SplitPath("C:\\Pics\\Sub\\", 2), "Sub\\");
  // Dots in folder names are not extensions.
  EXPECT_EQ(SplitPath("C:\\a.dir\\file", 3), "");
  EXPECT_EQ(SplitPath("C:\\a.dir\\file", 2), "file");
}

TEST(SplitPath, RaisesErrorOneForABadPart) {
  for (int bad : {-1, 4}) {
    try {
      SplitPath("C:\\x", bad);
      FAIL() << "no error for part " << bad;
    } catch (const AppError& err) {
      EXPECT_EQ(err.Number(), 1);
    }
  }
}

TEST(FileChecks, TellFilesFromFoldersAndPassSearchErrorsOn) {
  FakeFileSystem fs;
  fs.entries["C:\\Pics\\"] = {true, false};
  fs.entries["C:\\Pics\\a.jpg"] = {false, false};
  fs.entries["C:\\Pics\\h.jpg"] = {false, true};
  EXPECT_TRUE(FileExists("C:\\Pics\\a.jpg", fs));
  EXPECT_FALSE(FileExists("C:\\Pics\\h.jpg", fs));  // hidden files do not count
  EXPECT_FALSE(FileExists("C:\\Pics", fs));         // folders do not match
  EXPECT_TRUE(DirExists("C:\\Pics\\", fs));
  EXPECT_FALSE(DirExists("C:\\Gone\\", fs));

  bool isFile = false, exists = false;
  CheckPath("C:\\Pics\\", isFile, exists, fs);
  EXPECT_FALSE(isFile);
  EXPECT_TRUE(exists);
  CheckPath("C:\\Pics\\b.jpg", isFile, exists, fs);
  EXPECT_TRUE(isFile);
  EXPECT_FALSE(exists);

  fs.failOn = "A:\\x.jpg";
  EXPECT_THROW(FileExists("A:\\x.jpg", fs), AppError);
  fs.failOn = "A:\\";
  EXPECT_FALSE(DirExists("A:\\", fs));
}

TEST(AddMatchingFiles, TakesPatternsInOrderAndStopsAtAnEmptyOne) {
  FakeFileSystem fs;
  fs.entries["C:\\P\\z.bmp"] = {false, false};
  fs.entries["C:\\P\\a.gif"] = {false, false};
  fs.entries["C:\\P\\m.jpg"] = {false, false};
  fs.entries["C:\\P\\sub\\"] = {true, false};
  fs.entries["C:\\P\\sub\\deep.bmp"] = {false, false};
  Collection files;
  AddMatchingFiles(files, "C:\\P\\", "*.bmp;*.gif;*.jpg", fs);
  EXPECT_EQ(ItemsOf(files), (std::vector<std::string>{"C:\\P\\z.bmp", "C:\\P\\a.gif", "C:\\P\\m.jpg"}));

  Collection stopped;
  AddMatchingFiles(stopped, "C:\\P\\", "*.gif;;*.jpg", fs);
  EXPECT_EQ(ItemsOf(stopped), (std::vector<std::string>{"C:\\P\\a.gif"}));

  Collection partial;
  fs.failOn = "C:\\P\\*.gif";
  AddMatchingFiles(partial, "C:\\P\\", "*.bmp;*.gif;*.jpg", fs);
  EXPECT_EQ(ItemsOf(partial), (std::vector<std::string>{"C:\\P\\z.bmp"}));
}

TEST(LongPathName, RebuildsThePathNameByName) {
  FakeFileSystem fs;
  fs.longNames["C:\\PROGRA~1\\MYPICS~1"] = "My Pictures";
  fs.longNames["C:\\PROGRA~1"] = "Program Files";
  EXPECT_EQ(LongPathName("C:\\PROGRA~1\\MYPICS~1\\", fs), "C:\\Program Files\\My Pictures\\");
  EXPECT_EQ(LongPathName("C:\\PROGRA~1\\MYPICS~1", fs), "C:\\Program Files\\My Pictures");
  EXPECT_EQ(LongPathName("", fs), "");
  // Nothing found for the whole path: the path comes back unchanged.
  EXPECT_EQ(LongPathName("C:\\Nowhere\\x\\", fs), "C:\\Nowhere\\x\\");
  // A drive alone is its own long form.
  EXPECT_EQ(LongPathName("C:\\", fs), "C:\\");
  // The first search failing gives the empty text (with the backslash kept).
  fs.failOn = "C:\\PROGRA~1\\MYPICS~1";
  EXPECT_EQ(LongPathName("C:\\PROGRA~1\\MYPICS~1\\", fs), "\\");
  // A later failing search leaves its component out.
  fs.failOn = "C:\\PROGRA~1";
  EXPECT_EQ(LongPathName("C:\\PROGRA~1\\MYPICS~1", fs), "C:\\My Pictures");
}

TEST(ShortPathName, IsEmptyWhenThereIsNoneOrItDoesNotFit) {
  FakeFileSystem fs;
  EXPECT_EQ(ShortPathName("C:\\x\\Tessaly.SCR", fs), "SHORT~1\\Tessaly.SCR");
  EXPECT_EQ(ShortPathName("C:\\a-very-long-folder-name-that-overflows\\x.scr", fs), "");
}

TEST(ShuffleCollection, DrawsWithTheRoundedIndexRule) {
  Collection c;
  for (const char* s : {"a", "b", "c", "d"}) c.Add(s, "key");
  // count 4: r=0.5 -> k=round(2.5)=2 (even) -> b; count 3: r=0.75 -> k=round(2.5)=2 -> c;
  // count 2: r=0.49 -> k=round(1.49)=1 -> a; count 1: any r -> k=1 -> d.
  ScriptedRandom random({0.5, 0.75, 0.49, 0.99});
  ShuffleCollection(c, random);
  EXPECT_EQ(ItemsOf(c), (std::vector<std::string>{"b", "c", "a", "d"}));
  EXPECT_EQ(c.Key(1), "");  // keys are not carried over
  EXPECT_EQ(random.seeds, 1);

  Collection one;
  one.Add("only");
  ScriptedRandom r1({0.9});
  ShuffleCollection(one, r1);
  EXPECT_EQ(ItemsOf(one), (std::vector<std::string>{"only"}));

  Collection none;
  ScriptedRandom r0({});
  ShuffleCollection(none, r0);
  EXPECT_TRUE(none.Empty());
}

TEST(ShuffleCollection, EndsAreHalfAsLikelyAsTheMiddle) {
  // The first draw from three items: k = round(2r + 1); r < 0.25 gives 1,
  // 0.25..0.75 gives 2, above gives 3.
  int firstPick[4] = {};
  for (int i = 0; i < 400; ++i) {
    Collection c;
    for (const char* s : {"1", "2", "3"}) c.Add(s);
    double r = (i + 0.5) / 400.0;
    ScriptedRandom random({r, 0.0, 0.0});
    ShuffleCollection(c, random);
    ++firstPick[std::stoi(c.Item(1))];
  }
  EXPECT_EQ(firstPick[1], 100);
  EXPECT_EQ(firstPick[2], 200);
  EXPECT_EQ(firstPick[3], 100);
}

TEST(Collection, RaisesForPositionsOutsideTheList) {
  Collection c;
  c.Add("x");
  EXPECT_EQ(c.Item(1), "x");
  EXPECT_THROW(c.Item(0), AppError);
  EXPECT_THROW(c.Item(2), AppError);
}
