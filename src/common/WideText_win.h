// The program's UTF-8 text at the Win32 boundary: every call that carries a
// name, a path or a user's text goes through the wide (W) form with these.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "common/Utf.h"

namespace tessaly {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wide characters are UTF-16 units");

inline std::wstring Wide(std::string_view utf8) {
  const std::u16string units = Utf16FromUtf8(utf8);
  return std::wstring(units.begin(), units.end());
}

inline std::string Utf8(std::wstring_view wide) {
  return Utf8FromUtf16(std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()), wide.size()));
}

inline std::string Utf8(const wchar_t* wide) { return wide ? Utf8(std::wstring_view(wide)) : std::string(); }

}  // namespace tessaly
