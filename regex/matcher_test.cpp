// Matcher and pattern operations: finds, groups, split, replace, FindNth, the compile cache.
#include "regex/matcher.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "regex/pattern.h"
#include "regex/regex_test_util.h"

namespace {

using rx_test::N;
using rx_test::T;
using Texts = std::vector<std::string>;

template <class Ch>
class MatcherTest : public ::testing::Test {
 protected:
  using P = rx::BasicPattern<Ch>;
  static std::basic_string<Ch> S(const char* s) { return T<Ch>(s); }
};
using CharTypes = ::testing::Types<char, wchar_t>;
TYPED_TEST_SUITE(MatcherTest, CharTypes);

TYPED_TEST(MatcherTest, FindAllSkipsOnAfterEmptyMatches) {
  using P = typename TestFixture::P;
  EXPECT_EQ(N(P::FindAll(this->S("a*"), this->S("baaa"))), (Texts{"", "aaa"}));
  EXPECT_EQ(N(P::FindAll(this->S("a*"), this->S(""))), (Texts{""}));
  EXPECT_EQ(N(P::FindAll(this->S("\\d+"), this->S("a1b22c333"))), (Texts{"1", "22", "333"}));
  EXPECT_EQ(N(P::FindAll(this->S("\\Ga"), this->S("aab"))), (Texts{"a", "a"}));
  EXPECT_EQ(N(P::FindAll(this->S("x"), this->S("abc"))), Texts{});
}

TYPED_TEST(MatcherTest, FindNextWalksMatchesAndStopsUntilReset) {
  using P = typename TestFixture::P;
  auto p = P::Compile(this->S("(\\d)(\\w)?"));
  auto m = p->NewMatcher(this->S("1a 2 3c"));
  ASSERT_TRUE(m->FindNext());
  EXPECT_EQ(N(m->GroupText(0)), "1a");
  ASSERT_TRUE(m->FindNext());
  EXPECT_EQ(m->GroupStart(0), 3);
  EXPECT_EQ(m->GroupStart(2), -1);
  ASSERT_TRUE(m->FindNext());
  EXPECT_EQ(N(m->Groups(true)), (Texts{"3c", "3", "c"}));
  EXPECT_FALSE(m->FindNext());
  EXPECT_EQ(m->GroupStart(0), -1);
  EXPECT_FALSE(m->FindNext());  // stays false
  m->Reset();
  ASSERT_TRUE(m->FindNext());
  EXPECT_EQ(N(m->GroupText(0)), "1a");
  m->SetText(this->S("9"));
  EXPECT_EQ(N(m->Text()), "9");
  ASSERT_TRUE(m->FindFirst());
  EXPECT_EQ(N(m->GroupText(1)), "9");
  EXPECT_FALSE(m->FindNext());
}

TYPED_TEST(MatcherTest, GroupQueriesOutOfRangeAndAfterFailure) {
  using P = typename TestFixture::P;
  auto p = P::Compile(this->S("(\\d+\\.\\d+\\.\\d+).*"), DotMatchesAll);
  auto m = p->NewMatcher(this->S("2.6.32-5-686"));
  // A new matcher reads every group as the empty text at 0.
  EXPECT_EQ(m->GroupStart(0), 0);
  EXPECT_EQ(m->GroupEnd(1), 0);
  ASSERT_TRUE(m->Matches());
  EXPECT_EQ(N(m->GroupText(1)), "2.6.32");
  EXPECT_EQ(m->GroupStart(-1), -1);
  EXPECT_EQ(m->GroupEnd(2), -1);
  EXPECT_EQ(N(m->GroupText(7)), "");
  m->SetText(this->S("abc"));
  EXPECT_FALSE(m->Matches());
  EXPECT_EQ(N(m->GroupText(1)), "");
  EXPECT_EQ(m->GroupStart(0), -1);
  EXPECT_EQ(m->GroupStart(1), -1);
  EXPECT_EQ(m->GroupCount(), 2);
}

TYPED_TEST(MatcherTest, FailedSearchLeavesNoGroupSet) {
  using P = typename TestFixture::P;
  // The look-ahead sets group 1 before the rest fails.
  auto p = P::Compile(this->S("(?=(a))ab"));
  auto m = p->NewMatcher(this->S("aa"));
  EXPECT_FALSE(m->FindFirst());
  EXPECT_EQ(m->GroupStart(1), -1);
  EXPECT_FALSE(m->Matches());
  EXPECT_EQ(m->GroupStart(1), -1);
}

TYPED_TEST(MatcherTest, SplitPieces) {
  using P = typename TestFixture::P;
  const auto comma = this->S(",");
  EXPECT_EQ(N(P::Split(comma, this->S("a,b,,c"), false, 0)), (Texts{"a", "b", "c"}));
  EXPECT_EQ(N(P::Split(comma, this->S("a,b,,c"), true, 0)), (Texts{"a", "b", "", "c"}));
  EXPECT_EQ(N(P::Split(comma, this->S(",a"), true, 0)), (Texts{"", "", "a"}));
  EXPECT_EQ(N(P::Split(comma, this->S(",a"), false, 0)), (Texts{"a"}));
  EXPECT_EQ(N(P::Split(comma, this->S("a,b,c"), false, 1)), (Texts{"a", "b,c"}));
  EXPECT_EQ(N(P::Split(comma, this->S("a,b,c"), false, 2)), (Texts{"a", "b", "c"}));
  EXPECT_EQ(N(P::Split(comma, this->S("a,"), true, 0)), (Texts{"a"}));
  EXPECT_EQ(N(P::Split(this->S("x*"), this->S("axb"), false, 0)), (Texts{"a", "b"}));
  EXPECT_EQ(N(P::Split(this->S("\\s+"), this->S("  2.6 32 "), false, 0)), (Texts{"2.6", "32"}));
}

TYPED_TEST(MatcherTest, ReplaceWithTemplates) {
  using P = typename TestFixture::P;
  const auto pair = this->S("(\\d+)-(\\d+)");
  EXPECT_EQ(N(P::Replace(pair, this->S("1-2 and 3-4"), this->S("\\2-\\1"))), "2-1 and 4-3");
  EXPECT_EQ(N(P::Replace(pair, this->S("1-2"), this->S("x\\"))), "x\\");
  EXPECT_EQ(N(P::Replace(pair, this->S("1-2"), this->S("[\\12]"))), "[]");  // group 12
  EXPECT_EQ(N(P::Replace(pair, this->S("1-2"), this->S("\\\\\\$\\0"))), "\\$1-2");
  EXPECT_EQ(N(P::Replace(this->S("a*"), this->S("bab"), this->S("-"))), "-b--b");
  EXPECT_EQ(N(P::Replace(this->S("z"), this->S("abc"), this->S("-"))), "abc");
  auto p = P::Compile(this->S("(a)(b)?"));
  auto m = p->NewMatcher(this->S("ac"));
  ASSERT_TRUE(m->FindFirst());
  EXPECT_EQ(N(m->ExpandReplacement(this->S("<\\1|\\2|\\3>"))), "<a||>");
  EXPECT_EQ(N(m->ExpandReplacement(this->S("\\99999999999999"))), "");
}

TYPED_TEST(MatcherTest, FindNthCountsFromZero) {
  using P = typename TestFixture::P;
  auto second = P::FindNth(this->S("\\d+"), this->S("a1b22c333"), 1);
  EXPECT_EQ(N(second.first), "22");
  EXPECT_EQ(second.second, 3);
  auto none = P::FindNth(this->S("\\d+"), this->S("a1b22c333"), 3);
  EXPECT_EQ(N(none.first), "");
  EXPECT_EQ(none.second, -1);
  EXPECT_EQ(P::FindNth(this->S("\\d+"), this->S("7"), 0).second, 0);
}

TYPED_TEST(MatcherTest, InstanceFormsReuseTheOwnMatcher) {
  using P = typename TestFixture::P;
  auto p = P::Compile(this->S("[a-c]+"));
  EXPECT_TRUE(p->Matches(this->S("abc")));
  EXPECT_FALSE(p->Matches(this->S("abcd")));
  EXPECT_EQ(N(p->FindAll(this->S("ab-ca"))), (Texts{"ab", "ca"}));
  EXPECT_EQ(N(p->Replace(this->S("ab-ca"), this->S("#"))), "#-#");
  EXPECT_EQ(N(p->Split(this->S("xaby"), false, 0)), (Texts{"x", "y"}));
}

TYPED_TEST(MatcherTest, CompileCacheKeysOnTextOnly) {
  using P = typename TestFixture::P;
  P::ClearCompileCache();
  auto* first = P::CompileCached(this->S("ab+"), 0);
  auto* again = P::CompileCached(this->S("ab+"), IgnoreCase);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first, again);
  EXPECT_EQ(again->Flags(), 0u);
  EXPECT_FALSE(again->Matches(this->S("ABB")));
  // A failed compile is cached too: one report, then null without another.
  testing::internal::CaptureStderr();
  EXPECT_EQ(P::CompileCached(this->S("(")), nullptr);
  EXPECT_EQ(P::CompileCached(this->S("(")), nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "(\n ^\nSyntax Error near here. \n");
  P::ClearCompileCache();
  auto* fresh = P::CompileCached(this->S("ab+"), IgnoreCase);
  EXPECT_EQ(fresh->Flags(), uint32_t{IgnoreCase});
  P::ClearCompileCache();
}

TYPED_TEST(MatcherTest, SeveralMatchersShareOnePattern) {
  using P = typename TestFixture::P;
  auto p = P::Compile(this->S("(\\w+)=(\\w*)"));
  auto a = p->NewMatcher(this->S("k=v"));
  auto b = p->NewMatcher(this->S("x="));
  ASSERT_TRUE(a->Matches());
  ASSERT_TRUE(b->Matches());
  EXPECT_EQ(N(a->Groups(false)), (Texts{"k", "v"}));
  EXPECT_EQ(N(b->Groups(false)), (Texts{"x", ""}));
}

}  // namespace
