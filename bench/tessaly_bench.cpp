// Measuring program of the bench (run by bench/run.sh under Wine). Every
// mode prints figures, one per line, as "key value..."; nothing passes or
// fails here.
//
//   tessaly_bench slide FILE full|preview N   median time of one NextSlide
//                                             that loads and places FILE,
//                                             and of the two baseline
//                                             decodes of FILE in the same
//                                             process, taken in turn
//   tessaly_bench slide FILE monitors N       the same with a show window on
//                                             each of the first two monitors
//                                             (the second joined to the
//                                             first's show): the median of
//                                             each window's NextSlide
//   tessaly_bench decode FILE N               median OleLoadPicturePath in
//                                             a process of its own (cold
//                                             first decode counted)
//   tessaly_bench transitions full|preview    every effect at speeds 1, 10
//                                             and 20: measured and nominal
//   tessaly_bench memory FILE full|preview    private bytes before and at
//                                             peak while FILE is shown
//   tessaly_bench memory-ole FILE             the same for the OLE picture
//                                             loader's decode of FILE
//   tessaly_bench metafiles FOLDER W H        writes screen.wmf (placeable)
//                                             and screen.emf
//   tessaly_bench motion fade|pan A B full|preview|monitors RUNS FRAMES
//                                             cross-fades from A into B (each
//                                             4 s) or pans A, RUNS times
//                                             (pans FRAMES frames): frames a
//                                             second and frame times; the
//                                             process's CPU while it pans;
//                                             the fade's length at speeds 1,
//                                             10 and 20; frames a second as
//                                             fast as they go, ours against
//                                             GDI's AlphaBlend / HALFTONE
//                                             StretchBlt
//   tessaly_bench launch RGB PROGRAM ARGS...  starts PROGRAM, prints ms to
//                                             its show window and to colour
//                                             RGB (hex) at the screen centre
#include <windows.h>
#include <olectl.h>
#include <psapi.h>
#include <wincodec.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "BenchClock_win.h"
#include "ui/App.h"
#include "startup/WinPlatform.h"
#include "ui/Form.h"
#include "ui/FrameClock.h"
#include "ui/ImageControl.h"
#include "ui/PictureBox.h"
#include "common/RegistryApi.h"
#include "ui/TimerControl.h"
#include "common/mFiles.h"
#include "picture/Picture_win.h"
#include "show/mSlideShow.h"

