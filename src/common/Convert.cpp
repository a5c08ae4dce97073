#include "common/Convert.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "common/AppError.h"

namespace tessaly {
namespace {

bool IsSkipped(char c) { return c == ' ' || c == '\t' || c == '\n'; }

// The text with every skipped character removed (they are ignored anywhere).
std::string Squeeze(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text)
    if (!IsSkipped(c)) out += c;
  return out;
}

int DigitValue(char c, int base) {
  int v;
  if (c >= '0' && c <= '9')
    v = c - '0';
  else if (c >= 'a' && c <= 'f')
    v = c - 'a' + 10;
  else if (c >= 'A' && c <= 'F')
    v = c - 'A' + 10;
  else
    return -1;
  return v < base ? v : -1;
}

// Reads the leading number of s; found tells whether any digit was read.
double ReadNumber(const std::string& s, bool& found) {
  found = false;
  size_t i = 0;
  if (s.size() >= 2 && s[0] == '&' && (s[1] == 'H' || s[1] == 'h' || s[1] == 'O' || s[1] == 'o')) {
    int base = (s[1] == 'H' || s[1] == 'h') ? 16 : 8;
    uint64_t v = 0;
    int digits = 0;
    for (i = 2; i < s.size(); ++i) {
      int d = DigitValue(s[i], base);
      if (d < 0) break;
      v = v * base + static_cast<uint64_t>(d);
      if (++digits > 16) throw AppError(kErrOverflow, "Overflow", "Tessaly");
    }
    if (digits == 0) return 0;
    found = true;
    // Hexadecimal and octal literals are 32-bit values: &HFFFFFFFF is -1.
    if (v <= 0xFFFFFFFFull) return static_cast<double>(static_cast<int32_t>(static_cast<uint32_t>(v)));
    throw AppError(kErrOverflow, "Overflow", "Tessaly");
  }
  std::string num;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) num += s[i++];
  size_t digitsAt = num.size();
  while (i < s.size() && s[i] >= '0' && s[i] <= '9') num += s[i++];
  if (i < s.size() && s[i] == '.') {
    num += s[i++];
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') num += s[i++];
  }
  bool mantissa = false;
  for (size_t k = digitsAt; k < num.size(); ++k)
    if (num[k] >= '0' && num[k] <= '9') mantissa = true;
  if (!mantissa) return 0;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
    std::string exp = "e";
    size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) exp += s[j++];
    size_t expDigits = 0;
    while (j < s.size() && s[j] >= '0' && s[j] <= '9') {
      exp += s[j++];
      ++expDigits;
    }
    if (expDigits > 0) num += exp;
  }
  found = true;
  double v = std::strtod(num.c_str(), nullptr);
  if (std::isinf(v)) throw AppError(kErrOverflow, "Overflow", "Tessaly");
  return v;
}

double RoundHalfEven(double value) {
  double r = std::nearbyint(value);  // default rounding mode: to nearest, ties to even
  return r;
}

}  // namespace

double NumberOfText(const std::string& text) {
  bool found;
  return ReadNumber(Squeeze(text), found);
}

double NumberOfTextStrict(const std::string& text) {
  bool found;
  double v = ReadNumber(Squeeze(text), found);
  if (!found) throw AppError(kErrTypeMismatch, "Type mismatch", "Tessaly");
  return v;
}

int16_t ToInt16(double value) {
  double r = RoundHalfEven(value);
  if (!(r >= -32768.0 && r <= 32767.0)) throw AppError(kErrOverflow, "Overflow", "Tessaly");
  return static_cast<int16_t>(r);
}

int32_t ToInt32(double value) {
  double r = RoundHalfEven(value);
  if (!(r >= -2147483648.0 && r <= 2147483647.0)) throw AppError(kErrOverflow, "Overflow", "Tessaly");
  return static_cast<int32_t>(r);
}

std::string TextOfNumber(long long value) { return std::to_string(value); }

std::string TextOfNumber(double value) {
  if (value == std::floor(value) && std::fabs(value) < 1e15) {
    return std::to_string(static_cast<long long>(value));
  }
  // Shortest text that reads back as the same double.
  char buf[64];
  for (int prec = 1; prec <= 17; ++prec) {
    std::snprintf(buf, sizeof buf, "%.*g", prec, value);
    if (std::strtod(buf, nullptr) == value) break;
  }
  return buf;
}

std::string UpperCase(const std::string& text) {
  std::string out = text;
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

std::string TrimLeft(const std::string& text) {
  size_t b = text.find_first_not_of(' ');
  return b == std::string::npos ? std::string() : text.substr(b);
}

std::string TrimRight(const std::string& text) {
  size_t e = text.find_last_not_of(' ');
  return e == std::string::npos ? std::string() : text.substr(0, e + 1);
}

std::string Trim(const std::string& text) { return TrimLeft(TrimRight(text)); }

}  // namespace tessaly
