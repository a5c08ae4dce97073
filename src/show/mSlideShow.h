// The slide-show engine: the play lists built from the stored lists, the
// start of a show on a host window, the advance from picture to picture
// with captions, frames and sounds, and the transition effects.
//
// One SlideShow object holds the state that the whole process shares (the
// play lists, the stop flags, the two flags of the slide advance); the
// hosts reach it through the program's start-up state.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/CRegSettings.h"
#include "common/CommandMode.h"
#include "show/ShowHost.h"
#include "common/mCollection.h"
#include "common/mFiles.h"
#include "show/PlayList.h"
#include "show/Motion.h"

namespace tessaly {

// "*.bmp;*.gif;*.jpg;*.jpeg;*.wmf;*.emf;*.png;*.tif;*.tiff": what a folder
// entry of the picture list stands for, and the file dialogs' filter.
extern const char kPicturePatterns[];
extern const char kSoundPatterns[];  // "*.wav"

// The effect names as stored: "None", "Random", kEffects[0..8], the ones
// "Random" picks, and "Cross Fade", which came after them and which
// "Random" does not pick (the options dialog lists it last).
extern const char kNoEffect[];
extern const char kRandomEffect[];
extern const char* const kEffects[9];
extern const char kCrossFadeEffect[];

// The transition effects, in the order of kEffects, the cross-fade, then
// the two names that are no drawing of their own and any other (unknown)
// name.
enum class Effect {
  SweepRight,
  SweepLeft,
  SweepDown,
  SweepUp,
  Spotlight,
  Bubbles,
  HorizontalSandwich,
  VerticalSandwich,
  ShrinkingSquare,
  CrossFade,
  None,
  Random,
  Unknown
};
// The effect a stored name stands for; names are compared exactly (a name
// in another letter case is unknown and draws nothing).
Effect EffectNamed(const std::string& name);

class SlideShow {
 public:
  SlideShow(CRegSettings& settings, ShowPlatform& platform, FileSystem& fs, Mode mode, uintptr_t configOwnerHwnd = 0);
  ~SlideShow();

  // Stored lists and play lists.
  Collection BuildListFromRegistry(const std::string& section, const std::string& patterns);
  Collection BuildListFromListBox(const ListBox& list, const std::string& patterns);
  void SaveListsToRegistry(ConfigLists& dialog);
  void GetConfiguration(ConfigLists& dialog);

  // Show start and advance. ListSource not 0: the stored lists; 0: the
  // host's own list boxes.
  void StartSlideShow(Image& Target, long ListSource, ShowHost& Host);
  // Runs the show already started on one more window (the full-screen show
  // has one per monitor): the play lists, their shuffle and the speed stay as
  // the start made them, so all windows go through the one list and show
  // consecutive pictures; the window takes the background colour and its
  // first tick comes half a second later.
  void JoinSlideShow(Image& Target, ShowHost& Host);
  // A tick that comes while another window's tick is still running (its
  // transition lets messages run) is put off: that window's timer comes again
  // after this many milliseconds.
  static constexpr long kPutOffMs = 50;
  // A tick whose picture has not been found yet (folders are still being
  // walked) comes again after this many milliseconds, with nothing changed.
  static constexpr long kWaitForListMs = 100;
  void NextSlide(Image& Target, Image& Work, long unused = 0);
  [[noreturn]] void EndShow();

  void RunTransition(Image& Target);

  Mode RunMode() const { return mode_; }

  // The pictures: filled while the show runs (see PlayList).
  PlayList PicList;
  Collection SoundList;
  // Builds PicList; its walks of folders are kept from one start of the
  // configuration window's preview to the next.
  PlayListBuilder& PictureBuilder() { return *pictureBuilder_; }
  // The default speed until a stored one is read: a stored speed too large
  // to read at the first start leaves this, not a delay slower than the
  // slowest speed the options allow.
  int32_t TransSpeed = 20;
  int32_t StepDelay = 0;
  // The last cross-fade: its nominal and its measured length in seconds
  // (the time from its first frame to the frame that shows the new
  // picture alone), and how many frames it drew.
  struct FadeRecord {
    double nominal = 0, measured = 0;
    int frames = 0;
  } LastFade;
  bool StopShow = false;
  bool InterruptShow = false;
  // Kept for the whole life of the process, across show starts.
  bool FirstSlideShown = false;
  bool ResetApplied = false;