namespace {

using namespace tessaly;

const char kCompany[] = "Quillmark Inc.";
const char kBenchProduct[] = "Tessaly Bench";  // the bench's own settings key
const int kPreviewW = 153, kPreviewH = 114;

using tessaly::bench::Median;
using tessaly::bench::Now;

CRegSettings& Settings() {
  static CRegSettings settings(SystemRegistry(), kCompany, kBenchProduct);
  return settings;
}

std::string Entry(const std::string& file, const std::string& folder) {
  std::string e(512, ' ');
  e.replace(0, file.size(), file);
  e.replace(255, folder.size(), folder);
  return e;
}

std::string FullPath(const std::string& path) {
  char buffer[MAX_PATH * 2];
  const DWORD n = GetFullPathNameA(path.c_str(), sizeof buffer, buffer, nullptr);
  return n ? std::string(buffer, n) : path;
}

// One picture in the list, no effect, no caption, no frame.
void StoreShow(const std::string& file) {
  CRegSettings& s = Settings();
  s.DeleteSetting("PictureFiles");
  s.DeleteSetting("SoundFiles");
  s.DeleteSetting("Options");
  const std::string full = FullPath(file);
  const std::size_t slash = full.find_last_of('\\');
  s.SaveSetting("PictureFiles", "File0", Entry(full.substr(slash + 1), full.substr(0, slash + 1)));
  s.SaveSetting("Options", "SwapAffect", "None");
  s.SaveSetting("Options", "Stretch", "0");
  s.SaveSetting("Options", "ShowFileName", "0");
  s.SaveSetting("Options", "ShowFrame", "0");
  s.SaveSetting("Options", "Interval", "5");
  s.SaveSetting("Options", "TransSpeed", "20");
  s.SaveSetting("Options", "BackColor", "0");
  s.SaveSetting("Options", "LastPicture", "0");
}

void InitScale() {
  HDC screen = GetDC(nullptr);
  const int twips = 1440 / std::max(1, GetDeviceCaps(screen, LOGPIXELSX));
  ReleaseDC(nullptr, screen);
  ui::InitTwips(twips, twips);
}

HWND PreviewParent() {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
  wc.lpszClassName = "TessalyBenchPreview";
  RegisterClassA(&wc);
  HWND h = CreateWindowA("TessalyBenchPreview", "Tessaly Bench Preview", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 400,
                         300, kPreviewW, kPreviewH, nullptr, nullptr, wc.hInstance, nullptr);
  UpdateWindow(h);
  return h;
}

// A show window as the program's own: a form (full screen) or a foreign
// preview window (153 x 114) holding the picture box with the target and
// the work image, and a timer.
class BenchHost : public ui::Form, public ShowHost {
 public:
  explicit BenchHost(bool preview, const RECT* monitor = nullptr)
      : ui::Form("Tessaly Bench Show"),
        box(*this),
        target(box, *this, true),
        work(box, *this, false),
        timer(*this),
        preview_(preview) {
    work.SetVisible(false);
    timer.SetEnabled(false);
    monitor_ = monitor ? *monitor : RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  }
  // Placed for the monitor it covers, as the program's show windows are.
  std::optional<ScreenSize> ShowScreen() const override {
    if (preview_) return std::nullopt;
    return ScreenSize{(monitor_.right - monitor_.left) * static_cast<long>(ui::TwipsX()),
                      (monitor_.bottom - monitor_.top) * static_cast<long>(ui::TwipsY())};
  }
  // Loaded in both (the engine shows nothing for a window that is not):
  // hidden for the preview, whose box is a child of the foreign window, as
  // the program's control form is.
  void Open() {
    Load();
    if (!preview_) Show();
    ui::DoEvents();
  }
  void Form_Load() override {
    if (preview_) {
      HWND parent = PreviewParent();
      box.Create(parent);
      box.Move(0, 0, kPreviewW * ui::TwipsX(), kPreviewH * ui::TwipsY());
      return;
    }
    const long w = (monitor_.right - monitor_.left) * static_cast<long>(ui::TwipsX());
    const long h = (monitor_.bottom - monitor_.top) * static_cast<long>(ui::TwipsY());
    Move(monitor_.left * static_cast<long>(ui::TwipsX()), monitor_.top * static_cast<long>(ui::TwipsY()), w, h);
    box.Create(hWnd());
    box.Move(0, 0, w, h);
  }
  Surface& PicBase() override { return box; }
  Image& PicPreview() override { return target; }
  Image& imgFullSize() override { return work; }
  Timer& tmrSwitch() override { return timer; }

  ui::PictureBox box;
  ui::ImageControl target;
  ui::ImageControl work;
  ui::TimerControl timer;

 private:
  bool preview_;
  RECT monitor_{};
};

struct Bench {
  explicit Bench(bool preview)
      : host(preview), show(Settings(), platform, SystemFileSystem(), preview ? Mode::Preview : Mode::Show) {
    InitScale();
    host.Open();
  }
  void Start() {
    show.StartSlideShow(host.target, 1, host);
    host.timer.SetEnabled(false);
  }
  WinPlatform platform;
  BenchHost host;
  SlideShow show;
};

std::wstring Wide(const std::string& path) {
  const std::string full = FullPath(path);
  return std::wstring(full.begin(), full.end());
}

// The platform's OLE picture loader, as the first versions decoded every
// picture: the file decoded into a picture, which is then released.
bool OleDecode(const std::wstring& path) {
  std::wstring name = path;
  IPicture* picture = nullptr;
  const HRESULT hr = OleLoadPicturePath(&name[0], nullptr, 0, 0, IID_IPicture, reinterpret_cast<void**>(&picture));
  if (picture) picture->Release();
  return SUCCEEDED(hr) && picture;
}

// The imaging component's full decode: decoder from the file name, first
// frame, converted to 32-bit BGRA and copied whole into memory; then all of
// it released.
bool WicDecode(const std::wstring& path) {
  static IWICImagingFactory* factory = [] {
    IWICImagingFactory* f = nullptr;
    CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                     reinterpret_cast<void**>(&f));
    return f;
  }();
  if (!factory) return false;
  IWICBitmapDecoder* decoder = nullptr;
  IWICBitmapFrameDecode* frame = nullptr;
  IWICFormatConverter* converter = nullptr;
  bool ok = SUCCEEDED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                         WICDecodeMetadataCacheOnDemand, &decoder)) &&
            SUCCEEDED(decoder->GetFrame(0, &frame)) && SUCCEEDED(factory->CreateFormatConverter(&converter)) &&
            SUCCEEDED(converter->Initialize(frame, GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr, 0,
                                            WICBitmapPaletteTypeCustom));
  UINT w = 0, h = 0;
  if (ok) ok = SUCCEEDED(converter->GetSize(&w, &h));
  if (ok) {
    std::vector<BYTE> pixels(static_cast<std::size_t>(w) * h * 4);
    ok = SUCCEEDED(converter->CopyPixels(nullptr, w * 4, static_cast<UINT>(pixels.size()), pixels.data()));
  }
  if (converter) converter->Release();
  if (frame) frame->Release();
  if (decoder) decoder->Release();
  return ok;
}

