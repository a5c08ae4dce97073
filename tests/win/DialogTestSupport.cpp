#include "DialogTestSupport.h"

#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>
#include <shlobj.h>

#include <fstream>
#include <sstream>

#include "ui/App.h"
#include "common/RegistryApi.h"
#include "common/ScopedWin.h"
#include "common/WideText_win.h"

namespace dialogtest {
namespace {

const char kTestProduct[] = "Tessaly Customizable Screen Saver";
const int kAnswerTickMs = 30;
// How long a window nobody expects stays before it is closed (ticks).
const int kStrangerPatience = 150;
// The colour dialog's red, green and blue boxes.
const int kColourRed = 706, kColourGreen = 707, kColourBlue = 708;
const int kMessageBoxText = 0xFFFF;

int g_serial = 0;
Answerer* g_answerer = nullptr;

std::string UniqueName(const char* stem) {
  return std::string(stem) + " " + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++g_serial);
}

std::string ClassOf(HWND hwnd) {
  char name[64] = {};
  GetClassNameA(hwnd, name, sizeof name);
  return name;
}

BOOL CALLBACK CollectDialog(HWND hwnd, LPARAM windows) {
  if (IsWindowVisible(hwnd) && IsWindowEnabled(hwnd) && ClassOf(hwnd) == "#32770")
    reinterpret_cast<std::vector<HWND>*>(windows)->push_back(hwnd);
  return TRUE;
}

void CALLBACK AnswerTick(HWND, UINT, UINT_PTR, DWORD) {
  if (g_answerer) g_answerer->Tick();
}

// Values of an open key: name → text (REG_SZ only, as UTF-8; others as
// "<type n>").
std::map<std::string, std::string> KeyValues(HKEY key) {
  std::map<std::string, std::string> out;
  for (DWORD i = 0;; ++i) {
    wchar_t name[512];
    DWORD nameLength = 512;
    std::vector<BYTE> data(140000);
    DWORD size = static_cast<DWORD>(data.size());
    DWORD type = 0;
    if (RegEnumValueW(key, i, name, &nameLength, nullptr, &type, data.data(), &size) != ERROR_SUCCESS) break;
    if (type == REG_SZ) {
      std::wstring text(reinterpret_cast<wchar_t*>(data.data()), size / sizeof(wchar_t));
      while (!text.empty() && text.back() == L'\0') text.pop_back();
      out[Utf8(name)] = Utf8(text);
    } else {
      out[Utf8(name)] = "<type " + std::to_string(type) + ">";
    }
  }
  return out;
}

void DeleteTree(const std::string& folder) {
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW(Wide(folder + "*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = Utf8(fd.cFileName);
      if (name == "." || name == "..") continue;
      const std::wstring path = Wide(folder + name);
      SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      if ((fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !(fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        DeleteTree(folder + name + "\\");
      } else if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveDirectoryW(path.c_str());  // a link: not what it leads to
      } else {
        DeleteFileW(path.c_str());
      }
    } while (FindNextFileW(h, &fd));
    FindClose(h);
  }
  RemoveDirectoryW(Wide(folder).c_str());
}

HWND FindDescendant(HWND parent, const char* className) {
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (ClassOf(child) == className && IsWindowVisible(child)) return child;
    if (HWND inner = FindDescendant(child, className)) return inner;
  }
  return nullptr;
}

bool UnderWine() { return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr; }

}  // namespace

bool RunAgainUnmanaged(int& exitCode) {
  if (!UnderWine()) return false;
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string name = self;
  name = name.substr(name.find_last_of('\\') + 1);
  const std::string key = "Software\\Wine\\AppDefaults\\" + name + "\\X11 Driver";
  char value[8] = {};
  DWORD size = sizeof value;
  if (RegGetValueA(HKEY_CURRENT_USER, key.c_str(), "Managed", RRF_RT_REG_SZ, nullptr, value, &size) == ERROR_SUCCESS &&
      (value[0] == 'N' || value[0] == 'n'))
    return false;
  HKEY handle = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr) !=
      ERROR_SUCCESS)
    return false;
  RegSetValueExA(handle, "Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>("N"), 2);
  RegCloseKey(handle);
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  si.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
  si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION pi = {};
  std::string commandLine = GetCommandLineA();
  if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) return false;
  WaitForSingleObject(pi.hProcess, INFINITE);
  DWORD code = 1;
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  exitCode = static_cast<int>(code);
  return true;
}

