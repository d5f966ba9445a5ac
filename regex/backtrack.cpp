// The backtracking machine (see backtrack.h for the contract).
#include "regex/backtrack.h"

#include <vector>

namespace rx {

namespace {

enum FrameType : int32_t {
  // Undo records: a = group index, b = the value to put back.
  kUndoGroupStart,
  kUndoGroupEnd,
  kUndoLoopCount,
  kUndoLoopPos,
  kUndoLoopMark,
  // Choice points.
  kAlt,             // node = NFAOrNode, a = position for `two`
  kGreedyRun,       // node = quantifier, a = lowest position, b = current position, c = width
  kLazyRun,         // node = quantifier, a = position, b = occurrences so far
  kLoopGreedy,      // node = group loop, a = position
  kLoopLazy,        // node = group loop, a = position
  kLoopPossessive,  // node = group loop, a = position
  // Marker of a running sub-automaton (look-ahead or atomic group): node = its owner,
  // a = position (look-ahead start, or atomic: current position), b = occurrences so far.
  kSub,
};

struct Frame {
  int32_t type;
  int32_t a;
  int32_t b;
  int32_t c;
  const void* node;
};

// The stacks are kept per thread and reused from one match to the next, so a match costs no
// allocation once they have grown; a very deep match gives its memory back afterwards.
struct Scratch {
  std::vector<Frame> frames;
  std::vector<size_t> subs;  // indices in `frames` of the running kSub markers

  void Trim() {
    constexpr size_t kKeep = size_t{1} << 16;
    if (frames.capacity() > kKeep) std::vector<Frame>().swap(frames);
    if (subs.capacity() > kKeep) std::vector<size_t>().swap(subs);
  }
};

Scratch& ThreadScratch() {
  thread_local Scratch scratch;
  return scratch;
}

template <class Ch>
bool IsUnitItem(const NFANodeT<Ch>* node) {
  const NodeType t = node->Type();
  return t == NodeType::kChar || t == NodeType::kCIChar || t == NodeType::kClass ||
         t == NodeType::kCIClass;
}

template <class Ch>
class Machine {
 public:
  using Node = NFANodeT<Ch>;
  using Quantifier = NFAQuantifierNodeT<Ch>;

  Machine(const Ch* text, int n, MatchState& st, Scratch& scratch)
      : text_(text), n_(n), st_(st), frames_(scratch.frames), subs_(scratch.subs) {}

  int Start(const NFAStartNodeT<Ch>* start, int p);
  int Run(const Node* node, int p);

 private:
  void Push(int32_t type, int32_t a, int32_t b, int32_t c, const void* node) {
    frames_.push_back(Frame{type, a, b, c, node});
  }
  void PushSub(int32_t a, int32_t b, const void* owner) {
    subs_.push_back(frames_.size());
    frames_.push_back(Frame{kSub, a, b, 0, owner});
  }
  // Number of consecutive occurrences of a one-character item from `from`, at most `limit`.
  int Span(const Node* item, int from, int64_t limit) const;
  // End of the minimum occurrences of q's item from p, or -1.
  int Minimum(const Quantifier* q, int p) const;
  // Whether the continuation of q can succeed at p, judged by its first characters.
  bool FollowAdmits(const Quantifier* q, int p) const {
    return q->follow.nullable || (p < n_ && q->follow.Admits(Code(text_[p])));
  }
  // Highest position from cur down to low, in steps of w, where q's continuation may
  // succeed; -1 when there is none.
  int Settle(const Quantifier* q, int low, int cur, int w) const;
  // The lazy repetition from c with i occurrences: the position to continue at, with a choice
  // point pushed for more occurrences; -1 on failure.
  int LazyFrom(const Quantifier* q, int c, int32_t i);

