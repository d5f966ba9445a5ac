// Very long subjects: matching keeps the machine stack flat, whatever the subject length.
#include <gtest/gtest.h>

#include <string>

#include "regex/pattern.h"

namespace {

constexpr size_t kMiB = size_t{1} << 20;

const char kEmulexPattern[] =
    "HBA=(.+),.*PCI ID=(\\w{1,4}),.*VID=(\\w{1,4}),.*SSID=(\\w{1,4}),.*SVID=(\\w{1,4}),"
    ".*Firmware=(.+),.*Boot Code=([\\w\\.]+).*";

TEST(DeepSubject, DotStarOverSixteenMebibytes) {
  const std::string text(16 * kMiB, 'x');
  EXPECT_TRUE(Pattern::Matches(".*", text, DotMatchesAll));
  auto p = Pattern::Compile(".*", DotMatchesAll);
  auto m = p->NewMatcher(text);
  ASSERT_TRUE(m->Matches());
  EXPECT_EQ(m->GroupEnd(0), static_cast<int>(text.size()));
  // Lines break it without DotMatchesAll; the whole-text answer is then false.
  std::string lines = text;
  lines[8 * kMiB] = '\n';
  EXPECT_FALSE(Pattern::Matches(".*", lines));
}

TEST(DeepSubject, WideDotStarOverSixteenMebicharacters) {
  const std::wstring text(16 * kMiB, L'y');
  EXPECT_TRUE(WidePattern::Matches(L".*", text, DotMatchesAll));
}

TEST(DeepSubject, GreedyBacktrackAcrossAMebibyte) {
  // `.*` runs to the end and has to give back nearly all of it.
  std::string text = "a" + std::string(kMiB, 'x');
  text[1] = 'b';
  auto p = Pattern::Compile("(.*)b(.*)", DotMatchesAll);
  auto m = p->NewMatcher(text);
  ASSERT_TRUE(m->Matches());
  EXPECT_EQ(m->GroupText(1), "a");
  EXPECT_EQ(m->GroupEnd(2), static_cast<int>(text.size()));
  // Lazy: the continuation is tried after every character.
  EXPECT_TRUE(Pattern::Matches(".*?z", std::string(kMiB, 'x') + "z", DotMatchesAll));
}

std::string EmulexLine(const std::string& firmware) {
  return "HBA=LPe12002-M8, Port WWN=10:00:00:00:c9:aa:bb:cc, PCI ID=f100, VID=10df, SSID=f100, "
         "SVID=10df, Firmware=" +
         firmware + ", Boot Code=5.12a2, Status=Online";
}

TEST(DeepSubject, EmulexQueryLineOfAMebibyte) {
  auto p = Pattern::Compile(kEmulexPattern, DotMatchesAll);
  ASSERT_NE(p, nullptr);
  const std::string firmware = "2.01A12 " + std::string(kMiB, 'f');
  auto m = p->NewMatcher(EmulexLine(firmware));
  ASSERT_TRUE(m->Matches());
  EXPECT_EQ(m->GroupText(6), firmware);
  EXPECT_EQ(m->GroupText(7), "5.12a2");
  // A line without the fields: no match, and no crash.
  m->SetText("HBA=" + std::string(kMiB, 'q'));
  EXPECT_FALSE(m->Matches());
  m->SetText(EmulexLine("1") + std::string(kMiB, ' '));
  ASSERT_TRUE(m->Matches());
  EXPECT_EQ(m->GroupText(6), "1");
}

TEST(DeepSubject, RepeatedGroupsOverLongSubjects) {
  // Each iteration of a group loop is a choice point; they live on the heap, not the stack.
  std::string abab;
  for (size_t i = 0; i < kMiB / 4; ++i) abab += "ab";
  auto p = Pattern::Compile("(ab)*");
  auto m = p->NewMatcher(abab);
  ASSERT_TRUE(m->Matches());
  EXPECT_EQ(m->GroupStart(1), static_cast<int>(abab.size()) - 2);
  EXPECT_TRUE(Pattern::Matches("(?:a|b)*c", abab + "c"));
  EXPECT_FALSE(Pattern::Matches("(?:a|b)*+c", abab));
  EXPECT_TRUE(WidePattern::Matches(L"(a|b)+?$", std::wstring(kMiB / 4, L'a')));
}

}  // namespace
