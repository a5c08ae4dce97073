// The long-run and bad-input checks of the show, and the probes the
// bad-input script uses from outside the show's process.
//
//   tessaly_soak soak SLIDES      runs the real full-screen show window
//                                 (MainForm, SlideShow engine, window layer)
//                                 for SLIDES timer ticks and checks that GDI
//                                 objects, windows and private bytes stay flat
//   tessaly_soak pictures FOLDER  writes good.bmp, good.gif, good.jpg,
//                                 good.wmf (placeable), good.emf, good.png
//                                 (with a transparent border) and good.tif
//                                 (stored turned, orientation 6), 160x120
//                                 upright, each one solid colour
//   tessaly_soak watch SECONDS CHANGES
//                                 watches another process's show: prints each
//                                 new stored LastPicture with the colour the
//                                 screen's centre showed while it stood, and
//                                 every other visible top-level window, until
//                                 LastPicture has changed CHANGES times or
//                                 SECONDS pass
//
// Wine answers GetGuiResources with 0 (for this process and for others), so
// where it does the soak counts GDI objects itself (every handle value that
// GetObjectType knows) and USER objects as the process's windows.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "ui/App.h"
#include "startup/WinPlatform.h"
#include "picture/Picture_win.h"
#include "common/RegistryApi.h"
#include "startup/ShowWindows.h"
#include "startup/Startup.h"
#include "common/mFiles.h"

extern const unsigned char kSoakJpeg[];
extern const unsigned long kSoakJpegSize;

namespace {

const int kW = 160, kH = 120;
const char kCompany[] = "Quillmark Inc.";
const char kProduct[] = "Tessaly Customizable Screen Saver";
const char kSoakProduct[] = "Tessaly Soak Check";  // the soak's own settings key

struct Good {
  const char* name;
  COLORREF colour;
};
const Good kGood[] = {{"good.bmp", RGB(255, 0, 0)},   {"good.gif", RGB(0, 255, 0)},   {"good.jpg", RGB(0, 0, 255)},
                      {"good.wmf", RGB(255, 255, 0)}, {"good.emf", RGB(255, 0, 255)}, {"good.png", RGB(0, 255, 255)},
                      {"good.tif", RGB(255, 128, 0)}};
const long kFormats = static_cast<long>(sizeof kGood / sizeof kGood[0]);

bool WriteBytes(const std::string& path, const void* data, std::size_t size) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
  return static_cast<bool>(out);
}

void Put16(std::vector<unsigned char>& out, unsigned v) {
  out.push_back(static_cast<unsigned char>(v & 0xFF));
  out.push_back(static_cast<unsigned char>((v >> 8) & 0xFF));
}
void Put32(std::vector<unsigned char>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

std::vector<unsigned char> SolidBmp(int w, int h, COLORREF c) {
  const int stride = (w * 3 + 3) & ~3;
  std::vector<unsigned char> out;
  out.push_back('B');
  out.push_back('M');
  Put32(out, static_cast<uint32_t>(54 + stride * h));
  Put32(out, 0);
  Put32(out, 54);
  Put32(out, 40);
  Put32(out, static_cast<uint32_t>(w));
  Put32(out, static_cast<uint32_t>(h));
  Put16(out, 1);
  Put16(out, 24);
  Put32(out, 0);
  Put32(out, static_cast<uint32_t>(stride * h));
  for (int i = 0; i < 4; ++i) Put32(out, 0);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      out.push_back(GetBValue(c));
      out.push_back(GetGValue(c));
      out.push_back(GetRValue(c));
    }
    for (int p = w * 3; p < stride; ++p) out.push_back(0);
  }
  return out;
}