// ---------------------------------------------------------------------------
// Settings and files

TestSettings::TestSettings()
    : store(SystemRegistry(), UniqueName("Tessaly Dialog Test"), kTestProduct), company_(store.Company()) {}

TestSettings::~TestSettings() { RegDeleteTreeA(HKEY_CURRENT_USER, ("Software\\" + company_).c_str()); }

std::string TestSettings::Get(const std::string& section, const std::string& name) {
  return store.GetSetting(section, name, "<missing>");
}

void TestSettings::Set(const std::string& section, const std::string& name, const std::string& text) {
  store.SaveSetting(section, name, text);
}

std::map<std::string, std::string> TestSettings::Section(const std::string& section) {
  HKEY key = nullptr;
  const std::string path = "Software\\" + company_ + "\\" + kTestProduct + "\\" + section;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return {};
  auto values = KeyValues(key);
  RegCloseKey(key);
  return values;
}

std::map<std::string, std::string> TestSettings::Lists() {
  std::map<std::string, std::string> out;
  HKEY app = nullptr;
  const std::string path = "Software\\" + company_ + "\\" + kTestProduct;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &app) != ERROR_SUCCESS) return out;
  for (DWORD i = 0;; ++i) {
    char name[256];
    DWORD length = sizeof name;
    if (RegEnumKeyExA(app, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    for (const auto& [value, text] : Section(name)) {
      if (std::string(name) == "Options" && (value == "LastPicture" || value == "LastSound")) continue;
      out[std::string(name) + "\\" + value] = text;
    }
  }
  RegCloseKey(app);
  return out;
}

TempDir::TempDir() {
  char tmp[MAX_PATH];
  GetTempPathA(MAX_PATH, tmp);
  path_ = std::string(tmp) + UniqueName("Tessaly Dialog Test") + "\\";
  CreateDirectoryA(path_.c_str(), nullptr);
}

TempDir::~TempDir() { DeleteTree(path_); }

std::string TempDir::Write(const std::string& name, const std::string& bytes) const {
  const std::string path = path_ + name;
  HANDLE file =
      CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return path;
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  return path;
}

std::string TempDir::Picture(const std::string& name, COLORREF colour) const {
  const int width = 16, height = 12, stride = width * 3;
  std::string bmp(54 + stride * height, '\0');
  auto put32 = [&bmp](std::size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) bmp[at + i] = static_cast<char>(v >> (8 * i));
  };
  bmp[0] = 'B';
  bmp[1] = 'M';
  put32(2, static_cast<uint32_t>(bmp.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, width);
  put32(22, height);
  bmp[26] = 1;
  bmp[28] = 24;
  for (std::size_t p = 54; p + 2 < bmp.size(); p += 3) {
    bmp[p] = static_cast<char>(GetBValue(colour));
    bmp[p + 1] = static_cast<char>(GetGValue(colour));
    bmp[p + 2] = static_cast<char>(GetRValue(colour));
  }
  return Write(name, bmp);
}

std::string TempDir::Sound(const std::string& name) const {
  const uint32_t samples = 441;  // 20 ms, 22050 Hz, 8-bit mono
  std::string wav = "RIFF....WAVEfmt ";
  auto put32 = [&wav](uint32_t v) {
    for (int i = 0; i < 4; ++i) wav.push_back(static_cast<char>(v >> (8 * i)));
  };
  auto put16 = [&wav](uint16_t v) {
    wav.push_back(static_cast<char>(v & 0xFF));
    wav.push_back(static_cast<char>(v >> 8));
  };
  put32(16);
  put16(1);  // PCM
  put16(1);
  put32(22050);
  put32(22050);
  put16(1);
  put16(8);
  wav += "data";
  put32(samples);
  wav += std::string(samples, '\x80');
  const uint32_t riff = static_cast<uint32_t>(wav.size() - 8);
  for (int i = 0; i < 4; ++i) wav[4 + i] = static_cast<char>(riff >> (8 * i));
  return Write(name, wav);
}

std::string TempDir::Folder(const std::string& name) const {
  const std::string path = path_ + name + "\\";
  CreateDirectoryW(Wide(path).c_str(), nullptr);
  return path;
}

std::string ReadBytes(const std::string& path) {
  std::string bytes;
  HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  char buffer[65536];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
  CloseHandle(file);
  return bytes;
}

bool Exists(const std::string& path) { return GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES; }

std::vector<std::string> FolderNames(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW(Wide(folder + "*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = Utf8(fd.cFileName);
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileW(h, &fd));
  FindClose(h);
  return names;
}

// ---------------------------------------------------------------------------
// The answerer

Answerer::Answerer() {
  g_answerer = this;
  timer_ = SetTimer(nullptr, 0, kAnswerTickMs, AnswerTick);
}

Answerer::~Answerer() {
  KillTimer(nullptr, timer_);
  if (g_answerer == this) g_answerer = nullptr;
}

void Answerer::Expect(const std::string& title, std::function<void(HWND)> act) {
  expected_.push_back({title, std::move(act)});
}

std::vector<std::string> Answerer::Texts() const {
  std::vector<std::string> texts;
  for (const SeenWindow& w : seen_) texts.push_back(w.text);
  return texts;
}

void Answerer::Tick() {
  if (busy_) return;
  busy_ = true;
  // The dialogs of this thread that are up and take input: the innermost
  // modal window is the enabled one.
  std::vector<HWND> windows;
  EnumThreadWindows(GetCurrentThreadId(), CollectDialog, reinterpret_cast<LPARAM>(&windows));
  for (auto it = strangers_.begin(); it != strangers_.end();)
    it = IsWindow(it->first) ? std::next(it) : strangers_.erase(it);
  for (auto it = ignored_.begin(); it != ignored_.end();) it = IsWindow(*it) ? std::next(it) : ignored_.erase(it);
  // An answered window is left alone until it goes, or until a window of
  // its own takes over (it is disabled meanwhile) and it can be answered
  // again: a file dialog whose question was answered No.
  for (auto it = answered_.begin(); it != answered_.end();)
    it = IsWindow(*it) && IsWindowEnabled(*it) ? std::next(it) : answered_.erase(it);
  for (HWND hwnd : windows) {
    if (ignored_.count(hwnd) || answered_.count(hwnd) || !IsWindow(hwnd)) continue;
    SeenWindow seen;
    seen.title = WindowText(hwnd);
    HWND message = GetDlgItem(hwnd, kMessageBoxText);
    seen.text = message ? WindowText(message) : StaticTexts(hwnd);
    for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      if (ClassOf(child) == "Static" && (GetWindowLongPtrA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
          IsWindowVisible(child))
        seen.icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
    }
    if (!expected_.empty() && expected_.front().title == seen.title) {
      Expectation next = std::move(expected_.front());
      expected_.pop_front();
      seen_.push_back(seen);
      answered_.insert(hwnd);  // it goes when its loop runs again
      next.act(hwnd);
      continue;
    }
    if (++strangers_[hwnd] == kStrangerPatience) {
      unexpected_.push_back(seen);
      PostMessageA(hwnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    } else if (strangers_[hwnd] == 2 * kStrangerPatience) {
      PostMessageA(hwnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
  }
  busy_ = false;
}

std::function<void(HWND)> Press(int id) {
  return [id](HWND hwnd) {
    PostMessageA(hwnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(hwnd, id)));
  };
}

std::function<void(HWND)> ChooseFile(const std::string& name, const std::string& folder) {
  return [name, folder](HWND hwnd) {
    HWND box = FileNameBox(hwnd);
    if (!folder.empty()) {
      SetWindowTextW(box, Wide(folder).c_str());
      SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(hwnd, IDOK)));
    }
    SetWindowTextW(box, Wide(name).c_str());
    Press(IDOK)(hwnd);
  };
}

std::function<void(HWND)> ChooseFolder(const std::string& folder) {
  return [folder](HWND hwnd) {
    // The dialog may still be filling its folder tree when it is shown: the
    // choice takes once the tree shows it selected.
    HWND tree = FindDescendant(hwnd, "SysTreeView32");
    const std::string leaf = folder.substr(folder.find_last_of('\\', folder.size() - 2) + 1);
    auto selected = [tree] {
      wchar_t text[MAX_PATH] = {};
      TVITEMW item = {};
      item.mask = TVIF_TEXT;
      item.hItem = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
      item.pszText = text;
      item.cchTextMax = MAX_PATH;
      if (item.hItem) SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
      return Utf8(text);
    };
    const bool root = folder.size() <= 3;  // "C:\" shows as its drive's name
    const std::wstring wideFolder = Wide(folder);
    PumpUntil([&] {
      SendMessageW(hwnd, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(wideFolder.c_str()));
      const std::string shown = selected();
      return root ? !shown.empty() : shown == leaf;
    });
    Press(IDOK)(hwnd);
  };
}

std::function<void(HWND)> MixColour(int red, int green, int blue, int button) {
  return [=](HWND hwnd) {
    SetDlgItemInt(hwnd, kColourRed, static_cast<UINT>(red), FALSE);
    SetDlgItemInt(hwnd, kColourGreen, static_cast<UINT>(green), FALSE);
    SetDlgItemInt(hwnd, kColourBlue, static_cast<UINT>(blue), FALSE);
    Press(button)(hwnd);
  };
}

// ---------------------------------------------------------------------------
// The recording stand-in

std::string TakeRecord(const std::string& base, int ms) {
  const std::string file = "C:\\record_" + base + ".txt";
  PumpUntil([&file] { return Exists(file) && !ReadBytes(file).empty(); }, ms);
  const std::string text = Exists(file) ? ReadBytes(file) : std::string();
  DeleteFileA(file.c_str());
  return text;
}

namespace {

const char kWebCommandKey[] = "http\\shell\\open\\command";

void SetWebCommand(const std::string& command) {
  RegistryKey key;
  if (key.Create(HKEY_CLASSES_ROOT, kWebCommandKey, KEY_WRITE) != ERROR_SUCCESS) return;
  RegSetValueExA(key.get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                 static_cast<DWORD>(command.size() + 1));
}

}  // namespace

BrowserStandIn::BrowserStandIn(const std::string& recorder, const std::string& folder)
    : base_("browser" + std::to_string(GetCurrentProcessId())), program_(folder + base_ + ".exe") {
  EXPECT_TRUE(CopyFileA(recorder.c_str(), program_.c_str(), FALSE)) << recorder;
  DeleteFileA(("C:\\record_" + base_ + ".txt").c_str());
  char old[1024] = {};
  DWORD size = sizeof old;
  had_ = RegGetValueA(HKEY_CLASSES_ROOT, kWebCommandKey, nullptr, RRF_RT_REG_SZ, nullptr, old, &size) == ERROR_SUCCESS;
  old_ = old;
  SetWebCommand("\"" + program_ + "\" \"%1\"");
}

BrowserStandIn::~BrowserStandIn() {
  if (had_)
    SetWebCommand(old_);
  else
    RegDeleteKeyValueA(HKEY_CLASSES_ROOT, kWebCommandKey, nullptr);
  DeleteFileA(("C:\\record_" + base_ + ".txt").c_str());
}

std::string HelpAddressBesideTests(const std::string& anchor) {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string page(path);
  page = page.substr(0, page.find_last_of('\\') + 1) + "TSCSS.htm";
  for (char& c : page)
    if (c == '\\') c = '/';
  return "file:///" + page + "#" + anchor;
}

// ---------------------------------------------------------------------------
// Reading and driving controls

std::string WindowText(HWND hwnd) {
  wchar_t text[1024] = {};
  GetWindowTextW(hwnd, text, 1024);
  return Utf8(text);
}

std::string ToolTip(HWND tips, HWND owner, HWND control) {
  // The wide form: Wine's ANSI one gives at most 80 characters back.
  wchar_t text[1024] = {};
  TOOLINFOW info = {};
  info.cbSize = sizeof info;
  info.uFlags = TTF_IDISHWND;
  info.hwnd = owner;
  info.uId = reinterpret_cast<UINT_PTR>(control);
  info.lpszText = text;
  if (!SendMessageW(tips, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&info))) return "<no tool>";
  char ansi[1024] = {};
  WideCharToMultiByte(CP_ACP, 0, text, -1, ansi, sizeof ansi, nullptr, nullptr);
  return ansi;
}

std::string StaticTexts(HWND hwnd) {
  std::string out;
  for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (ClassOf(child) != "Static" || !IsWindowVisible(child)) continue;
    const std::string text = WindowText(child);
    if (text.empty()) continue;
    if (!out.empty()) out += "|";
    out += text;
  }
  return out;
}

