// Process-wide services of the window layer: the twips scale, the list of
// loaded forms, message pumping and the transition pacer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Win32.h"
#include "Controls.h"

namespace tessaly::ui {

class Form;

// Twips per pixel horizontally and vertically (15/15 until set).
void InitTwips(int twipsX, int twipsY);
int TwipsX();
int TwipsY();

// Pixel <-> twip conversions with the current scale (pixels rounded).
int TwipsToPixelsX(double twips);
int TwipsToPixelsY(double twips);

// Registers a window class of the layer once (double clicks on, arrow
// cursor); a class that already exists counts as registered.
void RegisterWindowClass(const char* name, WNDPROC proc, HBRUSH background);

// The loaded forms, in load order.
std::vector<LoadedWindow*> Forms();

// Runs every pending message once. A WM_QUIT seen here is posted again so
// the main loop still ends.
void DoEvents();

// Waits `passes` × 25 µs of wall time while pumping messages, without
// spinning a core. The time owed is kept between calls, so many short
// delays add up to the sum of their passes.
void DelayPasses(long passes);

// GetMessage loop until WM_QUIT; returns its exit code. Returns 0 at once
// when no form is loaded.
int RunMessageLoop();

// Ends the process at once (ExitProcess(0)); no handler runs.
[[noreturn]] void EndProgram();

namespace detail {
// Bookkeeping used by Form.
void AddForm(Form* form);
// Removes the form; true when it was listed.
bool RemoveForm(Form* form);
std::size_t FormCount();
}  // namespace detail

}  // namespace tessaly::ui
