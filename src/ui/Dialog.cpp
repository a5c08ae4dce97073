#include "ui/Dialog.h"

#include <commctrl.h>

#include <cmath>

#include "ui/App.h"
#include "common/AppError.h"
#include "common/HelpPage.h"
#include "common/WideText_win.h"
#include "ui/HelpBrowser.h"

namespace tessaly::ui {
namespace {

const int kTipWidth = 320;  // pixels; longer tips wrap

}  // namespace

RECT ChildRect(HWND parent, HWND child) {
  RECT r{};
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

Dialog::Dialog(int templateId, std::string caption) : Form(templateId, std::move(caption)) {}

Dialog::~Dialog() = default;

void Dialog::OnClick(int id, std::function<void()> handler) { OnCommand(id, BN_CLICKED, std::move(handler)); }

void Dialog::OnCommand(int id, int code, std::function<void()> handler) { commands_[{id, code}] = std::move(handler); }

void Dialog::OnNotify(int id, UINT code, std::function<LRESULT(NMHDR&)> handler) {
  notifies_[{id, code}] = std::move(handler);
}

void Dialog::SetTip(int id, const std::string& text) {
  HWND control = Item(id);
  if (!hWnd() || !control) return;
  if (!tips_) {
    tips_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hWnd(), nullptr,
                            GetModuleHandleA(nullptr), nullptr);
    if (!tips_) return;
    SendMessageA(tips_, TTM_SETMAXTIPWIDTH, 0, kTipWidth);
  }
  TOOLINFOA info = {};
  info.cbSize = sizeof info;
  info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  info.hwnd = hWnd();
  info.uId = reinterpret_cast<UINT_PTR>(control);
  TOOLINFOA known = info;
  const bool exists = SendMessageA(tips_, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&known)) != FALSE;
  std::string copy = text;  // the tool tip keeps its own copy
  info.lpszText = &copy[0];
  SendMessageA(tips_, exists ? TTM_UPDATETIPTEXTA : TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
}

void Dialog::LoadTips(int base) {
  for (HWND child = GetWindow(hWnd(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const int id = GetDlgCtrlID(child);
    const std::string tip = id > 0 ? LoadText(static_cast<UINT>(base + id)) : std::string();
    if (!tip.empty()) SetTip(id, tip);
  }
}

void Dialog::SetSwatch(int id, Color color) {
  swatches_[id] = color;
  swatchBrushes_.erase(id);
  if (HWND item = Item(id)) InvalidateRect(item, nullptr, TRUE);
}

HBRUSH Dialog::SwatchBrush(int id) {
  auto& brush = swatchBrushes_[id];
  if (!brush) brush = std::make_unique<GdiObject<HBRUSH>>(CreateSolidBrush(ToColorRef(swatches_[id])));
  return brush->get();
}

void Dialog::SetLabelColor(int id, Color color) {
  labelColors_[id] = color;
  if (HWND item = Item(id)) InvalidateRect(item, nullptr, TRUE);
}

void Dialog::SetItemFont(int id, const std::string& face, double points, bool bold) {
  HWND item = Item(id);
  if (!item) return;
  const int dpi = ScreenDC().Dpi();
  HFONT font = CreateFontA(-static_cast<int>(std::lround(points * dpi / 72.0)), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL,
                           FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                           DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face.c_str());
  if (!font) return;
  fonts_.push_back(std::make_unique<GdiObject<HFONT>>(font));
  SendMessageA(item, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void Dialog::FitLabelHeight(int id) {
  HWND label = Item(id);
  if (!hWnd() || !label) return;
  RECT client{};
  GetClientRect(label, &client);
  const std::wstring text = Wide(ItemText(id));
  const bool noPrefix = (GetWindowLongPtrA(label, GWL_STYLE) & SS_NOPREFIX) != 0;
  RECT needed{0, 0, client.right, 0};
  {
    WindowDC dc(label);
    if (!dc) return;
    const Selection font(dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageA(label, WM_GETFONT, 0, 0)));
    DrawTextW(dc.get(), text.c_str(), -1, &needed,
              DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | (noPrefix ? DT_NOPREFIX : 0));
  }
  const int grow = needed.bottom - client.bottom;
  if (grow <= 0) return;
  const RECT box = ChildRect(hWnd(), label);
  for (HWND child = GetWindow(hWnd(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const RECT r = ChildRect(hWnd(), child);
    if (child == label || r.top < box.bottom) continue;
    SetWindowPos(child, nullptr, r.left, r.top + grow, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  SetWindowPos(label, nullptr, 0, 0, box.right - box.left, box.bottom - box.top + grow,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  RECT frame{};
  GetWindowRect(hWnd(), &frame);
  SetWindowPos(hWnd(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top + grow,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::string Dialog::ItemText(int id) const {
  HWND item = Item(id);
  if (!item) return std::string();
  const int length = GetWindowTextLengthW(item);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int got = GetWindowTextW(item, &text[0], length + 1);
  text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
  return Utf8(text);
}

void Dialog::SetItemText(int id, const std::string& text) { SetDlgItemTextW(hWnd(), id, Wide(text).c_str()); }

void Dialog::EnableItem(int id, bool enabled) {
  if (HWND item = Item(id)) EnableWindow(item, enabled ? TRUE : FALSE);
}

bool Dialog::ItemEnabled(int id) const {
  HWND item = Item(id);
  return item && IsWindowEnabled(item);
}

void Dialog::ShowItem(int id, bool visible) {
  if (HWND item = Item(id)) ShowWindow(item, visible ? SW_SHOWNA : SW_HIDE);
}

bool Dialog::ItemVisible(int id) const {
  HWND item = Item(id);
  return item && (GetWindowLongPtrA(item, GWL_STYLE) & WS_VISIBLE) != 0;
}

void Dialog::FocusItem(int id) {
  HWND item = Item(id);
  if (!item) return;
  // Through the dialog manager, so the default button follows.
  SendMessageA(hWnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(item), TRUE);
}

void Dialog::ShowContextHelp() {
  if (helpContext_ == 0) return;
  ShowHelpTopic(hWnd(), Caption().c_str(), help::AnchorOfContext(helpContext_));
}

LRESULT Dialog::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_INITDIALOG: return TRUE;  // the dialog manager focuses the first control
    case WM_COMMAND: {
      auto it = commands_.find({LOWORD(wParam), HIWORD(wParam)});
      if (it == commands_.end()) break;
      auto handler = it->second;  // the handler may re-register
      handler();
      return 0;
    }
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (!header) break;
      auto it = notifies_.find({static_cast<int>(header->idFrom), header->code});
      if (it == notifies_.end()) break;
      auto handler = it->second;
      return handler(*header);
    }
    case WM_CTLCOLORSTATIC: {
      const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
      HDC dc = reinterpret_cast<HDC>(wParam);
      if (swatches_.count(id)) {
        SetBkColor(dc, ToColorRef(swatches_[id]));
        return reinterpret_cast<LRESULT>(SwatchBrush(id));
      }
      auto colour = labelColors_.find(id);
      if (colour == labelColors_.end()) break;
      SetTextColor(dc, ToColorRef(colour->second));
      SetBkMode(dc, TRANSPARENT);
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_HELP: ShowContextHelp(); return TRUE;
    default: break;
  }
  return Form::WndProc(msg, wParam, lParam);
}

}  // namespace tessaly::ui
