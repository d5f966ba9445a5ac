// The backtracking machine against a direct recursive walk of the node rules.
//
// The recursive walk below is the definition of a match result: each node continues at its
// successor and restores what it changed when the rest fails. The machine must give the same
// end position and the same group and loop records for every pattern and subject, so random
// patterns over a small alphabet are run through both.
#include "regex/backtrack.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "regex/pattern.h"
#include "regex/regex_test_util.h"

namespace {

using rx::NodeType;
using rx_test::T;

template <class Ch>
class RecursiveWalk {
 public:
  using Node = rx::NFANodeT<Ch>;
  RecursiveWalk(const std::basic_string<Ch>& text, rx::MatchState& st)
      : text_(text.data()), n_(static_cast<int>(text.size())), st_(st) {}

  int M(const Node* node, int p) {
    switch (node->Type()) {
      case NodeType::kStart: {
        st_.group_start[0] = p;
        if (st_.whole_text) {
          if (p != 0) {
            st_.group_start[0] = -1;
            return -1;
          }
          const int r = M(node->next, 0);
          if (r < 0) st_.group_start[0] = -1;
          return r;
        }
        int r = M(node->next, p);
        while (r == -1 && p < n_) {
          st_.Clear();
          ++p;
          st_.group_start[0] = p;
          r = M(node->next, p);
        }
        if (r < 0) st_.group_start[0] = -1;
        return r;
      }
      case NodeType::kEnd:
        st_.group_end[0] = p;
        if (!st_.whole_text || p == n_) return p;
        st_.group_end[0] = -1;
        return -1;
      case NodeType::kAccept:
        return node->next ? M(node->next, p) : p;
      case NodeType::kSubStart:
        return M(node->next, p);
      case NodeType::kOr: {
        const auto* o = static_cast<const rx::NFAOrNodeT<Ch>*>(node);
        const int r = M(o->one, p);
        return r == -1 ? M(o->two, p) : r;
      }
      case NodeType::kLookAhead: {
        const auto* la = static_cast<const rx::NFALookAheadNodeT<Ch>*>(node);
        const int r = M(la->inner, p);
        if ((la->positive && r == -1) || (!la->positive && r != -1)) return -1;
        return M(node->next, p);
      }
      case NodeType::kGroupHead:
      case NodeType::kGroupTail: {
        const int gi = static_cast<const rx::NFAIndexNodeT<Ch>*>(node)->gi;
        int32_t* slot =
            node->Type() == NodeType::kGroupHead ? &st_.group_start[gi] : &st_.group_end[gi];
        const int32_t old = *slot;
        *slot = p;
        const int r = M(node->next, p);
        if (r < 0) *slot = old;
        return r;
      }
      case NodeType::kGreedyQuantifier: {
        const auto* q = static_cast<const rx::NFAQuantifierNodeT<Ch>*>(node);
        const int c = Minimum(q, p);
        if (c == -1) return -1;
        return MatchFrom(q, c, q->min);
      }
      case NodeType::kLazyQuantifier: {
        const auto* q = static_cast<const rx::NFAQuantifierNodeT<Ch>*>(node);
        int c = Minimum(q, p);
        if (c == -1) return -1;
        for (int32_t i = q->min; i < q->max;) {
          const int r = M(node->next, c);
          if (r != -1) return r;
          const int d = M(q->inner, c);
          ++i;
          if (d <= c) return -1;
          c = d;
        }
        return M(node->next, c);
      }
      case NodeType::kPossessiveQuantifier: {
        const auto* q = static_cast<const rx::NFAQuantifierNodeT<Ch>*>(node);
        int c = Minimum(q, p);
        if (c == -1) return -1;
        for (int32_t i = q->min; i < q->max;) {
          const int d = M(q->inner, c);
          ++i;
          if (d <= c) return M(node->next, c);
          c = d;
        }
        return M(node->next, c);
      }
      case NodeType::kGroupLoopPrologue: {
        const int gi = static_cast<const rx::NFAIndexNodeT<Ch>*>(node)->gi;
        const int32_t c = st_.loop_count[gi], m = st_.loop_mark[gi], lp = st_.loop_pos[gi];
        st_.loop_count[gi] = 0;
        st_.loop_mark[gi] = 0;
        st_.loop_pos[gi] = -1;
        const int r = M(node->next, p);
        if (r < 0) {
          st_.loop_count[gi] = c;
          st_.loop_mark[gi] = m;
          st_.loop_pos[gi] = lp;
        }
        return r;
      }
      case NodeType::kGroupLoop:
        return Loop(static_cast<const rx::NFAGroupLoopNodeT<Ch>*>(node), p);
      default: {
        const int r = rx::MatchItem(node, text_, n_, st_, p);
        return r < 0 ? -1 : M(node->next, r);
      }
    }
  }