double TimeMs(const std::function<bool()>& step, bool& ok) {
  const double t0 = Now();
  ok = step() && ok;
  return (Now() - t0) * 1000;
}

// The slide and both baselines measured alike: in one process with the
// show's window open, each run once untimed first (dlls, file cache), then
// N times in turn (slide, OLE, WIC, slide, ...), each a median of N.
int Slide(const std::string& file, bool preview, int n) {
  OleInitialize(nullptr);
  StoreShow(file);
  Bench b(preview);
  b.Start();
  const std::wstring path = Wide(file);
  auto slide = [&b] {
    b.show.NextSlide(b.host.target, b.host.work);
    return static_cast<bool>(b.host.target.GetPicture());
  };
  auto ole = [&path] { return OleDecode(path); };
  auto wic = [&path] { return WicDecode(path); };
  bool ok = true, oleOk = true, wicOk = true;
  TimeMs(slide, ok);  // the first slide
  if (!ok) {
    std::printf("slide error %s was not shown\n", file.c_str());
    return 1;
  }
  // A baseline that cannot decode the file (WIC has no metafile codec) is
  // left out.
  TimeMs(ole, oleOk);
  TimeMs(wic, wicOk);
  std::vector<double> slides, oles, wics;
  for (int i = 0; i < n; ++i) {
    slides.push_back(TimeMs(slide, ok));
    if (oleOk) oles.push_back(TimeMs(ole, oleOk));
    if (wicOk) wics.push_back(TimeMs(wic, wicOk));
  }
  std::printf("slide %s %.3f\n", preview ? "preview" : "full", Median(slides));
  if (oleOk) std::printf("decode-ole %.3f\n", Median(oles));
  if (wicOk) std::printf("decode-wic %.3f\n", Median(wics));
  return ok ? 0 : 1;
}

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (GetMonitorInfoA(monitor, &info)) {
    auto* rects = reinterpret_cast<std::vector<RECT>*>(list);
    if (info.dwFlags & MONITORINFOF_PRIMARY) {
      rects->insert(rects->begin(), info.rcMonitor);
    } else {
      rects->push_back(info.rcMonitor);
    }
  }
  return TRUE;
}

// One show on the first two monitors, each window ticking in turn.
int SlideOnMonitors(const std::string& file, int n) {
  std::vector<RECT> monitors;
  EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
  if (monitors.size() < 2) {
    std::printf("slide error only %zu monitor(s)\n", monitors.size());
    return 1;
  }
  StoreShow(file);
  InitScale();
  WinPlatform platform;
  SlideShow show(Settings(), platform, SystemFileSystem(), Mode::Show);
  BenchHost first(false, &monitors[0]), second(false, &monitors[1]);
  first.Open();
  second.Open();
  show.StartSlideShow(first.target, 1, first);
  show.JoinSlideShow(second.target, second);
  first.timer.SetEnabled(false);
  second.timer.SetEnabled(false);
  show.NextSlide(first.target, first.work);  // the first slides
  show.NextSlide(second.target, second.work);
  if (!first.target.GetPicture() || !second.target.GetPicture()) {
    std::printf("slide error %s was not shown\n", file.c_str());
    return 1;
  }
  std::vector<double> times[2];
  for (int i = 0; i < n; ++i) {
    for (int w = 0; w < 2; ++w) {
      BenchHost& host = w == 0 ? first : second;
      const double t0 = Now();
      show.NextSlide(host.target, host.work);
      times[w].push_back((Now() - t0) * 1000);
    }
  }
  std::printf("slide monitors %.3f %.3f\n", Median(times[0]), Median(times[1]));
  return 0;
}

