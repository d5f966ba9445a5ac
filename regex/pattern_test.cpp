// Compilation: syntax error reports, group numbering, named patterns, node queries, Dump.
#include "regex/pattern.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <set>
#include <string>

#include "regex/regex_test_util.h"

namespace {

using rx_test::N;
using rx_test::T;

const char kMeta[] = "Syntax Error near here. Possible unescaped meta character.\n";
const char kPlain[] = "Syntax Error near here. \n";

// The report for an error detected at position p (just after the character read).
std::string Report(const std::string& text, int p, bool meta) {
  return text + "\n" + std::string(p - 1 > 1 ? p - 1 : 1, ' ') + "^\n" + (meta ? kMeta : kPlain);
}

struct ErrorCase {
  const char* pattern;
  int p;
  bool meta;
};

const ErrorCase kErrors[] = {
    {"x**", 3, true},  // a quantifier with nothing to repeat
    {"*a", 1, true},   // first character: the caret one column further right
    {"a|*", 3, true},       {"a]", 2, true},        {"a}", 2, true},
    {"(?=a)*", 6, true},  // look-ahead groups take no quantifier
    {"(?<=a)+", 7, true},   {"(?i)*", 5, true},     {"(?>a)?", 6, true},
    {"(ab", 3, false},                        // group not closed: end of text
    {"((a)", 4, true},      {"a)", 2, true},  // ')' outside any group
    {"a\\", 2, false},                        // backslash last
    {"(?x)", 3, false},                       // bad group form: the offending character
    {"(?<x)", 4, false},    {"(?i-s-m)", 6, false}, {"(?i", 3, false},
    {"(?", 2, true},        {"\\x4", 2, false},  // malformed escapes: under the escape letter
    {"\\xg1", 2, false},    {"\\p{Foo}", 2, false}, {"\\P", 2, false},
    {"\\08", 2, false},     {"\\0", 2, false},      {"a{1,x}", 2, false},  // braces: under the '{'
    {"a{1,2,3}", 2, false}, {"a{1", 2, false},      {"{ab}", 1, false},    // not registered
    {"{a}", 1, false},                                                     // name too short
    {"x{1ab}", 2, false},                        // not a quantifier, and not a valid name
    {"{_9x", 1, false},     {"[abc", 4, false},  // classes: inside the class
    {"[a-]", 4, true},      {"[a-[b]]", 4, false},  {"[a--]", 4, false},
    {"[a-&]", 4, false},    {"[a&&b]", 5, false},   {"[a&&", 4, false},
    {"[\\Q]", 3, false},    {"[a\\", 3, false},     {"[a-\\d]", 5, false},
    {"[a-\\W]", 5, false},  {"[\\x4]", 3, false},   {"\\Qabc", 5, false},  // \Q without \E
    {"\\Qab\\", 5, false},  {"(?<=ab", 6, false},  // look-behind without ')'
    {"(?<=a\\)", 7, true},  // the escaped ) is text; the last character read is )
};

template <class Ch>
class CompileTest : public ::testing::Test {};
using CharTypes = ::testing::Types<char, wchar_t>;
TYPED_TEST_SUITE(CompileTest, CharTypes);

TYPED_TEST(CompileTest, SyntaxErrorsReportWithCaret) {
  using P = rx::BasicPattern<TypeParam>;
  for (const ErrorCase& e : kErrors) {
    SCOPED_TRACE(e.pattern);
    testing::internal::CaptureStderr();
    auto p = P::Compile(T<TypeParam>(e.pattern));
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(p, nullptr);
    EXPECT_EQ(err, Report(e.pattern, e.p, e.meta));
  }
}

TYPED_TEST(CompileTest, StaticFormsReportAndGiveEmptyResults) {
  using P = rx::BasicPattern<TypeParam>;
  const auto bad = T<TypeParam>("(ab");
  const auto text = T<TypeParam>("ab");
  testing::internal::CaptureStderr();
  EXPECT_FALSE(P::Matches(bad, text));
  EXPECT_TRUE(P::FindAll(bad, text).empty());
  EXPECT_TRUE(P::Split(bad, text, true, 0).empty());
  EXPECT_TRUE(P::Replace(bad, text, T<TypeParam>("x")).empty());
  EXPECT_EQ(P::FindNth(bad, text, 0).second, -1);
  const std::string err = testing::internal::GetCapturedStderr();
  std::string five;
  for (int i = 0; i < 5; ++i) five += Report("(ab", 3, false);
  EXPECT_EQ(err, five);  // one report per failed compile
}

TYPED_TEST(CompileTest, ValidFormsCompile) {
  using P = rx::BasicPattern<TypeParam>;
  const char* const kValid[] = {"",       "a{x}y",  "(?)",      "(?-)",  "(?i-smd:x)",
                                "[]",     "[^]",    "\\Q\\E",   "[-a]",  "[a-b-c]",
                                "a{,}",   "\\b*",   "\\1",      "a&&b",  "[&]",
                                "(?<!)x", "\\0377", "[\\Qa]x]", "x{2}+", "(a){0}"};
  for (const char* text : kValid) {
    SCOPED_TRACE(text);
    testing::internal::CaptureStderr();
    auto p = P::Compile(T<TypeParam>(text));
    const std::string err = testing::internal::GetCapturedStderr();
    if (std::string(text) == "a{x}y" || std::string(text) == "[\\Qa]x]") {
      // "{x}" is not a quantifier, and a one-letter name is not a reference; \Q in a class
      // is an error.
      EXPECT_EQ(p, nullptr);
    } else {
      EXPECT_NE(p, nullptr);
      EXPECT_EQ(err, "");
    }
  }
}

TYPED_TEST(CompileTest, GroupsAreNumberedByOpeningParenthesis) {
  using P = rx::BasicPattern<TypeParam>;
  auto p = P::Compile(T<TypeParam>("(a)(?:b)((c)|(?i:d))(?=e)(?>e)(?<=e)(?s)(h)"));
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->GroupCount(), 5);
  EXPECT_EQ(p->NonCapturingCount(), 2);
  auto m = p->NewMatcher(T<TypeParam>("abceh"));
  ASSERT_TRUE(m->Matches());
  EXPECT_EQ(N(m->Groups(false)), (std::vector<std::string>{"a", "c", "c", "h"}));
  m->SetText(T<TypeParam>("abDeh"));
  ASSERT_TRUE(m->Matches());
  EXPECT_EQ(N(m->Groups(false)), (std::vector<std::string>{"a", "D", "", "h"}));
  EXPECT_EQ(m->GroupStart(3), -1);
}