 private:
  int Minimum(const rx::NFAQuantifierNodeT<Ch>* q, int p) {
    int c = p;
    for (int32_t i = 0; i < q->min; ++i) {
      const int r = M(q->inner, c);
      if (r <= c) return r;
      c = r;
    }
    return c;
  }
  int MatchFrom(const rx::NFAQuantifierNodeT<Ch>* q, int p, int32_t count) {
    if (count >= q->max) return M(q->next, p);
    const int r = M(q->inner, p);
    if (r > p) {
      const int r2 = MatchFrom(q, r, count + 1);
      if (r2 != -1) return r2;
    }
    return M(q->next, p);
  }
  int Loop(const rx::NFAGroupLoopNodeT<Ch>* l, int p) {
    const int i = l->gi;
    int32_t* lc = st_.loop_count;
    int32_t* lp = st_.loop_pos;
    int32_t* lm = st_.loop_mark;
    const bool stalled = lp[i] >= p;
    if (!stalled && lc[i] < l->min) {
      ++lc[i];
      const int32_t old = lp[i];
      lp[i] = p;
      const int r = M(l->inner, p);
      if (r < 0) {
        lp[i] = old;
        --lc[i];
      }
      return r;
    }
    if (stalled || lc[i] >= l->max) return M(l->next, p);
    const int32_t old = lp[i];
    switch (l->kind) {
      case 0: {
        lp[i] = p;
        ++lc[i];
        const int r = M(l->inner, p);
        if (r >= 0) return r;
        --lc[i];
        lp[i] = old;
        return M(l->next, p);
      }
      case 1: {
        int r = M(l->next, p);
        if (r >= 0) return r;
        const int32_t again = lp[i];
        lp[i] = p;
        ++lc[i];
        r = M(l->inner, p);
        if (r < 0) {
          --lc[i];
          lp[i] = again;
        }
        return r;
      }
      default: {
        lm[i] = lc[i];
        lp[i] = p;
        ++lc[i];
        const int r = M(l->inner, p);
        if (r >= 0) return r;
        --lc[i];
        lp[i] = old;
        if (lc[i] == lm[i]) return M(l->next, p);
        return r;
      }
    }
  }

  const Ch* text_;
  int n_;
  rx::MatchState& st_;
};

// Match state with storage, filled with a recognisable start value.
struct State {
  State(int groups, int nc) : slots(5 * static_cast<size_t>(groups + nc), 7) {
    const int total = groups + nc;
    st.group_start = slots.data() + nc;
    st.group_end = slots.data() + total + nc;
    st.loop_count = slots.data() + 2 * total + nc;
    st.loop_pos = slots.data() + 3 * total + nc;
    st.loop_mark = slots.data() + 4 * total + nc;
    st.group_count = groups;
    st.nc_count = nc;
  }
  std::vector<int32_t> slots;
  rx::MatchState st;
};

class PatternMaker {
 public:
  explicit PatternMaker(unsigned seed) : rng_(seed) {}
  std::string Make() {
    groups_ = 0;
    return Alternation(0);
  }

 private:
  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
  std::string Alternation(int depth) {
    std::string s = Sequence(depth);
    if (Pick(4) == 0) s += "|" + Sequence(depth);
    return s;
  }
  std::string Sequence(int depth) {
    std::string s;
    const int n = Pick(4);
    for (int i = 0; i < n; ++i) s += Element(depth);
    return s;
  }
  std::string Quantifier() {
    static const char* const kForms[] = {"*", "+", "?", "{2}", "{1,2}", "{,2}", "{0,}"};
    static const char* const kSuffix[] = {"", "", "?", "+"};
    if (Pick(3) != 0) return "";
    return std::string(kForms[Pick(7)]) + kSuffix[Pick(4)];
  }
  std::string Element(int depth) {
    static const char* const kItems[] = {"a",   "b",   ".",        "[ab]", "[^a]", "^",  "$",
                                         "\\b", "\\B", "\\Qab\\E", "A",    "\\Z",  "\\G"};
    const int k = Pick(depth < 3 ? 12 : 6);
    if (k < 6) return kItems[Pick(13)] + Quantifier();
    if (k == 6 && groups_ > 0) return "\\" + std::to_string(1 + Pick(groups_)) + Quantifier();
    switch (k) {
      case 7: {
        ++groups_;
        return "(" + Alternation(depth + 1) + ")" + Quantifier();
      }
      case 8:
        return "(?:" + Alternation(depth + 1) + ")" + Quantifier();
      case 9: {
        static const char* const kLook[] = {"(?=", "(?!", "(?>"};
        return kLook[Pick(3)] + Alternation(depth + 1) + ")";
      }
      case 10:
        return Pick(2) ? "(?<=a)" : "(?<!b)";
      default:
        return "(?i)";
    }
  }