// Every pixel code follows a clear code, so no code table is needed.
std::vector<unsigned char> SolidGif(int w, int h, COLORREF c) {
  std::vector<unsigned char> out = {'G', 'I', 'F', '8', '9', 'a'};
  Put16(out, static_cast<unsigned>(w));
  Put16(out, static_cast<unsigned>(h));
  out.push_back(0x81);  // global table of 4 entries
  out.push_back(0);
  out.push_back(0);
  const unsigned char table[12] = {GetRValue(c), GetGValue(c), GetBValue(c), 0, 0, 0, 0, 0, 0, 255, 255, 255};
  out.insert(out.end(), table, table + 12);
  out.push_back(',');
  Put16(out, 0);
  Put16(out, 0);
  Put16(out, static_cast<unsigned>(w));
  Put16(out, static_cast<unsigned>(h));
  out.push_back(0);
  const unsigned minCode = 2, clear = 4, end = 5;
  std::vector<unsigned char> data;
  uint32_t bits = 0;
  int nbits = 0;
  auto code = [&](unsigned v) {
    bits |= v << nbits;
    nbits += 3;
    while (nbits >= 8) {
      data.push_back(static_cast<unsigned char>(bits & 0xFF));
      bits >>= 8;
      nbits -= 8;
    }
  };
  for (int i = 0; i < w * h; ++i) {
    code(clear);
    code(0);
  }
  code(end);
  if (nbits) data.push_back(static_cast<unsigned char>(bits & 0xFF));
  out.push_back(static_cast<unsigned char>(minCode));
  for (std::size_t i = 0; i < data.size(); i += 255) {
    const std::size_t n = std::min<std::size_t>(255, data.size() - i);
    out.push_back(static_cast<unsigned char>(n));
    out.insert(out.end(), data.begin() + static_cast<long>(i), data.begin() + static_cast<long>(i + n));
  }
  out.push_back(0);
  out.push_back(';');
  return out;
}

