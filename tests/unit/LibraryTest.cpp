// The whole picture library: folder trees walked once each in a fixed
// order, a list that is shown while it grows, random order over it, and the
// walks the configuration window's preview keeps.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <map>
#include <set>

#include "Fakes.h"
#include "ShowFakes.h"
#include "common/CRegSettings.h"
#include "common/FolderWalk.h"
#include "common/MemoryRegistry.h"
#include "common/mListBox.h"
#include "show/PlayList.h"
#include "show/mSlideShow.h"

using namespace tessaly;

namespace {

const char kPictures[] = "*.bmp;*.gif;*.jpg;*.jpeg;*.wmf;*.emf;*.png;*.tif;*.tiff";

// What a walk gave, as full paths.
class Paths : public WalkSink {
 public:
  std::vector<std::string> paths;
  std::string folder;
  long stopAfter = -1;
  bool Folder(const std::string& f) override {
    folder = f;
    return true;
  }
  bool File(const std::string& name) override {
    paths.push_back(folder + name);
    return stopAfter < 0 || static_cast<long>(paths.size()) < stopAfter;
  }
};

// A library in memory: C:\Lib\ with pictures at three depths, a hidden and
// a system folder, a hidden picture, a link back to the top (a loop) and a
// second link to a folder walked already.
struct Library {
  FakeFileSystem fs;
  Library() {
    auto dir = [this](const std::string& p, bool hidden = false, bool system = false) {
      fs.entries[p] = {true, hidden, system};
    };
    auto file = [this](const std::string& p, bool hidden = false) { fs.entries[p] = {false, hidden}; };
    dir("C:\\Lib\\");
    file("C:\\Lib\\top.jpg");
    file("C:\\Lib\\first.bmp");
    file("C:\\Lib\\notes.txt");
    file("C:\\Lib\\secret.jpg", true);
    dir("C:\\Lib\\2019\\");
    file("C:\\Lib\\2019\\a.jpg");
    dir("C:\\Lib\\2019\\Party\\");
    file("C:\\Lib\\2019\\Party\\deep.png");
    file("C:\\Lib\\2019\\Party\\deeper.gif");
    dir("C:\\Lib\\2019\\Party\\loop\\");
    fs.links["C:\\Lib\\2019\\Party\\loop\\"] = "C:\\Lib\\";
    dir("C:\\Lib\\2020\\");
    file("C:\\Lib\\2020\\b.tiff");
    dir("C:\\Lib\\2020\\again\\");
    fs.links["C:\\Lib\\2020\\again\\"] = "C:\\Lib\\2019\\";
    dir("C:\\Lib\\Hidden\\", true);
    file("C:\\Lib\\Hidden\\never.jpg");
    dir("C:\\Lib\\System\\", false, true);
    file("C:\\Lib\\System\\never.jpg");
    dir("C:\\Lib\\x.jpg\\");  // a folder that looks like a picture
  }
};

}  // namespace

TEST(FolderWalk, TheWholeTreeEachPictureOnceFolderByFolderAndNoLoop) {
  Library lib;
  Paths got;
  WalkFolder(lib.fs, "C:\\Lib\\", kPictures, true, got);
  EXPECT_EQ(got.paths, (std::vector<std::string>{
                           "C:\\Lib\\first.bmp",  // pattern by pattern: the bitmap first
                           "C:\\Lib\\top.jpg",
                           "C:\\Lib\\2019\\a.jpg",
                           "C:\\Lib\\2019\\Party\\deeper.gif",
                           "C:\\Lib\\2019\\Party\\deep.png",
                           "C:\\Lib\\2020\\b.tiff",
                       }));
  // Each folder was read once; the links led to folders walked already.
  std::multiset<std::string> read(lib.fs.listings.begin(), lib.fs.listings.end());
  EXPECT_EQ(read.count("C:\\Lib\\"), 1u);
  EXPECT_EQ(read.count("C:\\Lib\\2019\\Party\\loop\\"), 0u);
  EXPECT_EQ(read.count("C:\\Lib\\2020\\again\\"), 0u);
  EXPECT_EQ(read.count("C:\\Lib\\Hidden\\"), 0u);
  EXPECT_EQ(read.count("C:\\Lib\\System\\"), 0u);
}

