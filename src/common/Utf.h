// Text inside the program is UTF-8; Windows holds names as UTF-16. A name
// may hold a lone surrogate (NTFS takes any 16-bit units but "\", "/", ":"
// and the like), which UTF-8 has no form for: such a unit is kept as the
// three-byte sequence its code point would have (the "WTF-8" form), so that
// every name the file system can hold goes there and back unchanged.
// Columns of the fixed play-list entries are counted in UTF-16 units, the
// characters of Windows.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tessaly {

// UTF-16 of a UTF-8 text. A byte that begins no valid sequence becomes
// U+FFFD; three-byte forms of surrogates become those surrogates.
std::u16string Utf16FromUtf8(std::string_view text);

// UTF-8 of a UTF-16 text; a lone surrogate keeps its three-byte form.
std::string Utf8FromUtf16(std::u16string_view text);

// True when every byte belongs to a valid sequence (three-byte surrogate
// forms included): the text reads as UTF-8 without a U+FFFD of its own.
bool IsUtf8(std::string_view text);

// True when the text has a byte above 127.
bool HasHighBytes(std::string_view text);

// The number of UTF-16 units of a UTF-8 text.
std::size_t Utf16Length(std::string_view text);

// Units [from, from + count) of a UTF-8 text, counted in UTF-16 units, as
// UTF-8 (count may run past the end).
std::string Utf16Substr(std::string_view text, std::size_t from, std::size_t count = std::u16string::npos);

// A text in the legacy ANSI code page of the system (what the A calls of
// Windows and the program's earlier versions use), and back. Behind an
// interface, so that the play-list format is tested without Windows.
class AnsiCodePage {
 public:
  virtual ~AnsiCodePage() = default;
  // The ANSI bytes of a UTF-8 text; false when a character has no exact
  // form in the code page (no best-fit replacement is taken).
  virtual bool FromUtf8(std::string_view utf8, std::string& ansi) const = 0;
  // The UTF-8 text of ANSI bytes.
  virtual std::string ToUtf8(std::string_view ansi) const = 0;
};

// The running system's ANSI code page.
const AnsiCodePage& SystemAnsiCodePage();

// Code page 1252, the ANSI code page of Western systems, in the program's
// own tables: the stand-in where the system's cannot be asked.
const AnsiCodePage& WesternCodePage();

}  // namespace tessaly