uint32_t Crc32(const unsigned char* data, std::size_t size, uint32_t crc = 0) {
  crc = ~crc;
  for (std::size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

void PutBe32(std::vector<unsigned char>& out, uint32_t v) {
  for (int i = 3; i >= 0; --i) out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

void PngChunk(std::vector<unsigned char>& out, const char* type, const std::vector<unsigned char>& body) {
  PutBe32(out, static_cast<uint32_t>(body.size()));
  std::vector<unsigned char> typed(type, type + 4);
  typed.insert(typed.end(), body.begin(), body.end());
  out.insert(out.end(), typed.begin(), typed.end());
  PutBe32(out, Crc32(typed.data(), typed.size()));
}

// RGBA, with a transparent border of 4 pixels; the image data in stored
// (uncompressed) deflate blocks.
std::vector<unsigned char> SolidPng(int w, int h, COLORREF c) {
  std::vector<unsigned char> raw;
  for (int y = 0; y < h; ++y) {
    raw.push_back(0);  // no filter
    for (int x = 0; x < w; ++x) {
      const bool border = x < 4 || y < 4 || x >= w - 4 || y >= h - 4;
      raw.insert(raw.end(), {GetRValue(c), GetGValue(c), GetBValue(c), static_cast<unsigned char>(border ? 0 : 255)});
    }
  }
  std::vector<unsigned char> z = {0x78, 0x01};
  for (std::size_t at = 0; at < raw.size(); at += 65535) {
    const std::size_t n = std::min<std::size_t>(65535, raw.size() - at);
    z.push_back(at + n == raw.size() ? 1 : 0);
    z.push_back(static_cast<unsigned char>(n & 0xFF));
    z.push_back(static_cast<unsigned char>(n >> 8));
    z.push_back(static_cast<unsigned char>(~n & 0xFF));
    z.push_back(static_cast<unsigned char>((~n >> 8) & 0xFF));
    z.insert(z.end(), raw.begin() + static_cast<long>(at), raw.begin() + static_cast<long>(at + n));
  }
  uint32_t a = 1, b = 0;
  for (unsigned char v : raw) {
    a = (a + v) % 65521;
    b = (b + a) % 65521;
  }
  PutBe32(z, (b << 16) | a);
  std::vector<unsigned char> out = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  std::vector<unsigned char> header;
  PutBe32(header, static_cast<uint32_t>(w));
  PutBe32(header, static_cast<uint32_t>(h));
  header.insert(header.end(), {8, 6, 0, 0, 0});
  PngChunk(out, "IHDR", header);
  PngChunk(out, "IDAT", z);
  PngChunk(out, "IEND", {});
  return out;
}

// Uncompressed RGB, the directory first and one strip after it, stored
// turned (orientation 6): w x h upright.
std::vector<unsigned char> SolidTiff(int w, int h, COLORREF c) {
  const uint32_t sw = static_cast<uint32_t>(h), sh = static_cast<uint32_t>(w);
  const uint16_t fields = 10;
  const uint32_t bitsAt = 8 + 2 + fields * 12 + 4, dataAt = bitsAt + 6;
  std::vector<unsigned char> out = {'I', 'I', 42, 0};
  Put32(out, 8);
  Put16(out, fields);
  auto field = [&out](uint16_t tag, uint16_t type, uint32_t count, uint32_t value) {
    Put16(out, tag);
    Put16(out, type);
    Put32(out, count);
    Put32(out, value);
  };
  field(256, 4, 1, sw);
  field(257, 4, 1, sh);
  field(258, 3, 3, bitsAt);
  field(259, 3, 1, 1);
  field(262, 3, 1, 2);
  field(273, 4, 1, dataAt);
  field(274, 3, 1, 6);
  field(277, 3, 1, 3);
  field(278, 4, 1, sh);
  field(279, 4, 1, sw * sh * 3);
  Put32(out, 0);
  for (int i = 0; i < 3; ++i) Put16(out, 8);
  for (uint32_t i = 0; i < sw * sh; ++i) out.insert(out.end(), {GetRValue(c), GetGValue(c), GetBValue(c)});
  return out;
}

void FillRect(HDC dc, int w, int h, COLORREF c) {
  HBRUSH brush = CreateSolidBrush(c);
  HPEN pen = CreatePen(PS_SOLID, 1, c);
  HGDIOBJ oldBrush = SelectObject(dc, brush);
  HGDIOBJ oldPen = SelectObject(dc, pen);
  Rectangle(dc, 0, 0, w, h);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(brush);
  DeleteObject(pen);
}

// A placeable metafile: the 22-byte header, then the records.
std::vector<unsigned char> SolidWmf(int w, int h, COLORREF c, bool placeable) {
  HDC dc = CreateMetaFileA(nullptr);
  SetWindowOrgEx(dc, 0, 0, nullptr);
  SetWindowExtEx(dc, w, h, nullptr);
  FillRect(dc, w, h, c);
  HMETAFILE mf = CloseMetaFile(dc);
  const UINT size = GetMetaFileBitsEx(mf, 0, nullptr);
  std::vector<unsigned char> body(size);
  GetMetaFileBitsEx(mf, size, body.data());
  DeleteMetaFile(mf);
  std::vector<unsigned char> out;
  if (placeable) {
    Put32(out, 0x9AC6CDD7u);
    Put16(out, 0);  // handle
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, static_cast<unsigned>(w));
    Put16(out, static_cast<unsigned>(h));
    Put16(out, 96);  // units per inch: one unit per pixel at 96 dpi
    Put32(out, 0);
    unsigned sum = 0;
    for (std::size_t i = 0; i < out.size(); i += 2) sum ^= static_cast<unsigned>(out[i] | (out[i + 1] << 8));
    Put16(out, sum);
  }
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

bool WriteEmf(const std::string& path, int w, int h, COLORREF c) {
  HDC screen = GetDC(nullptr);
  const int mmX = GetDeviceCaps(screen, HORZSIZE), mmY = GetDeviceCaps(screen, VERTSIZE);
  const int pxX = GetDeviceCaps(screen, HORZRES), pxY = GetDeviceCaps(screen, VERTRES);
  ReleaseDC(nullptr, screen);
  // The frame in 0.01 mm for w x h reference-device pixels.
  RECT frame{0, 0, MulDiv(w, mmX * 100, pxX), MulDiv(h, mmY * 100, pxY)};
  HDC dc = CreateEnhMetaFileA(nullptr, path.c_str(), &frame, nullptr);
  if (!dc) return false;
  FillRect(dc, w, h, c);
  HENHMETAFILE emf = CloseEnhMetaFile(dc);
  if (!emf) return false;
  DeleteEnhMetaFile(emf);
  return true;
}

bool WritePictures(std::string folder) {
  if (folder.empty()) return false;
  if (folder.back() != '\\') folder += '\\';
  CreateDirectoryA(folder.c_str(), nullptr);
  const auto bmp = SolidBmp(kW, kH, kGood[0].colour);
  const auto gif = SolidGif(kW, kH, kGood[1].colour);
  const auto wmf = SolidWmf(kW, kH, kGood[3].colour, true);
  const auto raw = SolidWmf(kW, kH, kGood[3].colour, false);
  const auto png = SolidPng(kW, kH, kGood[5].colour);
  const auto tif = SolidTiff(kW, kH, kGood[6].colour);
  return WriteBytes(folder + kGood[0].name, bmp.data(), bmp.size()) &&
         WriteBytes(folder + kGood[1].name, gif.data(), gif.size()) &&
         WriteBytes(folder + kGood[2].name, kSoakJpeg, kSoakJpegSize) &&
         WriteBytes(folder + kGood[3].name, wmf.data(), wmf.size()) &&
         WriteBytes(folder + "plain.wmf", raw.data(), raw.size()) &&
         WriteEmf(folder + kGood[4].name, kW, kH, kGood[4].colour) &&
         WriteBytes(folder + kGood[5].name, png.data(), png.size()) &&
         WriteBytes(folder + kGood[6].name, tif.data(), tif.size());
}

bool Near(COLORREF a, COLORREF b, int tolerance = 48) {
  return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
         std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

// ---------------------------------------------------------------------------
// Resource counts of this process

int CountGdiHandles() {
  int n = 0;
  for (uintptr_t i = 1; i < 0x10000; ++i)
    if (GetObjectType(reinterpret_cast<HGDIOBJ>(i)) != 0) ++n;
  return n;
}

BOOL CALLBACK CountChild(HWND, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  return TRUE;
}

BOOL CALLBACK CountOwnWindows(HWND hwnd, LPARAM count) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid != GetCurrentProcessId()) return TRUE;
  ++*reinterpret_cast<int*>(count);
  EnumChildWindows(hwnd, CountChild, count);
  return TRUE;
}

struct Sample {
  long slide = 0;
  long gdi = 0;
  long user = 0;
  std::size_t privateBytes = 0;
};

Sample TakeSample(long slide) {
  Sample s;
  s.slide = slide;
  s.gdi = static_cast<long>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS));
  if (s.gdi == 0) s.gdi = CountGdiHandles();
  s.user = static_cast<long>(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS));
  if (s.user == 0) {
    int windows = 0;
    EnumWindows(CountOwnWindows, reinterpret_cast<LPARAM>(&windows));
    s.user = windows;
  }
  PROCESS_MEMORY_COUNTERS_EX pm{};
  pm.cb = sizeof pm;
  GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pm), sizeof pm);
  // Wine leaves PrivateUsage at 0; its PagefileUsage is the private memory.
  s.privateBytes = pm.PrivateUsage ? pm.PrivateUsage : pm.PagefileUsage;
  return s;
}

