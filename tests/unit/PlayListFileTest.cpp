// The play-list file format: writer, reader, and the texts that name a
// play list.
#include <gtest/gtest.h>

#include "common/AppError.h"
#include "Fakes.h"
#include "config/PlayListFile.h"
#include "ShowFakes.h"
#include "common/mListBox.h"

using namespace tessaly;

namespace {

struct Lists {
  FakeListBox pictures, sounds;
  void Read(const std::string& text) { AppendPlayListText(text, pictures, sounds, WesternCodePage()); }
};

}  // namespace

TEST(PlayListWriter, TwoPicturesAndOneSoundGiveThreeFullLengthLines) {
  Lists in;
  in.pictures.AddItem(MakeFileEntry("beach.jpg", "C:\\Photos\\"));
  in.pictures.AddItem(MakeFolderEntry("D:\\Holiday\\"));
  in.sounds.AddItem(MakeFileEntry("waves.wav", "C:\\Sounds\\"));
  MemoryTextFiles files;
  WritePlayListFile(files, "C:\\Lists\\Holiday.tsl", in.pictures, in.sounds, WesternCodePage());

  const std::string& text = files.files.at("C:\\Lists\\Holiday.tsl");
  ASSERT_EQ(text.size(), 3u * (514 + 2));
  EXPECT_EQ(text, "P:" + in.pictures.List(0) + "\r\n" + "P:" + in.pictures.List(1) + "\r\n" + "S:" + in.sounds.List(0) +
                      "\r\n");

  Lists out;
  ReadPlayListFile(files, "C:\\Lists\\Holiday.tsl", out.pictures, out.sounds, WesternCodePage());
  EXPECT_EQ(out.pictures.items, in.pictures.items);
  EXPECT_EQ(out.sounds.items, in.sounds.items);
}

TEST(PlayListWriter, TwoEmptyListsGiveAnEmptyFile) {
  Lists empty;
  EXPECT_EQ(PlayListText(empty.pictures, empty.sounds, WesternCodePage()), "");
  MemoryTextFiles files;
  files.files["a.tsl"] = "old";
  WritePlayListFile(files, "a.tsl", empty.pictures, empty.sounds, WesternCodePage());
  EXPECT_EQ(files.files.at("a.tsl"), "");
  ReadPlayListFile(files, "a.tsl", empty.pictures, empty.sounds, WesternCodePage());
  EXPECT_EQ(empty.pictures.ListCount() + empty.sounds.ListCount(), 0);
}

TEST(PlayListReader, OnlyACapitalPSendsALineToThePictures) {
  Lists l;
  l.Read("P:a\r\nS:b\r\np:c\r\nX:d\r\n\r\nP\r\nPxe\r\n:f\r\n");
  EXPECT_EQ(l.pictures.items, (std::vector<std::string>{"a", "", "e"}));
  EXPECT_EQ(l.sounds.items, (std::vector<std::string>{"b", "c", "d", "", ""}));
}

TEST(PlayListReader, LinesEndAtCrLfOrALoneCr) {
  Lists l;
  // A lone LF is part of its line; the text after the last line end is a
  // line of its own.
  l.Read("P:a\rP:b\r\r\nS:c\nd\r\n\nS:e\r\nS:f");
  EXPECT_EQ(l.pictures.items, (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(l.sounds.items, (std::vector<std::string>{"", "c\nd", ":e", "f"}));

  Lists endsInCr;
  endsInCr.Read("S:g\r");
  EXPECT_EQ(endsInCr.sounds.items, std::vector<std::string>{"g"});
}

TEST(PlayListReader, EntriesOfAnyLengthAreKeptWhole) {
  Lists l;
  l.Read("P:C:\\Pictures\\beach.jpg\r\nP:" + std::string(1000, 'x') + "\r\n");
  ASSERT_EQ(l.pictures.ListCount(), 2);
  EXPECT_EQ(l.pictures.List(0), "C:\\Pictures\\beach.jpg");
  EXPECT_EQ(ListEntryPath(l.pictures.List(0)), "C:\\Pictures\\beach.jpg");
  EXPECT_EQ(l.pictures.List(1), std::string(1000, 'x'));
}

TEST(PlayListReader, ReadingAppendsSoTheSameListTwiceDoublesEveryEntry) {
  MemoryTextFiles files;
  files.files["l.tsl"] = "P:one\r\nS:two\r\nP:three\r\n";
  Lists l;
  l.pictures.AddItem("kept");
  ReadPlayListFile(files, "l.tsl", l.pictures, l.sounds, WesternCodePage());
  ReadPlayListFile(files, "l.tsl", l.pictures, l.sounds, WesternCodePage());
  EXPECT_EQ(l.pictures.items, (std::vector<std::string>{"kept", "one", "three", "one", "three"}));
  EXPECT_EQ(l.sounds.items, (std::vector<std::string>{"two", "two"}));
}

TEST(PlayListReader, AFileThatCannotBeReadAddsNothing) {
  MemoryTextFiles files;
  Lists l;
  l.sounds.AddItem("kept");
  try {
    ReadPlayListFile(files, "C:\\gone.tsl", l.pictures, l.sounds, WesternCodePage());
    ADD_FAILURE();
  } catch (const AppError& e) {
    EXPECT_EQ(e.Number(), kErrFileNotFound);
    EXPECT_EQ(PlayListErrorText("Read", e), "Unable to Read Play List File.  File not found");
  }
  EXPECT_EQ(l.pictures.ListCount(), 0);
  EXPECT_EQ(l.sounds.items, std::vector<std::string>{"kept"});
}

TEST(PlayListNames, SavePromptAndFrameCaptionNameTheBaseName) {
  EXPECT_EQ(SaveChangesQuestion(""), "Your Play List has been changed.  Do you want to save your changes?");
  EXPECT_EQ(SaveChangesQuestion("C:\\Lists\\Holiday.tsl"),
            "Your Play List [Holiday] has been changed.  Do you want to save your changes?");
  EXPECT_EQ(SaveChangesQuestion("D:\\my.summer.tsl"),
            "Your Play List [my.summer] has been changed.  Do you want to save your changes?");
  EXPECT_EQ(PlayListFrameCaption(""), "Play List");
  EXPECT_EQ(PlayListFrameCaption("C:\\Lists\\Holiday.tsl"), "Play List - [Holiday]");
  EXPECT_EQ(PlayListFrameCaption("C:\\Lists\\Holiday"), "Play List - [Holiday]");
  EXPECT_STREQ(kPlayListPattern, "*.tsl");
}
