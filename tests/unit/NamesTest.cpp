// Names in any language: UTF-8 inside the program and UTF-16 for Windows,
// entries whose columns count characters, patterns matched on long names,
// and play-list lines in the ANSI code page or UTF-8.
#include <gtest/gtest.h>

#include "Fakes.h"
#include "ShowFakes.h"
#include "common/Utf.h"
#include "common/mFiles.h"
#include "common/mListBox.h"
#include "config/PlayListFile.h"

using namespace tessaly;

namespace {

const std::string kPolish = "\xC5\x81\xC3\xB3\x64\xC5\xBA.jpg";             // Łódź.jpg
const std::string kGreek = "\xCE\x91\xCE\xB8\xCE\xAE\xCE\xBD\xCE\xB1.jpg";  // Αθήνα.jpg
const std::string kJapanese = "\xE6\x9D\xB1\xE4\xBA\xAC.jpg";               // 東京.jpg
const std::string kEmoji = "\xF0\x9F\x8C\x85 sunrise.jpg";                  // 🌅 sunrise.jpg
const std::string kJapaneseFolder = "C:\\\xE5\x86\x99\xE7\x9C\x9F\\";       // C:\写真\ .
const std::string kGruesse =
    "C:\\Bilder\\Gr\xC3\xBC\xC3\x9F"
    "e\\";  // C:\Bilder\Grüße\ .

// A code page of two bytes a character for the characters above U+2FFF (as
// the East Asian ones have), one byte for ASCII, nothing else.
class DoubleByteCodePage : public AnsiCodePage {
 public:
  bool FromUtf8(std::string_view utf8, std::string& ansi) const override {
    ansi.clear();
    for (char16_t unit : Utf16FromUtf8(utf8)) {
      if (unit < 0x80) {
        ansi += static_cast<char>(unit);
      } else if (unit >= 0x3000 && unit < 0xA000) {
        ansi += static_cast<char>(0x81 + ((unit - 0x3000) >> 8));
        ansi += static_cast<char>(0x40 + (unit & 0xFF) % 0xBF);
        if ((unit & 0xFF) >= 0xBF) return false;  // outside this small table
      } else {
        return false;
      }
    }
    return true;
  }
  std::string ToUtf8(std::string_view ansi) const override {
    std::u16string units;
    for (std::size_t i = 0; i < ansi.size(); ++i) {
      const unsigned char b = static_cast<unsigned char>(ansi[i]);
      if (b < 0x80 || i + 1 == ansi.size()) {
        units += b < 0x80 ? b : u'?';
        continue;
      }
      const unsigned char t = static_cast<unsigned char>(ansi[++i]);
      units += static_cast<char16_t>(0x3000 + ((b - 0x81) << 8) + (t - 0x40));
    }
    return Utf8FromUtf16(units);
  }
};

}  // namespace

TEST(Utf, EveryNameGoesToUtf16AndBackUnchanged) {
  for (const std::string& name : {kPolish, kGreek, kJapanese, kEmoji, kGruesse, std::string("plain.jpg")}) {
    EXPECT_EQ(Utf8FromUtf16(Utf16FromUtf8(name)), name);
    EXPECT_TRUE(IsUtf8(name));
  }
  EXPECT_EQ(Utf16FromUtf8(kJapanese), u"\u6771\u4eac.jpg");
  EXPECT_EQ(Utf16FromUtf8(kEmoji).substr(0, 2), std::u16string(u"\U0001F305"));
  EXPECT_EQ(Utf16Length(kEmoji), 14u);  // the emoji is two units, a Windows name counts them so
  // A lone surrogate (NTFS names may hold one) keeps its three-byte form.
  const std::u16string lone{u'a', static_cast<char16_t>(0xD800), u'b'};
  EXPECT_EQ(Utf8FromUtf16(lone),
            "a\xED\xA0\x80"
            "b");
  EXPECT_EQ(Utf16FromUtf8(Utf8FromUtf16(lone)), lone);
  // Bytes that begin no sequence are no UTF-8; each reads as U+FFFD.
  EXPECT_FALSE(
      IsUtf8("Gr\xFC\xDF"
             "e"));
  EXPECT_EQ(Utf16FromUtf8("\xFC"
                          "a\xC3"),
            (std::u16string{0xFFFD, u'a', 0xFFFD}));
  EXPECT_FALSE(IsUtf8("\xC0\xAF"));  // an overlong form
  EXPECT_EQ(Utf16Substr(kJapanese, 1, 2), "\xE4\xBA\xAC.");
}