// ---------------------------------------------------------------------------
// The soak

// The system registry, with every "LastPicture" the show stores written down
// in order: with a window on each monitor, all of them take their positions
// from the one stored value.
class RecordingRegistry : public tessaly::RegistryApi {
 public:
  std::vector<long> lastPictures;
  long OpenKey(tessaly::RegHandle root, const std::string& subKey, unsigned access, tessaly::RegHandle& key) override {
    return system_.OpenKey(root, subKey, access, key);
  }
  long CreateKey(tessaly::RegHandle root, const std::string& subKey, unsigned access,
                 tessaly::RegHandle& key) override {
    return system_.CreateKey(root, subKey, access, key);
  }
  long QueryValue(tessaly::RegHandle key, const std::string& name, unsigned* type, unsigned char* data,
                  unsigned long* size) override {
    return system_.QueryValue(key, name, type, data, size);
  }
  long SetValue(tessaly::RegHandle key, const std::string& name, unsigned type, const unsigned char* data,
                unsigned long size) override {
    if (name == "LastPicture" && data)
      lastPictures.push_back(std::atol(std::string(reinterpret_cast<const char*>(data), size).c_str()));
    return system_.SetValue(key, name, type, data, size);
  }
  long DeleteValue(tessaly::RegHandle key, const std::string& name) override { return system_.DeleteValue(key, name); }
  long DeleteKey(tessaly::RegHandle key, const std::string& subKey) override { return system_.DeleteKey(key, subKey); }
  long CloseKey(tessaly::RegHandle key) override { return system_.CloseKey(key); }

 private:
  tessaly::RegistryApi& system_ = tessaly::SystemRegistry();
};

RecordingRegistry& Recorder() {
  static RecordingRegistry registry;
  return registry;
}

tessaly::CRegSettings& Settings() {
  static tessaly::CRegSettings settings(Recorder(), kCompany, kSoakProduct);
  return settings;
}