TYPED_TEST(CompileTest, TextAndFlagsAreKept) {
  using P = rx::BasicPattern<TypeParam>;
  auto p = P::Compile(T<TypeParam>("a+b"), IgnoreCase | MultiLine);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(N(p->Text()), "a+b");
  EXPECT_EQ(p->Flags(), uint32_t{IgnoreCase | MultiLine});
}

TYPED_TEST(CompileTest, EveryNodeIsRegisteredAndReachable) {
  using P = rx::BasicPattern<TypeParam>;
  for (const char* text :
       {"(a|b)*c(?=d)x+", "a|b|c", "(?>a*)\\Qab\\E{2,3}?", "((a)+?|b)*+\\2", "x", ""}) {
    auto p = P::Compile(T<TypeParam>(text));
    ASSERT_NE(p, nullptr);
    std::set<const rx::NFANodeT<TypeParam>*> registry;
    p->Head()->CollectNodes(registry);
    EXPECT_EQ(registry.size(), p->NodeCount()) << text;
  }
}

TYPED_TEST(CompileTest, NamedPatternsAreInlined) {
  using P = rx::BasicPattern<TypeParam>;
  P::ClearNamedPatterns();
  ASSERT_TRUE(P::RegisterNamedPattern(T<TypeParam>("ver"), T<TypeParam>("\\d+\\.\\d+")));
  ASSERT_TRUE(P::RegisterNamedPattern(T<TypeParam>("pair"), T<TypeParam>("(\\w)=(\\w)")));
  ASSERT_TRUE(P::RegisterNamedPattern(T<TypeParam>("ci"), T<TypeParam>("abc"), IgnoreCase));
  ASSERT_TRUE(P::RegisterNamedPattern(T<TypeParam>("alt_2"), T<TypeParam>("x|y")));

  EXPECT_TRUE(P::Matches(T<TypeParam>("v{ver}"), T<TypeParam>("v1.25")));
  EXPECT_FALSE(P::Matches(T<TypeParam>("v{ver}"), T<TypeParam>("v1x25")));

  auto p = P::Compile(T<TypeParam>("(x){pair}(y)"));
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->GroupCount(), 5);  // the inlined groups number on; its group 0 does not count
  auto m = p->NewMatcher(T<TypeParam>("xa=by"));
  ASSERT_TRUE(m->Matches());
  EXPECT_EQ(N(m->Groups(false)), (std::vector<std::string>{"x", "a", "b", "y"}));

  // The registered flags hold inside the reference only.
  EXPECT_TRUE(P::Matches(T<TypeParam>("{ci}d"), T<TypeParam>("ABcd")));
  EXPECT_FALSE(P::Matches(T<TypeParam>("{ci}d"), T<TypeParam>("ABcD")));
  // An alternation inside a reference stays inside it.
  EXPECT_TRUE(P::Matches(T<TypeParam>("a{alt_2}b"), T<TypeParam>("ayb")));
  EXPECT_FALSE(P::Matches(T<TypeParam>("a{alt_2}b"), T<TypeParam>("y")));

  // A failed registration reports and keeps the earlier entry.
  testing::internal::CaptureStderr();
  EXPECT_FALSE(P::RegisterNamedPattern(T<TypeParam>("ver"), T<TypeParam>("(x")));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), Report("(x", 2, false));
  EXPECT_TRUE(P::Matches(T<TypeParam>("{ver}"), T<TypeParam>("1.2")));

  // A quantifier right after a reference is refused.
  testing::internal::CaptureStderr();
  EXPECT_EQ(P::Compile(T<TypeParam>("{ver}*")), nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), Report("{ver}*", 6, true));

  P::ClearNamedPatterns();
  testing::internal::CaptureStderr();
  EXPECT_EQ(P::Compile(T<TypeParam>("a{ver}")), nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), Report("a{ver}", 2, false));
}

