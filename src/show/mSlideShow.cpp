#include "show/mSlideShow.h"

#include <cmath>
#include <exception>
#include <functional>

#include "common/AppError.h"
#include "common/Convert.h"
#include "common/mListBox.h"
#include "show/mSound.h"
#include "show/OptionNames.h"
#include "common/ScopeFlag.h"

namespace tessaly {

// Beyond the formats of the first versions: PNG and TIFF.
const char kPicturePatterns[] = "*.bmp;*.gif;*.jpg;*.jpeg;*.wmf;*.emf;*.png;*.tif;*.tiff";
const char kSoundPatterns[] = "*.wav";
const char kNoEffect[] = "None";
const char kRandomEffect[] = "Random";
const char* const kEffects[9] = {"Sweep Right", "Sweep Left",          "Sweep Down",
                                 "Sweep Up",    "Spotlight",           "Bubbles",
                                 "Horizontal Sandwich", "Vertical Sandwich", "Shrinking Square"};

Effect EffectNamed(const std::string& name) {
  if (name == kNoEffect) return Effect::None;
  if (name == kRandomEffect) return Effect::Random;
  for (int i = 0; i < 9; ++i)
    if (name == kEffects[i]) return static_cast<Effect>(i);
  return Effect::Unknown;
}

namespace {

const Color kCaptionColor = 0xFFFFFF;
const uint32_t kFirstTickMs = 500;

// Runs one step of the slide advance: an error ends the step, not the tick.
void Protected(const std::function<void()>& step) {
  try {
    step();
  } catch (const std::exception&) {
  }
}

long Round(double v) { return static_cast<long>(ToInt32(v)); }

// Raised at a step end when the window the transition draws in has been
// unloaded meanwhile (its OK or Cancel ran in the step's message pump):
// the effect stops there instead of pacing on for a window that is gone.
struct HostUnloaded {};

}  // namespace

SlideShow::SlideShow(CRegSettings& settings, ShowPlatform& platform, FileSystem& fs, Mode mode,
                     uintptr_t configOwnerHwnd)
    : settings_(settings), platform_(platform), fs_(fs), mode_(mode), configOwnerHwnd_(configOwnerHwnd),
      pictureBuilder_(std::make_unique<PlayListBuilder>(fs, platform.WalkFoldersInBackground())) {}

SlideShow::~SlideShow() = default;

std::string SlideShow::Option(const std::string& name, const std::string& defaultText) {
  return settings_.GetSetting(opt::kSection, name, defaultText);
}

double SlideShow::OptionNumber(const std::string& name, const std::string& defaultText) {
  return NumberOfText(Option(name, defaultText));
}

// ---------------------------------------------------------------------------
// Stored lists

void SlideShow::AddEntry(Collection& list, const std::string& entry, const std::string& patterns) {
  const std::string path = ListEntryPath(entry);
  if (!path.empty() && path.back() == '\\') {
    AddMatchingFiles(list, path, patterns, fs_);
  } else {
    list.Add(path);
  }
}

namespace {
// The stored entries of a section, up to "EOF" or the first missing value.
std::vector<std::string> StoredEntries(CRegSettings& settings, const std::string& section) {
  std::vector<std::string> entries;
  for (int i = 0;; ++i) {
    std::string entry = settings.GetSetting(section, kListValuePrefix + TextOfNumber(i), kEndOfList);
    if (entry == kEndOfList) break;
    entries.push_back(std::move(entry));
    if (i == kMaxListItems) throw AppError(kErrOverflow, "Overflow", "mSlideShow.BuildListFromRegistry");
  }
  return entries;
}

std::vector<std::string> EntryPaths(const std::vector<std::string>& entries) {
  std::vector<std::string> paths;
  paths.reserve(entries.size());
  for (const std::string& entry : entries) paths.push_back(ListEntryPath(entry));
  return paths;
}

std::vector<std::string> ListBoxEntries(const ListBox& box) {
  std::vector<std::string> entries;
  const int count = box.ListCount();
  for (int i = 0; i < count; ++i) entries.push_back(box.List(i));
  return entries;
}
}  // namespace

Collection SlideShow::BuildListFromRegistry(const std::string& section,
                                            const std::string& patterns) {
  Collection list;
  for (const std::string& entry : StoredEntries(settings_, section)) AddEntry(list, entry, patterns);
  return list;
}

// The picture list: file entries as they are, folder entries walked (their
// trees with "Subfolders" on) while the show already runs.
void SlideShow::BuildPictureList(const std::vector<std::string>& paths, bool keep) {
  bool subfolders = false;
  Protected([&] { subfolders = OptionNumber(opt::kSubfolders, "") == 1; });
  PicList = pictureBuilder_->Build(paths, kPicturePatterns, subfolders, keep);
}

Collection SlideShow::BuildListFromListBox(const ListBox& box, const std::string& patterns) {
  Collection list;
  const int count = box.ListCount();
  for (int i = 0; i < count; ++i) AddEntry(list, box.List(i), patterns);
  return list;
}

namespace {
ListBox& DialogList(ConfigLists& dialog, int index) {
  ListBox* list = dialog.lstList(index);
  if (list == nullptr) throw AppError(kErrInvalidCall, "The window has no list boxes", "mSlideShow");
  return *list;
}
}  // namespace

void SlideShow::SaveListsToRegistry(ConfigLists& dialog) {
  SaveListBoxToRegistry(settings_, DialogList(dialog, 0), opt::kPictureFiles, kListValuePrefix);
  SaveListBoxToRegistry(settings_, DialogList(dialog, 1), opt::kSoundFiles, kListValuePrefix);
  settings_.SaveSetting(opt::kSection, opt::kPlayList, dialog.CurPlayList());
}

void SlideShow::GetConfiguration(ConfigLists& dialog) {
  LoadListBoxFromRegistry(settings_, DialogList(dialog, 0), opt::kPictureFiles, kListValuePrefix);
  LoadListBoxFromRegistry(settings_, DialogList(dialog, 1), opt::kSoundFiles, kListValuePrefix);
  dialog.SetCurPlayList(Option(opt::kPlayList, ""));
}

// ---------------------------------------------------------------------------
// Show start

void SlideShow::StartSlideShow(Image& /*Target*/, long ListSource, ShowHost& Host) {
  Host.tmrSwitch().SetEnabled(false);
  if (ListSource != 0) {
    BuildPictureList(EntryPaths(StoredEntries(settings_, opt::kPictureFiles)), false);
    SoundList = BuildListFromRegistry(opt::kSoundFiles, kSoundPatterns);
  } else {
    ListBox* pictures = Host.lstList(0);
    ListBox* sounds = Host.lstList(1);
    if (pictures == nullptr || sounds == nullptr)
      throw AppError(kErrInvalidCall, "The window has no list boxes", "mSlideShow.StartSlideShow");
    // The configuration window starts its preview again after every list
    // command: the folders it had walked are not walked again.
    BuildPictureList(EntryPaths(ListBoxEntries(*pictures)), true);
    SoundList = BuildListFromListBox(*sounds, kSoundPatterns);
  }
  // A stored colour, speed or shuffle option too large to read cannot stop
  // the show from starting: the colour and the speed keep their last
  // values, and the shuffle is off.
  Surface& surface = Host.PicBase();
  Protected([&] { surface.SetBackColor(ToInt32(OptionNumber(opt::kBackColor, opt::kDefaultBlack))); });
  surface.SetFillColor(surface.BackColor());
  bool shufflePictures = false, shuffleSounds = false;
  Protected([&] { shufflePictures = OptionNumber(opt::kPicRandom, "") == 1; });
  Protected([&] { shuffleSounds = OptionNumber(opt::kSoundRandom, "") == 1; });
  // Random order draws at each tick from the pictures found so far.
  randomPictures_ = shufflePictures;
  randomOrder_.Reset();
  if (shufflePictures) platform_.Random().SeedFromClock();
  if (shuffleSounds) ShuffleCollection(SoundList, platform_.Random());
  Timer& timer = Host.tmrSwitch();
  timer.SetInterval(kFirstTickMs);
  timer.SetEnabled(true);
  Protected([&] { TransSpeed = ToInt32(OptionNumber(opt::kTransSpeed, opt::kDefaultSpeed)); });
}

void SlideShow::JoinSlideShow(Image& /*Target*/, ShowHost& Host) {
  Host.tmrSwitch().SetEnabled(false);
  Surface& surface = Host.PicBase();
  Protected([&] { surface.SetBackColor(ToInt32(OptionNumber(opt::kBackColor, opt::kDefaultBlack))); });
  surface.SetFillColor(surface.BackColor());
  Timer& timer = Host.tmrSwitch();
  timer.SetInterval(kFirstTickMs);
  timer.SetEnabled(true);
}

// ---------------------------------------------------------------------------
// Slide advance

// The position to play next: 1 on the first tick of a run when the reset
// option is on, otherwise the stored position + 1. A stored text that is not
// a number raises, and the caller's position stays 0.
int32_t SlideShow::ListPosition(const std::string& resetName, const std::string& lastName) {
  if (!ResetApplied && ToInt32(OptionNumber(resetName, "")) != 0) return 1;
  return ToInt32(NumberOfTextStrict(Option(lastName, "0")) + 1);
}

void SlideShow::DrawCaption(Surface& surface, Image& target, long position, bool stretched) {
  surface.Cls();
  const std::string name = SplitPath(PicList.Item(position), kPartBase);
  surface.SetCurrentX((surface.Width() - surface.TextWidth(name)) / 2.0);
  surface.SetCurrentY(static_cast<double>(surface.Height() - surface.TextHeight(name)));
  if (stretched) {
    target.SetHeight(Round(surface.CurrentY()));
  } else if (target.Height() > surface.CurrentY()) {
    target.SetHeight(Round(surface.CurrentY() - target.Top()));
  }
  surface.SetForeColor(kCaptionColor);
  surface.Print(name);
}

void SlideShow::NextSlide(Image& Target, Image& Work, long /*unused*/) {
  if (InterruptShow) return;
  if (inSlide_) {
    PutOff(Target);
    return;
  }
  ScopeFlag running(inSlide_);
  Protected([&] { CloseLeftOverWindow(); });
  // No picture found yet while folders are still being walked: nothing
  // changes, and the tick comes again soon.
  if (PicList.Count() == 0 && !PicList.Complete()) return WaitForList(Target);

  if (PicturesToShow(Target)) {
    long index = 0;
    int32_t PicPos = 0;
    if (!NextPicture(index, PicPos)) return WaitForList(Target);
    if (!TransitionFirst(Target)) return;  // closed meanwhile: nothing more is shown or stored
    Protected([&] { Target.SetVisible(false); });
    bool stretched = false;
    Protected([&] { stretched = OptionNumber(opt::kStretch, "") == 1; });
    if (stretched) {
      PlaceStretched(Target, index);
    } else {
      PlaceAtNaturalSize(Target, Work, index);
    }
    Protected([&] { Target.SetVisible(true); });
    Protected([&] { settings_.SaveSetting(opt::kSection, opt::kLastPicture, TextOfNumber(PicPos)); });
  }
  PlayNextSound(Target);
  Protected([&] { RenewInterval(Target); });
  ResetApplied = true;
}

// Another window's tick runs (this one came through its message pump): the
// windows take their positions one after another, so this one comes again
// shortly.
void SlideShow::PutOff(Image& target) {
  Protected([&] {
    if (Timer* timer = target.Parent().SwitchTimer()) timer->SetInterval(kPutOffMs);
  });
}

void SlideShow::WaitForList(Image& target) {
  Protected([&] {
    if (Timer* timer = target.Parent().SwitchTimer()) timer->SetInterval(kWaitForListMs);
  });
}

// A lone hidden window is left over: it is closed, and the show stops.
void SlideShow::CloseLeftOverWindow() {
  if (mode_ == Mode::Preview) return;
  std::vector<LoadedWindow*> windows = platform_.LoadedWindows();
  if (windows.size() != 1 || windows[0]->Visible()) return;
  Timer* timer = windows[0]->SwitchTimer();
  if (timer == nullptr) throw errors::NoSuchMember("mSlideShow");
  timer->SetEnabled(false);
  platform_.DoEvents();
  windows[0]->Unload();
  StopShow = true;
}

bool SlideShow::PicturesToShow(Image& target) {
  bool pictures = true;
  Protected([&] {
    if (!PicList.Empty()) return;
    pictures = false;
    target.Container().Cls();
    target.SetVisible(false);
  });
  return pictures;
}

int32_t SlideShow::PicturePosition() {
  int32_t position = 0;
  Protected([&] { position = ListPosition(opt::kResetPicList, opt::kLastPicture); });
  // A position past the end of the whole list wraps to the start, and so
  // does one below 0.
  Protected([&] {
    if (position < 0 || (position > PicList.Count() && PicList.Complete())) position = 1;
  });
  return position;
}

// In order, the picture at the position, once the list has come that far.
// In random order, a picture not drawn yet in this round, while the
// position counts on as in order; a stored position that cannot be read
// shows nothing, as in order.
bool SlideShow::NextPicture(long& index, int32_t& position) {
  position = PicturePosition();
  const long count = PicList.Count();
  if (!randomPictures_) {
    index = position;
    return position <= count;
  }
  if (position == 0) {
    index = 0;
    return true;
  }
  index = randomOrder_.Next(count, PicList.Complete(), platform_.Random());
  return index != 0;
}

bool SlideShow::TransitionFirst(Image& target) {
  Protected([&] {
    if (FirstSlideShown) {
      RunTransition(target);
      if (StopShow) EndShow();
    } else {
      FirstSlideShown = true;
    }
  });
  return target.Parent().Loaded();
}

// The picture at its natural size, centred where it would be centred on the
// screen (scaled by the surface-to-screen ratio in a preview), with its
// caption and frame as the options ask.
void SlideShow::PlaceAtNaturalSize(Image& target, Image& work, long position) {
  Surface& surface = target.Container();
  Protected([&] { work.SetPicture(platform_.LoadPicture(PicList.Item(position))); });
  Protected([&] {
    const std::optional<ScreenSize> own = target.Parent().ShowScreen();
    const double sw = static_cast<double>(own ? own->width : platform_.ScreenWidthTwips());
    const double sh = static_cast<double>(own ? own->height : platform_.ScreenHeightTwips());
    const double kx = surface.Width() / sw;
    const double ky = surface.Height() / sh;
    target.SetTop(Round((sh - work.Height()) / 2 * ky));
    target.SetLeft(Round((sw - work.Width()) / 2 * kx));
    target.SetHeight(Round(work.Height() * ky));
    target.SetWidth(Round(work.Width() * kx));
  });
  Protected([&] { target.SetPicture(work.GetPicture()); });
  int16_t frameWidth = 0;
  Protected([&] {
    const double unit = mode_ == Mode::Configure ? 4 : 20;
    frameWidth = ToInt16(OptionNumber(opt::kFrameThickness, opt::kDefaultThickness) * unit);
  });
  Protected([&] {
    if (OptionNumber(opt::kShowFileName, "") == 1) DrawCaption(surface, target, position, false);
  });
  Protected([&] {
    if (OptionNumber(opt::kShowFrame, "") == 1) DrawFrame(surface, target, frameWidth);
  });
}

// The frame: a box in the frame colour, `frameWidth` twips beyond each edge
// of the picture, beneath it.
void SlideShow::DrawFrame(Surface& surface, Image& target, int16_t frameWidth) {
  surface.SetDrawWidth(1);
  const double left = target.Left() - frameWidth;
  const double top = target.Top() - frameWidth;
  const double right = target.Left() + target.Width() + frameWidth;
  const double bottom = target.Top() + target.Height() + frameWidth;
  surface.Line(left, top, right, bottom, ToInt32(OptionNumber(opt::kFrameColor, opt::kDefaultBlack)),
               LineStyle::BoxFilled);
}

// The picture over the whole surface, down to its caption; no frame.
void SlideShow::PlaceStretched(Image& target, long position) {
  Surface& surface = target.Container();
  Protected([&] {
    target.SetTop(0);
    target.SetLeft(0);
    target.SetWidth(surface.Width());
    target.SetHeight(surface.Height());
  });
  Protected([&] { target.SetPicture(platform_.LoadPicture(PicList.Item(position))); });
  Protected([&] {
    if (OptionNumber(opt::kShowFileName, "") == 1) DrawCaption(surface, target, position, true);
  });
}

void SlideShow::PlayNextSound(Image& target) {
  if (SoundList.Empty() || mode_ == Mode::Preview || !target.Parent().PlaysSounds()) return;
  int32_t SoundPos = 0;
  Protected([&] { SoundPos = ListPosition(opt::kResetSoundList, opt::kLastSound); });
  Protected([&] {
    if (SoundPos > SoundList.Count() || SoundPos < 0) SoundPos = 1;
  });
  Protected([&] { platform_.DoEvents(); });
  Protected([&] { PlaySoundFile(platform_, SoundList.Item(SoundPos), kSndFilename); });
  Protected([&] { settings_.SaveSetting(opt::kSection, opt::kLastSound, TextOfNumber(SoundPos)); });
  Protected([&] { platform_.DoEvents(); });
}

// The time until the next tick: the interval option, read at every tick. An
// interval that rounds to 0 ms would stop the timer for good: it is refused
// like one beyond the timer's limit, and the last one stays.
void SlideShow::RenewInterval(Image& target) {
  const int32_t ms = ToInt32(OptionNumber(opt::kInterval, opt::kDefaultInterval) * 1000);
  if (ms < 1) throw errors::InvalidPropertyValue("mSlideShow.NextSlide");
  Timer* timer = target.Parent().SwitchTimer();
  if (timer == nullptr) throw errors::NoSuchMember("mSlideShow");
  timer->SetInterval(ms);
}

void SlideShow::EndShow() {
  while (platform_.ShowCursor(true) < 6) {
  }
  platform_.DoEvents();
  platform_.EnableWindow(configOwnerHwnd_, true);
  pictureBuilder_->Stop();
  platform_.EndProgram();
  std::terminate();  // not reached: the platform ends the process
}

// ---------------------------------------------------------------------------
// Transitions

void SlideShow::StepEnd(const LoadedWindow& host, const std::function<void()>& beforeDelay) {
  platform_.DoEvents();
  if (StopShow) EndShow();
  if (beforeDelay) beforeDelay();
  if (StepDelay > 0) platform_.DelayPasses(StepDelay);
  if (!host.Loaded()) throw HostUnloaded();
}

void SlideShow::RunTransition(Image& Target) {
  try {
    RunEffect(Target);
  } catch (const HostUnloaded&) {
  }
}

// "Random" picks among the nine drawing effects; the first and the last
// come up half as often as the others.
Effect SlideShow::RandomEffect() {
  RandomSource& random = platform_.Random();
  random.SeedFromClock();
  const int k = ToInt32(random.Next() * 8 + 1);
  return static_cast<Effect>(k - 1);
}

void SlideShow::RunEffect(Image& Target) {
  Surface& c = Target.Container();  // the window's PicBase: every host puts its target there
  Effect effect = EffectNamed(Option(opt::kSwapAffect, kRandomEffect));
  const Color bg = ToInt32(NumberOfTextStrict(Option(opt::kBackColor, "0")));
  if (effect == Effect::None) return;
  if (effect == Effect::Random) effect = RandomEffect();
  c.SetDrawWidth(30);
  const long long delay = InPreview() ? (21LL - TransSpeed) * 200 : 401LL - TransSpeed * 20LL;
  StepDelay = ToInt32(static_cast<double>(delay));

  const EffectRun run{c, Target, Target.Parent(), bg};
  switch (effect) {
    case Effect::SweepRight: SweepRight(run); break;
    case Effect::SweepLeft: SweepLeft(run); break;
    case Effect::SweepDown: SweepDown(run); break;
    case Effect::SweepUp: SweepUp(run); break;
    case Effect::VerticalSandwich: VerticalSandwich(run); break;
    case Effect::HorizontalSandwich: HorizontalSandwich(run); break;
    case Effect::ShrinkingSquare: ShrinkingSquare(run); break;
    case Effect::Spotlight: Spotlight(run); break;
    case Effect::Bubbles: Bubbles(run); break;
    default: break;  // an unknown name draws nothing
  }
}

// The only effect that a list command in the configuration window stops.
void SlideShow::SweepRight(const EffectRun& run) {
  Surface& c = run.c;
  const long to = c.Width();
  for (long x = 0; x <= to; x += 30) {
    c.Line(x, 0, x, c.Height(), run.bg);
    StepEnd(run.host);
    if (InterruptShow) break;
  }
}

void SlideShow::SweepLeft(const EffectRun& run) {
  Surface& c = run.c;
  for (long x = c.Width(); x >= 0; x -= 30) {
    c.Line(x, 0, x, c.Height(), run.bg);
    StepEnd(run.host);
  }
}

void SlideShow::SweepDown(const EffectRun& run) {
  Surface& c = run.c;
  const long to = c.Height();
  for (long y = 0; y <= to; y += 20) {
    c.Line(0, y, c.Width(), y, run.bg);
    StepEnd(run.host);
  }
}

void SlideShow::SweepUp(const EffectRun& run) {
  Surface& c = run.c;
  for (long y = c.Height(); y >= 0; y -= 20) {
    c.Line(0, y, c.Width(), y, run.bg);
    StepEnd(run.host);
  }
}

void SlideShow::VerticalSandwich(const EffectRun& run) {
  Surface& c = run.c;
  const long to = Round(c.Width() / 2.0);
  for (long x = 0; x <= to; x += 10) {
    c.Line(x, 0, x, c.Height(), run.bg);
    c.Line(c.Width() - x, 0, c.Width() - x, c.Height(), run.bg);
    StepEnd(run.host);
  }
}

void SlideShow::HorizontalSandwich(const EffectRun& run) {
  Surface& c = run.c;
  const long to = Round(c.Height() / 2.0);
  for (long y = 0; y <= to; y += 10) {
    c.Line(0, y, c.Width(), y, run.bg);
    c.Line(0, c.Height() - y, c.Width(), c.Height() - y, run.bg);
    StepEnd(run.host);
  }
}

// Closes in over the height: on a surface wider than high a middle band is
// left.
void SlideShow::ShrinkingSquare(const EffectRun& run) {
  Surface& c = run.c;
  const long to = Round(c.Height() / 2.0);
  for (long i = 0; i <= to; i += 20) {
    c.Line(0, i, c.Width(), i, run.bg);
    c.Line(0, c.Height() - i, c.Width(), c.Height() - i, run.bg);
    c.Line(i, 0, i, c.Height(), run.bg);
    c.Line(c.Width() - i, 0, c.Width() - i, c.Height(), run.bg);
    StepEnd(run.host);
  }
}

// Circles in the surface's own background colour, growing from the centre.
void SlideShow::Spotlight(const EffectRun& run) {
  Surface& c = run.c;
  c.SetDrawWidth(5);
  const long to = Round(c.Width() * 0.7);
  for (long r = 0; r <= to; r += 30) {
    c.SetForeColor(c.BackColor());
    c.Circle(c.Width() / 2.0, c.Height() / 2.0, r);
    StepEnd(run.host);
  }
}

// Dots, each a pixel wider than the last, at random inside the picture;
// then the picture is taken away.
void SlideShow::Bubbles(const EffectRun& run) {
  Surface& c = run.c;
  Image& target = run.target;
  c.SetDrawWidth(1);
  RandomSource& random = platform_.Random();
  for (int n = 1; n <= 400; ++n) {
    const double r1 = random.Next();
    const double r2 = random.Next();
    c.PSet(target.Left() + r1 * target.Width(), target.Top() + r2 * target.Height(), run.bg);
    StepEnd(run.host, [&] { c.SetDrawWidth(n + 1); });
  }
  target.SetPicture(nullptr);
}

}  // namespace tessaly
