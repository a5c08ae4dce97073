#include "mSlideShow.h"

#include <cmath>
#include <exception>
#include <functional>

#include "AppError.h"
#include "Convert.h"
#include "mListBox.h"
#include "mSound.h"
#include "OptionNames.h"

namespace tessaly {

// Beyond the formats of the first versions: PNG and TIFF.
const char kPicturePatterns[] = "*.bmp;*.gif;*.jpg;*.jpeg;*.wmf;*.emf;*.png;*.tif;*.tiff";
const char kSoundPatterns[] = "*.wav";
const char kNoEffect[] = "None";
const char kRandomEffect[] = "Random";
const char* const kEffects[9] = {"Sweep Right", "Sweep Left",          "Sweep Down",
                                 "Sweep Up",    "Spotlight",           "Bubbles",
                                 "Horizontal Sandwich", "Vertical Sandwich", "Shrinking Square"};

namespace {

const char kFilePrefix[] = "File";
const char kEndOfList[] = "EOF";
const int kMaxItems = 32767;
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

SlideShow::SlideShow(CRegSettings& settings, ShowPlatform& platform, FileSystem& fs,
                     std::string commandMode, uintptr_t configOwnerHwnd)
    : settings_(settings), platform_(platform), fs_(fs), commandMode_(std::move(commandMode)),
      configOwnerHwnd_(configOwnerHwnd) {}

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

Collection SlideShow::BuildListFromRegistry(const std::string& section,
                                            const std::string& patterns) {
  Collection list;
  for (int i = 0;; ++i) {
    const std::string entry = settings_.GetSetting(section, kFilePrefix + TextOfNumber(i), kEndOfList);
    if (entry == kEndOfList) break;
    AddEntry(list, entry, patterns);
    if (i == kMaxItems) throw AppError(kErrOverflow, "Overflow", "mSlideShow.BuildListFromRegistry");
  }
  return list;
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
  SaveListBoxToRegistry(settings_, DialogList(dialog, 0), opt::kPictureFiles, kFilePrefix);
  SaveListBoxToRegistry(settings_, DialogList(dialog, 1), opt::kSoundFiles, kFilePrefix);
  settings_.SaveSetting(opt::kSection, opt::kPlayList, dialog.CurPlayList());
}

void SlideShow::GetConfiguration(ConfigLists& dialog) {
  LoadListBoxFromRegistry(settings_, DialogList(dialog, 0), opt::kPictureFiles, kFilePrefix);
  LoadListBoxFromRegistry(settings_, DialogList(dialog, 1), opt::kSoundFiles, kFilePrefix);
  dialog.SetCurPlayList(Option(opt::kPlayList, ""));
}

// ---------------------------------------------------------------------------
// Show start

void SlideShow::StartSlideShow(Image& /*Target*/, long ListSource, ShowHost& Host) {
  Host.tmrSwitch().SetEnabled(false);
  if (ListSource != 0) {
    PicList = BuildListFromRegistry(opt::kPictureFiles, kPicturePatterns);
    SoundList = BuildListFromRegistry(opt::kSoundFiles, kSoundPatterns);
  } else {
    ListBox* pictures = Host.lstList(0);
    ListBox* sounds = Host.lstList(1);
    if (pictures == nullptr || sounds == nullptr)
      throw AppError(kErrInvalidCall, "The window has no list boxes", "mSlideShow.StartSlideShow");
    PicList = BuildListFromListBox(*pictures, kPicturePatterns);
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
  if (shufflePictures) ShuffleCollection(PicList, platform_.Random());
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
    // Another window's tick runs (this one came through its message pump):
    // the windows take their positions one after another, so this one
    // comes again shortly.
    Protected([&] {
      if (Timer* timer = Target.Parent().SwitchTimer()) timer->SetInterval(kPutOffMs);
    });
    return;
  }
  struct Running {
    bool& flag;
    explicit Running(bool& f) : flag(f) { flag = true; }
    ~Running() { flag = false; }
  } running(inSlide_);
  Surface& surface = Target.Container();

  Protected([&] {  // a lone hidden window is left over: close it
    if (commandMode_ == "/P") return;
    std::vector<LoadedWindow*> windows = platform_.LoadedWindows();
    if (windows.size() != 1 || windows[0]->Visible()) return;
    Timer* timer = windows[0]->SwitchTimer();
    if (timer == nullptr) throw AppError(438, "Object doesn't support this property or method", "mSlideShow");
    timer->SetEnabled(false);
    platform_.DoEvents();
    windows[0]->Unload();
    StopShow = true;
  });

  bool pictures = true;
  Protected([&] {
    if (!PicList.Empty()) return;
    pictures = false;
    surface.Cls();
    Target.SetVisible(false);
  });

  if (pictures) {
    int32_t PicPos = 0;
    Protected([&] { PicPos = ListPosition(opt::kResetPicList, opt::kLastPicture); });
    // A position past the end wraps to the start, and so does one below 0.
    Protected([&] {
      if (PicPos > PicList.Count() || PicPos < 0) PicPos = 1;
    });
    Protected([&] {
      if (FirstSlideShown) {
        RunTransition(Target);
        if (StopShow) EndShow();
      } else {
        FirstSlideShown = true;
      }
    });
    // Closed during the transition: nothing more is shown or stored.
    if (!Target.Parent().Loaded()) return;
    Protected([&] { Target.SetVisible(false); });

    bool stretched = false;
    Protected([&] { stretched = OptionNumber(opt::kStretch, "") == 1; });
    if (!stretched) {
      Protected([&] { Work.SetPicture(platform_.LoadPicture(PicList.Item(PicPos))); });
      Protected([&] {
        const std::optional<ScreenSize> own = Target.Parent().ShowScreen();
        const double sw = static_cast<double>(own ? own->width : platform_.ScreenWidthTwips());
        const double sh = static_cast<double>(own ? own->height : platform_.ScreenHeightTwips());
        const double kx = surface.Width() / sw;
        const double ky = surface.Height() / sh;
        Target.SetTop(Round((sh - Work.Height()) / 2 * ky));
        Target.SetLeft(Round((sw - Work.Width()) / 2 * kx));
        Target.SetHeight(Round(Work.Height() * ky));
        Target.SetWidth(Round(Work.Width() * kx));
      });
      Protected([&] { Target.SetPicture(Work.GetPicture()); });
      int16_t FrameWidth = 0;
      Protected([&] {
        const double unit = commandMode_ == "/C" ? 4 : 20;
        FrameWidth = ToInt16(OptionNumber(opt::kFrameThickness, opt::kDefaultThickness) * unit);
      });
      Protected([&] {
        if (OptionNumber(opt::kShowFileName, "") == 1) DrawCaption(surface, Target, PicPos, false);
      });
      Protected([&] {
        if (OptionNumber(opt::kShowFrame, "") != 1) return;
        surface.SetDrawWidth(1);
        const double left = Target.Left() - FrameWidth;
        const double top = Target.Top() - FrameWidth;
        const double right = Target.Left() + Target.Width() + FrameWidth;
        const double bottom = Target.Top() + Target.Height() + FrameWidth;
        surface.Line(left, top, right, bottom, ToInt32(OptionNumber(opt::kFrameColor, opt::kDefaultBlack)),
                     LineStyle::BoxFilled);
      });
    } else {
      Protected([&] {
        Target.SetTop(0);
        Target.SetLeft(0);
        Target.SetWidth(surface.Width());
        Target.SetHeight(surface.Height());
      });
      Protected([&] { Target.SetPicture(platform_.LoadPicture(PicList.Item(PicPos))); });
      Protected([&] {
        if (OptionNumber(opt::kShowFileName, "") == 1) DrawCaption(surface, Target, PicPos, true);
      });
    }
    Protected([&] { Target.SetVisible(true); });
    Protected([&] { settings_.SaveSetting(opt::kSection, opt::kLastPicture, TextOfNumber(PicPos)); });
  }

  if (!SoundList.Empty() && commandMode_ != "/P" && Target.Parent().PlaysSounds()) {
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

  Protected([&] {
    // An interval that rounds to 0 ms would stop the timer for good: it is
    // refused like one beyond the timer's limit, and the last one stays.
    const int32_t ms = ToInt32(OptionNumber(opt::kInterval, opt::kDefaultInterval) * 1000);
    if (ms < 1) throw AppError(380, "Invalid property value", "mSlideShow.NextSlide");
    Timer* timer = Target.Parent().SwitchTimer();
    if (timer == nullptr) throw AppError(438, "Object doesn't support this property or method", "mSlideShow");
    timer->SetInterval(ms);
  });
  ResetApplied = true;
}

void SlideShow::EndShow() {
  while (platform_.ShowCursor(true) < 6) {
  }
  platform_.DoEvents();
  platform_.EnableWindow(configOwnerHwnd_, true);
  platform_.EndProgram();
  std::terminate();  // not reached: the platform ends the process
}

// ---------------------------------------------------------------------------
// Transitions

void SlideShow::StepEnd(const LoadedWindow& host) {
  platform_.DoEvents();
  if (StopShow) EndShow();
  if (StepDelay > 0) platform_.DelayPasses(StepDelay);
  if (!host.Loaded()) throw HostUnloaded();
}

void SlideShow::RunTransition(Image& Target) {
  try {
    RunEffect(Target);
  } catch (const HostUnloaded&) {
  }
}

void SlideShow::RunEffect(Image& Target) {
  Surface& c = Target.Container();  // the window's PicBase: every host puts its target there
  const LoadedWindow& host = Target.Parent();
  std::string effect = Option(opt::kSwapAffect, kRandomEffect);
  const Color bg = ToInt32(NumberOfTextStrict(Option(opt::kBackColor, "0")));
  if (effect == kNoEffect) return;
  if (effect == kRandomEffect) {
    RandomSource& random = platform_.Random();
    random.SeedFromClock();
    const int k = ToInt32(random.Next() * 8 + 1);
    effect = kEffects[k - 1];
  }
  c.SetDrawWidth(30);
  const bool preview = commandMode_ == "/P" || commandMode_ == "/C";
  const long long delay = preview ? (21LL - TransSpeed) * 200 : 401LL - TransSpeed * 20LL;
  StepDelay = ToInt32(static_cast<double>(delay));

  if (effect == "Sweep Right") {
    const long to = c.Width();
    for (long x = 0; x <= to; x += 30) {
      c.Line(x, 0, x, c.Height(), bg);
      StepEnd(host);
      if (InterruptShow) break;
    }
  } else if (effect == "Sweep Left") {
    for (long x = c.Width(); x >= 0; x -= 30) {
      c.Line(x, 0, x, c.Height(), bg);
      StepEnd(host);
    }
  } else if (effect == "Sweep Down") {
    const long to = c.Height();
    for (long y = 0; y <= to; y += 20) {
      c.Line(0, y, c.Width(), y, bg);
      StepEnd(host);
    }
  } else if (effect == "Sweep Up") {
    for (long y = c.Height(); y >= 0; y -= 20) {
      c.Line(0, y, c.Width(), y, bg);
      StepEnd(host);
    }
  } else if (effect == "Vertical Sandwich") {
    const long to = Round(c.Width() / 2.0);
    for (long x = 0; x <= to; x += 10) {
      c.Line(x, 0, x, c.Height(), bg);
      c.Line(c.Width() - x, 0, c.Width() - x, c.Height(), bg);
      StepEnd(host);
    }
  } else if (effect == "Horizontal Sandwich") {
    const long to = Round(c.Height() / 2.0);
    for (long y = 0; y <= to; y += 10) {
      c.Line(0, y, c.Width(), y, bg);
      c.Line(0, c.Height() - y, c.Width(), c.Height() - y, bg);
      StepEnd(host);
    }
  } else if (effect == "Shrinking Square") {
    const long to = Round(c.Height() / 2.0);
    for (long i = 0; i <= to; i += 20) {
      c.Line(0, i, c.Width(), i, bg);
      c.Line(0, c.Height() - i, c.Width(), c.Height() - i, bg);
      c.Line(i, 0, i, c.Height(), bg);
      c.Line(c.Width() - i, 0, c.Width() - i, c.Height(), bg);
      StepEnd(host);
    }
  } else if (effect == "Spotlight") {
    c.SetDrawWidth(5);
    const long to = Round(c.Width() * 0.7);
    for (long r = 0; r <= to; r += 30) {
      c.SetForeColor(c.BackColor());
      c.Circle(c.Width() / 2.0, c.Height() / 2.0, r);
      StepEnd(host);
    }
  } else if (effect == "Bubbles") {
    c.SetDrawWidth(1);
    RandomSource& random = platform_.Random();
    for (int n = 1; n <= 400; ++n) {
      const double r1 = random.Next();
      const double r2 = random.Next();
      c.PSet(Target.Left() + r1 * Target.Width(), Target.Top() + r2 * Target.Height(), bg);
      platform_.DoEvents();
      if (StopShow) EndShow();
      c.SetDrawWidth(n + 1);
      if (StepDelay > 0) platform_.DelayPasses(StepDelay);
      if (!host.Loaded()) throw HostUnloaded();
    }
    Target.SetPicture(nullptr);
  }
}

}  // namespace tessaly
