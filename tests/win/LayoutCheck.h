// The layout of one open window, whatever its font and DPI: over its
// visible child controls,
//  - no two overlap, unless one is a frame (a group box, or the tab strip
//    whose pages lie on it) that wholly contains the other, clear of the
//    frame's caption and (for the tab strip) of its tabs; or the pair is
//    named as lying one on the other by design (the preview on the monitor
//    picture), the inner one wholly inside the outer;
//  - no caption is wider than its control, measured in the control's own
//    font: push buttons within their edges, check boxes and option buttons
//    beside their glyph, group boxes between their caption indents, labels
//    that wrap by the height of their wrapped text, the entries of a
//    drop-down list beside its button;
//  - every control lies inside the window's client area.
// Each fault is reported as a test failure naming the window, the controls
// (ids and captions) and their rectangles.
#pragma once

#include "common/Win32.h"

#include <string>
#include <utility>
#include <vector>

namespace layouttest {

// Two controls of which the inner one lies on the outer one by design.
struct Nested {
  HWND outer;
  HWND inner;
};

void CheckLayout(HWND window, const std::string& name, const std::vector<Nested>& nested = {});

// The window's dialog font and its measures, as one line for the log of the
// run ("dpi 96, font \"MS Shell Dlg\" (Tahoma) 13 px, alphabet 330 px,
// base units 6 x 13"), so the runs under
// different fonts can be told apart.
std::string FontReport(HWND dialog);

// The dialog's base units (the pixels of 4 horizontal and 8 vertical
// dialog units).
SIZE BaseUnits(HWND dialog);

// The DPI of the window's monitor.
int DpiOf(HWND window);

}  // namespace layouttest
