#include "ui/Help.h"

#include <memory>
#include <vector>

#include "ui/App.h"
#include "common/AppError.h"
#include "common/AppTitle.h"
#include "common/HelpTopics.h"
#include "common/TextFiles.h"
#include "common/WideText_win.h"
#include "ui/WindowBinding.h"
#include "common/mFiles.h"

namespace tessaly::ui {
namespace {

enum : int {
  kIdContents = 101,
  kIdIndex = 102,
  kIdPrompt = 103,
  kIdSearch = 104,
  kIdList = 105,
  kIdText = 106,
};

std::string ProgramFolder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  const std::string full = Utf8(path);
  return full.substr(0, full.find_last_of('\\') + 1);
}

// The help page beside the program, "" when it is not installed.
std::string InstalledHelpPage() {
  const std::string page = ProgramFolder() + kHelpPageName;
  try {
    return FileExists(page) ? page : std::string();
  } catch (const AppError&) {
    return std::string();
  }
}

std::string& HelpFileSetting() {
  static std::string name = InstalledHelpPage();
  return name;
}

std::string ReadHelpFile(const std::string& file) {
  const bool hasFolder = file.find_first_of("\\/:") != std::string::npos;
  return SystemTextFiles().ReadAll(hasFolder ? file : ProgramFolder() + file);
}

// An empty dialog template (the controls are made at WM_INITDIALOG), in
// "MS Shell Dlg" 8, resizable.
std::vector<WORD> ViewerTemplate(const char* title) {
  std::vector<WORD> t(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
  auto* head = reinterpret_cast<DLGTEMPLATE*>(t.data());
  head->style = DS_SETFONT | DS_SHELLFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME |
                WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
  head->cdit = 0;
  head->cx = 330;
  head->cy = 220;
  t.push_back(0);  // no menu
  t.push_back(0);  // the dialog class
  for (const char* c = title; *c; ++c) t.push_back(static_cast<WORD>(static_cast<unsigned char>(*c)));
  t.push_back(0);
  t.push_back(8);  // point size
  for (const char* c = "MS Shell Dlg"; *c; ++c) t.push_back(static_cast<WORD>(*c));
  t.push_back(0);
  return t;
}

class HelpViewer : public WindowHandler {
 public:
  explicit HelpViewer(std::vector<HelpTopic> topics) : topics_(std::move(topics)), index_(HelpIndex(topics_)) {}

  HWND hwnd = nullptr;

  void Create(HWND owner) {
    (void)owner;  // the viewer stays usable while the program's dialogs are modal
    const std::vector<WORD> t = ViewerTemplate(kTitle);
    CreateDialogIndirectParamA(GetModuleHandleA(nullptr), reinterpret_cast<const DLGTEMPLATE*>(t.data()), nullptr,
                               BoundDialogProc, reinterpret_cast<LPARAM>(static_cast<WindowHandler*>(this)));
  }

  void ShowTopic(const HelpTopic* topic) {
    if (!topic) topic = topics_.empty() ? nullptr : &topics_.front();
    SetMode(false);
    if (topic) {
      SendDlgItemMessageA(hwnd, kIdList, LB_SETCURSEL, static_cast<WPARAM>(topic - topics_.data()), 0);
      ShowText(*topic);
    }
    Bring();
  }

  void ShowContext(unsigned long context) { ShowTopic(FindHelpTopic(topics_, context)); }

  void ShowIndex(const std::string& key) {
    SetMode(true);
    SetDlgItemTextA(hwnd, kIdSearch, key.c_str());
    SelectMatch();
    Bring();
    SetFocus(GetDlgItem(hwnd, kIdSearch));
  }

  static constexpr const char* kTitle = "Tessaly Help";

 private:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM, bool& handled) override {
    switch (msg) {
      case WM_INITDIALOG:
        MakeControls();
        return TRUE;
      case WM_SIZE:
        Layout();
        return 0;
      case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        return 0;
      case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
      default:
        handled = false;
        return 0;
    }
  }
  void WindowBound(HWND h) override { hwnd = h; }
  void WindowGone(HWND) override;

  HWND MakeControl(const char* cls, const char* text, DWORD style, int id, DWORD exStyle = 0) {
    HWND c = CreateWindowExA(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 10, 10, hwnd,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
    SendMessageA(c, WM_SETFONT, SendMessageA(hwnd, WM_GETFONT, 0, 0), FALSE);
    return c;
  }

  void MakeControls() {
    MakeControl("BUTTON", "&Contents", WS_TABSTOP | BS_PUSHBUTTON, kIdContents);
    MakeControl("BUTTON", "&Index", WS_TABSTOP | BS_PUSHBUTTON, kIdIndex);
    MakeControl("STATIC", "", SS_LEFT, kIdPrompt);
    MakeControl("EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, kIdSearch, WS_EX_CLIENTEDGE);
    MakeControl("LISTBOX", "", WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, kIdList,
                WS_EX_CLIENTEDGE);
    MakeControl("EDIT", "", WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY, kIdText, WS_EX_CLIENTEDGE);
    Layout();
  }

  // Buttons on top; the list on the left under the prompt and search box;
  // the text on the right. Sizes in dialog units.
  void Layout() {
    RECT client{};
    GetClientRect(hwnd, &client);
    auto dlu = [this](int x, int y) {
      RECT r{0, 0, x, y};
      MapDialogRect(hwnd, &r);
      return POINT{r.right, r.bottom};
    };
    const POINT m = dlu(7, 7), button = dlu(50, 14), side = dlu(120, 10), field = dlu(0, 12);
    auto place = [this](int id, int x, int y, int w, int h) {
      MoveWindow(GetDlgItem(hwnd, id), x, y, w > 0 ? w : 0, h > 0 ? h : 0, TRUE);
    };
    place(kIdContents, m.x, m.y, button.x, button.y);
    place(kIdIndex, m.x * 2 + button.x, m.y, button.x, button.y);
    int top = m.y * 2 + button.y;
    const bool index = indexMode_;
    if (index) {
      place(kIdPrompt, m.x, top, side.x, side.y * 2);
      top += side.y * 2;
      place(kIdSearch, m.x, top, side.x, field.y);
      top += field.y + m.y / 2;
    }
    place(kIdList, m.x, top, side.x, client.bottom - top - m.y);
    const int textLeft = m.x * 2 + side.x;
    const int textTop = m.y * 2 + button.y;
    place(kIdText, textLeft, textTop, client.right - textLeft - m.x, client.bottom - textTop - m.y);
  }

  void SetMode(bool index) {
    indexMode_ = index;
    SetDlgItemTextA(hwnd, kIdPrompt, index ? "Type the first few letters of the word you're looking for:" : "");
    ShowWindow(GetDlgItem(hwnd, kIdPrompt), index ? SW_SHOW : SW_HIDE);
    ShowWindow(GetDlgItem(hwnd, kIdSearch), index ? SW_SHOW : SW_HIDE);
    HWND list = GetDlgItem(hwnd, kIdList);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    if (index) {
      for (const HelpIndexEntry& e : index_) SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(e.keyword.c_str()));
    } else {
      for (const HelpTopic& t : topics_) SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t.title.c_str()));
    }
    Layout();
  }