HWND FileNameBox(HWND dialog) {
  HWND names = GetDlgItem(dialog, cmb13);
  if (HWND edit = names ? FindDescendant(names, "Edit") : nullptr) return edit;
  if (HWND edit = GetDlgItem(dialog, edt1)) return edit;
  return FindDescendant(dialog, "Edit");
}

std::string FirstFilter(HWND dialog) {
  HWND types = GetDlgItem(dialog, cmb1);
  char text[512] = {};
  if (types) SendMessageA(types, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(text));
  return text;
}

void Click(HWND dialog, int id) {
  HWND button = GetDlgItem(dialog, id);
  // A mouse click never reaches a disabled button; BM_CLICK would.
  if (!IsWindowEnabled(button)) {
    ADD_FAILURE() << "a click on the disabled button " << id;
    return;
  }
  SendMessageA(button, BM_CLICK, 0, 0);
}

void MenuCommand(HWND dialog, int id) { SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

void SelectItems(HWND dialog, int listId, const std::vector<int>& items) {
  HWND list = GetDlgItem(dialog, listId);
  SendMessageA(list, LB_SETSEL, FALSE, -1);
  for (int i : items) SendMessageA(list, LB_SETSEL, TRUE, i);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(listId, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

void Type(HWND control, const std::string& text) {
  for (char c : text) SendMessageA(control, WM_CHAR, static_cast<unsigned char>(c), 1);
}

bool PumpUntil(const std::function<bool()>& done, int ms) {
  const DWORD start = GetTickCount();
  for (;;) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) continue;  // an unloaded form's; the tests drain it anyway
      tessaly::ui::DispatchQueued(msg);
    }
    if (done()) return true;
    if (GetTickCount() - start > static_cast<DWORD>(ms)) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

namespace {
struct ColourQuery {
  COLORREF background;
  COLORREF text;
  COLORREF brush;
};
ColourQuery AskColours(HWND dialog, int id) {
  HDC dc = CreateCompatibleDC(nullptr);
  const COLORREF sentinel = RGB(1, 2, 3);
  SetBkColor(dc, sentinel);
  SetTextColor(dc, sentinel);
  auto brush = reinterpret_cast<HBRUSH>(SendMessageA(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, id))));
  ColourQuery q{GetBkColor(dc), GetTextColor(dc), sentinel};
  LOGBRUSH lb{};
  if (brush && GetObjectA(brush, sizeof lb, &lb) == sizeof lb) q.brush = lb.lbColor;
  DeleteDC(dc);
  return q;
}
}  // namespace

COLORREF SwatchColour(HWND dialog, int id) {
  const ColourQuery q = AskColours(dialog, id);
  // The swatch is painted with its brush; the text background must agree.
  return q.brush == q.background ? q.brush : CLR_INVALID;
}

COLORREF LabelTextColour(HWND dialog, int id) { return AskColours(dialog, id).text; }

void DrainQuit() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {}
}

}  // namespace dialogtest
