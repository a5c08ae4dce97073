#include <windows.h>

#include <cstdio>
#include <vector>

#include "common/VersionInfo.h"

namespace tessaly {

namespace {

// The version-information block of the running program; empty when none.
std::vector<char> OwnVersionBlock() {
  char path[MAX_PATH] = {};
  if (GetModuleFileNameA(nullptr, path, MAX_PATH) == 0) return {};
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeA(path, &ignored);
  if (size == 0) return {};
  std::vector<char> block(size);
  if (!GetFileVersionInfoA(path, 0, size, block.data())) return {};
  return block;
}

}  // namespace

bool OwnVersionNumbers(VersionNumbers& numbers) {
  std::vector<char> block = OwnVersionBlock();
  if (block.empty()) return false;
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&info), &length) || !info ||
      length < sizeof(VS_FIXEDFILEINFO))
    return false;
  numbers.major = HIWORD(info->dwFileVersionMS);
  numbers.minor = LOWORD(info->dwFileVersionMS);
  numbers.revision = HIWORD(info->dwFileVersionLS);
  return true;
}

std::string OwnVersionString(const std::string& name) {
  std::vector<char> block = OwnVersionBlock();
  if (block.empty()) return std::string();

  struct LangCodePage {
    WORD language;
    WORD codePage;
  };
  LangCodePage* pages = nullptr;
  UINT pagesLen = 0;
  char sub[128];
  if (VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&pages), &pagesLen) &&
      pagesLen >= sizeof(LangCodePage)) {
    std::snprintf(sub, sizeof sub, "\\StringFileInfo\\%04x%04x\\%s", pages[0].language, pages[0].codePage,
                  name.c_str());
  } else {
    std::snprintf(sub, sizeof sub, "\\StringFileInfo\\040904b0\\%s", name.c_str());
  }
  char* value = nullptr;
  UINT valueLen = 0;
  if (!VerQueryValueA(block.data(), sub, reinterpret_cast<void**>(&value), &valueLen) || !value) return std::string();
  std::string text(value, valueLen);
  size_t nul = text.find('\0');
  if (nul != std::string::npos) text.resize(nul);
  return text;
}

}  // namespace tessaly
