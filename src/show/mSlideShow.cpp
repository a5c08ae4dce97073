#include "show/mSlideShow.h"

#include <algorithm>
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
const char* const kEffects[9] = {"Sweep Right",     "Sweep Left", "Sweep Down",          "Sweep Up",
                                 "Spotlight",       "Bubbles",    "Horizontal Sandwich", "Vertical Sandwich",
                                 "Shrinking Square"};
const char kCrossFadeEffect[] = "Cross Fade";

Effect EffectNamed(const std::string& name) {
  if (name == kNoEffect) return Effect::None;
  if (name == kRandomEffect) return Effect::Random;
  if (name == kCrossFadeEffect) return Effect::CrossFade;
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
  } catch (const std::exception&) {}
}

long Round(double v) { return static_cast<long>(ToInt32(v)); }

// Raised at a step end when the window the transition draws in has been
// unloaded meanwhile (its OK or Cancel ran in the step's message pump):
// the effect stops there instead of pacing on for a window that is gone.
struct HostUnloaded {};

}  // namespace

SlideShow::SlideShow(CRegSettings& settings, ShowPlatform& platform, FileSystem& fs, Mode mode,
                     uintptr_t configOwnerHwnd)
    : settings_(settings),
      platform_(platform),
      fs_(fs),
      mode_(mode),
      configOwnerHwnd_(configOwnerHwnd),
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