// The old baseline: OleLoadPicturePath N times in a fresh process, the
// first (cold) decode counted.
int Decode(const std::string& file, int n) {
  OleInitialize(nullptr);
  const std::wstring path = Wide(file);
  std::vector<double> times;
  bool ok = true;
  for (int i = 0; i < n; ++i) times.push_back(TimeMs([&path] { return OleDecode(path); }, ok));
  if (!ok) {
    std::printf("decode error\n");
    return 1;
  }
  std::printf("decode %.3f\n", Median(times));
  return 0;
}

// How many steps each effect's loop runs on a surface of w x h twips.
long Steps(const std::string& effect, long w, long h) {
  auto count = [](long to, long step) { return to < 0 ? 0 : to / step + 1; };
  const long halfW = std::lround(w / 2.0), halfH = std::lround(h / 2.0);
  if (effect == "Sweep Right" || effect == "Sweep Left") return count(w, 30);
  if (effect == "Sweep Down" || effect == "Sweep Up") return count(h, 20);
  if (effect == "Vertical Sandwich") return count(halfW, 10);
  if (effect == "Horizontal Sandwich") return count(halfH, 10);
  if (effect == "Shrinking Square") return count(halfH, 20);
  if (effect == "Spotlight") return count(std::lround(w * 0.7), 30);
  if (effect == "Bubbles") return 400;
  return 0;
}

int Transitions(bool preview, const std::string& picture) {
  StoreShow(picture);
  Bench b(preview);
  b.Start();
  b.show.NextSlide(b.host.target, b.host.work);
  const int speeds[] = {1, 10, 20};
  for (const char* effect : kEffects) {
    for (int speed : speeds) {
      // Show the picture again (Bubbles empties the target), then time the
      // transition alone.
      Settings().SaveSetting("Options", "SwapAffect", "None");
      b.show.NextSlide(b.host.target, b.host.work);
      Settings().SaveSetting("Options", "SwapAffect", effect);
      b.show.TransSpeed = speed;
      ui::DoEvents();
      const double t0 = Now();
      b.show.RunTransition(b.host.target);
      const double ms = (Now() - t0) * 1000;
      const long steps = Steps(effect, b.host.box.Width(), b.host.box.Height());
      const double nominal = steps * static_cast<double>(b.show.StepDelay) * 0.025;
      std::printf("transition %s \"%s\" %d %.1f %.1f %ld\n", preview ? "preview" : "full", effect, speed, ms, nominal,
                  steps);
      std::fflush(stdout);
    }
  }
  return 0;
}

std::size_t PrivateBytes(bool peak) {
  PROCESS_MEMORY_COUNTERS_EX pm{};
  pm.cb = sizeof pm;
  GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pm), sizeof pm);
  // Wine leaves PrivateUsage at 0; its PagefileUsage is the private memory.
  if (peak) return pm.PeakPagefileUsage;
  return pm.PrivateUsage ? pm.PrivateUsage : pm.PagefileUsage;
}

// Private bytes around one step. Under Wine they leave out what its Unix
// side allocates (the imaging component's decoders keep their pixels
// there); run.sh adds the process's peak resident set for that.
struct MemoryFigures {
  std::size_t before = 0, peakBefore = 0, showing = 0, peak = 0;
  void Start() {
    before = PrivateBytes(false);
    peakBefore = PrivateBytes(true);
  }
  void End() {
    showing = PrivateBytes(false);
    peak = PrivateBytes(true);
  }
  void Print(const char* what, long w, long h) const {
    std::printf("memory %zu %zu %zu %zu %ld %ld %s\n", before, peakBefore, showing, peak, w, h, what);
  }
};

