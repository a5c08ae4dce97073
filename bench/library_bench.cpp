// Measuring program of the library figures (run by bench/library.sh under
// Wine). Every mode prints figures, one per line, as "key value..."; nothing
// passes or fails here.
//
//   tessaly_library_bench preview FOLDER SUBFOLDERS N
//       the configuration window with FOLDER's entry and two file entries
//       in its picture list: the time from opening to the preview's first
//       picture, then N times the time from a list command (a file entry
//       moved) to the next picture in the preview, and how many folder
//       walks ran in all
//   tessaly_library_bench memory FOLDER SUBFOLDERS
//       the picture list of FOLDER's entry as the show holds it: private
//       bytes before and after, the pictures, the bytes of their paths, and
//       what the list says it holds
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "BenchClock_win.h"
#include "common/RegistryApi.h"
#include "common/mFiles.h"
#include "common/mListBox.h"
#include "config/frmConfig.h"
#include "show/PlayList.h"
#include "show/mSlideShow.h"
#include "startup/WinPlatform.h"
#include "ui/App.h"

namespace {

using namespace tessaly;

const char kCompany[] = "Quillmark Inc.";
const char kBenchProduct[] = "Tessaly Bench";  // the bench's own settings key

using tessaly::bench::Median;
using tessaly::bench::Now;

// Private bytes: under Wine PrivateUsage is 0, and PagefileUsage holds them.
std::size_t PrivateBytes() {
  PROCESS_MEMORY_COUNTERS_EX pmc = {};
  pmc.cb = sizeof pmc;
  GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof pmc);
  return pmc.PrivateUsage ? pmc.PrivateUsage : pmc.PagefileUsage;
}

// Runs messages until `done` or `seconds` have passed; true when done.
template <typename Done>
bool PumpUntil(Done done, double seconds) {
  const double end = Now() + seconds;
  while (!done()) {
    if (Now() > end) return false;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ui::DispatchQueued(msg);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
  }
  return true;
}

int Preview(const std::string& folder, bool subfolders, int n) {
  CRegSettings settings(SystemRegistry(), kCompany, kBenchProduct);
  settings.DeleteSetting("PictureFiles");
  settings.DeleteSetting("SoundFiles");
  settings.DeleteSetting("Options");
  // Two file entries of the library's own pictures: the first two of the
  // first folder that has any, going down the first subfolders (a tree's
  // top folder holds folders only). The configuration window drops entries
  // of files that are not there, and the commands below need both.
  std::vector<std::string> names;
  std::string where = folder;
  for (int depth = 0; depth < 16; ++depth) {
    std::string sub;
    names.clear();
    SystemFileSystem().ListFolder(where, [&](const std::string& name, unsigned attributes) {
      if (!(attributes & kAttrDirectory))
        names.push_back(name);
      else if (sub.empty() && name != "." && name != "..")
        sub = name;
      return names.size() < 2;
    });
    if (!names.empty() || sub.empty()) break;
    where += sub + "\\";
  }
  if (names.empty()) {
    std::printf("preview no-picture-found\n");
    return 1;
  }
  if (names.size() < 2) names.push_back(names[0]);
  settings.SaveSetting("PictureFiles", "File0", MakeFolderEntry(folder));
  settings.SaveSetting("PictureFiles", "File1", MakeFileEntry(names[0], where));
  settings.SaveSetting("PictureFiles", "File2", MakeFileEntry(names[1], where));
  for (const auto& [name, value] :
       std::vector<std::pair<const char*, const char*>>{{"SwapAffect", "None"},
                                                        {"Interval", "30"},
                                                        {"Stretch", "0"},
                                                        {"ShowFileName", "0"},
                                                        {"ShowFrame", "0"},
                                                        {"LastPicture", "0"},
                                                        {"Subfolders", subfolders ? "1" : "0"}})
    settings.SaveSetting("Options", name, value);

  HDC screen = GetDC(nullptr);
  const int twips = 1440 / std::max(1, GetDeviceCaps(screen, LOGPIXELSX));
  ReleaseDC(nullptr, screen);
  ui::InitTwips(twips, twips);
  InitOle();
  WinPlatform platform;
  SlideShow engine(settings, platform, SystemFileSystem(), Mode::Configure);
  frmConfig form(engine, settings);
  const double opened = Now();
  form.Show();
  Image& preview = form.PicPreview();
  if (!PumpUntil([&] { return preview.GetPicture() != nullptr; }, 60)) {
    std::printf("preview none\n");
    return 1;
  }
  std::printf("preview-open %.1f\n", (Now() - opened) * 1000);
  std::vector<double> times;
  ListBox& list = *form.lstList(0);
  if (list.ListCount() < 3) {  // an entry dropped: no command below would be the one timed
    std::printf("preview entries %d\n", list.ListCount());
    form.Unload();
    return 1;
  }
  for (int i = 0; i < n; ++i) {
    const PicturePtr before = preview.GetPicture();
    // The second file entry up, then down again: the folder entry stays.
    const bool up = i % 2 == 0;
    for (int k = 0; k < list.ListCount(); ++k) list.SetSelected(k, k == (up ? 2 : 1));
    const double t0 = Now();
    form.cmdImages_Click(up ? 3 : 4);
    if (!PumpUntil([&] { return preview.GetPicture() != before; }, 60)) break;
    times.push_back((Now() - t0) * 1000);
  }
  std::printf("preview-command %.1f %zu\n", Median(times), times.size());
  std::printf("preview-walks %ld\n", engine.PictureBuilder().WalksStarted());
  std::printf("preview-pictures %ld\n", engine.PicList.Count());
  form.Unload();
  return 0;
}

int Memory(const std::string& folder, bool subfolders) {
  const std::size_t before = PrivateBytes();
  std::size_t held = 0, pathBytes = 0;
  long count = 0;
  {
    PlayListBuilder builder(SystemFileSystem(), false);
    const double t0 = Now();
    PlayList list = builder.Build({folder}, kPicturePatterns, subfolders, false);
    std::printf("walk %.1f\n", (Now() - t0) * 1000);
    // Random order holds a place for every picture too.
    RandomOrder order;
    struct First : RandomSource {
      void SeedFromClock() override {}
      double Next() override { return 0; }
    } first;
    order.Next(list.Count(), true, first);
    const std::size_t after = PrivateBytes();
    count = list.Count();
    for (long i = 1; i <= count; ++i) pathBytes += list.Item(i).size();
    held = list.BytesHeld() + order.BytesHeld();
    std::printf("memory %ld %zu %zu %zu\n", count, after > before ? after - before : 0, pathBytes, held);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "preview" && argc > 4) return Preview(argv[2], std::atoi(argv[3]) != 0, std::atoi(argv[4]));
  if (mode == "memory" && argc > 3) return Memory(argv[2], std::atoi(argv[3]) != 0);
  std::fprintf(stderr, "usage: see the comment at the top of library_bench.cpp\n");
  return 2;
}
