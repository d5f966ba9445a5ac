// Match results shared by both text variants: one table, run narrow and wide.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "regex/pattern.h"
#include "regex/regex_test_util.h"

namespace {

using rx_test::N;
using rx_test::T;

enum Mode { kWhole, kFind };

// Groups are listed from group 1 (whole-text mode) or from group 0 (find mode); "-" stands
// for a group that is not set (GroupStart -1).
struct Case {
  const char* pattern;
  uint32_t flags;
  const char* subject;
  Mode mode;
  bool expected;
  std::vector<const char*> groups;
};

const Case kCases[] = {
    // Alternation and its junction.
    {"a|b|c", 0, "a", kWhole, true, {}},
    {"a|b|c", 0, "b", kWhole, true, {}},
    {"a|b|c", 0, "c", kWhole, true, {}},
    {"a|b|c", 0, "d", kWhole, false, {}},
    {"(a|b|c)d", 0, "cd", kWhole, true, {"c"}},
    {"(a|b|c)d", 0, "c", kWhole, false, {"-"}},
    {"(a|b)", 0, "b", kWhole, true, {"b"}},
    {"a|", 0, "", kWhole, true, {}},
    {"|a", 0, "a", kWhole, true, {}},
    {"(a)|b", 0, "b", kFind, true, {"b", "-"}},
    {"x(a|bc|d)y", 0, "xbcy", kWhole, true, {"bc"}},
    // Atomic groups and possessive repetition never give back.
    {"(?>ab)c", 0, "abc", kWhole, true, {}},
    {"(?>a*)a", 0, "aaa", kWhole, false, {}},
    {"a*+a", 0, "aaa", kWhole, false, {}},
    {"a*+b", 0, "aab", kWhole, true, {}},
    {"(a)*+a", 0, "aa", kWhole, false, {"-"}},
    {"(a)*+b", 0, "aab", kWhole, true, {"a"}},
    // Braces.
    {"a{}", 0, "", kWhole, true, {}},
    {"a{}", 0, "a", kWhole, false, {}},
    {"a{3,2}", 0, "aaa", kWhole, true, {}},
    {"a{3,2}", 0, "aa", kWhole, false, {}},
    {"a{3,2}", 0, "aaaa", kWhole, false, {}},
    {"x{2,}", 0, "xxxxx", kWhole, true, {}},
    {"x{2,}", 0, "x", kWhole, false, {}},
    {"x{,2}", 0, "", kWhole, true, {}},
    {"x{,2}", 0, "xxx", kWhole, false, {}},
    {"x{,}", 0, "xxx", kWhole, true, {}},
    {"(ab){2}", 0, "abab", kWhole, true, {"ab"}},
    {"(ab){2}", 0, "ab", kWhole, false, {"-"}},
    {"(?:ab)+", 0, "abab", kWhole, true, {}},
    {"(?:ab)+", 0, "aba", kWhole, false, {}},
    {"(a){2,3}", 0, "aaaa", kWhole, false, {"-"}},
    // Lazy repetition.
    {".*?b", 0, "aabab", kFind, true, {"aab"}},
    {"a+?", 0, "aaa", kFind, true, {"a"}},
    {"a{2,}?", 0, "aaaa", kFind, true, {"aa"}},
    {"a??b", 0, "ab", kWhole, true, {}},
    {"(ab)*?b", 0, "ababb", kFind, true, {"ababb", "ab"}},
    {"(a|b)*?c", 0, "abac", kWhole, true, {"a"}},
    // Greedy repetition keeps as much as it can.
    {".*(\\d+\\.\\d+\\.\\d+\\.\\d+).*", DotMatchesAll, "ver12.3.4.5x", kWhole, true, {"2.3.4.5"}},
    {"(\\d+\\.\\d+\\.\\d+).*", DotMatchesAll, "2.6.32-5-686", kWhole, true, {"2.6.32"}},
    {"(\\d+\\.\\d+\\.\\d+).*", DotMatchesAll, "abc", kWhole, false, {"-"}},
    {"(a+)(a*)", 0, "aaa", kWhole, true, {"aaa", ""}},
    {"(a*)(a+)", 0, "aaa", kWhole, true, {"aa", "a"}},
    // Empty iterations end a loop.
    {"(a*)*b", 0, "aaac", kWhole, false, {"-"}},
    {"(a|)*b", 0, "b", kWhole, true, {""}},
    {"(a*)+b", 0, "aab", kWhole, true, {""}},
    {"^*a", 0, "a", kWhole, true, {}},
    {"\\b+", 0, "ab", kFind, true, {""}},
    // Back-references.
    {"(a)?\\1b", 0, "b", kWhole, true, {"-"}},
    {"(a+)b\\1", 0, "aabaa", kWhole, true, {"aa"}},
    {"(a+)b\\1", 0, "aaba", kWhole, false, {"-"}},
    {"(a)\\11", 0, "a", kWhole, true, {"a"}},  // \11 names group 11, never defined
    {"(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)\\10",
     0,
     "abcdefghijj",
     kWhole,
     true,
     {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"}},
    {"(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)\\100",
     0,
     "abcdefghij",
     kWhole,
     true,
     {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"}},
    {"(a)\\1", IgnoreCase, "aA", kWhole, false, {"-"}},  // references compare exactly
    // Anchors.
    {"abc\\Z", 0, "abc\n", kFind, true, {"abc"}},
    {"abc\\Z", 0, "abc\r\n", kFind, true, {"abc"}},
    {"abc\\Z", 0, "abc\n\n", kFind, false, {"-"}},
    {"abc\\z", 0, "abc\n", kFind, false, {"-"}},
    {"abc$", 0, "abc\n", kFind, false, {"-"}},
    {"abc$", MultiLine, "abc\n", kFind, true, {"abc"}},
    {"^b", 0, "a\nb", kFind, false, {"-"}},
    {"^b", MultiLine, "a\nb", kFind, true, {"b"}},
    {"^b", MultiLine, "a\rb", kFind, true, {"b"}},
    {"\\Ab", MultiLine, "a\nb", kFind, false, {"-"}},
    {"a\\Bb", 0, "ab", kFind, true, {"ab"}},
    {"a\\B-", 0, "a-", kFind, false, {"-"}},
    {"a\\b1", 0, "a1", kFind, true, {"a1"}},  // digits are not word characters here
    {"a\\b_", 0, "a_", kFind, true, {"a_"}},
    {"a\\b", 0, "a", kFind, true, {"a"}},
    {"a\\B", 0, "a", kFind, true, {"a"}},  // both succeed at the end of the text
    {"\\bx", 0, "x", kFind, true, {"x"}},
    {"\\Bx", 0, "-x", kFind, false, {"-"}},
    {"\\Bx", 0, "ax", kFind, true, {"x"}},
    {"\\Ga", 0, "ba", kFind, false, {"-"}},
    // Look-ahead and look-behind.
    {"(?=a)a", 0, "a", kWhole, true, {}},
    {"(?!a)b", 0, "b", kWhole, true, {}},
    {"(?!a)a", 0, "a", kWhole, false, {}},
    {"a(?=b)", 0, "ab", kFind, true, {"a"}},
    {"(?=(a+))a", 0, "aaa", kFind, true, {"a", "aaa"}},  // groups set in a look-ahead stay
    {"(?<=a)b", 0, "ab", kFind, true, {"b"}},
    {"(?<=a)b", 0, "cb", kFind, false, {"-"}},
    {"(?<!a)b", 0, "ab", kFind, false, {"-"}},
    {"(?<!a)b", 0, "cb", kFind, true, {"b"}},
    {"(?<!ab)c", 0, "bc", kFind, true, {"c"}},  // fewer characters than the text: succeeds
    {"(?<=\\))x", 0, ")x", kFind, true, {"x"}},
    {"(?<=A)b", IgnoreCase, "ab", kFind, false, {"-"}},  // look-behind text is exact
    // Dot and the line flags.
    {"a.c", 0, "abc", kWhole, true, {}},
    {"a.c", 0, "a\nc", kWhole, false, {}},
    {"a.c", 0, "a\rc", kWhole, false, {}},
    {"a.c", DotMatchesAll, "a\nc", kWhole, true, {}},
    {"a.c", LineFeedOnly, "a\rc", kWhole, true, {}},
    {"a.c", LineFeedOnly, "a\nc", kWhole, false, {}},
    {"(?s)a.c", 0, "a\nc", kWhole, true, {}},
    {"(?d)a.c", 0, "a\rc", kWhole, true, {}},
    // Case and the flag groups.
    {"abc", IgnoreCase, "AbC", kWhole, true, {}},
    {"[a-c]+", IgnoreCase, "AbC", kWhole, true, {}},
    {"[A-C]+", IgnoreCase, "abc", kWhole, true, {}},
    {"\\x41", IgnoreCase, "a", kWhole, false, {}},  // a one-character escape is exact
    {"\\p{Upper}", IgnoreCase, "q", kWhole, true, {}},
    {"[^a]", IgnoreCase, "A", kWhole, false, {}},
    {"\\W", IgnoreCase, "A", kWhole, false, {}},
    {"(?i)a(?-i)b", 0, "Ab", kWhole, true, {}},
    {"(?i)a(?-i)b", 0, "AB", kWhole, false, {}},
    {"(a(?i)b)c", 0, "aBc", kWhole, true, {"aB"}},
    {"(a(?i)b)c", 0, "aBC", kWhole, false, {"-"}},
    {"(?i:a)b", 0, "Ab", kWhole, true, {}},
    {"(?i:a)b", 0, "AB", kWhole, false, {}},
    {"(?i)a|b", 0, "B", kWhole, true, {}},
    {"(?i-i)a", 0, "A", kWhole, false, {}},
    // Quoted text.
    {"\\Qab\\Ec", IgnoreCase, "ABcd", kFind, true, {"ABc"}},
    {"a\\Q.*\\Eb", 0, "a.*b", kWhole, true, {}},
    {"a\\Q.*\\Eb", 0, "axxb", kWhole, false, {}},
    {"\\Qa\\\\\\E", 0, "a\\", kWhole, true, {}},   // \\ inside \Q gives one backslash
    {"\\Qab\\E+", 0, "ababab", kWhole, true, {}},  // a quantifier takes the whole quote
    {"\\Q\\E", 0, "", kWhole, true, {}},
    // Escapes.
    {"\\e", 0, "\r", kWhole, true, {}},
    {"\\x41\\x7a", 0, "Az", kWhole, true, {}},
    {"\\0101", 0, "A", kWhole, true, {}},
    {"\\0777", 0, "?7", kWhole, true, {}},  // \077 then the digit 7
    {"\\t\\n\\f\\a", 0, "\t\n\f\a", kWhole, true, {}},
    {"\\w+", 0, "ab_9Z", kWhole, true, {}},
    {"\\s", 0, "\v", kWhole, false, {}},
    {"\\p{Space}", 0, "\v", kWhole, true, {}},
    {"\\p{Print}", 0, " ", kWhole, false, {}},
    {"\\P{Alpha}+", 0, "12-", kWhole, true, {}},
    {"\\y\\.", 0, "y.", kWhole, true, {}},
    {"\\E", 0, "E", kWhole, true, {}},
    // Classes.
    {"[-a]+", 0, "a-a", kWhole, true, {}},
    {"[]", 0, "a", kFind, false, {"-"}},
    {"[a-z&&[aeiou]xyz]+", 0, "aeyz", kWhole, true, {}},
    {"[a-z&&[aeiou]xyz]", 0, "b", kWhole, false, {}},
    {"[ab[cd]]+", 0, "dcba", kWhole, true, {}},
    {"[\\b]", 0, "b", kWhole, true, {}},
    {"[\\1]", 0, "1", kWhole, true, {}},
    {"[a&b]+", 0, "&ab", kWhole, true, {}},
    // Groups and what they record.
    {"()", 0, "", kWhole, true, {""}},
    {"(a)(b)?", 0, "a", kWhole, true, {"a", "-"}},
    {"(a)?b", 0, "b", kWhole, true, {"-"}},
    {"((a)|b)+", 0, "ab", kWhole, true, {"b", "a"}},  // inner records keep the last values
    {"(?:(a)|(b))+", 0, "ab", kWhole, true, {"a", "b"}},
    // Searching.
    {"b+", 0, "aabbbc", kFind, true, {"bbb"}},
    {"x", 0, "", kFind, false, {"-"}},
    {"", 0, "", kFind, true, {""}},
    {"a*", 0, "baaa", kFind, true, {""}},
};

template <class Ch>
void RunCase(const Case& c) {
  using String = std::basic_string<Ch>;
  SCOPED_TRACE(std::string("pattern \"") + c.pattern + "\" subject \"" + c.subject + "\"" +
               (sizeof(Ch) == 1 ? " (narrow)" : " (wide)"));
  auto pattern = rx::BasicPattern<Ch>::Compile(T<Ch>(c.pattern), c.flags);
  ASSERT_NE(pattern, nullptr);
  const String subject = T<Ch>(c.subject);
  auto m = pattern->NewMatcher(subject);
  const bool got = c.mode == kWhole ? m->Matches() : m->FindFirst();
  EXPECT_EQ(got, c.expected);
  const int first = c.mode == kWhole ? 1 : 0;
  for (size_t k = 0; k < c.groups.size(); ++k) {
    const int gi = first + static_cast<int>(k);
    SCOPED_TRACE("group " + std::to_string(gi));
    if (std::string(c.groups[k]) == "-") {
      EXPECT_EQ(m->GroupStart(gi), -1);
      EXPECT_EQ(N(m->GroupText(gi)), "");
    } else {
      EXPECT_GE(m->GroupStart(gi), 0);
      EXPECT_EQ(N(m->GroupText(gi)), c.groups[k]);
    }
  }
  if (c.mode == kWhole && got) {
    EXPECT_EQ(m->GroupStart(0), 0);
    EXPECT_EQ(m->GroupEnd(0), static_cast<int>(subject.size()));
  }
  // The static one-call form and the pattern's own matcher agree with the matcher.
  if (c.mode == kWhole) {
    EXPECT_EQ(rx::BasicPattern<Ch>::Matches(T<Ch>(c.pattern), subject, c.flags), c.expected);
    EXPECT_EQ(pattern->Matches(subject), c.expected);
  }
}

template <class Ch>
class SharedMatchTest : public ::testing::Test {};
using CharTypes = ::testing::Types<char, wchar_t>;
TYPED_TEST_SUITE(SharedMatchTest, CharTypes);

TYPED_TEST(SharedMatchTest, TableOfCases) {
  for (const Case& c : kCases) RunCase<TypeParam>(c);
}

TYPED_TEST(SharedMatchTest, GroupPositionsOfAnAlternative) {
  auto p = rx::BasicPattern<TypeParam>::Compile(T<TypeParam>("(a|b)"));
  auto m = p->NewMatcher(T<TypeParam>("b"));
  ASSERT_TRUE(m->Matches());
  EXPECT_EQ(m->GroupStart(1), 0);
  EXPECT_EQ(m->GroupEnd(1), 1);
}

TYPED_TEST(SharedMatchTest, CharacterCodeZeroIsAnOrdinaryCharacter) {
  using P = rx::BasicPattern<TypeParam>;
  std::basic_string<TypeParam> nul(1, TypeParam(0));
  EXPECT_TRUE(P::Matches(T<TypeParam>("\\p{Cntrl}"), nul));
  EXPECT_TRUE(P::Matches(T<TypeParam>("[\\W]"), nul));
  EXPECT_TRUE(P::Matches(T<TypeParam>("a\\x00b"), T<TypeParam>("a") + nul + T<TypeParam>("b")));
  EXPECT_FALSE(P::Matches(T<TypeParam>("\\p{Graph}"), nul));
}

TYPED_TEST(SharedMatchTest, LiteralTextMatchesItselfOnly) {
  using P = rx::BasicPattern<TypeParam>;
  auto p = P::Compile(T<TypeParam>("a.b*(c"), LiteralText);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->GroupCount(), 1);
  EXPECT_TRUE(p->Matches(T<TypeParam>("a.b*(c")));
  EXPECT_FALSE(p->Matches(T<TypeParam>("axbb(c")));
  auto ci = P::Compile(T<TypeParam>("Ab.C"), LiteralText | IgnoreCase);
  EXPECT_TRUE(ci->Matches(T<TypeParam>("aB.c")));
  EXPECT_FALSE(ci->Matches(T<TypeParam>("aBxc")));
}

// The Emulex kit's query line, as the discovery back-end reads it.
const char kEmulexPattern[] =
    "HBA=(.+),.*PCI ID=(\\w{1,4}),.*VID=(\\w{1,4}),.*SSID=(\\w{1,4}),.*SVID=(\\w{1,4}),"
    ".*Firmware=(.+),.*Boot Code=([\\w\\.]+).*";

TYPED_TEST(SharedMatchTest, EmulexQueryLineGroups) {
  using P = rx::BasicPattern<TypeParam>;
  auto p = P::Compile(T<TypeParam>(kEmulexPattern), DotMatchesAll);
  ASSERT_NE(p, nullptr);
  auto m = p->NewMatcher(T<TypeParam>(
      "HBA=LPe12002-M8, Port WWN=10:00:00:00:c9:aa:bb:cc, PCI ID=f100, VID=10df, SSID=f100, "
      "SVID=10df, Firmware=2.01A12 (U3D2.01A12), Boot Code=5.12a2, Status=Online"));
  ASSERT_TRUE(m->Matches());
  const std::vector<std::string> want = {"LPe12002-M8, Port WWN=10:00:00:00:c9:aa:bb:cc",
                                         "f100",
                                         "10df",
                                         "f100",
                                         "10df",
                                         "2.01A12 (U3D2.01A12)",
                                         "5.12a2"};
  EXPECT_EQ(N(m->Groups(false)), want);
  EXPECT_FALSE(p->Matches(T<TypeParam>("HBA=LPe12002, PCI ID=f100, VID=10df, Firmware=1")));
}

}  // namespace