  std::mt19937 rng_;
  int groups_ = 0;
};

template <class Ch>
void Compare(const std::string& pattern_text, const std::string& subject_text, bool whole,
             uint32_t flags) {
  auto pattern = rx::BasicPattern<Ch>::Compile(T<Ch>(pattern_text), flags);
  ASSERT_NE(pattern, nullptr) << pattern_text;
  const std::basic_string<Ch> subject = T<Ch>(subject_text);
  State a(pattern->GroupCount(), pattern->NonCapturingCount());
  State b(pattern->GroupCount(), pattern->NonCapturingCount());
  a.st.whole_text = b.st.whole_text = whole;
  a.st.Clear();
  b.st.Clear();
  RecursiveWalk<Ch> walk(subject, a.st);
  const int want = walk.M(pattern->Head(), 0);
  const int got = pattern->Head()->Match(subject, b.st, 0);
  ASSERT_EQ(got, want) << "pattern \"" << pattern_text << "\" subject \"" << subject_text
                       << "\" whole " << whole;
  ASSERT_EQ(b.slots, a.slots) << "records differ: pattern \"" << pattern_text << "\" subject \""
                              << subject_text << "\" whole " << whole;
}

template <class Ch>
class MachineAgreesWithRecursion : public ::testing::Test {};
using CharTypes = ::testing::Types<char, wchar_t>;
TYPED_TEST_SUITE(MachineAgreesWithRecursion, CharTypes);

TYPED_TEST(MachineAgreesWithRecursion, OnRandomPatterns) {
  PatternMaker maker(sizeof(TypeParam) == 1 ? 12345u : 54321u);
  std::mt19937 rng(99);
  const char alphabet[] = "abA\n";
  for (int i = 0; i < 4000; ++i) {
    const std::string pattern = maker.Make();
    {
      testing::internal::CaptureStderr();
      auto compiled = rx::BasicPattern<TypeParam>::Compile(T<TypeParam>(pattern));
      testing::internal::GetCapturedStderr();
      if (!compiled) continue;  // e.g. a quantifier after a zero-width assertion group
    }
    for (int k = 0; k < 8; ++k) {
      std::string subject;
      const int len = std::uniform_int_distribution<int>(0, 6)(rng);
      for (int j = 0; j < len; ++j) subject += alphabet[rng() % 4];
      uint32_t flags = (k & 2) ? uint32_t{IgnoreCase} : 0u;
      if (k & 4) flags |= MultiLine | LineFeedOnly;
      Compare<TypeParam>(pattern, subject, (k & 1) != 0, flags);
      if (this->HasFatalFailure()) return;
    }
  }
}

TYPED_TEST(MachineAgreesWithRecursion, OnHandPickedBacktrackingShapes) {
  const char* const kPatterns[] = {
      "(a|ab)(c|bcd)(d*)", "(a*)*b",          "(a|b)*?b",        "(a|b)*+b",
      "((a)|b)+\\2",       "(?=(a+))a*b\\1",  "(?>(a+))b",       "(a{1,2}){2}?a",
      "(?:a(?=b)|.)*",     "(a*?)(a*)(a*?)$", "(a+|b+)*+a",      "((a|b)+?)\\1",
      "x*(?!a)[ab]*",      "(a?){3}a{3}",     "(?:(a)|b)*+\\1b", "(a*)+?b",
  };
  const char* const kSubjects[] = {"",     "a",   "ab",   "abcd", "aab",   "aaab",
                                   "abab", "bab", "aaaa", "abba", "aabaa", "baab"};
  for (const char* p : kPatterns) {
    for (const char* s : kSubjects) {
      Compare<TypeParam>(p, s, true, 0);
      Compare<TypeParam>(p, s, false, 0);
      if (this->HasFatalFailure()) return;
    }
  }
}

}  // namespace
