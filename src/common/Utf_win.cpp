// The system's ANSI code page: what the A calls and the program's earlier
// versions wrote into play-list files.
#include <windows.h>

#include "common/WideText_win.h"

namespace tessaly {
namespace {

class Win32AnsiCodePage : public AnsiCodePage {
 public:
  bool FromUtf8(std::string_view utf8, std::string& ansi) const override {
    ansi.clear();
    if (utf8.empty()) return true;
    const std::wstring wide = Wide(utf8);
    BOOL lost = FALSE;
    const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()), nullptr,
                                      0, nullptr, &lost);
    if (n <= 0 || lost) return false;
    ansi.resize(static_cast<std::size_t>(n));
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()), &ansi[0], n, nullptr,
                        &lost);
    if (lost) return false;
    // A character the code page maps without loss comes back as itself.
    return ToUtf8(ansi) == Utf8(wide);
  }

  std::string ToUtf8(std::string_view ansi) const override {
    if (ansi.empty()) return std::string();
    const int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    if (n <= 0) return std::string();
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), &wide[0], n);
    return Utf8(wide);
  }
};

}  // namespace

const AnsiCodePage& SystemAnsiCodePage() {
  static Win32AnsiCodePage codePage;
  return codePage;
}

}  // namespace tessaly
