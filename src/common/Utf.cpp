#include "common/Utf.h"

namespace tessaly {
namespace {

const char32_t kReplacement = 0xFFFD;

// Reads one code point from text[i...]; advances i. Surrogates in their
// three-byte form are taken as they are. `ok` is cleared on a bad sequence,
// which reads as U+FFFD and takes one byte.
char32_t Decode(std::string_view text, std::size_t& i, bool& ok) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char b0 = byte(i);
  if (b0 < 0x80) {
    ++i;
    return b0;
  }
  std::size_t length = 0;
  char32_t cp = 0;
  char32_t least = 0;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    length = 2, cp = b0 & 0x1F, least = 0x80;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    length = 3, cp = b0 & 0x0F, least = 0x800;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    length = 4, cp = b0 & 0x07, least = 0x10000;
  }
  if (length == 0 || i + length > text.size()) {
    ok = false;
    ++i;
    return kReplacement;
  }
  for (std::size_t k = 1; k < length; ++k) {
    const unsigned char b = byte(i + k);
    if ((b & 0xC0) != 0x80) {
      ok = false;
      ++i;
      return kReplacement;
    }
    cp = (cp << 6) | (b & 0x3F);
  }
  if (cp < least || cp > 0x10FFFF) {
    ok = false;
    ++i;
    return kReplacement;
  }
  i += length;
  return cp;
}

void Encode(char32_t cp, std::string& out) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

void Append16(char32_t cp, std::u16string& out) {
  if (cp < 0x10000) {
    out += static_cast<char16_t>(cp);
  } else {
    cp -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (cp >> 10));
    out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
  }
}

}  // namespace

std::u16string Utf16FromUtf8(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  bool ok = true;
  for (std::size_t i = 0; i < text.size();) Append16(Decode(text, i, ok), out);
  return out;
}

std::string Utf8FromUtf16(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t unit = text[i];
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      unit = 0x10000 + ((unit - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    }
    Encode(unit, out);  // a lone surrogate keeps its three-byte form
  }
  return out;
}

bool IsUtf8(std::string_view text) {
  bool ok = true;
  for (std::size_t i = 0; i < text.size() && ok;) Decode(text, i, ok);
  return ok;
}

bool HasHighBytes(std::string_view text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return true;
  return false;
}

std::size_t Utf16Length(std::string_view text) {
  std::size_t units = 0;
  bool ok = true;
  for (std::size_t i = 0; i < text.size();) units += Decode(text, i, ok) >= 0x10000 ? 2 : 1;
  return units;
}

std::string Utf16Substr(std::string_view text, std::size_t from, std::size_t count) {
  const std::u16string wide = Utf16FromUtf8(text);
  if (from >= wide.size()) return std::string();
  return Utf8FromUtf16(std::u16string_view(wide).substr(from, count));
}

namespace {

// Code page 1252: the bytes 0x80 to 0x9F (0 where the code page has no
// character), every other byte its own code point.
const char16_t kWestern80[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
                                 0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
                                 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

class Western : public AnsiCodePage {
 public:
  bool FromUtf8(std::string_view utf8, std::string& ansi) const override {
    ansi.clear();
    for (char16_t unit : Utf16FromUtf8(utf8)) {
      int byte = -1;
      if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) byte = unit;
      if (unit >= 0x80 && unit < 0xA0 && kWestern80[unit - 0x80] == 0) byte = unit;  // unmapped, kept
      for (int k = 0; k < 32 && byte < 0; ++k)
        if (kWestern80[k] == unit && unit != 0) byte = 0x80 + k;
      if (byte < 0) return false;
      ansi += static_cast<char>(byte);
    }
    return true;
  }
  std::string ToUtf8(std::string_view ansi) const override {
    std::u16string units;
    for (char c : ansi) {
      const unsigned char b = static_cast<unsigned char>(c);
      const char16_t mapped = b >= 0x80 && b < 0xA0 ? kWestern80[b - 0x80] : b;
      units += mapped ? mapped : static_cast<char16_t>(b);
    }
    return Utf8FromUtf16(units);
  }
};

}  // namespace

const AnsiCodePage& WesternCodePage() {
  static Western codePage;
  return codePage;
}

}  // namespace tessaly