TEST(Utf, TheWesternCodePageTakesWhatItHoldsAndRefusesTheRest) {
  std::string ansi;
  ASSERT_TRUE(WesternCodePage().FromUtf8(kGruesse, ansi));
  EXPECT_EQ(ansi,
            "C:\\Bilder\\Gr\xFC\xDF"
            "e\\");
  EXPECT_EQ(WesternCodePage().ToUtf8(ansi), kGruesse);
  ASSERT_TRUE(WesternCodePage().FromUtf8("\xE2\x82\xAC 5", ansi));  // the euro sign, 0x80 in 1252
  EXPECT_EQ(ansi, "\x80 5");
  EXPECT_FALSE(WesternCodePage().FromUtf8(kPolish, ansi));
  EXPECT_FALSE(WesternCodePage().FromUtf8(kJapanese, ansi));
}

TEST(Entries, ColumnsCountCharactersWhateverTheirBytes) {
  const std::string entry = MakeFileEntry(kJapanese, kJapaneseFolder);
  EXPECT_EQ(Utf16Length(entry), kEntryLength);
  EXPECT_EQ(Utf16Substr(entry, 0, 6), kJapanese);
  EXPECT_EQ(Utf16Substr(entry, kEntryFolderColumn - 1, 6), kJapaneseFolder);
  EXPECT_EQ(ListEntryPath(entry), kJapaneseFolder + kJapanese);
  EXPECT_EQ(EntryFolderPart(entry), kJapaneseFolder);

  const std::string folder = MakeFolderEntry("C:\\" + kPolish.substr(0, 7) + "\\");
  EXPECT_EQ(Utf16Length(folder), kEntryLength);
  EXPECT_EQ(ListEntryPath(folder), "C:\\" + kPolish.substr(0, 7) + "\\");
  EXPECT_EQ(ListEntryPath(MakeFileEntry(kEmoji, "D:\\")), "D:\\" + kEmoji);
  EXPECT_EQ(ListEntryPath(MakeEntry(kGreek, "E:\\x\\")), "E:\\x\\" + kGreek);
  // A name that runs past column 255 is covered by the folder, as before;
  // the text beyond column 512 is lost.
  const std::string longName(300, 'n');
  const std::u16string cut = Utf16FromUtf8(MakeFileEntry(longName, std::string(300, 'f')));
  EXPECT_EQ(cut.size(), kEntryLength);
  EXPECT_EQ(cut.substr(250, 10), u"nnnnnfffff");
  EXPECT_EQ(EntryFolderPart("short"), "");
}

TEST(Patterns, MatchLongNamesWithoutRegardToCase) {
  EXPECT_TRUE(MatchesPattern("beach.jpg", "*.jpg"));
  EXPECT_TRUE(MatchesPattern("BEACH.JPG", "*.jpg"));
  EXPECT_TRUE(MatchesPattern(kJapanese, "*.JPG"));
  EXPECT_TRUE(MatchesPattern(kEmoji, "*.jpg"));
  EXPECT_FALSE(MatchesPattern("beach.jpeg", "*.jpg"));  // no short name takes it
  EXPECT_FALSE(MatchesPattern("beach.jpg.txt", "*.jpg"));
  EXPECT_TRUE(MatchesPattern("a.jpg.jpg", "*.jpg"));
  EXPECT_TRUE(MatchesPattern("x1.tif", "x?.tif"));
  EXPECT_FALSE(MatchesPattern("x.tif", "x?.tif"));
  EXPECT_TRUE(MatchesPattern("anything", "*"));
  EXPECT_FALSE(MatchesPattern(".jpg", "?*.jpeg"));
}

// ---------------------------------------------------------------------------
// Play-list lines

namespace {
struct Lists {
  FakeListBox pictures, sounds;
};
}  // namespace

TEST(PlayListEncoding, ListsOfTheCurrentVersionInAnsiReadTheSameAndAreWrittenAsBefore) {
  // Written by the program so far: ANSI text, a folder with characters above 127.
  std::string gruesseAnsi;
  ASSERT_TRUE(WesternCodePage().FromUtf8(kGruesse, gruesseAnsi));
  std::string oldEntry(512, ' ');
  oldEntry.replace(0, gruesseAnsi.size(), gruesseAnsi);
  oldEntry.replace(255, gruesseAnsi.size(), gruesseAnsi);
  const std::string oldFile = "P:" + oldEntry + "\r\nS:" + std::string("C:\\S\\Zo\xEB.wav") + "\r\n";
  Lists read;
  AppendPlayListText(oldFile, read.pictures, read.sounds, WesternCodePage());
  ASSERT_EQ(read.pictures.ListCount(), 1);
  EXPECT_EQ(read.pictures.List(0), MakeFolderEntry(kGruesse));
  EXPECT_EQ(ListEntryPath(read.pictures.List(0)), kGruesse);
  EXPECT_EQ(read.sounds.items, std::vector<std::string>{"C:\\S\\Zo\xC3\xAB.wav"});
  // Written back, byte for byte what the current version wrote.
  EXPECT_EQ(PlayListText(read.pictures, read.sounds, WesternCodePage()), oldFile);
}