TYPED_TEST(CompileTest, SelfReferringNamedPatternIsAnErrorNotARecursion) {
  using P = rx::BasicPattern<TypeParam>;
  P::ClearNamedPatterns();
  ASSERT_TRUE(P::RegisterNamedPattern(T<TypeParam>("loop"), T<TypeParam>("a")));
  // Compiles against the earlier entry, then refers to itself.
  ASSERT_TRUE(P::RegisterNamedPattern(T<TypeParam>("loop"), T<TypeParam>("{loop}b")));
  testing::internal::CaptureStderr();
  EXPECT_EQ(P::Compile(T<TypeParam>("x{loop}")), nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), Report("x{loop}", 2, false));
  P::ClearNamedPatterns();
}

TEST(NamedPatterns, TablesOfTheVariantsAreSeparate) {
  Pattern::ClearNamedPatterns();
  WidePattern::ClearNamedPatterns();
  ASSERT_TRUE(Pattern::RegisterNamedPattern("only_narrow", "n"));
  EXPECT_TRUE(Pattern::Matches("{only_narrow}", "n"));
  testing::internal::CaptureStderr();
  EXPECT_FALSE(WidePattern::Matches(L"{only_narrow}", L"n"));
  testing::internal::GetCapturedStderr();
  Pattern::ClearNamedPatterns();
}