TEST(FolderWalk, WithoutSubfoldersTheTopLevelOnly) {
  Library lib;
  Paths got;
  WalkFolder(lib.fs, "C:\\Lib\\", kPictures, false, got);
  EXPECT_EQ(got.paths, (std::vector<std::string>{"C:\\Lib\\first.bmp", "C:\\Lib\\top.jpg"}));
  EXPECT_EQ(lib.fs.listings, std::vector<std::string>{"C:\\Lib\\"});
}

TEST(FolderWalk, ALinkToANewFolderIsFollowedOnceAndUnreadableFoldersGiveWhatTheyGave) {
  Library lib;
  lib.fs.entries["C:\\Elsewhere\\"] = {true, false};
  lib.fs.entries["C:\\Elsewhere\\far.jpg"] = {false, false};
  lib.fs.entries["C:\\Lib\\2020\\away\\"] = {true, false};
  lib.fs.links["C:\\Lib\\2020\\away\\"] = "C:\\Elsewhere\\";
  lib.fs.entries["C:\\Lib\\2020\\c.jpg"] = {false, false};
  lib.fs.listFailsAfter = "C:\\Lib\\2020\\";  // fails after its first entry
  Paths got;
  WalkFolder(lib.fs, "C:\\Lib\\", kPictures, true, got);
  const std::vector<std::string>& p = got.paths;
  EXPECT_EQ(std::count(p.begin(), p.end(), "C:\\Lib\\2020\\b.tiff"), 0);  // listed after the failure
  EXPECT_EQ(std::count(p.begin(), p.end(), "C:\\Lib\\2019\\a.jpg"), 1);
  // The folder that failed is done with; the walk went on after it.
  Library other;
  other.fs.entries["C:\\Lib\\2021\\"] = {true, false};
  other.fs.entries["C:\\Lib\\2021\\z.jpg"] = {false, false};
  other.fs.listFailsAfter = "C:\\Lib\\2020\\";
  Paths more;
  WalkFolder(other.fs, "C:\\Lib\\", kPictures, true, more);
  EXPECT_EQ(more.paths.back(), "C:\\Lib\\2021\\z.jpg");
  // A link to a folder not walked yet is followed.
  Library linked;
  linked.fs.entries["C:\\Elsewhere\\"] = {true, false};
  linked.fs.entries["C:\\Elsewhere\\far.jpg"] = {false, false};
  linked.fs.entries["C:\\Lib\\2020\\away\\"] = {true, false};
  linked.fs.links["C:\\Lib\\2020\\away\\"] = "C:\\Elsewhere\\";
  Paths far;
  WalkFolder(linked.fs, "C:\\Lib\\", kPictures, true, far);
  EXPECT_EQ(std::count(far.paths.begin(), far.paths.end(), "C:\\Lib\\2020\\away\\far.jpg"), 1);
}

TEST(FolderWalk, EndsWhenTheSinkOrTheStopFlagSaysSo) {
  Library lib;
  Paths two;
  two.stopAfter = 2;
  WalkFolder(lib.fs, "C:\\Lib\\", kPictures, true, two);
  EXPECT_EQ(two.paths.size(), 2u);
  std::atomic<bool> stop{true};
  Paths none;
  WalkFolder(lib.fs, "C:\\Lib\\", kPictures, true, none, &stop);
  EXPECT_TRUE(none.paths.empty());
  // A pattern list that starts empty walks nothing.
  Paths empty;
  WalkFolder(lib.fs, "C:\\Lib\\", ";*.jpg", true, empty);
  EXPECT_TRUE(empty.paths.empty());
}

// ---------------------------------------------------------------------------
// The list that grows

