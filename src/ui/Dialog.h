// A form made from a dialog template: its controls are the template's, the
// dialog manager gives it Tab, Enter, Esc and access keys, and it routes
// WM_COMMAND and WM_NOTIFY to handlers registered by control id. It also
// keeps the tool tips of its controls, the colours and fonts of its labels,
// and its help context (F1, or WM_HELP).
#pragma once

#include "common/Win32.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/Controls.h"
#include "ui/Form.h"
#include "common/ScopedWin.h"

namespace tessaly::ui {

// A child window's rectangle in its parent's client area.
RECT ChildRect(HWND parent, HWND child);

class Dialog : public Form {
 public:
  Dialog(int templateId, std::string caption = std::string());
  ~Dialog() override;

  HWND Item(int id) const { return GetDlgItem(hWnd(), id); }

  // Handlers by control id: a button click (BN_CLICKED, also the IDOK /
  // IDCANCEL the dialog manager sends for Enter and Esc), another command
  // code, or a WM_NOTIFY code.
  void OnClick(int id, std::function<void()> handler);
  void OnCommand(int id, int code, std::function<void()> handler);
  void OnNotify(int id, UINT code, std::function<LRESULT(NMHDR&)> handler);

  // The tool tip shown while the mouse rests on the control.
  void SetTip(int id, const std::string& text);
  // Gives each control whose id has a string `base` + id in the string
  // table that string as its tip.
  void LoadTips(int base);
  // The tool tip window (created with the first tip); nullptr before.
  HWND TipWindow() const { return tips_; }

  // A label shown as a swatch of this colour (its background).
  void SetSwatch(int id, Color color);
  // A label's text colour and font (face, points, bold).
  void SetLabelColor(int id, Color color);
  void SetItemFont(int id, const std::string& face, double points, bool bold);
  // Grows a label that wraps its text to the height the text takes in the
  // label's own font at its width, where the template gave it less; the
  // controls below it and the window's bottom edge move down as far.
  void FitLabelHeight(int id);

  // The help context of this dialog (common/HelpPage.h), whose topic F1
  // shows (0: none).
  void SetHelpContext(unsigned long context) { helpContext_ = context; }
  unsigned long HelpContext() const { return helpContext_; }

  // Text and state of controls.
  std::string ItemText(int id) const;
  void SetItemText(int id, const std::string& text);
  void EnableItem(int id, bool enabled);
  bool ItemEnabled(int id) const;
  void ShowItem(int id, bool visible);
  bool ItemVisible(int id) const;
  void FocusItem(int id);

 protected:
  LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
  // Called for WM_HELP; the default shows the topic of HelpContext() in
  // the help page.
  virtual void ShowContextHelp();

 private:
  HBRUSH SwatchBrush(int id);

  std::map<std::pair<int, int>, std::function<void()>> commands_;
  std::map<std::pair<int, UINT>, std::function<LRESULT(NMHDR&)>> notifies_;
  HWND tips_ = nullptr;
  std::map<int, Color> swatches_;
  std::map<int, std::unique_ptr<GdiObject<HBRUSH>>> swatchBrushes_;
  std::map<int, Color> labelColors_;
  std::vector<std::unique_ptr<GdiObject<HFONT>>> fonts_;
  unsigned long helpContext_ = 0;
};

}  // namespace tessaly::ui
