// The options record between the store and the options dialog.
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "common/AppError.h"
#include "common/CRegSettings.h"
#include "common/MemoryRegistry.h"
#include "dialogs/Options.h"

using namespace tessaly;

namespace {

// The dialog's controls with the rules of the real ones: a check box holds
// 0..2, the effect list knows the eleven names and "Cross Fade", the slider
// runs from 1 to 20.
class FakeOptionsForm : public OptionsForm {
 public:
  std::map<int, int16_t> checks;
  std::map<int, std::string> boxes;
  std::map<int, Color> swatches;
  std::string effect;  // "" while nothing is chosen
  int32_t speed = 20;
  std::vector<std::string> effects{
      "None",      "Random",  "Sweep Right",         "Sweep Left",        "Sweep Down",       "Sweep Up",
      "Spotlight", "Bubbles", "Horizontal Sandwich", "Vertical Sandwich", "Shrinking Square", "Cross Fade"};

  int16_t CheckValue(Check c) const override { return checks.count(c) ? checks.at(c) : 0; }
  void SetCheckValue(Check c, int16_t v) override {
    if (v < 0 || v > 2) throw errors::InvalidPropertyValue("CheckBox");
    checks[c] = v;
  }
  std::string Text(Box b) const override { return boxes.count(b) ? boxes.at(b) : ""; }
  void SetText(Box b, const std::string& t) override { boxes[b] = t; }
  Color SwatchColor(Swatch s) const override { return swatches.count(s) ? swatches.at(s) : 0; }
  void SetSwatchColor(Swatch s, Color c) override { swatches[s] = c; }
  std::string EffectText() const override { return effect; }
  void SetEffectText(const std::string& t) override {
    for (const auto& e : effects)
      if (e == t) {
        effect = t;
        return;
      }
    throw errors::InvalidPropertyValue("ComboBox");
  }
  int32_t SpeedPosition() const override { return speed; }
  void SetSpeedPosition(int32_t p) override {
    if (p < 1 || p > 20) throw errors::InvalidPropertyValue("Slider");
    speed = p;
  }
};

struct OptionsTest : ::testing::Test {
  MemoryRegistry registry;
  CRegSettings settings{registry, "Quillmark Inc.", "Tessaly Customizable Screen Saver"};
  FakeOptionsForm frm;

  void Store(const std::string& name, const std::string& value) { settings.SaveSetting("Options", name, value); }
  std::string Stored(const std::string& name) { return settings.GetSetting("Options", name, "<missing>"); }
};

}  // namespace

TEST_F(OptionsTest, AFreshUserSeesTheDefaults) {
  frm.speed = 7;
  LoadOptions(settings, frm);
  EXPECT_EQ(frm.Text(OptionsForm::txtInterval), "5");
  EXPECT_EQ(frm.Text(OptionsForm::txtFrameThickness), "3");
  EXPECT_EQ(frm.SwatchColor(OptionsForm::lblBackColor), 0);
  EXPECT_EQ(frm.SwatchColor(OptionsForm::lblFrameColor), 0xFFFFFF);  // white in the dialog
  EXPECT_EQ(frm.EffectText(), "Random");
  EXPECT_EQ(frm.SpeedPosition(), 20);
  for (int c = OptionsForm::chkPicRandom; c <= OptionsForm::chkPanZoom; ++c)
    EXPECT_EQ(frm.CheckValue(static_cast<OptionsForm::Check>(c)), 0) << c;
}

TEST_F(OptionsTest, StoredTextsAreReadAsNumbers) {
  Store("Interval", "07");
  Store("FrameThickness", "x");
  Store("BackColor", "&H00FF8000&");
  Store("FrameColor", "255");
  Store("ShowFrame", "1");
  Store("ResetPicList", "2");
  Store("TransSpeed", "4.5");  // rounds half to even
  LoadOptions(settings, frm);
  EXPECT_EQ(frm.Text(OptionsForm::txtInterval), "7");
  EXPECT_EQ(frm.Text(OptionsForm::txtFrameThickness), "0");
  EXPECT_EQ(frm.SwatchColor(OptionsForm::lblBackColor), 0xFF8000);
  EXPECT_EQ(frm.SwatchColor(OptionsForm::lblFrameColor), 255);
  EXPECT_EQ(frm.CheckValue(OptionsForm::chkShowFrame), 1);
  EXPECT_EQ(frm.CheckValue(OptionsForm::chkResetPicList), 2);  // the grey state
  EXPECT_EQ(frm.SpeedPosition(), 4);
}