std::string Entry(const std::string& file, const std::string& folder) {
  std::string e(512, ' ');
  e.replace(0, file.size(), file);
  e.replace(255, folder.size(), folder);
  return e;
}

class SoakForm : public tessaly::MainForm {
 public:
  long slides = 0;
  long target = 0;
  static const long kPhase = 25;
  static const long kEffectEvery = 10;
  std::vector<long> effectsRun = std::vector<long>(9, 0);
  long stretched = 0, placed = 0;
  long wrongPosition = 0, wrongColour = 0, noPicture = 0;
  long lastStored = 0;
  long listCount = 0;
  long monitorSlides = 0, monitorWrong = 0;
  std::vector<long> shownPerFormat = std::vector<long>(kFormats, 0);
  std::vector<Sample> samples;
  std::string firstFault;

 protected:
  void tmrSwitch_Timer() override {
    if (slides >= target) return;
    // Every tenth change runs a transition, the nine effects in turn (a
    // full-screen Spotlight takes about two seconds under Wine even at
    // speed 20, so a transition on every slide would not fit the run).
    const long next = slides + 1;
    const bool transition = next % kEffectEvery == 0;
    const std::size_t effect = static_cast<std::size_t>((next / kEffectEvery) % 9);
    Settings().SaveSetting("Options", "SwapAffect", transition ? tessaly::kEffects[effect] : "None");
    const std::size_t storedBefore = Recorder().lastPictures.size();
    MainForm::tmrSwitch_Timer();
    // Put off while another monitor's slide ran: it comes again.
    if (Recorder().lastPictures.size() == storedBefore) return;
    if (transition && slides > 0) ++effectsRun[effect];
    ++slides;
    Check();
    // Samples from slide 200 on, about every hundred slides, always while the
    // last format of the list is shown at its natural size: what a slide holds depends
    // on its format and placement (a stretched picture keeps a screen-sized
    // copy), and only growth beyond that is a leak.
    const bool sameSlide =
        lastStored > 0 && (lastStored - 1) % kFormats == kFormats - 1 && PicPreview_.Width() != PicBase_.Width();
    if (slides >= 200 && sameSlide && (samples.empty() || slides - samples.back().slide >= 90))
      samples.push_back(TakeSample(slides));
    // Both placements take turns, so each has run long before slide 200.
    if (slides % kPhase == 0) Settings().SaveSetting("Options", "Stretch", (slides / kPhase) % 2 ? "1" : "0");
    if (slides == target) {
      tmrSwitch_.SetEnabled(false);
      PostQuitMessage(0);
    }
  }

 private:
  void Fault(const std::string& what) {
    if (firstFault.empty()) firstFault = "slide " + std::to_string(slides) + ": " + what;
  }

  // The windows on the other monitors: each shows one of the pictures.
  void CheckMonitors() {
    for (const auto& monitor : MonitorForms()) {
      tessaly::Image& target = monitor->PicPreview();
      const auto* picture = dynamic_cast<const tessaly::picture::WinPicture*>(target.GetPicture().get());
      if (!picture || !target.Visible()) continue;  // its first tick may be yet to come
      ++monitorSlides;
      auto& box = dynamic_cast<tessaly::ui::PictureBox&>(monitor->PicBase());
      const int x = box.TwipsToPixelsX(target.Left() + target.Width() / 2.0);
      const int y = box.TwipsToPixelsY(target.Top() + target.Height() / 2.0);
      HDC dc = GetDC(box.hWnd());
      const COLORREF seen = GetPixel(dc, x, y);
      ReleaseDC(box.hWnd(), dc);
      bool known = false;
      for (const Good& g : kGood) known = known || Near(seen, g.colour);
      if (!known) {
        ++monitorWrong;
        char text[96];
        std::snprintf(text, sizeof text, "monitor window centre (%d,%d) is %06lX", x, y,
                      static_cast<unsigned long>(seen));
        Fault(text);
      }
    }
  }