TEST(PathList, HoldsEveryPathAndLittleMorePerPicture) {
  PathList list;
  std::size_t pathBytes = 0;
  std::vector<std::string> some;
  for (int folder = 0; folder < 1000; ++folder) {
    const std::string f =
        "D:\\Photos\\" + std::to_string(2000 + folder % 25) + "\\Event " + std::to_string(folder) + "\\";
    list.AddFolder(f);
    for (int i = 0; i < 100; ++i) {
      const std::string name = "IMG_" + std::to_string(folder * 100 + i) + ".jpg";
      list.AddName(name);
      pathBytes += f.size() + name.size();
      if (i == 7) some.push_back(f + name);
    }
  }
  list.Finish();
  ASSERT_EQ(list.Count(), 100000);
  EXPECT_TRUE(list.Complete());
  EXPECT_EQ(list.Item(8), some[0]);
  EXPECT_EQ(list.Item(99908), some[999]);
  EXPECT_THROW(list.Item(100001), AppError);
  EXPECT_THROW(list.Item(0), AppError);
  // Beyond the paths themselves, at most 200 bytes a picture; here the
  // folders are held once, so the list holds less than its paths.
  const double perPicture = (static_cast<double>(list.BytesHeld()) - static_cast<double>(pathBytes)) / 100000;
  EXPECT_LE(perPicture, 200.0);
  EXPECT_LT(list.BytesHeld(), pathBytes);
  // A whole path of a file entry, a name longer than the table's field.
  PathList files;
  files.AddPath("C:\\a\\b.jpg");
  files.AddPath("nofolder.jpg");
  const std::string longPath = "E:\\" + std::string(1500, 'x');
  files.AddPath(longPath);
  EXPECT_EQ(files.Item(1), "C:\\a\\b.jpg");
  EXPECT_EQ(files.Item(2), "nofolder.jpg");
  EXPECT_EQ(files.Item(3), longPath);
}

TEST(PlayList, PicturesAreKnownUpToTheFirstEntryStillBeingWalkedAndNeverMove) {
  auto walking = std::make_shared<PathList>();
  auto later = std::make_shared<PathList>();
  PlayList list;
  list.Add("C:\\one.jpg");
  list.AddList(walking);
  list.AddList(later);
  list.Add("C:\\last.jpg");
  later->AddPath("C:\\L\\x.jpg");
  later->Finish();
  EXPECT_EQ(list.Count(), 1);
  EXPECT_FALSE(list.Complete());
  walking->AddPath("C:\\W\\a.jpg");
  EXPECT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Item(2), "C:\\W\\a.jpg");
  EXPECT_THROW(list.Item(3), AppError);  // the later entries wait for the walk
  walking->AddName("b.jpg");
  walking->Finish();
  EXPECT_TRUE(list.Complete());
  EXPECT_EQ(list.Count(), 5);
  std::vector<std::string> all;
  for (long i = 1; i <= list.Count(); ++i) all.push_back(list.Item(i));
  EXPECT_EQ(all,
            (std::vector<std::string>{"C:\\one.jpg", "C:\\W\\a.jpg", "C:\\W\\b.jpg", "C:\\L\\x.jpg", "C:\\last.jpg"}));
}

TEST(RandomOrder, AGrowingListRepeatsNoPictureBeforeAllHaveBeenShown) {
  CyclingRandom random;
  random.values = {0.0, 0.99, 0.5, 0.3, 0.77, 0.12, 0.61};
  RandomOrder order;
  order.Reset();
  long count = 3;
  std::set<long> shown;
  std::vector<long> sequence;
  // The list grows from 3 to 40 pictures while the show draws from it.
  while (true) {
    const long next = order.Next(count, count == 40, random);
    if (next == 0) {
      ASSERT_LT(count, 40) << "waits only while the list is incomplete";
      count = std::min<long>(40, count + 7);
      continue;
    }
    ASSERT_GE(next, 1);
    ASSERT_LE(next, count);
    ASSERT_TRUE(shown.insert(next).second) << "picture " << next << " again before the round ended";
    sequence.push_back(next);
    if (shown.size() == 40) break;
  }
  // A complete list begins a new round: each picture once more.
  std::set<long> second;
  for (int i = 0; i < 40; ++i) ASSERT_TRUE(second.insert(order.Next(40, true, random)).second);
  EXPECT_EQ(second.size(), 40u);
  std::vector<long> sorted = sequence;
  std::sort(sorted.begin(), sorted.end());
  EXPECT_NE(sequence, sorted);  // a random order, not the list's
  EXPECT_EQ(order.Next(0, true, random), 0);
}

TEST(RandomOrder, FirstAndLastOfThoseLeftAreHalfAsLikely) {
  // r × (left − 1) rounded half to even, as the shuffle of the sounds draws.
  CyclingRandom random;
  random.values = {0.2, 0.2};  // 0.2 × 4 = 0.8 -> 1; then 0.2 × 3 = 0.6 -> 1
  RandomOrder order;
  EXPECT_EQ(order.Next(5, true, random), 2);
  EXPECT_EQ(order.Next(5, true, random), 3);
}

