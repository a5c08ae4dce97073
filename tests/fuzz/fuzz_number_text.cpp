// Numbers of texts (stored options, positions): only overflow may be raised,
// the strict reading agrees with the lenient one, and the shortest text of a
// number reads back as that number.
#include "common/AppError.h"
#include "common/Convert.h"
#include "FuzzSupport.h"

using namespace tessaly;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text = fuzz::Text(data, size);
  double value;
  try {
    value = NumberOfText(text);
  } catch (const AppError& e) {
    FUZZ_CHECK(e.Number() == kErrOverflow);
    return 0;
  }
  FUZZ_CHECK(value == value);  // never NaN
  try {
    FUZZ_CHECK(NumberOfTextStrict(text) == value);
  } catch (const AppError& e) {
    FUZZ_CHECK(e.Number() == kErrTypeMismatch && value == 0);
  }
  FUZZ_CHECK(NumberOfText(TextOfNumber(value)) == value);
  try {
    const int16_t small = ToInt16(value);
    FUZZ_CHECK(ToInt32(value) == small);
  } catch (const AppError& e) {
    FUZZ_CHECK(e.Number() == kErrOverflow);
  }
  try {
    ToInt32(value);
  } catch (const AppError& e) {
    FUZZ_CHECK(e.Number() == kErrOverflow);
  }
  return 0;
}
