#include "component/text_convert.h"

#include <gtest/gtest.h>

TEST(TextConvertTest, WidenKeepsAsciiAndStopsAtAnInvalidByte) {
  EXPECT_EQ(Widen(""), L"");
  EXPECT_EQ(Widen("1.2.3"), L"1.2.3");
  // In the "C" locale a byte above 0x7F cannot be converted.
  EXPECT_EQ(Widen("ab\xe9"
                  "cd"),
            L"ab");
}

TEST(TextConvertTest, WidenBytesGivesOneCharacterPerByte) {
  EXPECT_EQ(WidenBytes(""), L"");
  EXPECT_EQ(WidenBytes("1.2.3"), L"1.2.3");
  const std::wstring wide = WidenBytes(std::string("a\xe9\0b", 4));
  ASSERT_EQ(wide.size(), 4u);
  EXPECT_EQ(wide[1], static_cast<wchar_t>(0xE9));
  EXPECT_EQ(wide[2], L'\0');
  EXPECT_EQ(wide[3], L'b');
}

TEST(TextConvertTest, ToUpperChangesOnlyLetters) {
  EXPECT_EQ(ToUpper(L"10df.fe00"), L"10DF.FE00");
  EXPECT_EQ(ToUpper(L"QLE2562-ck_x"), L"QLE2562-CK_X");
  EXPECT_EQ(ToUpper(L""), L"");
}
