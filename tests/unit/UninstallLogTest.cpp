#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "uninstall/st6unst/Uninstall.h"
#include "uninstall/st6unst/UninstallLog.h"

using namespace st6unst;

namespace {

const char kSetupLog[] =
    "Tessaly Uninstall Log 1\r\n"
    "Product: Tessaly Customizable Screen Saver\r\n"
    "Version: 2.0.0\r\n"
    "Folder: C:\\Program Files\\Tessaly\r\n"
    "File: C:\\Windows\\system32\\Tessaly.scr\r\n"
    "File: C:\\Windows\\system32\\TSCSS.htm\r\n"
    "File: C:\\Windows\\st6unst.exe\r\n"
    "File: C:\\Program Files\\Tessaly\\qmunins.exe\r\n"
    "File: C:\\Program Files\\Tessaly\\Sample1.jpg\r\n"
    "File: C:\\Program Files\\Tessaly\\st6unst.log\r\n"
    "RegKey: HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tessaly\r\n"
    "End: 8\r\n";

SystemFolders Windows() {
  SystemFolders folders;
  folders.windows = "C:\\Windows";
  folders.system = "C:\\Windows\\system32";
  folders.kept = {"C:\\Program Files", "C:\\Program Files (x86)", "C:\\Users\\ann", "C:\\Users\\ann\\Pictures", ""};
  // Short aliases of two folders, expanded like GetLongPathName does.
  folders.longName = [](const std::string& path) {
    for (const auto& [alias, name] :
         {std::pair<std::string, std::string>{"C:\\PROGRA~1", "C:\\Program Files"}, {"C:\\WINDOW~1", "C:\\Windows"}})
      if (SamePath(path.substr(0, alias.size()), alias) && (path.size() == alias.size() || path[alias.size()] == '\\'))
        return name + path.substr(alias.size());
    return path;
  };
  return folders;
}

// A log of the setup's with these entry lines.
std::string Log(const std::vector<std::string>& entries) {
  std::string text = "Tessaly Uninstall Log 1\r\nProduct: Tessaly Customizable Screen Saver\r\nVersion: 2.0.0\r\n";
  for (const std::string& entry : entries) text += entry + "\r\n";
  return text + "End: " + std::to_string(entries.size()) + "\r\n";
}

LogReading Read(const std::string& text) { return ReadUninstallLog(text, Windows()); }

// The first line found wrong in a log of these entries; 0 when it is taken.
int BadLine(const std::vector<std::string>& entries) {
  const LogReading reading = Read(Log(entries));
  return reading.ok ? 0 : reading.line;
}

}  // namespace

TEST(UninstallLog, ReadsTheSetupsLogInOrder) {
  const LogReading reading = Read(kSetupLog);
  ASSERT_TRUE(reading.ok) << reading.problem;
  EXPECT_EQ(reading.log.version, "2.0.0");
  ASSERT_EQ(reading.log.entries.size(), 8u);
  EXPECT_EQ(reading.log.entries[0], (LogEntry{EntryKind::Folder, "C:\\Program Files\\Tessaly"}));
  EXPECT_EQ(reading.log.entries[2], (LogEntry{EntryKind::File, "C:\\Windows\\system32\\TSCSS.htm"}));
  EXPECT_EQ(reading.log.entries[7],
            (LogEntry{EntryKind::RegKey, "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tessaly"}));

  // Line feeds alone, other letter case, a folder with its final "\" and
  // listed after its files: the same entries.
  std::string lf = Log(
      {"File: c:\\WINDOWS\\SYSTEM32\\tessaly.SCR", "File: D:\\Apps\\Tessaly\\a b.jpg", "Folder: D:\\Apps\\Tessaly\\"});
  for (size_t at = lf.find("\r\n"); at != std::string::npos; at = lf.find("\r\n")) lf.erase(at, 1);
  const LogReading other = Read(lf);
  ASSERT_TRUE(other.ok) << other.problem;
  EXPECT_EQ(other.log.entries[2].path, "D:\\Apps\\Tessaly");
}

