#include "component/version_compare.h"

#include <gtest/gtest.h>

#include "component/base_cmp.h"
#include "tests/support/sim_machine.h"

TEST(SplitVersionTest, SeparatorRules) {
  struct Case {
    std::wstring text;
    std::vector<std::wstring> tokens;
  } cases[] = {
      {L"", {}},
      {L"1.2.3", {L"1", L"2", L"3"}},
      {L"1..2", {L"1", L"", L"2"}},
      {L"1.2.", {L"1", L"2"}},
      {L".1", {L"", L"1"}},
      {L".", {L""}},
      {L"abc", {L"abc"}},
  };
  for (const Case& c : cases) EXPECT_EQ(SplitVersion(c.text), c.tokens);
}

TEST(ActionOfTest, MapsTheComparison) {
  EXPECT_EQ(ActionOf(1), L"upgrade");
  EXPECT_EQ(ActionOf(0), L"rewrite");
  EXPECT_EQ(ActionOf(-1), L"downgrade");
}

class CompareVersionsTest : public SimMachine {};

TEST_F(CompareVersionsTest, TokenByToken) {
  struct Case {
    std::wstring package, active;
    int result;
  } cases[] = {
      {L"1.2", L"1.10", -1},
      {L"2.02", L"2.2", 0},
      {L"1.2.0", L"1.2", 1},
      {L"1.2", L"1.2.0", -1},
      {L"3.28", L"", 1},
      {L"", L"3.28", -1},
      {L"", L"", 0},
      {L"1.2a", L"1.10a", 1},
      {L"1..2", L"1.0.2", -1},
      {L"10", L"9", 1},
      {L"01", L"1", 0},
      {L"2.0b", L"2.0a", 1},
      {L"a", L"1", 1},
      {L"-1", L"1", -1},
      {L"+5", L"5", -1},
      {L"\x0663", L"3", 1},  // a digit of another script is text, not a number
      // Tokens too long for any integer type still compare by value.
      {L"99999999999999999999", L"99999999999999999998", 1},
      {L"4294967296", L"4294967295", 1},
      {L"0000000000000000000000001", L"1", 0},
      {L"12345678901234567890", L"9", 1},
      {L"5.06.05", L"5.06.05", 0},
  };
  CBaseCmp cmp;
  for (const Case& c : cases) {
    EXPECT_EQ(cmp.CompareVersions(c.package, c.active), c.result)
        << std::string(c.package.begin(), c.package.end()) << " vs "
        << std::string(c.active.begin(), c.active.end());
  }
}
