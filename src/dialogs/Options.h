// The options record between the store and the options dialog: LoadOptions
// fills the dialog's controls from the stored values, SaveOptions stores
// them. The dialog is reached through OptionsForm, so both run natively in
// the tests.
#pragma once

#include <cstdint>
#include <string>

#include "common/CRegSettings.h"
#include "common/Controls.h"

namespace tessaly {

// The options dialog's controls as the two procedures see them.
class OptionsForm {
 public:
  enum Check {
    chkPicRandom,
    chkShowFileName,
    chkSoundRandom,
    chkStretch,
    chkShowFrame,
    chkResetPicList,
    chkResetSoundList,
    chkSubfolders,
    chkPanZoom
  };
  enum Box { txtInterval, txtFrameThickness };
  enum Swatch { lblBackColor, lblFrameColor };

  virtual ~OptionsForm() = default;
  // 0 unchecked, 1 checked, 2 grey; another value raises an invalid-property
  // error (380).
  virtual int16_t CheckValue(Check c) const = 0;
  virtual void SetCheckValue(Check c, int16_t value) = 0;
  virtual std::string Text(Box b) const = 0;
  virtual void SetText(Box b, const std::string& text) = 0;
  virtual Color SwatchColor(Swatch s) const = 0;
  virtual void SetSwatchColor(Swatch s, Color c) = 0;
  // cboAffect's text; setting a text that names no item raises 380 and
  // leaves the list as it was.
  virtual std::string EffectText() const = 0;
  virtual void SetEffectText(const std::string& text) = 0;
  // sldSpeed's position; a position outside the slider's range raises 380.
  virtual int32_t SpeedPosition() const = 0;
  virtual void SetSpeedPosition(int32_t position) = 0;
};

// Value by value in the record's order. The first six values are set
// without protection (an error goes to the caller); from "SwapAffect" on, a
// step that fails is skipped and the next one runs.
void LoadOptions(CRegSettings& settings, OptionsForm& frm);
// Value by value in the same order, each written at once.
void SaveOptions(CRegSettings& settings, const OptionsForm& frm);

}  // namespace tessaly