TEST(UninstallLog, ADamagedLogIsRefusedWhole) {
  const std::string good = kSetupLog;
  struct Case {
    std::string text;
    int line;
  };
  const std::string withoutEnd = good.substr(0, good.find("End:"));
  std::string garbled = good;
  garbled[good.find("File: C:\\Program Files\\Tessaly\\Sample1")] = 'X';
  std::string withNul = good;
  withNul[good.find("Sample1")] = '\0';
  const Case cases[] = {
      {"", 0},
      {good.substr(0, good.size() - 1), 0},  // the last line end lost
      {good.substr(0, good.size() / 2), 0},  // cut in the middle of a line
      {withoutEnd, 0},                       // cut after a whole line
      {garbled, 9},                          // a line that is no entry
      {withNul, 0},
      {good + "File: C:\\Program Files\\Tessaly\\x.jpg\r\n", 13},  // lines after "End"
      {std::string(good).replace(good.find("End: 8"), 6, "End: 7"), 12},
      {std::string(good).replace(good.find("End: 8"), 6, "End: 08"), 12},
      {std::string(good).replace(0, 23, "Tessaly Uninstall Log 2"), 1},
      {std::string(good).replace(good.find("Tessaly Customizable"), 7, "Another"), 2},
      {std::string(good).replace(good.find("2.0.0"), 5, "two"), 3},
      {Log({}), 4},
      {std::string(good).replace(good.find("File: "), 6, "File:  "), 5},
      {good + std::string(1 << 20, '\n'), 0},
  };
  for (const Case& c : cases) {
    const LogReading reading = Read(c.text);
    EXPECT_FALSE(reading.ok) << c.text.substr(0, 200);
    EXPECT_EQ(reading.line, c.line) << reading.problem;
    EXPECT_FALSE(reading.problem.empty());
    EXPECT_TRUE(reading.log.entries.empty());
  }
}

TEST(UninstallLog, FoldersOfWindowsAreNeverRemoved) {
  const std::vector<std::string> refused = {
      "Folder: C:\\",
      "Folder: D:",
      "Folder: C:\\Windows",
      "Folder: C:\\Windows\\system32",
      "Folder: c:\\windows\\Fonts",
      "Folder: C:\\Program Files",
      "Folder: C:\\Program Files\\",
      "Folder: C:\\Users",
      "Folder: C:\\Users\\ann",
      "Folder: C:\\PROGRA~1",
      "Folder: C:\\WINDOW~1\\Tessaly",
      "Folder: C:\\Program Files\\.",
      "Folder: C:\\Program Files\\x\\..",
      "Folder: C:\\Program Files.",
      "Folder: C:\\Windows \\Tessaly",
      "Folder: \\\\server\\share\\Tessaly",
      "Folder: Tessaly",
      "Folder: C:\\Program Files\\\\Tessaly",
      "Folder: C:\\Program Files\\Tes*ly",
      "Folder: C:\\Program Files\\Tes\tsaly",
      "Folder: C:\\Program Files\\a:b",
  };
  for (const std::string& entry : refused) EXPECT_EQ(BadLine({entry}), 4) << entry;

  EXPECT_EQ(BadLine({"Folder: C:\\Program Files\\Tessaly"}), 0);
  EXPECT_EQ(BadLine({"Folder: C:\\Users\\ann\\Pictures\\Tessaly"}), 0);
  EXPECT_EQ(BadLine({"Folder: C:\\Windowsill"}), 0);  // beside the Windows directory, not in it
  EXPECT_EQ(BadLine({"Folder: C:\\" + std::string(255, 'a')}), 0);
  EXPECT_EQ(BadLine({"Folder: C:\\" + std::string(257, 'a')}), 4);
}

TEST(UninstallLog, FilesOnlyWhereTheSetupPutsThem) {
  const std::string folder = "Folder: D:\\Tessaly";
  EXPECT_EQ(BadLine({folder, "File: D:\\Tessaly\\Sample1.jpg", "File: C:\\Windows\\system32\\Tessaly.scr",
                     "File: C:\\Windows\\system32\\TSCSS.htm", "File: C:\\Windows\\st6unst.exe"}),
            0);
  const std::vector<std::string> refused = {
      "File: C:\\Windows\\system32\\kernel32.dll",
      "File: C:\\Windows\\Tessaly.scr",
      "File: C:\\Windows\\system32\\st6unst.exe",
      "File: C:\\Windows\\system32\\drivers\\Tessaly.scr",
      "File: D:\\Tessaly\\sub\\a.jpg",  // only directly in a folder of the log
      "File: D:\\Other\\a.jpg",
      "File: D:\\Tessaly",
      "File: D:\\Tessaly\\",
      "File: D:\\Tessaly\\..\\boot.ini",
      "File: C:\\autoexec.bat",
      "File: D:\\Tessaly\\a.jpg.",
  };
  for (const std::string& entry : refused) EXPECT_EQ(BadLine({folder, entry}), 5) << entry;
}

