// Play-list files on the real file system: a write replaces the old file
// only when the new one is complete, and a refused write leaves it alone.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <vector>

#include "common/AppError.h"
#include "config/PlayListFile.h"
#include "common/WideText_win.h"
#include "common/mListBox.h"

using namespace tessaly;

namespace {

class VectorList : public ListBox {
 public:
  std::vector<std::string> items;
  int ListCount() const override { return static_cast<int>(items.size()); }
  std::string List(int i) const override { return items.at(i); }
  void SetList(int i, const std::string& text) override { items.at(i) = text; }
  bool Selected(int) const override { return false; }
  void SetSelected(int, bool) override {}
  void AddItem(const std::string& item) override { items.push_back(item); }
  void RemoveItem(int i) override { items.erase(items.begin() + i); }
  void Clear() override { items.clear(); }
};

struct PlayListFileWinTest : ::testing::Test {
  std::string root;  // ends in "\"

  void SetUp() override {
    char tmp[MAX_PATH];
    GetTempPathA(MAX_PATH, tmp);
    root = std::string(tmp) + "Tessaly PlayList Test " + std::to_string(GetCurrentProcessId()) + "\\";
    ASSERT_TRUE(CreateDirectoryA(root.c_str(), nullptr));
  }
  void TearDown() override {
    for (const std::string& name : Names()) {
      const std::string path = root + name;
      SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (!DeleteFileA(path.c_str())) RemoveDirectoryA(path.c_str());
    }
    RemoveDirectoryA(root.c_str());
  }

