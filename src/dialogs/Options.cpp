#include "dialogs/Options.h"

#include <exception>
#include <functional>

#include "common/Convert.h"
#include "show/OptionNames.h"
#include "show/mSlideShow.h"

namespace tessaly {
namespace {

// What kind of control shows a value.
enum class Kind { Check, Box, Swatch, Effect, Speed };

struct OptionRow {
  const char* name;
  Kind kind;
  int control;  // OptionsForm::Check, Box or Swatch
  const char* dialogDefault;
};

// The options record in its order.
const OptionRow kRecord[] = {
    {opt::kPicRandom, Kind::Check, OptionsForm::chkPicRandom, ""},
    {opt::kShowFileName, Kind::Check, OptionsForm::chkShowFileName, ""},
    {opt::kSoundRandom, Kind::Check, OptionsForm::chkSoundRandom, ""},
    {opt::kStretch, Kind::Check, OptionsForm::chkStretch, ""},
    {opt::kInterval, Kind::Box, OptionsForm::txtInterval, opt::kDefaultInterval},
    {opt::kBackColor, Kind::Swatch, OptionsForm::lblBackColor, opt::kDefaultBlack},
    {opt::kSwapAffect, Kind::Effect, 0, kRandomEffect},
    {opt::kTransSpeed, Kind::Speed, 0, opt::kDefaultSpeed},
    {opt::kFrameThickness, Kind::Box, OptionsForm::txtFrameThickness, opt::kDefaultThickness},
    {opt::kFrameColor, Kind::Swatch, OptionsForm::lblFrameColor, opt::kDefaultDialogFrameColor},
    {opt::kShowFrame, Kind::Check, OptionsForm::chkShowFrame, ""},
    {opt::kResetPicList, Kind::Check, OptionsForm::chkResetPicList, ""},
    {opt::kResetSoundList, Kind::Check, OptionsForm::chkResetSoundList, ""},
    {opt::kSubfolders, Kind::Check, OptionsForm::chkSubfolders, ""},
    // Beyond the record of the first versions.
    {opt::kPanZoom, Kind::Check, OptionsForm::chkPanZoom, ""},
};

// "SwapAffect" is the first value whose failure is skipped.
const std::size_t kFirstProtected = 6;

void LoadOne(CRegSettings& settings, OptionsForm& frm, const OptionRow& row) {
  const std::string stored = settings.GetSetting(opt::kSection, row.name, row.dialogDefault);
  switch (row.kind) {
    case Kind::Check:
      frm.SetCheckValue(static_cast<OptionsForm::Check>(row.control), ToInt16(NumberOfText(stored)));
      break;
    case Kind::Box: frm.SetText(static_cast<OptionsForm::Box>(row.control), TextOfNumber(NumberOfText(stored))); break;
    case Kind::Swatch:
      frm.SetSwatchColor(static_cast<OptionsForm::Swatch>(row.control), ToInt32(NumberOfText(stored)));
      break;
    case Kind::Effect: frm.SetEffectText(stored); break;
    case Kind::Speed: frm.SetSpeedPosition(ToInt32(NumberOfText(stored))); break;
  }
}

std::string StoredForm(const OptionsForm& frm, const OptionRow& row) {
  switch (row.kind) {
    case Kind::Check:
      return TextOfNumber(static_cast<long>(frm.CheckValue(static_cast<OptionsForm::Check>(row.control))));
    case Kind::Box: return frm.Text(static_cast<OptionsForm::Box>(row.control));
    case Kind::Swatch:
      return TextOfNumber(static_cast<long>(frm.SwatchColor(static_cast<OptionsForm::Swatch>(row.control))));
    case Kind::Effect: return frm.EffectText();
    case Kind::Speed: return TextOfNumber(static_cast<long>(frm.SpeedPosition()));
  }
  return std::string();
}

}  // namespace

void LoadOptions(CRegSettings& settings, OptionsForm& frm) {
  for (std::size_t i = 0; i < std::size(kRecord); ++i) {
    if (i < kFirstProtected) {
      LoadOne(settings, frm, kRecord[i]);
      continue;
    }
    try {
      LoadOne(settings, frm, kRecord[i]);
    } catch (const std::exception&) {
      // A value the control cannot show leaves the control as it was.
    }
  }
}

void SaveOptions(CRegSettings& settings, const OptionsForm& frm) {
  for (const OptionRow& row : kRecord) settings.SaveSetting(opt::kSection, row.name, StoredForm(frm, row));
}

}  // namespace tessaly