TEST(UninstallLog, KeysOnlyAddRemoveProgramsEntries) {
  const std::string uninstall = "RegKey: HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
  EXPECT_EQ(BadLine({uninstall + "Tessaly"}), 0);
  EXPECT_EQ(BadLine({"RegKey: hklm\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tessaly"}), 0);
  const std::vector<std::string> refused = {
      "RegKey: HKCU\\Software\\Quillmark Inc.\\Tessaly Customizable Screen Saver",
      "RegKey: HKLM\\Software\\Quillmark Inc.",
      uninstall,
      uninstall.substr(0, uninstall.size() - 1),
      uninstall + "Tessaly\\Sub",
      uninstall + "Tessaly ",
      uninstall + "..",
      "RegKey: HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tessaly",
      "RegKey: HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tessaly",
  };
  for (const std::string& entry : refused) EXPECT_EQ(BadLine({entry}), 4) << entry;
}

TEST(UninstallLog, PathHelpers) {
  EXPECT_TRUE(IsPlainPath("C:\\"));
  EXPECT_TRUE(IsPlainPath("z:\\A b\\c.d"));
  EXPECT_FALSE(IsPlainPath("C:"));
  EXPECT_FALSE(IsPlainPath("C:/Windows"));
  EXPECT_FALSE(IsPlainPath("1:\\x"));
  EXPECT_FALSE(IsPlainPath("C:\\a\\\\b"));
  EXPECT_FALSE(IsPlainPath("C:\\a\\b\\\\"));
  EXPECT_FALSE(IsPlainPath("C:\\a\\b \\c"));
  EXPECT_FALSE(IsPlainPath("C:\\a\r"));
  EXPECT_EQ(FolderOf("C:\\a\\b.txt"), "C:\\a");
  EXPECT_EQ(FolderOf("C:\\b.txt"), "C:\\");
  EXPECT_EQ(NameOf("C:\\a\\b.txt"), "b.txt");
  EXPECT_TRUE(SamePath("C:\\Program Files", "c:\\PROGRAM FILES"));
  EXPECT_FALSE(SamePath("C:\\Zoë", "C:\\ZOË"));  // only ASCII letters fold
}

// --- the uninstall's steps ---------------------------------------------------

TEST(UninstallArguments, TheLogAfterDashNAndSilentMode) {
  Arguments a = ParseArguments("-n \"C:\\Program Files\\Tessaly\\st6unst.log\"");
  EXPECT_TRUE(a.ok);
  EXPECT_EQ(a.logPath, "C:\\Program Files\\Tessaly\\st6unst.log");
  EXPECT_FALSE(a.silent);
  a = ParseArguments("  /S\t-N C:\\x\\st6unst.log ");
  EXPECT_TRUE(a.ok);
  EXPECT_EQ(a.logPath, "C:\\x\\st6unst.log");
  EXPECT_TRUE(a.silent);
  EXPECT_TRUE(ParseArguments("-n x -s").silent);
  EXPECT_TRUE(ParseArguments("-n x /ELEVATED").elevated);
  for (const char* bad :
       {"", "/S", "-n", "-n \"\"", "-n \"C:\\x", "-n C:\\a b", "-n a -n b", "x", "-n \"a\"b", "-n a\"b\"", "-n a /Q"})
    EXPECT_FALSE(ParseArguments(bad).ok) << bad;

  EXPECT_EQ(ArgumentText("C:\\windows\\st6unst.exe -n \"C:\\a b\\l.log\""), "-n \"C:\\a b\\l.log\"");
  EXPECT_EQ(ArgumentText("\"C:\\my dir\\st6unst.exe\"   -n x /S"), "-n x /S");
  EXPECT_EQ(ArgumentText("st6unst.exe"), "");
}

TEST(UninstallArguments, TheScreenSaverIsTessalysByItsFileName) {
  EXPECT_TRUE(NamesTessaly("C:\\WINDOWS\\SYSTEM32\\TESSALY.SCR"));
  EXPECT_TRUE(NamesTessaly("c:\\windows\\system32\\tessaly.scr  "));
  EXPECT_TRUE(NamesTessaly("Tessaly.scr"));
  EXPECT_FALSE(NamesTessaly(""));
  EXPECT_FALSE(NamesTessaly("C:\\WINDOWS\\SYSTEM32\\ssText3d.scr"));
  EXPECT_FALSE(NamesTessaly("C:\\Tessaly.scr\\other.scr"));
}