// ---------------------------------------------------------------------------
// The builder and the preview

TEST(PlayListBuilder, KeptWalksAreNotWalkedAgainAfterListCommands) {
  Library lib;
  lib.fs.entries["D:\\More\\"] = {true, false};
  lib.fs.entries["D:\\More\\m.jpg"] = {false, false};
  PlayListBuilder builder(lib.fs, false);
  PlayList list = builder.Build({"C:\\Lib\\", "C:\\x.jpg"}, kPictures, true, true);
  EXPECT_EQ(list.Count(), 7);
  EXPECT_EQ(builder.WalksStarted(), 1);
  const std::size_t reads = lib.fs.listings.size();
  // A file added, moved up, removed: the folder is not walked again.
  list = builder.Build({"C:\\y.jpg", "C:\\Lib\\", "C:\\x.jpg"}, kPictures, true, true);
  list = builder.Build({"C:\\Lib\\", "C:\\y.jpg"}, kPictures, true, true);
  EXPECT_EQ(builder.WalksStarted(), 1);
  EXPECT_EQ(lib.fs.listings.size(), reads);
  EXPECT_EQ(list.Count(), 7);
  EXPECT_EQ(list.Item(7), "C:\\y.jpg");
  // A folder added: that one alone is walked.
  list = builder.Build({"C:\\Lib\\", "D:\\More\\", "C:\\Lib\\"}, kPictures, true, true);
  EXPECT_EQ(builder.WalksStarted(), 2);
  EXPECT_EQ(list.Count(), 13);
  // Another option for subfolders is another walk; without keeping, every
  // build walks.
  builder.Build({"C:\\Lib\\"}, kPictures, false, true);
  EXPECT_EQ(builder.WalksStarted(), 3);
  builder.Build({"C:\\Lib\\"}, kPictures, true, false);
  builder.Build({"C:\\Lib\\"}, kPictures, true, false);
  EXPECT_EQ(builder.WalksStarted(), 5);
}

TEST(PlayListBuilder, WalksOnAThreadOfItsOwnWhileTheListIsRead) {
  FakeFileSystem fs;
  fs.entries["C:\\Big\\"] = {true, false};
  for (int f = 0; f < 20; ++f) {
    const std::string folder = "C:\\Big\\" + std::to_string(f) + "\\";
    fs.entries[folder] = {true, false};
    for (int i = 0; i < 200; ++i) fs.entries[folder + std::to_string(i) + ".jpg"] = {false, false};
  }
  PlayListBuilder builder(fs, true);
  PlayList list = builder.Build({"C:\\first.jpg", "C:\\Big\\", "C:\\after.jpg"}, kPictures, true, true);
  long seen = 0;
  while (!list.Complete()) {  // reading while the walk fills the list
    const long count = list.Count();
    EXPECT_GE(count, seen);
    seen = count;
    if (count > 0) {
      EXPECT_EQ(list.Item(1), "C:\\first.jpg");
    }
  }
  builder.WaitIdle();
  EXPECT_EQ(list.Count(), 4002);
  EXPECT_EQ(list.Item(4002), "C:\\after.jpg");
}

namespace {

struct EngineTest : ::testing::Test {
  MemoryRegistry registry;
  CRegSettings settings{registry, "Quillmark Inc.", "Tessaly Customizable Screen Saver"};
  FakePlatform platform;
  Library lib;
  SlideShow show{settings, platform, lib.fs, Mode::Show};
  FakeHost host{300, 200};

  void SetUp() override { settings.SaveSetting("Options", "SwapAffect", "None"); }
  void Tick() { show.NextSlide(host.target, host.work); }
  std::string Shown() { return PathOf(host.target.picture); }
  std::string Last() { return settings.GetSetting("Options", "LastPicture", "-"); }
};

}  // namespace