  const Ch* text_;
  int n_;
  MatchState& st_;
  std::vector<Frame>& frames_;
  std::vector<size_t>& subs_;
};

template <class Ch>
int Machine<Ch>::Span(const Node* item, int from, int64_t limit) const {
  const int64_t avail = n_ - from;
  const int end = from + static_cast<int>(limit < avail ? limit : avail);
  int p = from;
  switch (item->Type()) {
    case NodeType::kChar: {
      const Ch c = static_cast<const NFACharNodeT<Ch>*>(item)->character;
      while (p < end && text_[p] == c) ++p;
      break;
    }
    case NodeType::kCIChar: {
      const Ch c = static_cast<const NFACICharNodeT<Ch>*>(item)->character;
      while (p < end && Lower(text_[p]) == c) ++p;
      break;
    }
    case NodeType::kClass: {
      const auto* cls = static_cast<const NFAClassNodeT<Ch>*>(item);
      if (cls->match_all) return end - from;
      while (p < end && cls->Test(Code(text_[p]))) ++p;
      break;
    }
    default: {  // kCIClass
      const auto* cls = static_cast<const NFAClassNodeT<Ch>*>(item);
      while (p < end && cls->Test(Code(Lower(text_[p])))) ++p;
      break;
    }
  }
  return p - from;
}

template <class Ch>
int Machine<Ch>::Minimum(const Quantifier* q, int p) const {
  if (q->min == 0) return p;
  if (IsUnitItem(q->inner)) {
    const int k = Span(q->inner, p, q->min);
    return k == q->min ? p + k : -1;
  }
  int c = p;
  for (int32_t i = 0; i < q->min; ++i) {
    const int r = MatchItem(q->inner, text_, n_, st_, c);
    if (r <= c) return r;  // a failed occurrence fails; an empty one ends the minimum
    c = r;
  }
  return c;
}

template <class Ch>
int Machine<Ch>::Settle(const Quantifier* q, int low, int cur, int w) const {
  if (q->follow.nullable) return cur;
  for (;;) {
    if (cur < n_ && q->follow.Admits(Code(text_[cur]))) return cur;
    if (w == 0 || cur - w < low) return -1;
    cur -= w;
  }
}

template <class Ch>
int Machine<Ch>::LazyFrom(const Quantifier* q, int c, int32_t i) {
  while (i < q->max) {
    if (FollowAdmits(q, c)) {
      Push(kLazyRun, c, i, 0, q);
      return c;
    }
    const int d = MatchItem(q->inner, text_, n_, st_, c);
    ++i;
    if (d <= c) return -1;
    c = d;
  }
  return c;
}

template <class Ch>
int Machine<Ch>::Start(const NFAStartNodeT<Ch>* start, int p) {
  st_.group_start[0] = p;
  if (st_.whole_text) {
    if (p != 0) {
      st_.group_start[0] = -1;
      return -1;
    }
    const int r = Run(start->next, 0);
    if (r < 0) st_.group_start[0] = -1;
    return r;
  }
  const FirstSet& first = start->first;
  int r = -1;
  if (first.nullable || (p < n_ && first.Admits(Code(text_[p])))) r = Run(start->next, p);
  while (r == -1 && p < n_) {
    st_.Clear();
    ++p;
    if (!first.nullable) {
      // Attempts at positions whose character cannot begin a match would fail at once.
      while (p < n_ && !first.Admits(Code(text_[p]))) ++p;
      if (p >= n_) break;
    }
    st_.group_start[0] = p;
    r = Run(start->next, p);
  }
  if (r < 0) st_.group_start[0] = -1;
  return r;
}

template <class Ch>
int Machine<Ch>::Run(const Node* node, int p) {
  const size_t base = frames_.size();
  const size_t sub_base = subs_.size();
  int32_t* const gs = st_.group_start;
  int32_t* const ge = st_.group_end;
  int32_t* const lc = st_.loop_count;
  int32_t* const lp = st_.loop_pos;
  int32_t* const lm = st_.loop_mark;
  for (;;) {
    // Forward: `continue` moves on to the next node, `break` fails.
    switch (node->Type()) {
      case NodeType::kChar:
        if (p < n_ && text_[p] == static_cast<const NFACharNodeT<Ch>*>(node)->character) {
          ++p;
          node = node->next;
          continue;
        }
        break;
      case NodeType::kStart:
      case NodeType::kSubStart:
        node = node->next;
        continue;
      case NodeType::kEnd:
        ge[0] = p;
        if (!st_.whole_text || p == n_) {
          frames_.resize(base);
          subs_.resize(sub_base);
          return p;
        }
        ge[0] = -1;
        break;
      case NodeType::kAccept: {
        if (node->next != nullptr) {
          node = node->next;
          continue;
        }
        if (subs_.size() == sub_base) {  // the end of the automaton this run was started on
          frames_.resize(base);
          return p;
        }
        // A sub-automaton succeeded: its choice points are dropped, its state changes stay.
        const size_t k = subs_.back();
        subs_.pop_back();
        const Frame f = frames_[k];
        frames_.resize(k);
        const Node* owner = static_cast<const Node*>(f.node);
        if (owner->Type() == NodeType::kLookAhead) {
          const auto* la = static_cast<const NFALookAheadNodeT<Ch>*>(owner);
          if (!la->positive) break;
          node = la->next;
          p = f.a;
          continue;
        }
        const auto* q = static_cast<const Quantifier*>(owner);
        int c = f.a;
        int32_t i = f.b;
        if (i < q->min) {
          if (p <= c) {
            i = q->min;
          } else {
            c = p;
            ++i;
          }
        } else {
          ++i;
          if (p <= c) {
            node = q->next;
            p = c;
            continue;
          }
          c = p;
        }
        if (i < q->min || i < q->max) {
          PushSub(c, i, q);
          node = q->inner;
          p = c;
          continue;
        }
        node = q->next;
        p = c;
        continue;
      }
      case NodeType::kOr:
        Push(kAlt, p, 0, 0, node);
        node = static_cast<const NFAOrNodeT<Ch>*>(node)->one;
        continue;
      case NodeType::kLookAhead:
        PushSub(p, 0, node);
        node = static_cast<const NFALookAheadNodeT<Ch>*>(node)->inner;
        continue;
      case NodeType::kGreedyQuantifier: {
        const auto* q = static_cast<const Quantifier*>(node);
        const int c = Minimum(q, p);
        if (c < 0) break;
        int64_t room = static_cast<int64_t>(q->max) - q->min;
        int cur = c;
        int w = 0;
        if (room > 0) {
          if (IsUnitItem(q->inner)) {
            cur = c + Span(q->inner, c, room);
            w = 1;
          } else {
            // Quotes, references and anchors: each occurrence has the same width.
            int r = MatchItem(q->inner, text_, n_, st_, c);
            if (r > c) {
              w = r - c;
              cur = r;
              while (--room > 0) {
                r = MatchItem(q->inner, text_, n_, st_, cur);
                if (r <= cur) break;
                cur = r;
              }
            }
          }
        }
        cur = Settle(q, c, cur, w);
        if (cur < 0) break;
        if (cur > c) Push(kGreedyRun, c, cur, w, q);
        node = q->next;
        p = cur;
        continue;
      }
      case NodeType::kLazyQuantifier: {
        const auto* q = static_cast<const Quantifier*>(node);
        const int c = Minimum(q, p);
        if (c < 0) break;
        const int r = LazyFrom(q, c, q->min);
        if (r < 0) break;
        node = q->next;
        p = r;
        continue;
      }
      case NodeType::kPossessiveQuantifier: {
        const auto* q = static_cast<const Quantifier*>(node);
        if (!q->item) {  // an atomic group: its content runs as a sub-automaton
          if (q->min > 0 || q->max > 0) {
            PushSub(p, 0, q);
            node = q->inner;
            continue;
          }
          node = q->next;
          continue;
        }
        int c = Minimum(q, p);
        if (c < 0) break;
        int64_t room = static_cast<int64_t>(q->max) - q->min;
        if (room > 0) {
          if (IsUnitItem(q->inner)) {
            c += Span(q->inner, c, room);
          } else {
            for (; room > 0; --room) {
              const int d = MatchItem(q->inner, text_, n_, st_, c);
              if (d <= c) break;
              c = d;
            }
          }
        }
        node = q->next;
        p = c;
        continue;
      }
      case NodeType::kGroupHead: {
        const int32_t gi = static_cast<const NFAIndexNodeT<Ch>*>(node)->gi;
        Push(kUndoGroupStart, gi, gs[gi], 0, nullptr);
        gs[gi] = p;
        node = node->next;
        continue;
      }
      case NodeType::kGroupTail: {
        const int32_t gi = static_cast<const NFAIndexNodeT<Ch>*>(node)->gi;
        Push(kUndoGroupEnd, gi, ge[gi], 0, nullptr);
        ge[gi] = p;
        node = node->next;
        continue;
      }
      case NodeType::kGroupLoopPrologue: {
        const int32_t gi = static_cast<const NFAIndexNodeT<Ch>*>(node)->gi;
        Push(kUndoLoopCount, gi, lc[gi], 0, nullptr);
        Push(kUndoLoopMark, gi, lm[gi], 0, nullptr);
        Push(kUndoLoopPos, gi, lp[gi], 0, nullptr);
        lc[gi] = 0;
        lm[gi] = 0;
        lp[gi] = -1;
        node = node->next;
        continue;
      }
      case NodeType::kGroupLoop: {
        const auto* loop = static_cast<const NFAGroupLoopNodeT<Ch>*>(node);
        const int32_t i = loop->gi;
        const bool stalled = lp[i] >= p;  // the last iteration consumed nothing
        if (!stalled && lc[i] < loop->min) {
          Push(kUndoLoopPos, i, lp[i], 0, nullptr);
          Push(kUndoLoopCount, i, lc[i], 0, nullptr);
          ++lc[i];
          lp[i] = p;
          node = loop->inner;
          continue;
        }
        if (stalled || lc[i] >= loop->max) {
          node = loop->next;
          continue;
        }
        if (loop->kind == 0) {
          Push(kLoopGreedy, p, 0, 0, loop);
          Push(kUndoLoopPos, i, lp[i], 0, nullptr);
          Push(kUndoLoopCount, i, lc[i], 0, nullptr);
          lp[i] = p;
          ++lc[i];
          node = loop->inner;
          continue;
        }
        if (loop->kind == 1) {
          Push(kLoopLazy, p, 0, 0, loop);
          node = loop->next;
          continue;
        }
        if (loop->kind == 2) {
          Push(kLoopPossessive, p, 0, 0, loop);
          Push(kUndoLoopPos, i, lp[i], 0, nullptr);
          Push(kUndoLoopCount, i, lc[i], 0, nullptr);
          lm[i] = lc[i];  // deliberately not undone: the deepest iteration's mark is read below
          lp[i] = p;
          ++lc[i];
          node = loop->inner;
          continue;
        }
        break;
      }
      default: {  // the remaining single items
        const int r = MatchItem(node, text_, n_, st_, p);
        if (r < 0) break;
        p = r;
        node = node->next;
        continue;
      }
    }

    // Backtrack to the latest choice point, undoing state changes on the way.
    for (;;) {
      if (frames_.size() == base) return -1;
      const Frame f = frames_.back();
      frames_.pop_back();
      switch (f.type) {
        case kUndoGroupStart:
          gs[f.a] = f.b;
          continue;
        case kUndoGroupEnd:
          ge[f.a] = f.b;
          continue;
        case kUndoLoopCount:
          lc[f.a] = f.b;
          continue;
        case kUndoLoopPos:
          lp[f.a] = f.b;
          continue;
        case kUndoLoopMark:
          lm[f.a] = f.b;
          continue;
        case kAlt:
          node = static_cast<const NFAOrNodeT<Ch>*>(f.node)->two;
          p = f.a;
          goto resume;
        case kGreedyRun: {
          const auto* q = static_cast<const Quantifier*>(f.node);
          int cur = f.b - f.c;
          if (cur < f.a) continue;
          cur = Settle(q, f.a, cur, f.c);
          if (cur < 0) continue;
          if (cur > f.a) Push(kGreedyRun, f.a, cur, f.c, q);
          node = q->next;
          p = cur;
          goto resume;
        }
        case kLazyRun: {
          const auto* q = static_cast<const Quantifier*>(f.node);
          const int d = MatchItem(q->inner, text_, n_, st_, f.a);
          if (d <= f.a) continue;
          const int r = LazyFrom(q, d, f.b + 1);
          if (r < 0) continue;
          node = q->next;
          p = r;
          goto resume;
        }
        case kLoopGreedy:
          node = static_cast<const NFAGroupLoopNodeT<Ch>*>(f.node)->next;
          p = f.a;
          goto resume;
        case kLoopLazy: {
          const auto* loop = static_cast<const NFAGroupLoopNodeT<Ch>*>(f.node);
          const int32_t i = loop->gi;
          Push(kUndoLoopPos, i, lp[i], 0, nullptr);
          Push(kUndoLoopCount, i, lc[i], 0, nullptr);
          lp[i] = f.a;
          ++lc[i];
          node = loop->inner;
          p = f.a;
          goto resume;
        }
        case kLoopPossessive: {
          const auto* loop = static_cast<const NFAGroupLoopNodeT<Ch>*>(f.node);
          if (lc[loop->gi] != lm[loop->gi]) continue;
          node = loop->next;
          p = f.a;
          goto resume;
        }
        default: {  // kSub: the sub-automaton failed
          subs_.pop_back();
          const Node* owner = static_cast<const Node*>(f.node);
          if (owner->Type() == NodeType::kLookAhead) {
            const auto* la = static_cast<const NFALookAheadNodeT<Ch>*>(owner);
            if (la->positive) continue;
            node = la->next;
            p = f.a;
            goto resume;
          }
          const auto* q = static_cast<const Quantifier*>(owner);
          if (f.b < q->min) continue;
          node = q->next;
          p = f.a;
          goto resume;
        }
      }
    }
  resume:;
  }
}

}  // namespace

template <class Ch>
int RunAutomaton(const NFANodeT<Ch>* node, const Ch* text, int n, MatchState& state, int pos) {
  Scratch& scratch = ThreadScratch();
  Machine<Ch> machine(text, n, state, scratch);
  int r;
  if (node->Type() == NodeType::kStart) {
    if (pos < 0 || pos > n) {
      state.group_start[0] = -1;
      return -1;
    }
    r = machine.Start(static_cast<const NFAStartNodeT<Ch>*>(node), pos);
  } else {
    if (pos < 0 || pos > n) return -1;
    r = machine.Run(node, pos);
  }
  scratch.Trim();
  return r;
}

template int RunAutomaton(const NFANodeT<char>*, const char*, int, MatchState&, int);
template int RunAutomaton(const NFANodeT<wchar_t>*, const wchar_t*, int, MatchState&, int);

}  // namespace rx