namespace {

// Records what the uninstall asks of the platform.
class FakePlatform : public UninstallPlatform {
 public:
  std::map<std::string, std::string> files;  // readable files
  Read missing = Read::Missing;              // what reading any other file gives
  std::set<std::string> present;             // what Exists sees
  std::map<std::string, Removal> outcomes;   // Removed unless named here
  std::string screenSaver = "C:\\WINDOWS\\SYSTEM32\\TESSALY.SCR";
  bool answer = true;
  std::string self = "C:\\Windows\\st6unst.exe";
  std::vector<std::string> calls;  // "remove <path>", "clear", "confirm", "tell"
  std::string question, told;
  bool toldProblem = false;

  Read ReadFile(const std::string& path, std::string& text) override {
    auto found = files.find(path);
    if (found == files.end()) return missing;
    text = found->second;
    return Read::Ok;
  }
  SystemFolders Folders() override { return Windows(); }
  std::string OwnFile() override { return self; }
  bool Exists(const LogEntry& entry) override { return present.count(entry.path) > 0; }
  Removal Remove(const LogEntry& entry) override {
    calls.push_back("remove " + entry.path);
    auto found = outcomes.find(entry.path);
    return found == outcomes.end() ? Removal::Removed : found->second;
  }
  std::string ScreenSaver() override { return screenSaver; }
  void ClearScreenSaver() override { calls.push_back("clear"); }
  bool Confirm(const std::string& text) override {
    calls.push_back("confirm");
    question = text;
    return answer;
  }
  void Tell(const std::string& text, bool problem) override {
    calls.push_back("tell");
    told = text;
    toldProblem = problem;
  }
  size_t Removals() const {
    size_t n = 0;
    for (const std::string& call : calls) n += call.rfind("remove ", 0) == 0;
    return n;
  }
};

const char kLogPath[] = "C:\\Program Files\\Tessaly\\st6unst.log";
const std::string kArguments = std::string("-n \"") + kLogPath + "\"";

}  // namespace

TEST(Uninstall, RemovesWhatTheLogListsFilesFirstItsOwnFileLast) {
  FakePlatform platform;
  platform.files[kLogPath] =
      Log({"File: C:\\Windows\\st6unst.exe", "Folder: C:\\Program Files\\Tessaly",
           "File: C:\\Windows\\system32\\Tessaly.scr",
           "RegKey: HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tessaly",
           "Folder: C:\\Program Files\\Tessaly\\Samples", "File: C:\\Program Files\\Tessaly\\st6unst.log"});
  EXPECT_EQ(Uninstall(kArguments, platform), kDone);
  const std::vector<std::string> expected = {
      "confirm",
      "remove C:\\Windows\\system32\\Tessaly.scr",
      "remove C:\\Program Files\\Tessaly\\st6unst.log",
      "clear",
      "remove HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tessaly",
      "remove C:\\Program Files\\Tessaly\\Samples",
      "remove C:\\Program Files\\Tessaly",
      "remove C:\\Windows\\st6unst.exe",
      "tell"};
  EXPECT_EQ(platform.calls, expected);
  EXPECT_EQ(platform.told, "Tessaly Customizable Screen Saver was removed from your computer.");
  EXPECT_FALSE(platform.toldProblem);
  // The question says what stays.
  EXPECT_EQ(platform.question,
            "Remove Tessaly Customizable Screen Saver 2.0.0 (the screen saver, its help, samples and uninstall "
            "programs)?\r\n\r\nYour pictures, sounds and play-list files stay, and so do your lists and options "
            "in the registry: a new installation finds them again.");
}

TEST(Uninstall, NoOrAnotherScreenSaverOrSilentMode) {
  FakePlatform no;
  no.files[kLogPath] = kSetupLog;
  no.answer = false;
  EXPECT_EQ(Uninstall(kArguments, no), kCancelled);
  EXPECT_EQ(no.calls, std::vector<std::string>{"confirm"});

  FakePlatform other;
  other.files[kLogPath] = kSetupLog;
  other.screenSaver = "C:\\WINDOWS\\system32\\Mystify.scr";
  EXPECT_EQ(Uninstall(kArguments, other), kDone);
  EXPECT_EQ(other.Removals(), 8u);
  EXPECT_EQ(std::count(other.calls.begin(), other.calls.end(), "clear"), 0);

  FakePlatform silent;
  silent.files[kLogPath] = kSetupLog;
  silent.answer = false;  // never asked
  EXPECT_EQ(Uninstall(kArguments + " /S", silent), kDone);
  EXPECT_EQ(silent.Removals(), 8u);
  EXPECT_EQ(std::count(silent.calls.begin(), silent.calls.end(), "confirm"), 0);
  EXPECT_EQ(std::count(silent.calls.begin(), silent.calls.end(), "tell"), 0);
}