  void Check() {
    CheckMonitors();
    const long stored = Recorder().lastPictures.back();  // what this slide stored
    // With windows on other monitors their slides come in between.
    const long expected = MonitorForms().empty() ? lastStored % listCount + 1 : stored;
    if (stored != expected) {
      ++wrongPosition;
      Fault("LastPicture " + std::to_string(stored) + ", expected " + std::to_string(expected));
    }
    lastStored = stored;
    const auto* picture = dynamic_cast<const tessaly::picture::WinPicture*>(PicPreview_.GetPicture().get());
    if (!picture || !PicPreview_.Visible()) {
      ++noPicture;
      Fault("no picture shown");
      return;
    }
    const bool stretch = PicPreview_.Width() == PicBase_.Width();
    (stretch ? stretched : placed)++;
    const long index = (stored - 1) % kFormats;  // the list repeats the formats
    if (index >= 0) ++shownPerFormat[static_cast<std::size_t>(index)];
    // The centre of the shown picture, read back from the window.
    const int x = tessaly::ui::TwipsToPixelsX(PicPreview_.Left() + PicPreview_.Width() / 2.0);
    const int y = tessaly::ui::TwipsToPixelsY(PicPreview_.Top() + PicPreview_.Height() / 2.0);
    HDC dc = GetDC(PicBase_.hWnd());
    const COLORREF seen = GetPixel(dc, x, y);
    ReleaseDC(PicBase_.hWnd(), dc);
    if (index >= 0 && !Near(seen, kGood[index].colour)) {
      ++wrongColour;
      char text[96];
      std::snprintf(text, sizeof text, "centre (%d,%d) is %06lX, expected %06lX", x, y,
                    static_cast<unsigned long>(seen), static_cast<unsigned long>(kGood[index].colour));
      Fault(text);
    }
  }
};

SoakForm* g_form = nullptr;