TEST_F(OptionsTest, FromTheEffectOnAFailingValueIsSkipped) {
  Store("SwapAffect", "sweep right");  // not a listed name: case matters
  Store("TransSpeed", "99");
  Store("FrameThickness", "12");
  Store("ResetSoundList", "1");
  frm.speed = 9;
  LoadOptions(settings, frm);
  EXPECT_EQ(frm.EffectText(), "");  // the list keeps its initial state
  EXPECT_EQ(frm.SpeedPosition(), 9);
  EXPECT_EQ(frm.Text(OptionsForm::txtFrameThickness), "12");
  EXPECT_EQ(frm.CheckValue(OptionsForm::chkResetSoundList), 1);
}

TEST_F(OptionsTest, TheFirstSixValuesAreNotProtected) {
  Store("Stretch", "5");  // no check-box state
  Store("Interval", "9");
  EXPECT_THROW(LoadOptions(settings, frm), AppError);
  EXPECT_EQ(frm.Text(OptionsForm::txtInterval), "");  // loading stopped before it

  FakeOptionsForm other;
  Store("Stretch", "1");
  Store("BackColor", "99999999999");  // beyond 32 bits
  EXPECT_THROW(LoadOptions(settings, other), AppError);
  EXPECT_EQ(other.EffectText(), "");
}

TEST_F(OptionsTest, SavingStoresEveryControlInItsStoredForm) {
  frm.checks[OptionsForm::chkStretch] = 1;
  frm.checks[OptionsForm::chkShowFrame] = 2;
  frm.boxes[OptionsForm::txtInterval] = "07";
  frm.boxes[OptionsForm::txtFrameThickness] = "3a";
  frm.swatches[OptionsForm::lblBackColor] = 0x0000FF;
  frm.swatches[OptionsForm::lblFrameColor] = 0xFFFFFF;
  frm.effect = "Bubbles";
  frm.speed = 13;
  SaveOptions(settings, frm);
  EXPECT_EQ(Stored("PicRandom"), "0");
  EXPECT_EQ(Stored("Stretch"), "1");
  EXPECT_EQ(Stored("ShowFrame"), "2");
  EXPECT_EQ(Stored("Interval"), "07");  // as typed
  EXPECT_EQ(Stored("FrameThickness"), "3a");
  EXPECT_EQ(Stored("BackColor"), "255");
  EXPECT_EQ(Stored("FrameColor"), "16777215");
  EXPECT_EQ(Stored("SwapAffect"), "Bubbles");
  EXPECT_EQ(Stored("TransSpeed"), "13");
  EXPECT_EQ(Stored("ResetSoundList"), "0");
  EXPECT_EQ(Stored("LastPicture"), "<missing>");  // the dialog never touches the positions

  // What was saved loads back unchanged.
  FakeOptionsForm again;
  LoadOptions(settings, again);
  EXPECT_EQ(again.checks, (std::map<int, int16_t>{{OptionsForm::chkPicRandom, 0},
                                                  {OptionsForm::chkShowFileName, 0},
                                                  {OptionsForm::chkSoundRandom, 0},
                                                  {OptionsForm::chkStretch, 1},
                                                  {OptionsForm::chkShowFrame, 2},
                                                  {OptionsForm::chkResetPicList, 0},
                                                  {OptionsForm::chkResetSoundList, 0},
                                                  {OptionsForm::chkSubfolders, 0},
                                                  {OptionsForm::chkPanZoom, 0}}));
  EXPECT_EQ(again.Text(OptionsForm::txtInterval), "7");
  EXPECT_EQ(again.Text(OptionsForm::txtFrameThickness), "3");
  EXPECT_EQ(again.SwatchColor(OptionsForm::lblBackColor), 0x0000FF);
  EXPECT_EQ(again.EffectText(), "Bubbles");
  EXPECT_EQ(again.SpeedPosition(), 13);
}

TEST_F(OptionsTest, PanAndZoomAndTheCrossFadeAreStoredAndShown) {
  frm.checks[OptionsForm::chkPanZoom] = 1;
  frm.effect = "Cross Fade";
  SaveOptions(settings, frm);
  EXPECT_EQ(Stored("PanZoom"), "1");
  EXPECT_EQ(Stored("SwapAffect"), "Cross Fade");
  FakeOptionsForm again;
  LoadOptions(settings, again);
  EXPECT_EQ(again.CheckValue(OptionsForm::chkPanZoom), 1);
  EXPECT_EQ(again.EffectText(), "Cross Fade");

  // Another letter case names no item: the list keeps its state, and the
  // values after it still load.
  Store("SwapAffect", "cross fade");
  Store("PanZoom", "0");
  FakeOptionsForm other;
  LoadOptions(settings, other);
  EXPECT_EQ(other.EffectText(), "");
  EXPECT_EQ(other.CheckValue(OptionsForm::chkPanZoom), 0);
  EXPECT_EQ(other.checks.count(OptionsForm::chkPanZoom), 1u);
}