TEST(NodeQueries, NarrowAnswersForGroupHeadAndStartOfInput) {
  auto narrow = Pattern::Compile("(a)");
  auto wide = WidePattern::Compile(L"(a)");
  const auto* head = narrow->Head()->next->next;  // start, sub-start, group head
  ASSERT_EQ(head->Type(), rx::NodeType::kGroupHead);
  EXPECT_TRUE(head->IsGroupHead());
  EXPECT_FALSE(narrow->Head()->IsGroupHead());
  const auto* wide_head = wide->Head()->next->next;
  ASSERT_EQ(wide_head->Type(), rx::NodeType::kGroupHead);
  EXPECT_FALSE(wide_head->IsGroupHead());  // the wide family answers false for every node

  auto anchor = Pattern::Compile("\\A");
  EXPECT_TRUE(anchor->Head()->next->next->IsStartOfInput());
  auto wide_anchor = WidePattern::Compile(L"\\A");
  EXPECT_FALSE(wide_anchor->Head()->next->next->IsStartOfInput());
}

TEST(Dump, PrintsTheAutomaton) {
  auto p = Pattern::Compile("a+|[bc]");
  ASSERT_NE(p, nullptr);
  testing::internal::CaptureStdout();
  p->Dump();
  const std::string out = testing::internal::GetCapturedStdout();
  const std::string rest = "      NFAAcceptNode\n      NFAEndNode\n";  // junction and end
  EXPECT_EQ(out,
            "Pattern(a+|[bc]):\n"
            "  NFAStartNode\n"
            "  NFAOrNode\n"
            "    one\n"
            "      NFASubStartNode\n"
            "      NFAGreedyQuantifierNode(min=1, max=2147483647)\n"
            "        inner\n"
            "          NFACharNode(0x61)\n"
            "          NFAAcceptNode\n"
            "      NFAAcceptNode\n" +
                rest +
                "    two\n"
                "      NFASubStartNode\n"
                "      NFAClassNode(2 vals, inv=false)\n"
                "      NFAAcceptNode\n" +
                rest);
}

TEST(Dump, GroupsLoopsLookAroundAndAnchors) {
  auto p = Pattern::Compile("(x)*?(?=\\b)(?<!q)\\Z\\1\\Qhi\\E");
  ASSERT_NE(p, nullptr);
  testing::internal::CaptureStdout();
  p->Dump();
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "Pattern((x)*?(?=\\b)(?<!q)\\Z\\1\\Qhi\\E):\n"
            "  NFAStartNode\n"
            "  NFASubStartNode\n"
            "  NFAGroupLoopPrologueNode(gi=1)\n"
            "  NFAGroupLoopNode(gi=1, min=0, max=2147483647, type=reluctant)\n"
            "  NFALookAheadNode(pos=true)\n"
            "    NFASubStartNode\n"
            "    NFAWordBoundaryNode(pos=true)\n"
            "    NFAAcceptNode\n"
            "  NFALookBehindNode(str=q, pos=false)\n"
            "  NFAEndOfInputNode(term=true)\n"
            "  NFAReferenceNode(gi=1)\n"
            "  NFAQuoteNode(hi)\n"
            "  NFAEndNode\n");
}

// A wide error report goes out as wide text when standard error is already wide-oriented.
TEST(WideReport, WideOrientedStandardError) {
  // A fresh child process: the orientation of this process's standard error is already set.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        std::fwide(stderr, 1);
        std::fwprintf(stderr, L"[");
        auto p = WidePattern::Compile(L"x**");
        std::fwprintf(stderr, L"]");
        std::fflush(stderr);
        std::_Exit(p == nullptr ? 0 : 1);
      },
      ::testing::ExitedWithCode(0),
      "\\[x\\*\\*\n  \\^\nSyntax Error near here\\. Possible unescaped meta character\\.\n\\]");
}

}  // namespace
