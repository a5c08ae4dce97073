// The options dialog: the options record on two pages, Pictures and Sounds,
// stored at OK once the swap interval and the frame thickness are in range.
#pragma once

#include <string>

#include "common/CRegSettings.h"
#include "ui/Dialog.h"
#include "dialogs/Options.h"

namespace tessaly {

class frmOptions : public ui::Dialog, public OptionsForm {
 public:
  explicit frmOptions(CRegSettings& settings);

  // The window's icon (the configuration window gives its own).
  void SetIcon(HICON icon) { icon_ = icon; }

  void Form_Load() override;
  void TabStrip1_Click();
  void chkStretch_Click();
  void chkShowFrame_Click();
  void cmdBackColor_Click();
  void cmdFrameColor_Click();
  void CmdOK_Click();
  void CmdCancel_Click();
  void cmdHelp_Click();
  // Accepts only the digits and Backspace; sets KeyAscii to 0 for others.
  void txtInterval_KeyPress(int& KeyAscii);

  // The page shown: 1 Pictures, 2 Sounds.
  int CurFrame = 1;

  // OptionsForm
  int16_t CheckValue(Check c) const override;
  void SetCheckValue(Check c, int16_t value) override;
  std::string Text(Box b) const override;
  void SetText(Box b, const std::string& text) override;
  Color SwatchColor(Swatch s) const override;
  void SetSwatchColor(Swatch s, Color c) override;
  std::string EffectText() const override;
  void SetEffectText(const std::string& text) override;
  int32_t SpeedPosition() const override;
  void SetSpeedPosition(int32_t position) override;

 protected:
  LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  void UpdateFrameControls();
  void ClickCheck(int id);
  void ChooseSwatchColor(Swatch s);
  // Shows page `index` (1 or 2) as a click on its tab would.
  void SelectPage(int index);
  // Puts the focus on a text box that failed its range check, showing its
  // page first; a disabled box leads to the check box that disabled it.
  void LeadTo(int id);
  bool RangeCheck(int id, double low, double high, const char* message);

  CRegSettings& settings_;
  HICON icon_ = nullptr;
  Color swatch_[2] = {0, 0};
  // The tabs' tips (string table), kept for the tab strip's tool tip.
  std::wstring tabTips_[2];
  std::string tabTipsAnsi_[2];
};

}  // namespace tessaly