TEST(PlayListEncoding, NamesOutsideTheCodePageGoInUtf8LinesAndReadBackIdentically) {
  Lists in;
  in.pictures.AddItem(MakeFileEntry(kPolish, "C:\\Pics\\"));
  in.pictures.AddItem(MakeFileEntry("Zo\xC3\xAB.jpg", "C:\\Pics\\"));  // Zoë fits the code page
  in.pictures.AddItem(MakeFileEntry(kGreek, "C:\\Pics\\"));
  in.pictures.AddItem(MakeFolderEntry(kJapaneseFolder));
  in.sounds.AddItem(MakeFileEntry(kEmoji, "C:\\Pics\\"));
  // ANSI bytes that would read as UTF-8 ("Ã©") go as UTF-8 as well.
  in.sounds.AddItem(MakeFileEntry("\xC3\x83\xC2\xA9.wav", "C:\\S\\"));
  MemoryTextFiles files;
  WritePlayListFile(files, "C:\\l.tsl", in.pictures, in.sounds, WesternCodePage());
  const std::string& text = files.files.at("C:\\l.tsl");
  std::vector<std::string> lines;
  for (size_t at = 0; at < text.size();) {
    const size_t end = text.find("\r\n", at);
    lines.push_back(text.substr(at, end - at));
    at = end + 2;
  }
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[0], "P:" + in.pictures.List(0));  // UTF-8
  EXPECT_EQ(lines[1].substr(0, 7), "P:Zo\xEB.j");   // the code page's own byte
  EXPECT_EQ(lines[1].size(), 514u);
  EXPECT_EQ(lines[3], "P:" + in.pictures.List(3));
  EXPECT_EQ(lines[5], "S:" + in.sounds.List(1));
  Lists out;
  ReadPlayListFile(files, "C:\\l.tsl", out.pictures, out.sounds, WesternCodePage());
  EXPECT_EQ(out.pictures.items, in.pictures.items);
  EXPECT_EQ(out.sounds.items, in.sounds.items);
  EXPECT_EQ(ListEntryPath(out.pictures.List(2)), "C:\\Pics\\" + kGreek);
}

TEST(PlayListEncoding, DoubleByteLinesKeepTheFolderAtByte256AsEarlierVersionsCounted) {
  const DoubleByteCodePage dbcs;
  const std::string entry = MakeFileEntry(kJapanese, kJapaneseFolder);
  std::string bytes;
  ASSERT_TRUE(AnsiEntry(entry, dbcs, bytes));
  ASSERT_EQ(bytes.size(), 512u);
  EXPECT_EQ(bytes.substr(0, 8), "\xB8\xB1\x9F\xEC.jpg") << "two bytes each";
  EXPECT_EQ(bytes.substr(8, 247), std::string(247, ' '));
  EXPECT_EQ(bytes.substr(255, 8), "C:\\\xA2\xD9\xC8\x5F\\");
  EXPECT_EQ(EntryOfAnsi(bytes, dbcs), entry);
  Lists in, out;
  in.pictures.AddItem(entry);
  in.pictures.AddItem(MakeFileEntry(kPolish, "C:\\"));  // not in this code page: UTF-8
  AppendPlayListText(PlayListText(in.pictures, in.sounds, dbcs), out.pictures, out.sounds, dbcs);
  EXPECT_EQ(out.pictures.items, in.pictures.items);
}

TEST(PlayListEncoding, AReadThatFailsHalfWayKeepsTheLinesReadWhole) {
  MemoryTextFiles files;
  const std::string text = "P:one\r\nS:two\r\nP:three\r\nP:four\r\n";
  files.files["C:\\l.tsl"] = text;
  files.failAfter["C:\\l.tsl"] = text.find("three") + 2;  // in the middle of the third line
  Lists l;
  l.pictures.AddItem("kept");
  try {
    ReadPlayListFile(files, "C:\\l.tsl", l.pictures, l.sounds, WesternCodePage());
    ADD_FAILURE() << "the failure is raised";
  } catch (const AppError& e) {
    EXPECT_EQ(e.Number(), kErrDeviceIO);
  }
  EXPECT_EQ(l.pictures.items, (std::vector<std::string>{"kept", "one"}));
  EXPECT_EQ(l.sounds.items, std::vector<std::string>{"two"});
  // A failure before the first line end keeps nothing of it.
  files.failAfter["C:\\l.tsl"] = 3;
  Lists none;
  EXPECT_THROW(ReadPlayListFile(files, "C:\\l.tsl", none.pictures, none.sounds, WesternCodePage()), AppError);
  EXPECT_EQ(none.pictures.ListCount() + none.sounds.ListCount(), 0);
  EXPECT_NE(ReplacePartialQuestion("C:\\Lists\\Holiday.tsl").find("[Holiday] could not be read whole"),
            std::string::npos);
}