  // The names in the test folder, sorted.
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((root + "*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
      const std::string name = fd.cFileName;
      if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(h, &fd));
    FindClose(h);
    std::sort(names.begin(), names.end());
    return names;
  }
  void Put(const std::string& name, const std::string& bytes) { std::ofstream(root + name, std::ios::binary) << bytes; }
  std::string Bytes(const std::string& name) {
    std::ifstream in(root + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  // The error number ReplaceAll raises; 0 when it succeeds.
  long ReplaceError(const std::string& name, const std::string& content) {
    try {
      SystemTextFiles().ReplaceAll(root + name, content);
      return 0;
    } catch (const AppError& e) {
      return e.Number();
    }
  }
};

}  // namespace

TEST_F(PlayListFileWinTest, WrittenListsReadBackByteForByte) {
  VectorList pictures, sounds;
  pictures.AddItem(MakeFileEntry("beach.jpg", "C:\\Photos\\"));
  pictures.AddItem(MakeFolderEntry("D:\\Holiday\\"));
  sounds.AddItem(MakeFileEntry("waves.wav", "C:\\Sounds\\"));
  WritePlayListFile(SystemTextFiles(), root + "Holiday.tsl", pictures, sounds, SystemAnsiCodePage());
  EXPECT_EQ(Bytes("Holiday.tsl"), PlayListText(pictures, sounds, SystemAnsiCodePage()));
  EXPECT_EQ(Bytes("Holiday.tsl").size(), 3u * 516);
  EXPECT_EQ(Names(), std::vector<std::string>{"Holiday.tsl"});

  VectorList readPictures, readSounds;
  ReadPlayListFile(SystemTextFiles(), root + "Holiday.tsl", readPictures, readSounds, SystemAnsiCodePage());
  EXPECT_EQ(readPictures.items, pictures.items);
  EXPECT_EQ(readSounds.items, sounds.items);
}

TEST_F(PlayListFileWinTest, ReplacingGivesExactlyTheNewBytesAndLeavesNoOtherFile) {
  Put("list.tsl", std::string(5000, 'o'));
  SystemTextFiles().ReplaceAll(root + "list.tsl", "P:new\r\n");
  EXPECT_EQ(Bytes("list.tsl"), "P:new\r\n");
  SystemTextFiles().ReplaceAll(root + "list.tsl", "");
  EXPECT_EQ(Bytes("list.tsl"), "");
  EXPECT_EQ(Names(), std::vector<std::string>{"list.tsl"});

  // A name without extension is written as it is.
  SystemTextFiles().ReplaceAll(root + "Summer", "S:x\r\n");
  EXPECT_EQ(Bytes("Summer"), "S:x\r\n");
  EXPECT_EQ(Names(), (std::vector<std::string>{"Summer", "list.tsl"}));
}

TEST_F(PlayListFileWinTest, AHiddenListStaysHidden) {
  Put("hidden.tsl", "old");
  ASSERT_TRUE(SetFileAttributesA((root + "hidden.tsl").c_str(), FILE_ATTRIBUTE_HIDDEN));
  SystemTextFiles().ReplaceAll(root + "hidden.tsl", "P:new\r\n");
  EXPECT_EQ(Bytes("hidden.tsl"), "P:new\r\n");
  EXPECT_TRUE(GetFileAttributesA((root + "hidden.tsl").c_str()) & FILE_ATTRIBUTE_HIDDEN);
  EXPECT_EQ(Names(), std::vector<std::string>{"hidden.tsl"});
}

TEST_F(PlayListFileWinTest, AReadOnlyFileIsRefusedAndKeptUnchanged) {
  const std::string old = "P:" + MakeFileEntry("a.jpg", "C:\\") + "\r\n";
  Put("locked.tsl", old);
  ASSERT_TRUE(SetFileAttributesA((root + "locked.tsl").c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(ReplaceError("locked.tsl", "S:other\r\n"), kErrPathFileAccess);
  EXPECT_EQ(Bytes("locked.tsl"), old);
  EXPECT_TRUE(GetFileAttributesA((root + "locked.tsl").c_str()) & FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(Names(), std::vector<std::string>{"locked.tsl"});
}

TEST_F(PlayListFileWinTest, AFolderOfThatNameIsRefusedAndKept) {
  ASSERT_TRUE(CreateDirectoryA((root + "folder.tsl").c_str(), nullptr));
  Put("folder.tsl\\inside.txt", "inside");
  EXPECT_EQ(ReplaceError("folder.tsl", "P:x\r\n"), kErrPathFileAccess);
  EXPECT_TRUE(GetFileAttributesA((root + "folder.tsl").c_str()) & FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_EQ(Bytes("folder.tsl\\inside.txt"), "inside");
  EXPECT_EQ(Names(), std::vector<std::string>{"folder.tsl"});
  DeleteFileA((root + "folder.tsl\\inside.txt").c_str());
}

TEST_F(PlayListFileWinTest, AFileHeldOpenByAnotherProgramIsKept) {
  // The replacement is the last step: when it is refused, the complete new
  // file is thrown away and the old one stays.
  Put("busy.tsl", "old bytes");
  HANDLE other = CreateFileA((root + "busy.tsl").c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(other, INVALID_HANDLE_VALUE);
  EXPECT_NE(ReplaceError("busy.tsl", "P:new\r\n"), 0);
  CloseHandle(other);
  EXPECT_EQ(Bytes("busy.tsl"), "old bytes");
  EXPECT_EQ(Names(), std::vector<std::string>{"busy.tsl"});
}

TEST_F(PlayListFileWinTest, MissingFilesAndFoldersHaveTheirOwnErrors) {
  EXPECT_EQ(ReplaceError("No Such Folder\\a.tsl", "x"), kErrPathNotFound);
  try {
    SystemTextFiles().ReadAll(root + "gone.tsl");
    ADD_FAILURE();
  } catch (const AppError& e) {
    EXPECT_EQ(e.Number(), kErrFileNotFound);
    EXPECT_EQ(e.Description(), "File not found");
  }
  try {
    SystemTextFiles().ReadAll(root + "No Such Folder\\a.tsl");
    ADD_FAILURE();
  } catch (const AppError& e) {
    EXPECT_EQ(e.Number(), kErrPathNotFound);
  }
  EXPECT_TRUE(Names().empty());
}

TEST_F(PlayListFileWinTest, NamesOutsideTheCodePageLiveInFilesOfAnyName) {
  const std::string polish =
      "\xC5\x81\xC3\xB3"
      "d\xC5\xBA.jpg";                                          // Łódź.jpg
  const std::string japanese = "\xE6\x9D\xB1\xE4\xBA\xAC.jpg";  // 東京.jpg
  VectorList pictures, sounds;
  pictures.AddItem(MakeFileEntry(polish,
                                 "C:\\Zdj\xC4\x99"
                                 "cia\\"));
  pictures.AddItem(MakeFileEntry(japanese, "C:\\\xE5\x86\x99\xE7\x9C\x9F\\"));
  pictures.AddItem(MakeFileEntry("beach.jpg", "C:\\Photos\\"));
  const std::string name = "Wycieczka \xE6\x97\x85.tsl";
  WritePlayListFile(SystemTextFiles(), root + name, pictures, sounds, SystemAnsiCodePage());
  HANDLE h = CreateFileW(Wide(root + name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE) << "the file has the name it was given";
  CloseHandle(h);
  const std::string bytes = SystemTextFiles().ReadAll(root + name);
  EXPECT_EQ(bytes.substr(0, 2 + polish.size()), "P:" + polish);  // not in the code page: UTF-8
  VectorList readPictures, readSounds;
  ReadPlayListFile(SystemTextFiles(), root + name, readPictures, readSounds, SystemAnsiCodePage());
  EXPECT_EQ(readPictures.items, pictures.items);
  DeleteFileW(Wide(root + name).c_str());
}

// A pipe whose writer goes away half-way: a read that really fails in the
// middle of the file keeps the lines that came whole.
namespace {
struct PipeWriter {
  HANDLE pipe;
  std::string bytes;
};
// Writes the bytes into the pipe once a reader is there, and goes away.
DWORD WINAPI WriteAndGo(void* arg) {
  auto* w = static_cast<PipeWriter*>(arg);
  ConnectNamedPipe(w->pipe, nullptr);
  DWORD written = 0;
  WriteFile(w->pipe, w->bytes.data(), static_cast<DWORD>(w->bytes.size()), &written, nullptr);
  FlushFileBuffers(w->pipe);
  CloseHandle(w->pipe);  // gone in the middle of a line
  return 0;
}
}  // namespace

TEST_F(PlayListFileWinTest, AReadThatBreaksOffKeepsTheLinesReadWhole) {
  const std::string pipe = "\\\\.\\pipe\\tessaly-test-" + std::to_string(GetCurrentProcessId());
  PipeWriter writer{
      CreateNamedPipeW(Wide(pipe).c_str(), PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE | PIPE_WAIT, 1, 4096, 4096, 0, nullptr),
      "P:" + MakeFileEntry("a.jpg", "C:\\") + "\r\nS:" + MakeFileEntry("b.wav", "C:\\") + "\r\nS:half a li"};
  ASSERT_NE(writer.pipe, INVALID_HANDLE_VALUE);
  HANDLE thread = CreateThread(nullptr, 0, WriteAndGo, &writer, 0, nullptr);
  VectorList pictures, sounds;
  long error = 0;
  try {
    ReadPlayListFile(SystemTextFiles(), pipe, pictures, sounds, SystemAnsiCodePage());
  } catch (const AppError& e) {
    error = e.Number();
  }
  WaitForSingleObject(thread, 5000);
  CloseHandle(thread);
  EXPECT_NE(error, 0) << "the broken read is an error";
  EXPECT_EQ(pictures.items, std::vector<std::string>{MakeFileEntry("a.jpg", "C:\\")});
  EXPECT_EQ(sounds.items, std::vector<std::string>{MakeFileEntry("b.wav", "C:\\")});
}
