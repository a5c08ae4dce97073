// Process-wide services of the window layer: the twips scale, the list of
// loaded forms, message pumping and the transition pacer.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "common/Win32.h"
#include "common/Controls.h"

namespace tessaly::ui {

class Form;

// Twips per pixel horizontally and vertically (15/15 until set).
void InitTwips(int twipsX, int twipsY);
int TwipsX();
int TwipsY();

// Pixel <-> twip conversions with the current scale (pixels rounded).
int TwipsToPixelsX(double twips);
int TwipsToPixelsY(double twips);

// A colour of the program (red in the low byte; the high bit names a
// system colour) as GDI takes it.
COLORREF ToColorRef(Color c);

// Registers a window class of the layer once (double clicks on, arrow
// cursor); a class that already exists counts as registered.
void RegisterWindowClass(const char* name, WNDPROC proc, HBRUSH background);

// The loaded forms, in load order.
std::vector<LoadedWindow*> Forms();

// Hands one message from the queue to its window: the accelerator table of
// its top-level window first, then the dialog manager when that window is a
// dialog (Tab, Enter, Esc, access keys), otherwise TranslateMessage and
// DispatchMessage. Every message pump of the program goes through this.
void DispatchQueued(MSG& msg);

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

// GetMessage loop while `running()` holds. Returns the exit code of a
// WM_QUIT that ended it (the caller posts it again), or -1.
int RunModalLoop(const std::function<bool()>& running);

// A string of the program's string table; "" when it has none of this id.
std::string LoadText(UINT id);
std::wstring LoadWideText(UINT id);

// Loads the common controls the dialogs use (tabs, trackbars, tool tips).
void InitDialogControls();

// Draws a control without the visual style of the system (where there is
// one), in the plain colours of the dialog.
void DrawPlainly(HWND control);

// A message box whose text may name files: the text and title are the
// program's UTF-8 and shown through the wide call.
int MessageBoxText(HWND owner, const std::string& text, const std::string& title, UINT type);

// Ends the process at once (ExitProcess(0)); no handler runs.
[[noreturn]] void EndProgram();

namespace detail {
// Bookkeeping used by Form.
void AddForm(Form* form);
// Removes the form; true when it was listed.
bool RemoveForm(Form* form);
std::size_t FormCount();
// The accelerator table of a top-level window (nullptr removes it).
void SetWindowAccelerators(HWND hwnd, HACCEL table);
}  // namespace detail

}  // namespace tessaly::ui
