#include "LayoutCheck.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cctype>
#include <sstream>

#include "ui/Dpi.h"

namespace layouttest {
namespace {

enum class Kind { kFrame, kTabs, kPushButton, kCheck, kLabel, kPicture, kDropDown, kOther };

struct Control {
  HWND hwnd = nullptr;
  int id = 0;
  std::string cls;
  std::string text;
  DWORD style = 0;
  Kind kind = Kind::kOther;
  RECT rect{};  // in the window's client coordinates
};

std::string ClassOf(HWND hwnd) {
  char name[64] = {};
  GetClassNameA(hwnd, name, sizeof name);
  std::string lower = name;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

std::string TextOf(HWND hwnd) {
  std::string text(static_cast<std::size_t>(GetWindowTextLengthA(hwnd)) + 1, '\0');
  text.resize(static_cast<std::size_t>(GetWindowTextA(hwnd, &text[0], static_cast<int>(text.size()))));
  return text;
}

Kind KindOf(const std::string& cls, DWORD style) {
  if (cls == "button") {
    switch (style & BS_TYPEMASK) {
      case BS_GROUPBOX: return Kind::kFrame;
      case BS_PUSHBUTTON:
      case BS_DEFPUSHBUTTON: return Kind::kPushButton;
      case BS_CHECKBOX:
      case BS_AUTOCHECKBOX:
      case BS_3STATE:
      case BS_AUTO3STATE:
      case BS_RADIOBUTTON:
      case BS_AUTORADIOBUTTON: return Kind::kCheck;
      default: return Kind::kOther;
    }
  }
  if (cls == "static") {
    switch (style & SS_TYPEMASK) {
      case SS_LEFT:
      case SS_CENTER:
      case SS_RIGHT:
      case SS_LEFTNOWORDWRAP:
      case SS_SIMPLE: return Kind::kLabel;
      default: return Kind::kPicture;
    }
  }
  if (cls == "systabcontrol32") return Kind::kTabs;
  if (cls == "combobox" && (style & 3) != CBS_SIMPLE) return Kind::kDropDown;
  return Kind::kOther;
}

RECT RectIn(HWND window, HWND child) {
  RECT r{};
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

std::string RectText(const RECT& r) {
  std::ostringstream out;
  out << "(" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom << ")";
  return out.str();
}

std::string Describe(const Control& c) {
  std::ostringstream out;
  out << "control " << c.id << " \"" << c.text << "\" (" << c.cls << ") at " << RectText(c.rect);
  return out.str();
}

std::vector<Control> VisibleControls(HWND window) {
  std::vector<Control> controls;
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsWindowVisible(child)) continue;
    Control c;
    c.hwnd = child;
    c.id = GetDlgCtrlID(child);
    c.cls = ClassOf(child);
    c.text = TextOf(child);
    c.style = static_cast<DWORD>(GetWindowLongPtrA(child, GWL_STYLE));
    c.kind = KindOf(c.cls, c.style);
    c.rect = RectIn(window, child);
    controls.push_back(c);
  }
  return controls;
}

bool Contains(const RECT& outer, const RECT& inner) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

bool Overlap(const RECT& a, const RECT& b) {
  RECT common{};
  return IntersectRect(&common, &a, &b) != FALSE;
}

// Pixels of a 96-DPI screen at the control's DPI.
int Scaled(HWND control, int pixels) { return MulDiv(pixels, DpiOf(control), 96); }

HFONT FontOf(HWND control) {
  auto font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
  return font ? font : static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
}

// The text drawn in the control's own font: its extent on one line
// (`wrapWidth` 0), or wrapped at `wrapWidth` pixels as a label wraps it.
SIZE TextExtent(HWND control, const std::string& text, UINT flags, int wrapWidth = 0) {
  HDC dc = GetDC(control);
  HGDIOBJ previous = SelectObject(dc, FontOf(control));
  RECT r{0, 0, wrapWidth, 0};
  const UINT lines = wrapWidth > 0 ? DT_WORDBREAK | DT_EXPANDTABS : DT_SINGLELINE;
  DrawTextA(dc, text.c_str(), -1, &r, flags | lines | DT_CALCRECT);
  SelectObject(dc, previous);
  ReleaseDC(control, dc);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

// The control's font as "Face N px".
std::string FontName(HWND control) {
  HDC dc = GetDC(control);
  HGDIOBJ previous = SelectObject(dc, FontOf(control));
  char face[LF_FACESIZE] = {};
  GetTextFaceA(dc, sizeof face, face);
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  SelectObject(dc, previous);
  ReleaseDC(control, dc);
  return std::string(face) + " " + std::to_string(tm.tmHeight) + " px";
}

// Half the width of a digit in the control's font: the gap between a check
// box's glyph and its caption.
int HalfDigit(HWND control) {
  HDC dc = GetDC(control);
  HGDIOBJ previous = SelectObject(dc, FontOf(control));
  int width = 0;
  GetCharWidth32A(dc, '0', '0', &width);
  SelectObject(dc, previous);
  ReleaseDC(control, dc);
  return width / 2;
}

// The frame's caption as it is drawn over its top edge, indented from the
// left; empty for a frame without caption.
const int kFrameCaptionIndent = 7;  // pixels at 96 DPI

RECT FrameCaption(const Control& frame) {
  if (frame.text.empty()) return RECT{};
  const SIZE text = TextExtent(frame.hwnd, frame.text, 0);
  const int left = frame.rect.left + Scaled(frame.hwnd, kFrameCaptionIndent);
  return RECT{left, frame.rect.top, left + text.cx, frame.rect.top + text.cy};
}

// The tab strip's display area, where its pages' controls lie.
RECT TabDisplay(const Control& tabs) {
  RECT r = tabs.rect;
  SendMessageA(tabs.hwnd, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
  return r;
}

// Whether `inner` may lie on `outer`; a fault message when it lies there
// but not as it may (over the frame's caption, over the tabs).
bool MayLieOn(const Control& outer, const Control& inner, std::string& fault) {
  if (outer.kind != Kind::kFrame && outer.kind != Kind::kTabs) return false;
  if (!Contains(outer.rect, inner.rect)) return false;
  if (outer.kind == Kind::kFrame) {
    const RECT caption = FrameCaption(outer);
    if (!IsRectEmpty(&caption) && Overlap(caption, inner.rect))
      fault = Describe(inner) + " covers the caption of " + Describe(outer) + " at " + RectText(caption);
  } else {
    const RECT display = TabDisplay(outer);
    if (!Contains(display, inner.rect))
      fault = Describe(inner) + " leaves the page area " + RectText(display) + " of " + Describe(outer);
  }
  return true;
}

void CheckOverlaps(const std::string& name, const std::vector<Control>& controls, const std::vector<Nested>& nested) {
  auto find = [&controls](HWND hwnd) {
    return std::find_if(controls.begin(), controls.end(), [hwnd](const Control& c) { return c.hwnd == hwnd; });
  };
  for (const Nested& n : nested) {
    const auto outer = find(n.outer), inner = find(n.inner);
    if (outer == controls.end() || inner == controls.end()) {
      ADD_FAILURE() << name << ": a control that lies on another by design is not shown";
      continue;
    }
    EXPECT_TRUE(Contains(outer->rect, inner->rect))
        << name << ": " << Describe(*inner) << " is not wholly inside " << Describe(*outer);
  }
  for (std::size_t i = 0; i < controls.size(); ++i) {
    for (std::size_t j = i + 1; j < controls.size(); ++j) {
      const Control& a = controls[i];
      const Control& b = controls[j];
      if (!Overlap(a.rect, b.rect)) continue;
      const bool named = std::any_of(nested.begin(), nested.end(), [&](const Nested& n) {
        return (n.outer == a.hwnd && n.inner == b.hwnd) || (n.outer == b.hwnd && n.inner == a.hwnd);
      });
      if (named) continue;
      std::string fault;
      if (MayLieOn(a, b, fault) || MayLieOn(b, a, fault)) {
        if (!fault.empty()) ADD_FAILURE() << name << ": " << fault;
        continue;
      }
      ADD_FAILURE() << name << ": " << Describe(a) << " overlaps " << Describe(b);
    }
  }
}

void CheckCaption(const std::string& name, const Control& c) {
  RECT client{};
  GetClientRect(c.hwnd, &client);
  const int width = client.right, height = client.bottom;
  std::ostringstream fault;
  switch (c.kind) {
    case Kind::kPushButton: {
      if (c.text.empty()) return;
      // Inside the button's raised edge and its focus rectangle.
      const int margin = Scaled(c.hwnd, 3);
      const SIZE text = TextExtent(c.hwnd, c.text, 0);
      if (text.cx > width - 2 * margin || text.cy > height - 2 * Scaled(c.hwnd, 2))
        fault << "its caption needs " << text.cx << " x " << text.cy << " pixels inside a margin of " << margin;
      break;
    }
    case Kind::kCheck: {
      if (c.text.empty()) return;
      // Beside the glyph (12 pixels and its border at 96 DPI) and the gap
      // of half a digit; a pixel for the focus rectangle.
      const int beside = Scaled(c.hwnd, 12) + 1 + HalfDigit(c.hwnd) + Scaled(c.hwnd, 1);
      const SIZE text = TextExtent(c.hwnd, c.text, 0);
      if (text.cx > width - beside || text.cy > height)
        fault << "its caption needs " << text.cx << " x " << text.cy << " pixels beside a glyph of " << beside;
      break;
    }
    case Kind::kFrame: {
      if (c.text.empty()) return;
      const int indent = Scaled(c.hwnd, kFrameCaptionIndent);
      const SIZE text = TextExtent(c.hwnd, c.text, 0);
      if (text.cx > width - 2 * indent)
        fault << "its caption needs " << text.cx << " pixels between indents of " << indent;
      break;
    }
    case Kind::kLabel: {
      if (c.text.empty()) return;
      const UINT prefix = (c.style & SS_NOPREFIX) ? DT_NOPREFIX : 0;
      const DWORD type = c.style & SS_TYPEMASK;
      if (c.style & SS_ELLIPSISMASK) {
        // Shortened to its width by design: only its height counts.
        const SIZE text = TextExtent(c.hwnd, c.text, prefix);
        if (text.cy > height) fault << "its text is " << text.cy << " pixels tall";
      } else if (type == SS_LEFTNOWORDWRAP || type == SS_SIMPLE) {
        const SIZE text = TextExtent(c.hwnd, c.text, prefix);
        if (text.cx > width || text.cy > height) fault << "its text needs " << text.cx << " x " << text.cy;
      } else {
        const SIZE text = TextExtent(c.hwnd, c.text, prefix, width);
        if (text.cx > width || text.cy > height)
          fault << "its text, wrapped at " << width << " pixels, needs " << text.cx << " x " << text.cy;
      }
      break;
    }
    case Kind::kDropDown: {
      COMBOBOXINFO info{};
      info.cbSize = sizeof info;
      if (!GetComboBoxInfo(c.hwnd, &info)) return;
      const int room = info.rcItem.right - info.rcItem.left;
      const LRESULT count = SendMessageA(c.hwnd, CB_GETCOUNT, 0, 0);
      for (LRESULT i = 0; i < count; ++i) {
        std::string item(static_cast<std::size_t>(SendMessageA(c.hwnd, CB_GETLBTEXTLEN, i, 0)) + 1, '\0');
        SendMessageA(c.hwnd, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&item[0]));
        item.resize(item.size() - 1);
        const SIZE text = TextExtent(c.hwnd, item, DT_NOPREFIX);
        if (text.cx > room) fault << "its entry \"" << item << "\" needs " << text.cx << " pixels; ";
      }
      if (!fault.str().empty()) fault << "the entry area is " << room << " pixels wide";
      break;
    }
    default: return;
  }
  if (!fault.str().empty())
    ADD_FAILURE() << name << ": " << Describe(c) << " (client " << width << " x " << height << ", font "
                  << FontName(c.hwnd) << "): " << fault.str();
}

}  // namespace

int DpiOf(HWND window) { return tessaly::ui::WindowDpi(window); }

SIZE BaseUnits(HWND dialog) {
  RECT r{0, 0, 4, 8};
  MapDialogRect(dialog, &r);
  return SIZE{r.right, r.bottom};
}

std::string FontReport(HWND dialog) {
  HDC dc = GetDC(dialog);
  HGDIOBJ previous = SelectObject(dc, FontOf(dialog));
  char face[LF_FACESIZE] = {};
  GetTextFaceA(dc, sizeof face, face);
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  // The alphabet's width, from which the dialog manager takes its units.
  const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  SIZE alphabet{};
  GetTextExtentPoint32A(dc, kAlphabet, static_cast<int>(sizeof kAlphabet - 1), &alphabet);
  // The font file's own name: with a replacement the face keeps the name
  // asked for, the file is the other font's.
  std::string full = "?";
  const UINT size = GetOutlineTextMetricsA(dc, 0, nullptr);
  if (size > 0) {
    std::vector<char> buffer(size);
    auto* otm = reinterpret_cast<OUTLINETEXTMETRICA*>(buffer.data());
    if (GetOutlineTextMetricsA(dc, size, otm) && otm->otmpFullName)
      full = buffer.data() + reinterpret_cast<std::uintptr_t>(otm->otmpFullName);
  }
  SelectObject(dc, previous);
  ReleaseDC(dialog, dc);
  const SIZE units = BaseUnits(dialog);
  std::ostringstream out;
  out << "dpi " << DpiOf(dialog) << ", font \"" << face << "\" (" << full << ") " << tm.tmHeight << " px, alphabet "
      << alphabet.cx << " px, base units " << units.cx << " x " << units.cy;
  return out.str();
}

void CheckLayout(HWND window, const std::string& name, const std::vector<Nested>& nested) {
  ASSERT_TRUE(IsWindow(window)) << name << " is not open";
  ASSERT_TRUE(IsWindowVisible(window)) << name << " is not shown";
  const std::vector<Control> controls = VisibleControls(window);
  ASSERT_FALSE(controls.empty()) << name << " shows no control";
  RECT client{};
  GetClientRect(window, &client);
  for (const Control& c : controls) {
    EXPECT_TRUE(Contains(client, c.rect))
        << name << ": " << Describe(c) << " leaves the client area " << RectText(client);
    CheckCaption(name, c);
  }
  CheckOverlaps(name, controls, nested);
}

}  // namespace layouttest