int Soak(long slides) {
  char tmp[MAX_PATH];
  GetTempPathA(MAX_PATH, tmp);
  const std::string folder = std::string(tmp) + "Tessaly Soak " + std::to_string(GetCurrentProcessId()) + "\\";
  if (!WritePictures(folder)) {
    std::printf("FAIL - cannot write the pictures to %s\n", folder.c_str());
    return 1;
  }
  tessaly::CRegSettings& s = Settings();
  s.DeleteSetting("PictureFiles");
  s.DeleteSetting("SoundFiles");
  s.DeleteSetting("Options");
  // Every format twice; through a folder entry the second round's order
  // would differ, so all are file entries.
  const int kRepeats = 2;
  for (int r = 0; r < kRepeats; ++r)
    for (long i = 0; i < kFormats; ++i)
      s.SaveSetting("PictureFiles", "File" + std::to_string(r * kFormats + i), Entry(kGood[i].name, folder));
  s.SaveSetting("Options", "Interval", "0.05");
  s.SaveSetting("Options", "SwapAffect", "None");
  s.SaveSetting("Options", "TransSpeed", "20");
  s.SaveSetting("Options", "Stretch", "0");
  s.SaveSetting("Options", "ShowFileName", "1");
  s.SaveSetting("Options", "ShowFrame", "1");
  s.SaveSetting("Options", "FrameThickness", "3");
  s.SaveSetting("Options", "FrameColor", "16777215");
  s.SaveSetting("Options", "BackColor", "0");
  s.SaveSetting("Options", "LastPicture", "0");

  tessaly::Startup().CommandMode = "/S";
  tessaly::Startup().RunMode = tessaly::Mode::Show;
  HDC screen = GetDC(nullptr);
  const int twips = 1440 / std::max(1, GetDeviceCaps(screen, LOGPIXELSX));
  ReleaseDC(nullptr, screen);
  tessaly::ui::InitTwips(twips, twips);
  static SoakForm form;
  g_form = &form;
  form.target = slides;
  form.listCount = kFormats * kRepeats;
  form.Load();
  form.Show();
  tessaly::ui::RunMessageLoop();

  int failed = 0;
  auto check = [&failed](bool ok, const std::string& what) {
    std::printf("%s - %s\n", ok ? "ok  " : "FAIL", what.c_str());
    std::fflush(stdout);
    if (!ok) ++failed;
  };
  std::printf("slides %ld (placed %ld, stretched %ld)\n", form.slides, form.placed, form.stretched);
  for (const Sample& x : form.samples)
    std::printf("sample slide %5ld: gdi %ld user %ld private %zu\n", x.slide, x.gdi, x.user, x.privateBytes);
  const std::size_t monitors = form.MonitorForms().size();
  std::printf("windows on further monitors %zu, their slides seen %ld\n", monitors, form.monitorSlides);
  check(form.slides == slides, "the show ran " + std::to_string(slides) + " slides");
  const std::vector<long>& stored = Recorder().lastPictures;
  long broken = 0;
  for (std::size_t i = 1; i < stored.size(); ++i)
    if (stored[i] != stored[i - 1] % form.listCount + 1) ++broken;
  check(broken == 0 && stored.size() >= static_cast<std::size_t>(slides),
        "every stored LastPicture followed the one before (" + std::to_string(stored.size()) + " stored, " +
            std::to_string(broken) + " out of turn)");
  if (monitors > 0) {
    check(form.monitorSlides >= slides / 2 && stored.size() >= static_cast<std::size_t>(slides + slides / 3),
          "the windows on the other monitors showed pictures in turn (" + std::to_string(form.monitorSlides) + ")");
    check(form.monitorWrong == 0,
          "their centres have a picture's colour (" + std::to_string(form.monitorWrong) + " wrong)");
  }
  check(form.wrongPosition == 0,
        "LastPicture advanced by one each slide (" + std::to_string(form.wrongPosition) + " wrong)");
  check(form.noPicture == 0, "every slide showed a picture (" + std::to_string(form.noPicture) + " without)");
  check(form.wrongColour == 0,
        "every slide's centre has its picture's colour (" + std::to_string(form.wrongColour) + " wrong)");
  for (long i = 0; i < kFormats; ++i)
    check(form.shownPerFormat[static_cast<std::size_t>(i)] >= slides / (kFormats + 1),
          std::string(kGood[i].name) + " shown " + std::to_string(form.shownPerFormat[static_cast<std::size_t>(i)]) +
              " times");
  for (std::size_t i = 0; i < 9; ++i)
    check(form.effectsRun[i] >= slides / 100,
          std::string(tessaly::kEffects[i]) + " ran " + std::to_string(form.effectsRun[i]) + " times");
  check(form.placed >= slides / 3 && form.stretched >= slides / 3, "both placements ran");
  if (!form.firstFault.empty()) std::printf("first fault: %s\n", form.firstFault.c_str());

  if (form.samples.size() >= 2) {
    const Sample& first = form.samples.front();
    long maxGdi = 0, maxUser = 0;
    std::size_t maxPrivate = 0;
    for (const Sample& x : form.samples) {
      maxGdi = std::max(maxGdi, x.gdi);
      maxUser = std::max(maxUser, x.user);
      maxPrivate = std::max(maxPrivate, x.privateBytes);
    }
    // One handle leaked per slide would add 1,800; one 160x120 bitmap per
    // slide 100 MB. The tolerances leave room for caches that fill once.
    check(maxGdi - first.gdi <= 8,
          "GDI objects flat from slide 200 (" + std::to_string(first.gdi) + " -> max " + std::to_string(maxGdi) + ")");
    check(maxUser - first.user <= 1, "USER objects flat from slide 200 (" + std::to_string(first.user) + " -> max " +
                                         std::to_string(maxUser) + ")");
    // Between samples of the same slide Wine holds or has given back one
    // buffer the size of a stretched picture (3 MB at 1024 x 768), whichever
    // the sample meets: 4 MB leaves room for it.
    const long long grown = static_cast<long long>(maxPrivate) - static_cast<long long>(first.privateBytes);
    check(grown <= 4 * 1024 * 1024, "private bytes flat from slide 200 (" + std::to_string(first.privateBytes) +
                                        " -> max " + std::to_string(maxPrivate) + ")");
  } else {
    check(false, "resource samples taken");
  }
  s.DeleteSetting("PictureFiles");
  s.DeleteSetting("Options");
  for (const Good& g : kGood) DeleteFileA((folder + g.name).c_str());
  DeleteFileA((folder + "plain.wmf").c_str());
  RemoveDirectoryA(folder.c_str());
  std::printf("%s\n", failed ? "soak FAILED" : "soak passed");
  return failed ? 1 : 0;
}

// ---------------------------------------------------------------------------
// Watching another process's show

std::string StoredLastPicture() {
  HKEY key = nullptr;
  const std::string path = std::string("Software\\") + kCompany + "\\" + kProduct + "\\Options";
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return "<none>";
  char buffer[256] = {};
  DWORD size = sizeof buffer - 1, type = 0;
  std::string value = "<none>";
  if (RegQueryValueExA(key, "LastPicture", nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) == ERROR_SUCCESS)
    value = std::string(buffer, strnlen(buffer, size));
  RegCloseKey(key);
  return value;
}