TEST_F(EngineTest, TheShowWaitsForPicturesNotFoundYetAndChangesNothingMeanwhile) {
  auto walking = std::make_shared<PathList>();
  show.PicList.AddList(walking);
  for (const char* p : {"C:\\W\\a.jpg", "C:\\W\\b.jpg", "C:\\W\\c.jpg"}) platform.pictures[p] = {1500, 1200};
  host.timer.interval = 9999;
  Tick();  // nothing found yet
  EXPECT_EQ(host.timer.interval, SlideShow::kWaitForListMs);
  EXPECT_EQ(Last(), "-");
  EXPECT_EQ(host.surface.ops.size(), 0u);  // the surface is not cleared while the walk goes on
  walking->AddPath("C:\\W\\a.jpg");
  Tick();
  EXPECT_EQ(Shown(), "C:\\W\\a.jpg");
  EXPECT_EQ(Last(), "1");
  EXPECT_EQ(host.timer.interval, 5000);
  Tick();  // position 2 is not found yet: the show waits instead of starting over
  EXPECT_EQ(Shown(), "C:\\W\\a.jpg");
  EXPECT_EQ(Last(), "1");
  EXPECT_EQ(host.timer.interval, SlideShow::kWaitForListMs);
  walking->AddName("b.jpg");
  Tick();
  EXPECT_EQ(Shown(), "C:\\W\\b.jpg");
  walking->AddName("c.jpg");
  walking->Finish();
  Tick();
  Tick();  // the complete list wraps around
  EXPECT_EQ(Shown(), "C:\\W\\a.jpg");
  EXPECT_EQ(Last(), "1");
}

TEST_F(EngineTest, RandomOrderDrawsFromTheListAsItGrows) {
  settings.SaveSetting("Options", "PicRandom", "1");
  show.StartSlideShow(host.target, 1, host);  // an empty stored list
  auto walking = std::make_shared<PathList>();
  show.PicList = PlayList();
  show.PicList.AddList(walking);
  walking->AddFolder("C:\\R\\");
  for (int i = 1; i <= 4; ++i) {
    walking->AddName(std::to_string(i) + ".jpg");
    platform.pictures["C:\\R\\" + std::to_string(i) + ".jpg"] = {1500, 1200};
  }
  platform.random.values = {0.9, 0.1, 0.6};
  std::set<std::string> seen;
  for (int i = 0; i < 4; ++i) {
    Tick();
    EXPECT_TRUE(seen.insert(Shown()).second) << Shown();
  }
  Tick();  // every picture found has been shown: wait for more
  EXPECT_EQ(host.timer.interval, SlideShow::kWaitForListMs);
  walking->AddName("5.jpg");
  platform.pictures["C:\\R\\5.jpg"] = {1500, 1200};
  Tick();
  EXPECT_EQ(Shown(), "C:\\R\\5.jpg");
  EXPECT_EQ(Last(), "5");
}

TEST_F(EngineTest, SubfoldersOptionDecidesWhatAStoredFolderEntryStandsFor) {
  settings.SaveSetting("PictureFiles", "File0", MakeFolderEntry("C:\\Lib\\"));
  show.StartSlideShow(host.target, 1, host);
  EXPECT_EQ(show.PicList.Count(), 2);  // off: as every list stored before
  settings.SaveSetting("Options", "Subfolders", "1");
  show.StartSlideShow(host.target, 1, host);
  EXPECT_EQ(show.PicList.Count(), 6);
  EXPECT_EQ(show.PicList.Item(6), "C:\\Lib\\2020\\b.tiff");
}

TEST_F(EngineTest, ThePreviewDoesNotWalkTheLibraryAgainAfterListCommands) {
  SlideShow preview{settings, platform, lib.fs, Mode::Configure};
  FakeHost dialog(300, 200, true);
  settings.SaveSetting("Options", "Subfolders", "1");
  dialog.lists[0].AddItem(MakeFolderEntry("C:\\Lib\\"));
  preview.StartSlideShow(dialog.target, 0, dialog);
  const std::size_t reads = lib.fs.listings.size();
  dialog.lists[0].AddItem(MakeFileEntry("extra.jpg", "C:\\"));
  preview.StartSlideShow(dialog.target, 0, dialog);
  dialog.lists[0].RemoveItem(1);
  preview.StartSlideShow(dialog.target, 0, dialog);
  EXPECT_EQ(lib.fs.listings.size(), reads);
  EXPECT_EQ(preview.PictureBuilder().WalksStarted(), 1);
  EXPECT_EQ(preview.PicList.Count(), 6);
  // The full-screen show reads its stored list fresh each start.
  settings.SaveSetting("PictureFiles", "File0", MakeFolderEntry("C:\\Lib\\"));
  show.StartSlideShow(host.target, 1, host);
  show.StartSlideShow(host.target, 1, host);
  EXPECT_EQ(show.PictureBuilder().WalksStarted(), 2);
}
