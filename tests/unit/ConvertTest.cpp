#include <gtest/gtest.h>

#include "common/AppError.h"
#include "common/Convert.h"

using namespace tessaly;

TEST(NumberOfText, ReadsTheLeadingNumberAndIgnoresTheRest) {
  EXPECT_EQ(NumberOfText("05"), 5);
  EXPECT_EQ(NumberOfText("  7 seconds"), 7);
  EXPECT_EQ(NumberOfText("-2.5e2x"), -250);
  EXPECT_EQ(NumberOfText("0.05"), 0.05);
  EXPECT_EQ(NumberOfText("1e"), 1);  // an exponent without digits is not part of it
  EXPECT_EQ(NumberOfText(""), 0);
  EXPECT_EQ(NumberOfText("x"), 0);
  EXPECT_EQ(NumberOfText(":1234"), 0);
  EXPECT_EQ(NumberOfText("-"), 0);
}

TEST(NumberOfText, SkipsBlanksTabsAndLineFeedsAnywhere) {
  EXPECT_EQ(NumberOfText("12 34"), 1234);
  EXPECT_EQ(NumberOfText("   1234"), 1234);
  EXPECT_EQ(NumberOfText("\t1\n2 3"), 123);
}

TEST(NumberOfText, ReadsHexadecimalAndOctalForms) {
  EXPECT_EQ(NumberOfText("&H00000000&"), 0);
  EXPECT_EQ(NumberOfText("&H4D2"), 1234);
  EXPECT_EQ(NumberOfText("&hff"), 255);
  EXPECT_EQ(NumberOfText("&O17"), 15);
  EXPECT_EQ(NumberOfText("&H00FFFFFF&"), 16777215);
  EXPECT_EQ(NumberOfText("&HFFFFFFFF"), -1);  // a 32-bit literal
  EXPECT_EQ(NumberOfText("&Hxyz"), 0);
  EXPECT_THROW(NumberOfText("&H1FFFFFFFF"), AppError);
}

TEST(NumberOfText, StrictReadingRejectsTextsWithoutANumber) {
  EXPECT_EQ(NumberOfTextStrict("3"), 3);
  EXPECT_EQ(NumberOfTextStrict("-5"), -5);
  try {
    NumberOfTextStrict("x");
    FAIL() << "no error raised";
  } catch (const AppError& err) {
    EXPECT_EQ(err.Number(), kErrTypeMismatch);
  }
  EXPECT_THROW(NumberOfTextStrict(""), AppError);
}

TEST(IntegerConversion, RoundsHalvesToEvenAndRaisesOverflow) {
  EXPECT_EQ(ToInt32(2.5), 2);
  EXPECT_EQ(ToInt32(3.5), 4);
  EXPECT_EQ(ToInt32(-2.5), -2);
  EXPECT_EQ(ToInt32(2.6), 3);
  EXPECT_EQ(ToInt32(2147483647.0), 2147483647);
  EXPECT_EQ(ToInt32(-2147483648.0), INT32_MIN);
  EXPECT_EQ(ToInt16(32767.4), 32767);
  EXPECT_EQ(ToInt16(-32768.0), -32768);
  try {
    ToInt32(NumberOfText("99999999999"));
    FAIL() << "no overflow";
  } catch (const AppError& err) {
    EXPECT_EQ(err.Number(), kErrOverflow);
  }
  EXPECT_THROW(ToInt16(32767.5), AppError);  // rounds to 32768
  EXPECT_THROW(ToInt32(2147483648.0), AppError);
}

TEST(TextOfNumber, GivesTheShortestDecimalText) {
  EXPECT_EQ(TextOfNumber(5.0), "5");
  EXPECT_EQ(TextOfNumber(-3.0), "-3");
  EXPECT_EQ(TextOfNumber(0.5), "0.5");
  EXPECT_EQ(TextOfNumber(0.1), "0.1");
  EXPECT_EQ(TextOfNumber(NumberOfText("07")), "7");
  EXPECT_EQ(TextOfNumber(NumberOfText("x")), "0");
  EXPECT_EQ(TextOfNumber(16777215), "16777215");
}

TEST(ErrorTexts, FollowTheProgramsMessageForms) {
  AppError err(6, "Overflow", "Tessaly");
  EXPECT_EQ(ProgramErrorText(err),
            "The following error was encountered:\r6: OverflowTessaly\r"
            "Please report this error to the manufacturer.");
  EXPECT_EQ(DiagnosticText("Form_Load", err), "sProcNm=Form_Load Num=6 Src=Tessaly");
  EXPECT_EQ(PlayListErrorText("Open", AppError(53, "File not found", "x")),
            "Unable to Open Play List File.  File not found");
}