 private:
  std::string Option(const std::string& name, const std::string& defaultText);
  double OptionNumber(const std::string& name, const std::string& defaultText);
  int32_t ListPosition(const std::string& resetName, const std::string& lastName);
  void AddEntry(Collection& list, const std::string& entry, const std::string& patterns);
  // The pictures of these entries' paths; their walks kept when `keep`.
  void BuildPictureList(const std::vector<std::string>& paths, bool keep);
  bool InPreview() const { return mode_ == Mode::Preview || mode_ == Mode::Configure; }

  // The steps of a slide advance; each protects its own parts.
  void PutOff(Image& target);
  void CloseLeftOverWindow();
  // Clears the surface and hides the target when there is no picture to
  // show; true when there is.
  bool PicturesToShow(Image& target);
  int32_t PicturePosition();
  // The picture to show and the position to store; false when it has not
  // been found yet (the tick waits for it).
  bool NextPicture(long& index, int32_t& position);
  void WaitForList(Image& target);
  // The transition over the shown picture (none before the first picture of
  // the process); false when the window was closed meanwhile.
  bool TransitionFirst(Image& target);
  void PlaceAtNaturalSize(Image& target, Image& work, long position);
  void PlaceStretched(Image& target, long position);
  void DrawFrame(Surface& surface, Image& target, int16_t frameWidth);
  void DrawCaption(Surface& surface, Image& target, long position, bool stretched);
  void PlayNextSound(Image& target);
  void RenewInterval(Image& target);

  // Motion. What a target shows, as motion draws it: the picture with its
  // placed rectangle and framing, the area it may use, and its way while it
  // pans (started at `start`, `duration` seconds long).
  struct Shown {
    MotionLayer layer;
    MotionRect placed;
    MotionRect area;
    bool pans = false;
    PanPath path;
    double start = 0, duration = 0;
    MotionLayer At(double now) const;
  };
  bool PanZoomOn();
  double SwapSeconds();
  // The part of the surface pictures use: all of it, less the caption line.
  MotionRect MotionArea(Surface& surface, long position);
  MotionRect NaturalRect(Image& target, Image& work);
  // Loads the picture at `position` and places it as the slide will, for
  // a cross-fade into it; empty when it cannot be loaded.
  const Shown* PrepareNext(Image& target, Image& work, long position);
  // The picture to place: the one a cross-fade loaded, or a fresh load.
  PicturePtr ListedPicture(long position);
  // What the target shows now, or empty.
  std::optional<Shown> ShownBy(Image& target);
  // Records what the target shows after a slide and starts its pan.
  void StartMotion(Image& target, long position);
  void StopMotion(Image& target);
  // One frame of the target's pan; false once it has come to its end.
  bool PanStep(Image& target);

  // The transitions: the step end every effect calls after each step (with
  // what Bubbles does between letting messages run and the delay), and one
  // function per effect. The step end stops the effect when `host` has been
  // unloaded meanwhile.
  struct EffectRun {
    Surface& c;
    Image& target;
    const LoadedWindow& host;
    Color bg;
  };
  void StepEnd(const LoadedWindow& host, const std::function<void()>& beforeDelay = {});
  void RunEffect(Image& Target);
  Effect RandomEffect();
  void SweepRight(const EffectRun& run);
  void SweepLeft(const EffectRun& run);
  void SweepDown(const EffectRun& run);
  void SweepUp(const EffectRun& run);
  void VerticalSandwich(const EffectRun& run);
  void HorizontalSandwich(const EffectRun& run);
  void ShrinkingSquare(const EffectRun& run);
  void Spotlight(const EffectRun& run);
  void Bubbles(const EffectRun& run);
  void CrossFade(const EffectRun& run);

  CRegSettings& settings_;
  ShowPlatform& platform_;
  FileSystem& fs_;
  Mode mode_;
  uintptr_t configOwnerHwnd_;
  bool inSlide_ = false;  // a NextSlide is running
  std::unique_ptr<PlayListBuilder> pictureBuilder_;
  bool randomPictures_ = false;  // "PicRandom" as the show started
  RandomOrder randomOrder_;
  // Motion: what each target shows, and within a slide the next picture a
  // cross-fade has loaded and the time its fade began.
  std::map<const Image*, Shown> shown_;
  std::function<const Shown*()> prepareNext_;
  std::optional<Shown> next_;
  std::optional<double> fadeStart_;
};

}  // namespace tessaly
