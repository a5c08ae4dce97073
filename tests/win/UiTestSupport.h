// Shared pieces of the window-layer tests: a show window with a picture box,
// a target and a work image; pixel reading; picture files written by code.
#pragma once

#include "common/Win32.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/App.h"
#include "common/AppError.h"
#include "ui/Form.h"
#include "common/ScopedWin.h"
#include "ui/ImageControl.h"
#include "picture/Picture_win.h"
#include "ui/PictureBox.h"
#include "show/ShowHost.h"
#include "ui/TimerControl.h"

namespace uitest {

using namespace tessaly;
using namespace tessaly::ui;
using namespace tessaly::picture;

constexpr int kFormX = 16, kFormY = 16;    // pixels
constexpr int kFormW = 400, kFormH = 300;  // pixels
constexpr COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255);
constexpr COLORREF kWhite = RGB(255, 255, 255), kBlack = RGB(0, 0, 0);

// Takes away a WM_QUIT the last unloaded form left in the queue.
inline void DrainQuit() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {}
}

// A show window as MainForm is one: a form filled by a picture box that
// holds the target and the work image, and a timer. With a stage window the
// box goes into the stage instead of the (hidden) form.
class HostForm : public Form, public ShowHost {
 public:
  explicit HostForm(HWND stage = nullptr)
      : Form("Tessaly UI Test Host"),
        box(*this),
        target(box, *this, true),
        work(box, *this, false),
        timer(*this),
        stage_(stage) {}
  PictureBox box;
  ImageControl target;
  ImageControl work;
  TimerControl timer;

  void Form_Load() override {
    Move(kFormX * TwipsX(), kFormY * TwipsY(), kFormW * TwipsX(), kFormH * TwipsY());
    box.Create(stage_ ? stage_ : hWnd());
    box.Move(0, 0, kFormW * TwipsX(), kFormH * TwipsY());
  }
  Surface& PicBase() override { return box; }
  Image& PicPreview() override { return target; }
  Image& imgFullSize() override { return work; }
  Timer& tmrSwitch() override { return timer; }
  // The screen a show here is placed for; none: the system's.
  std::optional<ScreenSize> screen;
  std::optional<ScreenSize> ShowScreen() const override { return screen; }

 private:
  HWND stage_;
};

// A shown top-level window the drawing tests put their boxes in. Wine
// without a window manager takes about two seconds to hide or destroy a
// shown top-level window, so the tests share this one and never hide it.
inline HWND Stage() {
  static HWND stage = [] {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    wc.lpszClassName = "UiTestStage";
    RegisterClassA(&wc);
    HWND h = CreateWindowA("UiTestStage", "Tessaly UI Test Stage", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, kFormX,
                           kFormY, kFormW, kFormH, nullptr, nullptr, wc.hInstance, nullptr);
    UpdateWindow(h);
    return h;
  }();
  return stage;
}

inline COLORREF PixelAt(HWND hwnd, int x, int y) {
  WindowDC dc(hwnd);
  return GetPixel(dc.get(), x, y);
}

inline bool Near(COLORREF a, COLORREF b, int tolerance = 48) {
  return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
         std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

inline std::string Hex(COLORREF c) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%06lX", static_cast<unsigned long>(c));
  return buffer;
}

#define EXPECT_PIXEL(hwnd, x, y, colour)         \
  EXPECT_TRUE(Near(PixelAt(hwnd, x, y), colour)) \
      << "pixel (" << (x) << "," << (y) << ") is " << Hex(PixelAt(hwnd, x, y)) << ", expected " << Hex(colour)

// Tests that read back what is drawn: a host form whose picture box (white)
// lies in the stage, loaded for each test.
class HostedBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitTwips(15, 15);
    host = std::make_unique<HostForm>(Stage());
    host->Load();
    box().SetBackColor(kWhite);
    DoEvents();
  }
  void TearDown() override {
    host->Unload();
    host.reset();
    DrainQuit();
  }
  PictureBox& box() { return host->box; }
  HWND hwnd() { return host->box.hWnd(); }

  std::unique_ptr<HostForm> host;
};

// A folder of the test's own in the prefix's temporary folder.
inline std::string TempFolder() {
  static const std::string folder = [] {
    char tmp[MAX_PATH];
    GetTempPathA(MAX_PATH, tmp);
    std::string f = std::string(tmp) + "Tessaly UI Test " + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(f.c_str(), nullptr);
    return f;
  }();
  return folder;
}

inline std::string WriteFile(const std::string& name, const void* data, std::size_t size) {
  const std::string path = TempFolder() + name;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
  return path;
}

inline std::string WriteFile(const std::string& name, const std::vector<unsigned char>& bytes) {
  return WriteFile(name, bytes.data(), bytes.size());
}

// A 24-bit BMP; `colour(x, y)` gives each pixel.
template <typename F>
std::vector<unsigned char> MakeBmp(int width, int height, F colour) {
  const int stride = (width * 3 + 3) & ~3;
  const uint32_t imageSize = static_cast<uint32_t>(stride * height);
  std::vector<unsigned char> out(54 + imageSize, 0);
  auto put32 = [&out](std::size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<unsigned char>(v >> (8 * i));
  };
  out[0] = 'B';
  out[1] = 'M';
  put32(2, static_cast<uint32_t>(out.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<uint32_t>(width));
  put32(22, static_cast<uint32_t>(height));
  out[26] = 1;
  out[28] = 24;
  put32(34, imageSize);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const COLORREF c = colour(x, y);
      unsigned char* p = &out[54 + static_cast<std::size_t>(height - 1 - y) * stride + x * 3];
      p[0] = GetBValue(c);
      p[1] = GetGValue(c);
      p[2] = GetRValue(c);
    }
  }
  return out;
}