TEST(Uninstall, AnUnusableLogRemovesNothingAndSaysWhich) {
  struct Case {
    std::string log;  // "" : no such file
    UninstallPlatform::Read missing;
    bool installed;  // the Add/Remove Programs entry is there
    int code;
    std::string says;
  };
  const std::string damaged = std::string(kSetupLog).replace(std::string(kSetupLog).find("End: 8"), 6, "End: 9");
  const Case cases[] = {
      {damaged, UninstallPlatform::Read::Missing, true, kNothingRemoved,
       "The uninstall log \"C:\\Program Files\\Tessaly\\st6unst.log\" is damaged: the number of entries does not "
       "match (line 12). Nothing was removed."},
      {"", UninstallPlatform::Read::Missing, true, kNothingRemoved,
       "The uninstall log \"C:\\Program Files\\Tessaly\\st6unst.log\" cannot be found. Nothing was removed."},
      {"", UninstallPlatform::Read::Failed, true, kNothingRemoved,
       "The uninstall log \"C:\\Program Files\\Tessaly\\st6unst.log\" cannot be read. Nothing was removed."},
      {"", UninstallPlatform::Read::Missing, false, kDone,
       "There is nothing left to remove: Tessaly Customizable Screen Saver is not installed."},
  };
  for (const Case& c : cases) {
    for (const bool silent : {false, true}) {
      FakePlatform platform;
      if (!c.log.empty()) platform.files[kLogPath] = c.log;
      platform.missing = c.missing;
      if (c.installed) platform.present.insert(kUninstallKey);
      EXPECT_EQ(Uninstall(kArguments + (silent ? " /S" : ""), platform), c.code) << c.says;
      EXPECT_EQ(platform.Removals(), 0u) << c.says;
      EXPECT_EQ(std::count(platform.calls.begin(), platform.calls.end(), "clear"), 0);
      EXPECT_EQ(std::count(platform.calls.begin(), platform.calls.end(), "confirm"), 0);
      EXPECT_EQ(platform.told, silent ? "" : c.says);
      EXPECT_EQ(platform.toldProblem, !silent && c.code != kDone);
    }
  }

  FakePlatform usage;
  EXPECT_EQ(Uninstall("", usage), kNothingRemoved);
  EXPECT_NE(usage.told.find("st6unst.exe -n \"<uninstall log>\" [/S]"), std::string::npos);
  EXPECT_TRUE(usage.toldProblem);
}

TEST(Uninstall, ReportsWhatStaysUntilARestartOrCouldNotGo) {
  FakePlatform platform;
  platform.files[kLogPath] = kSetupLog;
  platform.outcomes["C:\\Windows\\system32\\Tessaly.scr"] = UninstallPlatform::Removal::AtRestart;
  platform.outcomes["C:\\Windows\\st6unst.exe"] = UninstallPlatform::Removal::AtRestart;  // itself: expected
  platform.outcomes["C:\\Program Files\\Tessaly"] = UninstallPlatform::Removal::NotEmpty;
  EXPECT_EQ(Uninstall(kArguments, platform), kDone);
  EXPECT_EQ(platform.calls.back(), "tell");
  EXPECT_EQ(platform.calls[platform.calls.size() - 2], "remove C:\\Windows\\st6unst.exe");
  EXPECT_EQ(platform.told,
            "Tessaly Customizable Screen Saver was removed from your computer.\r\n\r\n"
            "These files are in use and will be removed when Windows restarts:\r\n"
            "    C:\\Windows\\system32\\Tessaly.scr\r\n\r\n"
            "These folders hold further files and were left in place:\r\n"
            "    C:\\Program Files\\Tessaly");

  platform.calls.clear();
  platform.outcomes["C:\\Program Files\\Tessaly\\qmunins.exe"] = UninstallPlatform::Removal::Failed;
  EXPECT_EQ(Uninstall(kArguments, platform), kPartlyRemoved);
  EXPECT_EQ(platform.Removals(), 8u);  // the rest still goes
  EXPECT_TRUE(platform.toldProblem);
  EXPECT_EQ(platform.told.find("Some parts of Tessaly Customizable Screen Saver could not be removed:\r\n"
                               "    C:\\Program Files\\Tessaly\\qmunins.exe"),
            0u);
}