Collection SlideShow::BuildListFromRegistry(const std::string& section, const std::string& patterns) {
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
    // The picture's pan stops here; a cross-fade loads the next picture
    // before it begins.
    StopMotion(Target);
    next_.reset();
    fadeStart_.reset();
    prepareNext_ = [&, index] { return PrepareNext(Target, Work, index); };
    const bool open = TransitionFirst(Target);
    prepareNext_ = nullptr;
    if (!open) {  // closed meanwhile: nothing more is shown or stored
      next_.reset();
      return;
    }
    Protected([&] { Target.SetVisible(false); });
    bool stretched = false;
    Protected([&] { stretched = OptionNumber(opt::kStretch, "") == 1; });
    if (stretched) {
      PlaceStretched(Target, index);
    } else {
      PlaceAtNaturalSize(Target, Work, index);
    }
    // A picture that pans draws its first frame when it is shown.
    Protected([&] { StartMotion(Target, index); });
    next_.reset();
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
    StopMotion(target);
    shown_.erase(&target);
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
MotionRect SlideShow::NaturalRect(Image& target, Image& work) {
  Surface& surface = target.Container();
  const std::optional<ScreenSize> own = target.Parent().ShowScreen();
  const double sw = static_cast<double>(own ? own->width : platform_.ScreenWidthTwips());
  const double sh = static_cast<double>(own ? own->height : platform_.ScreenHeightTwips());
  const double kx = surface.Width() / sw;
  const double ky = surface.Height() / sh;
  MotionRect r;
  r.top = (sh - work.Height()) / 2 * ky;
  r.left = (sw - work.Width()) / 2 * kx;
  r.height = work.Height() * ky;
  r.width = work.Width() * kx;
  return r;
}

void SlideShow::PlaceAtNaturalSize(Image& target, Image& work, long position) {
  Surface& surface = target.Container();
  Protected([&] { work.SetPicture(ListedPicture(position)); });
  Protected([&] {
    const MotionRect r = NaturalRect(target, work);
    target.SetTop(Round(r.top));
    target.SetLeft(Round(r.left));
    target.SetHeight(Round(r.height));
    target.SetWidth(Round(r.width));
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
  Protected([&] { target.SetPicture(ListedPicture(position)); });
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
  while (platform_.ShowCursor(true) < 6) {}
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
  } catch (const HostUnloaded&) {}
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
    case Effect::CrossFade: CrossFade(run); break;
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

// ---------------------------------------------------------------------------
// Motion

PicturePtr SlideShow::ListedPicture(long position) {
  if (next_ && next_->layer.picture) return next_->layer.picture;
  return platform_.LoadPicture(PicList.Item(position));
}

bool SlideShow::PanZoomOn() {
  bool on = false;
  Protected([&] { on = OptionNumber(opt::kPanZoom, "") == 1; });
  return on;
}

double SlideShow::SwapSeconds() {
  double seconds = 0;
  Protected([&] { seconds = OptionNumber(opt::kInterval, opt::kDefaultInterval); });
  // A pan needs some way to go: an interval the timer refuses does not
  // stop it.
  return seconds > 0 ? seconds : NumberOfText(opt::kDefaultInterval);
}

MotionRect SlideShow::MotionArea(Surface& surface, long position) {
  MotionRect area{0, 0, static_cast<double>(surface.Width()), static_cast<double>(surface.Height())};
  Protected([&] {
    if (OptionNumber(opt::kShowFileName, "") != 1) return;
    const std::string name = SplitPath(PicList.Item(position), kPartBase);
    area.height = std::max(0.0, area.height - surface.TextHeight(name));
  });
  return area;
}

MotionLayer SlideShow::Shown::At(double now) const {
  MotionLayer at = layer;
  at.drawn = pans && duration > 0 ? PanFrame(placed, area, path, (now - start) / duration) : placed;
  return at;
}

namespace {

// A stored frame option as a layer's frame: only around a picture at its
// natural size.
void FrameLayer(MotionLayer& layer, bool framed, double width, Color color) {
  layer.framed = framed && width > 0;
  layer.frameWidth = width;
  layer.frameColor = color;
}

}  // namespace

const SlideShow::Shown* SlideShow::PrepareNext(Image& target, Image& work, long position) {
  if (next_) return &*next_;
  Shown next;
  next.layer.picture = platform_.LoadPicture(PicList.Item(position));
  Surface& surface = target.Container();
  next.area = MotionArea(surface, position);
  bool stretched = false;
  Protected([&] { stretched = OptionNumber(opt::kStretch, "") == 1; });
  if (stretched) {
    next.placed = next.area;
  } else {
    work.SetPicture(next.layer.picture);
    next.placed = NaturalRect(target, work);
    Protected([&] {
      if (OptionNumber(opt::kShowFrame, "") != 1) return;
      const double unit = mode_ == Mode::Configure ? 4 : 20;
      FrameLayer(next.layer, true, ToInt16(OptionNumber(opt::kFrameThickness, opt::kDefaultThickness) * unit),
                 ToInt32(OptionNumber(opt::kFrameColor, opt::kDefaultBlack)));
    });
  }
  next.pans = PanZoomOn();
  if (next.pans) next.path = ChoosePanPath(platform_.Random());
  const double nextZoom = next.pans ? ZoomLimit(next.placed, next.area) : 1;
  next.layer.largestWidth = next.placed.width * nextZoom;
  next.layer.largestHeight = next.placed.height * nextZoom;
  next.layer.part = ShownPart(next.placed, next.area, next.pans ? &next.path : nullptr);
  next.layer.drawn = next.placed;
  next_ = next;
  return &*next_;
}

std::optional<SlideShow::Shown> SlideShow::ShownBy(Image& target) {
  if (!target.Visible() || !target.GetPicture()) return std::nullopt;
  auto it = shown_.find(&target);
  if (it != shown_.end() && it->second.layer.picture == target.GetPicture()) return it->second;
  // Shown before motion was asked for: as the image shows it.
  Shown shown;
  shown.layer.picture = target.GetPicture();
  shown.placed = MotionRect{static_cast<double>(target.Left()), static_cast<double>(target.Top()),
                            static_cast<double>(target.Width()), static_cast<double>(target.Height())};
  shown.area = shown.placed;
  shown.layer.drawn = shown.placed;
  shown.layer.largestWidth = shown.placed.width;
  shown.layer.largestHeight = shown.placed.height;
  shown.layer.part = ShownPart(shown.placed, MotionArea(target.Container(), 0), nullptr);
  return shown;
}

void SlideShow::StartMotion(Image& target, long position) {
  Shown shown;
  shown.layer.picture = target.GetPicture();
  if (!shown.layer.picture) {
    shown_.erase(&target);
    return;
  }
  Surface& surface = target.Container();
  shown.placed = MotionRect{static_cast<double>(target.Left()), static_cast<double>(target.Top()),
                            static_cast<double>(target.Width()), static_cast<double>(target.Height())};
  shown.area = MotionArea(surface, position);
  bool stretched = false;
  Protected([&] { stretched = OptionNumber(opt::kStretch, "") == 1; });
  Protected([&] {
    if (stretched || OptionNumber(opt::kShowFrame, "") != 1) return;
    const double unit = mode_ == Mode::Configure ? 4 : 20;
    FrameLayer(shown.layer, true, ToInt16(OptionNumber(opt::kFrameThickness, opt::kDefaultThickness) * unit),
               ToInt32(OptionNumber(opt::kFrameColor, opt::kDefaultBlack)));
  });
  MotionCanvas* canvas = surface.Motion();
  shown.pans = canvas != nullptr && PanZoomOn();
  const bool faded = next_ && next_->layer.picture == shown.layer.picture && fadeStart_;
  shown.path = faded ? next_->path : (shown.pans ? ChoosePanPath(platform_.Random()) : PanPath{});
  shown.start = faded ? *fadeStart_ : platform_.Now();
  // The way lasts the whole interval, and the fades into and out of the
  // picture, so it moves through both.
  bool fades = false;
  Protected([&] { fades = EffectNamed(Option(opt::kSwapAffect, kRandomEffect)) == Effect::CrossFade; });
  shown.duration = SwapSeconds() + (fades ? 2 * CrossFadeSeconds(TransSpeed) : 0);
  const double zoom = shown.pans ? ZoomLimit(shown.placed, shown.area) : 1;
  shown.layer.largestWidth = shown.placed.width * zoom;
  shown.layer.largestHeight = shown.placed.height * zoom;
  shown.layer.part = ShownPart(shown.placed, shown.area, shown.pans ? &shown.path : nullptr);
  if (faded) {  // as the fade drew it, so its decoded pixels serve on
    shown.layer.largestWidth = next_->layer.largestWidth;
    shown.layer.largestHeight = next_->layer.largestHeight;
    shown.layer.part = next_->layer.part;
  }
  shown.layer.drawn = shown.placed;
  shown_[&target] = shown;
  if (shown.pans) {
    canvas->RunFrames([this, &target] { return PanStep(target); });
  } else if (canvas) {
    canvas->Release();  // nothing moves until the next slide: nothing held for it
  }
}

void SlideShow::StopMotion(Image& target) {
  Protected([&] {
    if (MotionCanvas* canvas = target.Container().Motion()) canvas->StopFrames();
  });
}

bool SlideShow::PanStep(Image& target) {
  auto it = shown_.find(&target);
  if (it == shown_.end() || !it->second.pans || !target.Parent().Loaded()) return false;
  Surface& surface = target.Container();
  MotionCanvas* canvas = surface.Motion();
  if (!canvas) return false;
  const Shown& shown = it->second;
  const double now = platform_.Now();
  const MotionLayer layer = shown.At(now);
  canvas->DrawFrame(shown.area, surface.BackColor(), nullptr, &layer, 1);
  return now - shown.start < shown.duration;
}

// The old picture dissolves into the next one frame by frame, paced by the
// clock: each frame shows how far the fade should have come by then, so a
// slow machine shows fewer frames, not a slower fade. Both pictures go on
// moving while they pan. Without a canvas for motion nothing is drawn.
void SlideShow::CrossFade(const EffectRun& run) {
  MotionCanvas* canvas = run.c.Motion();
  if (!canvas) return;
  const std::optional<Shown> from = ShownBy(run.target);
  const Shown* to = nullptr;
  Protected([&] {
    if (prepareNext_) to = prepareNext_();
  });
  const double length = CrossFadeSeconds(TransSpeed);
  const double start = platform_.Now();
  fadeStart_ = start;
  const MotionRect area =
      to     ? to->area
      : from ? from->area
             : MotionRect{0, 0, static_cast<double>(run.c.Width()), static_cast<double>(run.c.Height())};
  LastFade = FadeRecord{length, 0, 0};
  for (;;) {
    const double now = platform_.Now();
    const double alpha = FadeAlpha(now - start, length);
    MotionLayer old, fresh;
    if (from) old = from->At(now);
    if (to) {
      Shown moving = *to;
      moving.start = start;
      moving.duration = SwapSeconds() + 2 * length;
      fresh = moving.At(now);
    }
    canvas->DrawFrame(area, run.c.BackColor(), from ? &old : nullptr, to ? &fresh : nullptr, alpha);
    ++LastFade.frames;
    if (alpha >= 1) {
      LastFade.measured = platform_.Now() - start;
      break;
    }
    platform_.WaitFrame();
    if (StopShow) EndShow();
    if (!run.host.Loaded()) throw HostUnloaded();
    if (InterruptShow) break;
  }
}

}  // namespace tessaly
