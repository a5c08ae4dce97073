// Shared pieces of the dialog tests: a settings store of the test's own,
// driving controls by the messages the system sends, and answering the
// windows a handler opens (message boxes, file, folder and colour dialogs)
// from a thread timer, which runs inside their modal loops.
#pragma once

#include "common/Win32.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "common/CRegSettings.h"
#include "common/Controls.h"

namespace dialogtest {

using namespace tessaly;

// A settings store under a company name of this test alone; the key is
// deleted when the object goes.
class TestSettings {
 public:
  TestSettings();
  ~TestSettings();
  TestSettings(const TestSettings&) = delete;
  TestSettings& operator=(const TestSettings&) = delete;

  CRegSettings store;
  // The stored text, or "<missing>".
  std::string Get(const std::string& section, const std::string& name);
  void Set(const std::string& section, const std::string& name, const std::string& text);
  // Every value below the application's key as "Section\Name" → text, the
  // positions the preview stores as it plays ("LastPicture", "LastSound")
  // left out.
  std::map<std::string, std::string> Lists();
  // Every value of one section.
  std::map<std::string, std::string> Section(const std::string& section);

 private:
  std::string company_;
};

// A folder of the test's own below the temporary folder (ends in "\"),
// deleted with its files when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& Path() const { return path_; }
  // Writes a file (binary) and returns its full path.
  std::string Write(const std::string& name, const std::string& bytes) const;
  // A 16×12 BMP of one colour.
  std::string Picture(const std::string& name, COLORREF colour) const;
  // A short WAV of silence.
  std::string Sound(const std::string& name) const;
  std::string Folder(const std::string& name) const;

 private:
  std::string path_;
};

std::string ReadBytes(const std::string& path);
bool Exists(const std::string& path);
// Names (without folder) of the entries of a folder, "." and ".." left out.
std::vector<std::string> FolderNames(const std::string& folder);

#ifdef TESSALY_RECORDER
// The recording stand-in's path (the tests that use it are given it).
inline std::string RecorderPath() {
  std::string path = "Z:" TESSALY_RECORDER;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}
#endif

// What the recording stand-in (tests/e2e/qmunins/recorder.c), copied under
// the name `base`.exe, recorded once it has run: a line "ran", a tab and its
// command line for each start. "" when it has not run within `ms`. The
// record is removed.
std::string TakeRecord(const std::string& base, int ms = 10000);

// Web addresses open with a copy of the recording stand-in while the object
// lives (the command registered for http, as a browser registers it); the
// command registered before comes back afterwards.
class BrowserStandIn {
 public:
  // `recorder`: the stand-in's path (a Windows path); the copy goes into
  // `folder`.
  BrowserStandIn(const std::string& recorder, const std::string& folder);
  ~BrowserStandIn();
  BrowserStandIn(const BrowserStandIn&) = delete;
  BrowserStandIn& operator=(const BrowserStandIn&) = delete;
  const std::string& Program() const { return program_; }
  // What it was started with (TakeRecord).
  std::string Record(int ms = 10000) const { return TakeRecord(base_, ms); }

 private:
  std::string base_, program_, old_;
  bool had_ = false;
};

// The address of the help page installed beside the test program at this
// anchor, as a browser is to get it: "file:///Z:/.../TSCSS.htm#anchor" (the
// test's folder holds no character that needs encoding).
std::string HelpAddressBesideTests(const std::string& anchor);

// A window the answerer met: its caption, the texts of its static controls
// (a message box's message), and whether it showed an icon.
struct SeenWindow {
  std::string title;
  std::string text;
  HICON icon = nullptr;
};

// Answers the windows the code under test opens. Each expectation names the
// caption of the window it waits for and what to do with it; they are met
// in order. A window nobody expects is recorded and closed after a while, so
// a test does not hang on it.
class Answerer {
 public:
  Answerer();
  ~Answerer();
  Answerer(const Answerer&) = delete;
  Answerer& operator=(const Answerer&) = delete;

  // `act` runs on the window when one with this caption is shown.
  void Expect(const std::string& title, std::function<void(HWND)> act);
  // Windows of the test itself, never answered.
  void Ignore(HWND hwnd) { ignored_.insert(hwnd); }
  bool Done() const { return expected_.empty(); }
  std::size_t Pending() const { return expected_.size(); }
  const std::vector<SeenWindow>& Seen() const { return seen_; }
  const std::vector<SeenWindow>& Unexpected() const { return unexpected_; }
  // The messages of the windows met, in order.
  std::vector<std::string> Texts() const;

  // Called by the thread timer.
  void Tick();

 private:
  struct Expectation {
    std::string title;
    std::function<void(HWND)> act;
  };
  std::deque<Expectation> expected_;
  std::set<HWND> ignored_;
  std::set<HWND> answered_;
  std::vector<SeenWindow> seen_;
  std::vector<SeenWindow> unexpected_;
  std::map<HWND, int> strangers_;  // ticks each unexpected window has been up
  UINT_PTR timer_ = 0;
  bool busy_ = false;
};

// What an answer does: press a button (the window goes as soon as its loop
// runs again).
std::function<void(HWND)> Press(int id);
// Types a file name (or several, each in quotes) into a file dialog's name
// box and presses its OK button. A folder given first is opened before.
std::function<void(HWND)> ChooseFile(const std::string& name, const std::string& folder = std::string());
// Chooses a folder in the folder dialog and presses OK.
std::function<void(HWND)> ChooseFolder(const std::string& folder);
// Sets the colour dialog's red, green and blue values and presses `button`.
std::function<void(HWND)> MixColour(int red, int green, int blue, int button);

// The texts of a window's static controls, joined with "|".
std::string StaticTexts(HWND hwnd);
// A file dialog's name box, its first filter's text, and the first
// visible static text of another dialog.
HWND FileNameBox(HWND dialog);
std::string FirstFilter(HWND dialog);
std::string WindowText(HWND hwnd);

// The text of a control's tool tip (a tool of the dialog's tool tip window).
std::string ToolTip(HWND tips, HWND owner, HWND control);

// Driving controls as the system does: a click on a button (BM_CLICK; a
// click on a disabled button is a fault of the test), a menu command, a
// selection.
void Click(HWND dialog, int id);
void MenuCommand(HWND dialog, int id);
// Selects exactly these items of an extended-selection list box and tells
// the dialog, as a click would.
void SelectItems(HWND dialog, int listId, const std::vector<int>& items);
// Types the characters into a control as WM_CHAR messages.
void Type(HWND control, const std::string& text);

// Runs messages until `done()` or `ms` have passed; returns done().
bool PumpUntil(const std::function<bool()>& done, int ms = 5000);

// The background colour a static control is drawn with (the dialog's
// WM_CTLCOLORSTATIC answer), and its text colour.
COLORREF SwatchColour(HWND dialog, int id);
COLORREF LabelTextColour(HWND dialog, int id);

// Takes away a WM_QUIT the last unloaded form left in the queue.
void DrainQuit();

// Under Wine without a window manager, every shown top-level window that
// Wine hands to the (absent) manager takes two seconds to go away. A test
// program that opens many windows asks Wine, for itself alone, to place its
// windows without one and runs itself again; true then, with `exitCode` the
// result of that run. Nothing else changes: the windows, their messages and
// their modal loops are the same.
bool RunAgainUnmanaged(int& exitCode);

}  // namespace dialogtest