  void SelectMatch() {
    char key[256] = {};
    GetDlgItemTextA(hwnd, kIdSearch, key, sizeof key);
    const std::size_t i = FirstIndexMatch(index_, key);
    if (i >= index_.size()) return;
    SendDlgItemMessageA(hwnd, kIdList, LB_SETCURSEL, i, 0);
    ShowText(topics_[index_[i].topic]);
  }

  void ShowText(const HelpTopic& topic) {
    const std::string text = topic.title + "\r\n\r\n" + topic.text;
    SetDlgItemTextA(hwnd, kIdText, text.c_str());
  }

  void OnCommand(int id, int code) {
    if (id == IDCANCEL) {
      DestroyWindow(hwnd);
    } else if (id == kIdContents && code == BN_CLICKED) {
      ShowTopic(nullptr);
    } else if (id == kIdIndex && code == BN_CLICKED) {
      ShowIndex("");
    } else if (id == kIdSearch && code == EN_CHANGE) {
      SelectMatch();
    } else if (id == kIdList && code == LBN_SELCHANGE) {
      const LRESULT i = SendDlgItemMessageA(hwnd, kIdList, LB_GETCURSEL, 0, 0);
      if (i < 0) return;
      const auto at = static_cast<std::size_t>(i);
      if (indexMode_ && at < index_.size()) ShowText(topics_[index_[at].topic]);
      if (!indexMode_ && at < topics_.size()) ShowText(topics_[at]);
    }
  }

  void Bring() {
    if (IsIconic(hwnd)) ShowWindow(hwnd, SW_RESTORE);
    ShowWindow(hwnd, SW_SHOW);
    SetForegroundWindow(hwnd);
  }

  std::vector<HelpTopic> topics_;
  std::vector<HelpIndexEntry> index_;
  bool indexMode_ = false;
};

std::unique_ptr<HelpViewer> g_viewer;
std::unique_ptr<HelpViewer> g_closed;  // kept until the next call: its window procedure may still be running

void HelpViewer::WindowGone(HWND) {
  hwnd = nullptr;
  if (g_viewer.get() == this) g_closed = std::move(g_viewer);
}

}  // namespace

const std::string& HelpFile() { return HelpFileSetting(); }

void SetHelpFile(const std::string& name) { HelpFileSetting() = name; }

HWND HelpWindow() { return g_viewer ? g_viewer->hwnd : nullptr; }

void ShowHelp(HWND owner, const std::string& file, UINT command, ULONG_PTR data) {
  g_closed.reset();
  if (command == HELP_QUIT) {
    if (g_viewer && g_viewer->hwnd) DestroyWindow(g_viewer->hwnd);
    g_closed.reset();
    return;
  }
  if (!g_viewer) {
    std::vector<HelpTopic> topics = ParseHelpTopics(ReadHelpFile(file));
    if (topics.empty()) throw AppError(kErrFileNotFound, "The help file " + file + " holds no help topics", "Help");
    InitDialogControls();
    g_viewer = std::make_unique<HelpViewer>(std::move(topics));
    g_viewer->Create(owner);
    if (!g_viewer->hwnd) {
      g_viewer.reset();
      throw AppError(kErrInvalidCall, "Unable to open the help window", "Help");
    }
  }
  switch (command) {
    case HELP_PARTIALKEY:
      g_viewer->ShowIndex(data ? reinterpret_cast<const char*>(data) : "");
      break;
    case HELP_CONTEXT:
      g_viewer->ShowContext(static_cast<unsigned long>(data));
      break;
    default:
      g_viewer->ShowTopic(nullptr);
      break;
  }
}

void ShowProgramHelp(HWND owner, const char* title, UINT command, ULONG_PTR data) {
  if (HelpFile().empty()) {
    MessageBoxA(owner, kNoHelpMessage, title, MB_OK | MB_ICONINFORMATION);
    return;
  }
  try {
    ShowHelp(owner, HelpFile(), command, data);
  } catch (const AppError& e) {
    MessageBoxA(owner, e.Description().c_str(), kAppTitle, MB_OK);
  } catch (const std::exception& e) {
    MessageBoxA(owner, e.what(), kAppTitle, MB_OK);
  }
}

}  // namespace tessaly::ui