struct WindowList {
  std::vector<std::string> others;
  bool mainForm = false;
};

BOOL CALLBACK ListWindow(HWND hwnd, LPARAM param) {
  auto* list = reinterpret_cast<WindowList*>(param);
  if (!IsWindowVisible(hwnd)) return TRUE;
  char title[256] = {}, cls[256] = {};
  GetWindowTextA(hwnd, title, sizeof title);
  GetClassNameA(hwnd, cls, sizeof cls);
  if (std::string(title) == tessaly::kMainFormCaption) {
    list->mainForm = true;
    return TRUE;
  }
  list->others.push_back(std::string(title) + " [" + cls + "]");
  return TRUE;
}

COLORREF CentreColour() {
  HDC screen = GetDC(nullptr);
  const COLORREF c = GetPixel(screen, GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2);
  ReleaseDC(nullptr, screen);
  return c;
}

// The show stores LastPicture when it has put a slide up, and the slide
// reaches the screen when its window paints, a moment later (later still on
// a loaded machine): one sample taken at the change may still show the slide
// before. So each value is reported with the colour the screen's centre
// showed most often while the value stood, once the next value (or, after
// the last value watched, at most kSettleMs) ends it.
const DWORD kSettleMs = 3000;

int Watch(double seconds, int changes) {
  const DWORD start = GetTickCount();
  const DWORD limit = static_cast<DWORD>(seconds * 1000);
  std::string last = StoredLastPicture();
  std::printf("start %s\n", last.c_str());
  std::set<std::string> reported;
  std::map<COLORREF, int> colours;  // seen while `last` stood
  int seen = 0;
  DWORD lastChange = start;
  bool pending = false;  // `last` is still to be reported
  auto report = [&] {
    COLORREF c = 0;
    int most = 0;
    for (const auto& [colour, count] : colours) {
      if (count > most) {
        most = count;
        c = colour;
      }
    }
    std::printf("last %s %02X%02X%02X\n", last.c_str(), GetRValue(c), GetGValue(c), GetBValue(c));
    pending = false;
  };
  bool everMissing = false, everSeen = false;
  while (GetTickCount() - start < limit) {
    const std::string now = StoredLastPicture();
    if (now != last) {
      if (pending) report();
      if (seen == changes) break;
      last = now;
      ++seen;
      pending = true;
      colours.clear();
      lastChange = GetTickCount();
    } else if (seen == changes && GetTickCount() - lastChange >= kSettleMs) {
      break;
    }
    if (pending) ++colours[CentreColour()];
    WindowList windows;
    EnumWindows(ListWindow, reinterpret_cast<LPARAM>(&windows));
    // Missing once it had been there: the show window went away.
    if (windows.mainForm)
      everSeen = true;
    else if (everSeen)
      everMissing = true;
    for (const std::string& w : windows.others)
      if (reported.insert(w).second) std::printf("window %s\n", w.c_str());
    std::fflush(stdout);
    Sleep(10);
  }
  if (pending) report();
  WindowList windows;
  EnumWindows(ListWindow, reinterpret_cast<LPARAM>(&windows));
  std::printf("changes %d\nmainform %s\n", seen, windows.mainForm && !everMissing ? "stayed" : "missing");
  return 0;
}

}  // namespace

// The engine of this process, as Main_win.cpp makes it for the program.
namespace tessaly {
StartupState& Startup() {
  static StartupState state;
  return state;
}
SlideShow& Engine() {
  static WinPlatform platform;
  static SlideShow show(Settings(), platform, SystemFileSystem(), Startup().RunMode, 0);
  return show;
}
}  // namespace tessaly

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "soak" && argc > 2) return Soak(std::atol(argv[2]));
  if (mode == "pictures" && argc > 2) return WritePictures(argv[2]) ? 0 : 1;
  if (mode == "watch" && argc > 3) return Watch(std::atof(argv[2]), std::atoi(argv[3]));
  std::fprintf(stderr, "usage: tessaly_soak soak SLIDES | pictures FOLDER | watch SECONDS CHANGES\n");
  return 2;
}