// Left half red, right half blue.
inline std::vector<unsigned char> HalvesBmp(int width, int height) {
  return MakeBmp(width, height, [width](int x, int) { return x < width / 2 ? kRed : kBlue; });
}

// A placeable WMF: a green rectangle over a 2 × 1 inch frame.
inline std::vector<unsigned char> MakePlaceableWmf() {
  HDC dc = CreateMetaFileA(nullptr);
  SetWindowExtEx(dc, 2880, 1440, nullptr);
  GdiObject<HBRUSH> brush(CreateSolidBrush(kGreen));
  SelectObject(dc, brush.get());
  SelectObject(dc, GetStockObject(NULL_PEN));
  Rectangle(dc, 0, 0, 2881, 1441);
  HMETAFILE mf = CloseMetaFile(dc);
  const UINT size = GetMetaFileBitsEx(mf, 0, nullptr);
  std::vector<unsigned char> bits(size);
  GetMetaFileBitsEx(mf, size, bits.data());
  DeleteMetaFile(mf);

  std::vector<unsigned char> out(22);
  auto put16 = [&out](std::size_t at, uint16_t v) {
    out[at] = static_cast<unsigned char>(v);
    out[at + 1] = static_cast<unsigned char>(v >> 8);
  };
  put16(0, 0xCDD7);
  put16(2, 0x9AC6);
  put16(10, 2880);  // right
  put16(12, 1440);  // bottom
  put16(14, 1440);  // units per inch
  uint16_t sum = 0;
  for (int i = 0; i < 10; ++i) sum ^= static_cast<uint16_t>(out[2 * i] | (out[2 * i + 1] << 8));
  put16(20, sum);
  out.resize(22 + bits.size());
  if (!bits.empty()) std::memcpy(&out[22], bits.data(), bits.size());
  return out;
}

// The error number loading a picture file raises; 0 when it loads.
inline long ErrorOf(const std::string& path) {
  try {
    LoadPictureFile(path);
  } catch (const AppError& e) {
    return e.Number();
  }
  return 0;
}

}  // namespace uitest

// Pictures written at build time by make_test_pictures.py.
extern const int kTestPictureWidth, kTestPictureHeight;
extern const unsigned char kTestGif[];
extern const unsigned long kTestGifSize;
extern const unsigned char kTestJpeg[];
extern const unsigned long kTestJpegSize;
// The halves picture as PNG, TIFF and ICO, and as a GIF with a second,
// green frame.
extern const unsigned char kTestPng[], kTestTiff[], kTestIco[], kTestGifTwoFrames[];
extern const unsigned long kTestPngSize, kTestTiffSize, kTestIcoSize, kTestGifTwoFramesSize;
// The halves picture as a GIF with a table of 256 colours, and the same
// with the right half's colour (blue) transparent.
extern const unsigned char kTestGifOpaque256[], kTestGifTransparent256[];
extern const unsigned long kTestGifOpaque256Size, kTestGifTransparent256Size;
// Left third transparent, middle third red at half cover, right third
// opaque blue.
extern const unsigned char kTestPngAlpha[];
extern const unsigned long kTestPngAlphaSize;
// Upright 48 x 32 with quadrants red, green / blue, white, stored turned or
// mirrored as orientation N says, with N in an Exif block (JPEG) or the
// first directory (TIFF).
extern const unsigned char kTestJpegOrientation1[], kTestJpegOrientation2[], kTestJpegOrientation3[],
    kTestJpegOrientation4[], kTestJpegOrientation5[], kTestJpegOrientation6[], kTestJpegOrientation7[],
    kTestJpegOrientation8[];
extern const unsigned long kTestJpegOrientation1Size, kTestJpegOrientation2Size, kTestJpegOrientation3Size,
    kTestJpegOrientation4Size, kTestJpegOrientation5Size, kTestJpegOrientation6Size, kTestJpegOrientation7Size,
    kTestJpegOrientation8Size;
extern const unsigned char kTestTiffOrientation1[], kTestTiffOrientation2[], kTestTiffOrientation3[],
    kTestTiffOrientation4[], kTestTiffOrientation5[], kTestTiffOrientation6[], kTestTiffOrientation7[],
    kTestTiffOrientation8[];
extern const unsigned long kTestTiffOrientation1Size, kTestTiffOrientation2Size, kTestTiffOrientation3Size,
    kTestTiffOrientation4Size, kTestTiffOrientation5Size, kTestTiffOrientation6Size, kTestTiffOrientation7Size,
    kTestTiffOrientation8Size;
// The upright quadrants stored upright, with an Exif block saying 6 that is
// cut inside its directory, or whose directory lies outside the file.
extern const unsigned char kTestJpegExifCut[], kTestJpegExifOutside[];
extern const unsigned long kTestJpegExifCutSize, kTestJpegExifOutsideSize;