int Memory(const std::string& file, bool preview) {
  StoreShow(file);
  Bench b(preview);
  b.Start();
  MemoryFigures m{};
  m.Start();
  b.show.NextSlide(b.host.target, b.host.work);
  ui::DoEvents();
  m.End();
  long w = 0, h = 0;
  if (auto p = b.host.work.GetPicture()) {
    w = p->WidthTwips() / ui::TwipsX();
    h = p->HeightTwips() / ui::TwipsY();
  }
  m.Print(preview ? "preview" : "full", w, h);
  return 0;
}

// What the first versions held for a slide: the OLE picture loader's decode
// of the file, kept (as the work image kept it).
int MemoryOle(const std::string& file) {
  OleInitialize(nullptr);
  std::wstring path = Wide(file);
  MemoryFigures m{};
  m.Start();
  IPicture* picture = nullptr;
  OleLoadPicturePath(&path[0], nullptr, 0, 0, IID_IPicture, reinterpret_cast<void**>(&picture));
  m.End();
  long w = 0, h = 0;
  if (picture) {
    OLE_HANDLE handle = 0;
    BITMAP bm{};
    if (SUCCEEDED(picture->get_Handle(&handle)) &&
        GetObjectA(LongToHandle(static_cast<LONG>(handle)), sizeof bm, &bm)) {
      w = bm.bmWidth;
      h = bm.bmHeight;
    }
    picture->Release();
  }
  m.Print("ole", w, h);
  return picture ? 0 : 1;
}

void Scene(HDC dc, int w, int h) {
  // Bands and many small shapes: a drawing of some hundreds of records.
  for (int i = 0; i < 32; ++i) {
    HBRUSH brush = CreateSolidBrush(RGB(i * 8, 255 - i * 8, 128));
    RECT r{i * w / 32, 0, (i + 1) * w / 32, h};
    FillRect(dc, &r, brush);
    DeleteObject(brush);
  }
  HPEN pen = CreatePen(PS_SOLID, 3, RGB(255, 255, 255));
  HGDIOBJ old = SelectObject(dc, pen);
  for (int i = 0; i < 300; ++i) {
    const int x = (i * 37) % w, y = (i * 53) % h;
    Ellipse(dc, x, y, x + 40, y + 30);
  }
  SelectObject(dc, old);
  DeleteObject(pen);
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  RECT centre{w / 2 - 40, h / 2 - 40, w / 2 + 40, h / 2 + 40};
  FillRect(dc, &centre, red);
  DeleteObject(red);
}

int Metafiles(std::string folder, int w, int h) {
  if (folder.back() != '\\') folder += '\\';
  HDC dc = CreateMetaFileA(nullptr);
  SetWindowOrgEx(dc, 0, 0, nullptr);
  SetWindowExtEx(dc, w, h, nullptr);
  Scene(dc, w, h);
  HMETAFILE mf = CloseMetaFile(dc);
  const UINT size = GetMetaFileBitsEx(mf, 0, nullptr);
  std::vector<unsigned char> body(size);
  GetMetaFileBitsEx(mf, size, body.data());
  DeleteMetaFile(mf);
  const uint16_t head[10] = {0xCDD7, 0x9AC6, 0, 0, 0, static_cast<uint16_t>(w), static_cast<uint16_t>(h), 96, 0, 0};
  uint16_t sum = 0;
  for (uint16_t v : head) sum ^= v;
  FILE* f = std::fopen((folder + "screen.wmf").c_str(), "wb");
  if (!f) return 1;
  std::fwrite(head, 2, 10, f);
  std::fwrite(&sum, 2, 1, f);
  std::fwrite(body.data(), 1, body.size(), f);
  std::fclose(f);

  HDC screen = GetDC(nullptr);
  RECT frame{0, 0, MulDiv(w, GetDeviceCaps(screen, HORZSIZE) * 100, GetDeviceCaps(screen, HORZRES)),
             MulDiv(h, GetDeviceCaps(screen, VERTSIZE) * 100, GetDeviceCaps(screen, VERTRES))};
  ReleaseDC(nullptr, screen);
  HDC edc = CreateEnhMetaFileA(nullptr, (folder + "screen.emf").c_str(), &frame, nullptr);
  if (!edc) return 1;
  Scene(edc, w, h);
  DeleteEnhMetaFile(CloseEnhMetaFile(edc));
  return 0;
}

