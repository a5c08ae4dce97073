// Number conversions shared by every part of the program. Texts are read the
// way the stored options and command-line handles are written: blanks, tabs
// and line feeds are skipped anywhere, an optional sign, digits, a decimal
// point and an exponent, or "&H" (hexadecimal) / "&O" (octal) with an
// optional trailing "&". The longest leading part that reads as a number
// counts; a text that starts with no number reads as 0.
#pragma once

#include <cstdint>
#include <string>

namespace tessaly {

// The number of a text (never fails).
double NumberOfText(const std::string& text);

// Like NumberOfText, but a text that does not start with a number raises a
// type-mismatch error (the strict reading of stored positions).
double NumberOfTextStrict(const std::string& text);

// Nearest whole number, halves to the even neighbour; out of range raises an
// overflow error.
int16_t ToInt16(double value);
int32_t ToInt32(double value);

// Shortest decimal text, no leading blank (5 -> "5", 0.5 -> "0.5").
std::string TextOfNumber(double value);
std::string TextOfNumber(long long value);
inline std::string TextOfNumber(int value) { return TextOfNumber(static_cast<long long>(value)); }
inline std::string TextOfNumber(long value) { return TextOfNumber(static_cast<long long>(value)); }

// Upper-case ASCII copy.
std::string UpperCase(const std::string& text);
// Copies with blanks removed at the start, the end, or both ends.
std::string TrimLeft(const std::string& text);
std::string TrimRight(const std::string& text);
std::string Trim(const std::string& text);

}  // namespace tessaly
