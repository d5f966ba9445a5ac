// Character sets, escapes and bracket classes, and the differences between the variants.
#include "regex/char_set.h"

#include <gtest/gtest.h>

#include <string>

#include "regex/pattern.h"
#include "regex/regex_test_util.h"

namespace {

using rx_test::T;

template <class Ch>
struct Parsed {
  bool ok;
  rx::CharSet<Ch> set;
  int pos;
};

// Parses a bracket class; `text` starts after the '['.
template <class Ch>
Parsed<Ch> Class(const std::basic_string<Ch>& text, uint32_t flags = 0) {
  rx::ParseCursor<Ch> cur;
  cur.text = text.data();
  cur.len = static_cast<int>(text.size());
  cur.flags = flags;
  Parsed<Ch> out;
  out.ok = rx::ParseClass(cur, &out.set);
  out.pos = out.ok ? cur.pos : cur.error_pos;
  return out;
}

template <class Ch>
rx::EscapeResult<Ch> Escape(const std::basic_string<Ch>& text, bool* ok) {
  rx::ParseCursor<Ch> cur;
  cur.text = text.data();
  cur.len = static_cast<int>(text.size());
  rx::EscapeResult<Ch> out;
  *ok = rx::ParseEscape(cur, &out);
  return out;
}

template <class Ch>
class CharSetTest : public ::testing::Test {};
using CharTypes = ::testing::Types<char, wchar_t>;
TYPED_TEST_SUITE(CharSetTest, CharTypes);

TYPED_TEST(CharSetTest, UnionIntersectionComplement) {
  rx::CharSet<TypeParam> a, b;
  a.AddRange('a', 'f');
  b.AddRange('d', 'k');
  b.Add(0);
  auto u = a;
  u.Union(b);
  EXPECT_EQ(u.Size(), 12u);
  EXPECT_TRUE(u.Contains(0));
  auto i = a;
  i.Intersect(b);
  EXPECT_EQ(i.Size(), 3u);
  EXPECT_TRUE(i.Contains('d') && i.Contains('f') && !i.Contains('c'));
  auto c = b;
  c.Complement(false);
  EXPECT_EQ(c.Size(), 256u - 9u);
  EXPECT_FALSE(c.Contains(0));
  EXPECT_TRUE(c.Contains(255));
  auto ci = a;
  ci.Complement(true);  // both cases of every letter in the set are left out
  EXPECT_FALSE(ci.Contains('A'));
  EXPECT_FALSE(ci.Contains('f'));
  EXPECT_TRUE(ci.Contains('G'));
  EXPECT_EQ(ci.Size(), 256u - 12u);
}

TYPED_TEST(CharSetTest, ClassesAndTheirItems) {
  auto w = Class(T<TypeParam>("\\W]"));
  ASSERT_TRUE(w.ok);
  EXPECT_TRUE(w.set.Contains(0));
  EXPECT_FALSE(w.set.Contains('a'));
  EXPECT_FALSE(w.set.Contains('_'));
  EXPECT_EQ(w.set.Size(), 256u - 63u);

  auto not_a = Class(T<TypeParam>("^a]"), IgnoreCase);
  ASSERT_TRUE(not_a.ok);
  EXPECT_FALSE(not_a.set.Contains('a'));
  EXPECT_FALSE(not_a.set.Contains('A'));
  EXPECT_TRUE(not_a.set.Contains('b'));

  auto consonants = Class(T<TypeParam>("a-z&&[^aeiou]]"));
  ASSERT_TRUE(consonants.ok);
  EXPECT_EQ(consonants.set.Size(), 21u);
  EXPECT_FALSE(consonants.set.Contains('e'));

  auto mixed = Class(T<TypeParam>("a-z&&[aeiou]xyz]"));
  EXPECT_EQ(mixed.set.Size(), 8u);
  EXPECT_EQ(Class(T<TypeParam>("ab[cd]]")).set.Size(), 4u);
  EXPECT_EQ(Class(T<TypeParam>("]")).set.Size(), 0u);
  EXPECT_EQ(Class(T<TypeParam>("^]")).set.Size(), 256u);
  auto dash = Class(T<TypeParam>("-a]"));
  EXPECT_TRUE(dash.set.Contains('-') && dash.set.Contains('a') && dash.set.Size() == 2u);
  auto nested_neg = Class(T<TypeParam>("a[^\\x00-\\xFE]]"));
  EXPECT_EQ(nested_neg.set.Size(), 2u);  // 'a' and 0xFF
  auto esc_range = Class(T<TypeParam>("\\x30-\\x39]"));
  EXPECT_EQ(esc_range.set.Size(), 10u);
  auto amp = Class(T<TypeParam>("&-(]"));
  EXPECT_EQ(amp.set.Size(), 3u);
  // The class is consumed through its ']' and no further.
  EXPECT_EQ(Class(T<TypeParam>("ab]cd")).pos, 3);
}

TYPED_TEST(CharSetTest, NamedClassSizes) {
  const std::pair<const char*, size_t> kSizes[] = {
      {"{Lower}", 26}, {"{Upper}", 26},  {"{Alpha}", 52}, {"{Digit}", 10}, {"{Alnum}", 62},
      {"{Punct}", 32}, {"{Graph}", 94},  {"{Print}", 94}, {"{Blank}", 2},  {"{Space}", 6},
      {"{Cntrl}", 33}, {"{ASCII}", 128}, {"{XDigit}", 22}};
  for (const auto& [name, size] : kSizes) {
    bool ok = false;
    auto e = Escape(T<TypeParam>(std::string("p") + name), &ok);
    ASSERT_TRUE(ok) << name;
    EXPECT_EQ(e.set.Size(), size) << name;
    EXPECT_FALSE(e.negated);
    auto neg = Escape(T<TypeParam>(std::string("P") + name), &ok);
    EXPECT_TRUE(neg.negated);
  }
  bool ok = true;
  Escape(T<TypeParam>("p{lower}"), &ok);
  EXPECT_FALSE(ok);
}

TYPED_TEST(CharSetTest, EscapeValues) {
  const std::pair<const char*, uint32_t> kSingle[] = {
      {"0101", 0x41}, {"0377", 0xFF}, {"077", 077}, {"0400", 040}, {"x41", 0x41},
      {"xfF", 0xFF},  {"a", 0x07},    {"e", 0x0D},  {"f", 0x0C},   {"n", 0x0A},
      {"r", 0x0D},    {"t", 0x09},    {".", '.'},   {"y", 'y'},    {"\\", '\\'}};
  for (const auto& [text, code] : kSingle) {
    bool ok = false;
    auto e = Escape(T<TypeParam>(text), &ok);
    ASSERT_TRUE(ok) << text;
    uint32_t one = 0;
    EXPECT_TRUE(e.set.Single(&one)) << text;
    EXPECT_EQ(one, code) << text;
  }
  bool ok = false;
  auto s = Escape(T<TypeParam>("s"), &ok);
  EXPECT_EQ(s.set.Size(), 5u);
  EXPECT_FALSE(s.set.Contains('\v'));
  auto q = Escape(T<TypeParam>("Q"), &ok);
  EXPECT_TRUE(q.quote);
  EXPECT_TRUE(q.set.Empty());
}

// ---- Narrow and wide differences.

TEST(VariantDifferences, HexadecimalEscapeWidth) {
  // Wide: four hex digits when four follow.
  EXPECT_TRUE(WidePattern::Matches(L"\\x00415", L"A5"));
  EXPECT_TRUE(WidePattern::Matches(L"\\x0100", std::wstring(1, wchar_t(0x100))));
  EXPECT_TRUE(WidePattern::Matches(L"\\x412", L"A2"));
  // Narrow: exactly two.
  EXPECT_TRUE(Pattern::Matches("\\x00415", std::string(1, '\0') + "415"));
  EXPECT_TRUE(Pattern::Matches("\\x412", "A2"));
}

TEST(VariantDifferences, NegationAboveCode255) {
  const std::wstring high(1, wchar_t(0x263A));
  EXPECT_TRUE(WidePattern::Matches(L"\\D", high));     // the inverted flag covers everything
  EXPECT_FALSE(WidePattern::Matches(L"[\\D]", high));  // a complement covers 0 to 255 only
  EXPECT_FALSE(WidePattern::Matches(L"[^a]", high));
  EXPECT_TRUE(WidePattern::Matches(L".", high));
  EXPECT_TRUE(WidePattern::Matches(L"[\\x0100-\\x0120]", std::wstring(1, wchar_t(0x110))));
  // Narrow complements cover every byte value.
  EXPECT_TRUE(Pattern::Matches("[^a]", "\xFF"));
  EXPECT_TRUE(Pattern::Matches("[\\D]", "\x80"));
}

TEST(VariantDifferences, ReversedAndLongRanges) {
  auto narrow = Class(std::string("z-a]"));
  ASSERT_TRUE(narrow.ok);
  EXPECT_EQ(narrow.set.Size(), 256u - 24u);  // every byte but b to y
  EXPECT_TRUE(Pattern::Matches("[z-a]", "\xFF"));
  EXPECT_TRUE(Pattern::Matches("[z-a]", "a"));
  EXPECT_FALSE(Pattern::Matches("[z-a]", "m"));

  EXPECT_FALSE(Class(std::wstring(L"z-a]")).ok);
  auto limit = Class(std::wstring(L"\\x0100-\\x022B]"));  // 300 characters
  ASSERT_TRUE(limit.ok);
  EXPECT_EQ(limit.set.Size(), 300u);
  auto over = Class(std::wstring(L"\\x0100-\\x022C]"));
  EXPECT_FALSE(over.ok);
  EXPECT_EQ(over.pos, 13);  // reported just after the range's last character
  testing::internal::CaptureStderr();
  EXPECT_EQ(WidePattern::Compile(L"[z-a]"), nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "[z-a]\n   ^\nSyntax Error near here. \n");
}

TEST(VariantDifferences, CaseFoldingOfQuotes) {
  EXPECT_TRUE(Pattern::Matches("\\QaBc\\E", "AbC", IgnoreCase));
  EXPECT_TRUE(WidePattern::Matches(L"\\QaBc\\E", L"AbC", IgnoreCase));
  EXPECT_FALSE(Pattern::Matches("\\QaBc\\E", "AbC"));
}

}  // namespace