bool Near(COLORREF a, COLORREF b) {
  return std::abs(GetRValue(a) - GetRValue(b)) <= 48 && std::abs(GetGValue(a) - GetGValue(b)) <= 48 &&
         std::abs(GetBValue(a) - GetBValue(b)) <= 48;
}

int Launch(const std::string& rgb, const std::string& commandLine) {
  const unsigned long v = std::strtoul(rgb.c_str(), nullptr, 16);
  const COLORREF want = RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  std::string buffer = commandLine;
  const double t0 = Now();
  if (!CreateProcessA(nullptr, &buffer[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    std::printf("launch error %lu\n", GetLastError());
    return 1;
  }
  double window = -1, picture = -1;
  while (Now() - t0 < 30 && (window < 0 || (picture < 0 && rgb != "-"))) {
    if (window < 0) {
      HWND h = FindWindowA(nullptr, "Screen Saver Main Form");
      if (h && IsWindowVisible(h)) window = (Now() - t0) * 1000;
    }
    if (window >= 0 && picture < 0 && rgb != "-") {
      HDC screen = GetDC(nullptr);
      const COLORREF c = GetPixel(screen, GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2);
      ReleaseDC(nullptr, screen);
      if (Near(c, want)) picture = (Now() - t0) * 1000;
    }
    Sleep(2);
  }
  TerminateProcess(pi.hProcess, 0);
  WaitForSingleObject(pi.hProcess, 5000);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  std::printf("launch %.1f %.1f\n", window, picture);
  return 0;
}

// ---------------------------------------------------------------------------
// Motion

// The real platform, noting when each frame wait of a transition returns.
class StampingPlatform : public WinPlatform {
 public:
  std::vector<double> stamps;
  void WaitFrame() override {
    WinPlatform::WaitFrame();
    stamps.push_back(Now());
  }
};

struct FrameFigures {
  std::vector<double> fps;        // one per run
  std::vector<double> intervals;  // ms, every run
  void Add(const std::vector<double>& stamps, std::size_t frames, double seconds) {
    for (std::size_t i = 1; i < stamps.size(); ++i) intervals.push_back((stamps[i] - stamps[i - 1]) * 1000);
    if (seconds > 0) fps.push_back(frames / seconds);
  }
  double Percentile(double p) const {
    std::vector<double> v = intervals;
    std::sort(v.begin(), v.end());
    if (v.empty()) return 0;
    return v[std::min(v.size() - 1, static_cast<std::size_t>(p * (v.size() - 1) + 0.5))];
  }
  void Print(const char* what, const char* where, const char* path) const {
    std::printf("motion-frames %s %s %.1f %.2f %.2f %.2f %s %s\n", what, where, Median(fps), Percentile(0.5),
                Percentile(0.95), Percentile(0.99), path, ui::FramePacing());
  }
};

double ProcessCpuSeconds() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  auto seconds = [](const FILETIME& f) {
    return (static_cast<double>(f.dwHighDateTime) * 4294967296.0 + f.dwLowDateTime) / 1e7;
  };
  return seconds(kernel) + seconds(user);
}

// A DIB section holding `picture` drawn at w x h.
struct BenchDib {
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  BenchDib(HDC screen, const PicturePtr& picture, int w, int h) {
    void* bits = nullptr;
    bitmap = picture::TopDownDib(w, h, &bits);
    dc = CreateCompatibleDC(screen);
    SelectObject(dc, bitmap);
    const RECT all{0, 0, w, h};
    if (const auto* p = dynamic_cast<const picture::WinPicture*>(picture.get())) p->Draw(dc, all, all, all, 0);
  }
  ~BenchDib() {
    DeleteDC(dc);
    DeleteObject(bitmap);
  }
};

// GDI's own ways, the baselines: AlphaBlend for a cross-fade frame (the
// old picture copied, the new one blended over it, the frame copied to the
// window) and StretchBlt in HALFTONE mode for a pan frame, each as fast as
// it goes.
double GdiFramesPerSecond(HWND hwnd, const PicturePtr& from, const PicturePtr& to, bool pan, int frames) {
  RECT client{};
  GetClientRect(hwnd, &client);
  const int w = client.right, h = client.bottom;
  HDC window = GetDC(hwnd);
  BenchDib a(window, from, pan ? w * 5 / 4 : w, pan ? h * 5 / 4 : h), b(window, to, w, h), back(window, nullptr, w, h);
  SetStretchBltMode(window, HALFTONE);
  SetBrushOrgEx(window, 0, 0, nullptr);
  const double t0 = Now();
  for (int i = 0; i < frames; ++i) {
    if (pan) {
      // A tenth of the picture zoomed in, moving a pixel a frame.
      StretchBlt(window, 0, 0, w, h, a.dc, i % (w / 4 + 1), i % (h / 4 + 1), w * 9 / 10, h * 9 / 10, SRCCOPY);
    } else {
      BitBlt(back.dc, 0, 0, w, h, a.dc, 0, 0, SRCCOPY);
      const BLENDFUNCTION blend{AC_SRC_OVER, 0, static_cast<BYTE>(i * 255 / frames), 0};
      GdiAlphaBlend(back.dc, 0, 0, w, h, b.dc, 0, 0, w, h, blend);
      BitBlt(window, 0, 0, w, h, back.dc, 0, 0, SRCCOPY);
    }
    GdiFlush();
    ui::DoEvents();
  }
  const double seconds = Now() - t0;
  ReleaseDC(hwnd, window);
  return frames / seconds;
}

// Our frames as fast as they go: the canvas's DrawFrame over the same
// pictures (a still cross-fade blends, a pan draws a moving picture).
double OwnFramesPerSecond(ui::PictureBox& box, const PicturePtr& from, const PicturePtr& to, bool pan, int frames) {
  MotionCanvas* canvas = box.Motion();
  const MotionRect all{0, 0, static_cast<double>(box.Width()), static_cast<double>(box.Height())};
  MotionLayer a, b;
  a.picture = from;
  b.picture = to;
  a.drawn = b.drawn = all;
  a.largestWidth = b.largestWidth = all.width * 1.25;
  a.largestHeight = b.largestHeight = all.height * 1.25;
  const double t0 = Now();
  for (int i = 0; i < frames; ++i) {
    if (pan) {
      MotionLayer moving = a;
      const double zoom = 1.1 + 0.1 * i / frames;
      moving.drawn = MotionRect{-all.width * (zoom - 1) * (0.3 + 0.001 * i), -all.height * (zoom - 1) * 0.5,
                                all.width * zoom, all.height * zoom};
      canvas->DrawFrame(all, 0, nullptr, &moving, 1);
    } else {
      canvas->DrawFrame(all, 0, &a, &b, (i + 1.0) / (frames + 1));
    }
    ui::DoEvents();
  }
  const double seconds = Now() - t0;
  canvas->Release();
  return frames / seconds;
}

// tessaly_bench motion fade|pan FILE1 FILE2 full|preview|monitors RUNS FRAMES
int Motion(const std::string& what, const std::string& file1, const std::string& file2, const std::string& where,
           int runs, int frames) {
  OleInitialize(nullptr);
  const bool pan = what == "pan";
  StoreShow(file1);
  const std::string full2 = FullPath(file2);
  const std::size_t slash = full2.find_last_of('\\');
  Settings().SaveSetting("PictureFiles", "File1", Entry(full2.substr(slash + 1), full2.substr(0, slash + 1)));
  Settings().SaveSetting("Options", "Stretch", "1");
  Settings().SaveSetting("Options", "Interval", "60");
  Settings().SaveSetting("Options", "SwapAffect", pan ? "None" : "Cross Fade");
  Settings().SaveSetting("Options", "PanZoom", pan ? "1" : "0");
  InitScale();
  std::vector<RECT> monitors;
  EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
  const bool two = where == "monitors";
  if (two && monitors.size() < 2) {
    std::printf("motion error only %zu monitor(s)\n", monitors.size());
    return 1;
  }
  StampingPlatform platform;
  const bool preview = where == "preview";
  SlideShow show(Settings(), platform, SystemFileSystem(), preview ? Mode::Preview : Mode::Show);
  std::vector<std::unique_ptr<BenchHost>> hosts;
  for (int i = 0; i < (two ? 2 : 1); ++i) {
    hosts.push_back(std::make_unique<BenchHost>(preview, monitors.empty() ? nullptr : &monitors[i]));
    hosts.back()->Open();
  }
  show.StartSlideShow(hosts[0]->target, 1, *hosts[0]);
  for (std::size_t i = 1; i < hosts.size(); ++i) show.JoinSlideShow(hosts[i]->target, *hosts[i]);
  for (auto& h : hosts) {
    h->timer.SetEnabled(false);
    show.NextSlide(h->target, h->work);  // the first pictures, without a transition
  }
  FrameFigures figures;
  double cpu = 0, wall = 0;
  for (int run = 0; run < runs; ++run) {
    if (!pan) {
      // A fade of speed 1 (4 s) on each window in turn.
      show.TransSpeed = 1;
      for (auto& h : hosts) {
        platform.stamps.clear();
        show.NextSlide(h->target, h->work);
        figures.Add(platform.stamps, static_cast<std::size_t>(show.LastFade.frames), show.LastFade.measured);
      }
      continue;
    }
    // A fresh slide starts each window's pan; then the frame clock runs.
    for (auto& h : hosts) show.NextSlide(h->target, h->work);
    std::vector<double> stamps;
    const double c0 = ProcessCpuSeconds(), t0 = Now();
    for (int i = 0; i < frames; ++i) {
      ui::WaitFrame();
      stamps.push_back(Now());
    }
    cpu += ProcessCpuSeconds() - c0;
    wall += Now() - t0;
    figures.Add(stamps, stamps.size() - 1, stamps.back() - stamps.front());
  }
  const char* path = hosts[0]->box.Canvas().Path();
  figures.Print(what.c_str(), where.c_str(), path[0] ? path : "none");
  if (pan) std::printf("motion-cpu %s %.1f\n", where.c_str(), wall > 0 ? cpu / wall * 100 : 0);
  if (!pan && !two) {
    for (int speed : {1, 10, 20}) {
      show.TransSpeed = speed;
      show.NextSlide(hosts[0]->target, hosts[0]->work);
      std::printf("motion-length %d %.3f %.3f %d\n", speed, show.LastFade.measured, show.LastFade.nominal,
                  show.LastFade.frames);
    }
  }
  if (!two) {
    for (auto& h : hosts) h->box.Canvas().StopFrames();
    ui::PictureBox& box = hosts[0]->box;
    const PicturePtr a = platform.LoadPicture(FullPath(file1)), b = platform.LoadPicture(FullPath(file2));
    const double own = OwnFramesPerSecond(box, a, b, pan, frames);
    const double gdi = GdiFramesPerSecond(box.hWnd(), a, b, pan, frames);
    std::printf("motion-throughput %s %s %.1f %.1f\n", what.c_str(), where.c_str(), own, gdi);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  const std::string arg = argc > 2 ? argv[2] : "";
  if (mode == "slide" && argc > 4 && std::string(argv[3]) == "monitors")
    return SlideOnMonitors(arg, std::atoi(argv[4]));
  if (mode == "slide" && argc > 4) return Slide(arg, std::string(argv[3]) == "preview", std::atoi(argv[4]));
  if (mode == "decode" && argc > 3) return Decode(arg, std::atoi(argv[3]));
  if (mode == "transitions" && argc > 3) return Transitions(arg == "preview", argv[3]);
  if (mode == "memory" && argc > 3) return Memory(arg, std::string(argv[3]) == "preview");
  if (mode == "memory-ole" && argc > 2) return MemoryOle(arg);
  if (mode == "motion" && argc > 7)
    return Motion(arg, argv[3], argv[4], argv[5], std::atoi(argv[6]), std::atoi(argv[7]));
  if (mode == "metafiles" && argc > 4) return Metafiles(arg, std::atoi(argv[3]), std::atoi(argv[4]));
  if (mode == "launch" && argc > 3) {
    std::string line = std::string("\"") + argv[3] + "\"";
    for (int i = 4; i < argc; ++i) line += std::string(" ") + argv[i];
    return Launch(arg, line);
  }
  std::fprintf(stderr, "usage: see the comment at the top of tessaly_bench.cpp\n");
  return 2;
}
