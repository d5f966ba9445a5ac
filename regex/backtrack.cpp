// The backtracking machine (see backtrack.h for the contract).
#include "regex/backtrack.h"

#include <cstring>
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

// The frame stack: a plain growable array whose push is a compare and a store, since the
// machine pushes and pops a frame for nearly every choice it makes. Only shrinking resizes.
class FrameStack {
 public:
  FrameStack() = default;
  FrameStack(const FrameStack&) = delete;
  FrameStack& operator=(const FrameStack&) = delete;
  ~FrameStack() { delete[] begin_; }

  size_t size() const { return static_cast<size_t>(top_ - begin_); }
  size_t capacity() const { return static_cast<size_t>(end_ - begin_); }
  Frame& back() { return top_[-1]; }
  void pop_back() { --top_; }
  void resize(size_t k) { top_ = begin_ + k; }  // k <= size()
  Frame& operator[](size_t i) { return begin_[i]; }
  void push_back(const Frame& f) {
    if (top_ == end_) Grow();
    *top_++ = f;
  }
  void Release() {
    delete[] begin_;
    begin_ = top_ = end_ = nullptr;
  }

 private:
  __attribute__((noinline)) void Grow() {
    const size_t n = size();
    const size_t cap = n == 0 ? 64 : 2 * n;
    Frame* grown = new Frame[cap];
    for (size_t i = 0; i < n; ++i) grown[i] = begin_[i];
    delete[] begin_;
    begin_ = grown;
    top_ = grown + n;
    end_ = grown + cap;
  }

  Frame* begin_ = nullptr;
  Frame* top_ = nullptr;
  Frame* end_ = nullptr;
};

// The stacks are kept per thread and reused from one match to the next, so a match costs no
// allocation once they have grown; a very deep match gives its memory back afterwards.
struct Scratch {
  FrameStack frames;
  std::vector<size_t> subs;  // indices in `frames` of the running kSub markers

  void Trim() {
    constexpr size_t kKeep = size_t{1} << 16;
    if (frames.capacity() > kKeep) frames.Release();
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
  enum class Step { kNext, kFail, kDone };

  // Carries out `node` at p: on kNext, node and p are where to go on.
  Step Forward(const Node*& node, int& p, size_t sub_base);
  bool SubSucceeded(const Node*& node, int& p);
  bool Greedy(const Quantifier* q, const Node*& node, int& p);
  bool Lazy(const Quantifier* q, const Node*& node, int& p);
  bool Possessive(const Quantifier* q, const Node*& node, int& p);
  bool GroupLoop(const NFAGroupLoopNodeT<Ch>* loop, const Node*& node, int& p);
  // Pops frames down to the latest choice point that offers another way and takes it; false
  // when none is left above `base`.
  bool Backtrack(size_t base, const Node*& node, int& p);
  void Undo(const Frame& f);
  bool Resume(const Frame& f, const Node*& node, int& p);
  // Records the old value of array[i] for undoing, then sets it.
  void Set(FrameType undo, int32_t* array, int32_t i, int32_t value) {
    Push(undo, i, array[i], 0, nullptr);
    array[i] = value;
  }
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
  FrameStack& frames_;
  std::vector<size_t>& subs_;
};

template <class Ch>
inline __attribute__((always_inline)) int Machine<Ch>::Span(const Node* item, int from,
                                                            int64_t limit) const {
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
inline __attribute__((always_inline)) int Machine<Ch>::Minimum(const Quantifier* q, int p) const {
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
  if (w == 1) {
    // The common case (`.*x`, `\w+,`): a backward scan, positions past the text excluded.
    int c = cur < n_ ? cur : n_ - 1;
    if (c < low) return -1;
    if (q->follow_char >= 0) {
      if constexpr (sizeof(Ch) == 1) {
        const void* hit = memrchr(text_ + low, q->follow_char, static_cast<size_t>(c - low + 1));
        return hit == nullptr ? -1 : static_cast<int>(static_cast<const Ch*>(hit) - text_);
      } else {
        const Ch fc = static_cast<Ch>(q->follow_char);
        for (; c >= low; --c) {
          if (text_[c] == fc) return c;
        }
        return -1;
      }
    }
    for (; c >= low; --c) {
      if (q->follow.Admits(Code(text_[c]))) return c;
    }
    return -1;
  }
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
  for (;;) {
    const Step step = Forward(node, p, sub_base);
    if (step == Step::kNext) continue;
    if (step == Step::kDone) {
      frames_.resize(base);
      subs_.resize(sub_base);
      return p;
    }
    if (!Backtrack(base, node, p)) return -1;
  }
}

// Inlined into Run: it is the machine's inner loop.
template <class Ch>
inline __attribute__((always_inline)) typename Machine<Ch>::Step Machine<Ch>::Forward(
    const Node*& node, int& p, size_t sub_base) {
  switch (node->Type()) {
    case NodeType::kChar:
      if (p < n_ && text_[p] == static_cast<const NFACharNodeT<Ch>*>(node)->character) {
        ++p;
        node = node->next;
        return Step::kNext;
      }
      return Step::kFail;
    case NodeType::kStart:
    case NodeType::kSubStart:
      node = node->next;
      return Step::kNext;
    case NodeType::kEnd:
      st_.group_end[0] = p;
      if (!st_.whole_text || p == n_) return Step::kDone;
      st_.group_end[0] = -1;
      return Step::kFail;
    case NodeType::kAccept:
      if (node->next != nullptr) {
        node = node->next;
        return Step::kNext;
      }
      if (subs_.size() == sub_base) return Step::kDone;  // the end this run was started for
      return SubSucceeded(node, p) ? Step::kNext : Step::kFail;
    case NodeType::kOr:
      Push(kAlt, p, 0, 0, node);
      node = static_cast<const NFAOrNodeT<Ch>*>(node)->one;
      return Step::kNext;
    case NodeType::kLookAhead:
      PushSub(p, 0, node);
      node = static_cast<const NFALookAheadNodeT<Ch>*>(node)->inner;
      return Step::kNext;
    case NodeType::kGreedyQuantifier:
      return Greedy(static_cast<const Quantifier*>(node), node, p) ? Step::kNext : Step::kFail;
    case NodeType::kLazyQuantifier:
      return Lazy(static_cast<const Quantifier*>(node), node, p) ? Step::kNext : Step::kFail;
    case NodeType::kPossessiveQuantifier:
      return Possessive(static_cast<const Quantifier*>(node), node, p) ? Step::kNext : Step::kFail;
    case NodeType::kGroupHead:
      Set(kUndoGroupStart, st_.group_start, static_cast<const NFAIndexNodeT<Ch>*>(node)->gi, p);
      node = node->next;
      return Step::kNext;
    case NodeType::kGroupTail:
      Set(kUndoGroupEnd, st_.group_end, static_cast<const NFAIndexNodeT<Ch>*>(node)->gi, p);
      node = node->next;
      return Step::kNext;
    case NodeType::kGroupLoopPrologue: {
      const int32_t gi = static_cast<const NFAIndexNodeT<Ch>*>(node)->gi;
      Set(kUndoLoopCount, st_.loop_count, gi, 0);
      Set(kUndoLoopMark, st_.loop_mark, gi, 0);
      Set(kUndoLoopPos, st_.loop_pos, gi, -1);
      node = node->next;
      return Step::kNext;
    }
    case NodeType::kGroupLoop:
      return GroupLoop(static_cast<const NFAGroupLoopNodeT<Ch>*>(node), node, p) ? Step::kNext
                                                                                 : Step::kFail;
    default: {  // the remaining single items
      const int r = MatchItem(node, text_, n_, st_, p);
      if (r < 0) return Step::kFail;
      p = r;
      node = node->next;
      return Step::kNext;
    }
  }
}

template <class Ch>
bool Machine<Ch>::SubSucceeded(const Node*& node, int& p) {
  // The innermost running sub-automaton reached its end at p: its choice points are dropped,
  // its state changes stay.
  const size_t k = subs_.back();
  subs_.pop_back();
  const Frame f = frames_[k];
  frames_.resize(k);
  const Node* owner = static_cast<const Node*>(f.node);
  if (owner->Type() == NodeType::kLookAhead) {
    const auto* la = static_cast<const NFALookAheadNodeT<Ch>*>(owner);
    if (!la->positive) return false;
    node = la->next;
    p = f.a;
    return true;
  }
  // An atomic group: the possessive rule over its content, one occurrence at a time.
  const auto* q = static_cast<const Quantifier*>(owner);
  int c = f.a;
  int32_t i = f.b;
  if (i < q->min) {
    if (p <= c) {
      i = q->min;  // an empty occurrence ends the minimum
    } else {
      c = p;
      ++i;
    }
  } else {
    ++i;
    if (p <= c) {
      node = q->next;
      p = c;
      return true;
    }
    c = p;
  }
  if (i < q->min || i < q->max) {
    PushSub(c, i, q);
    node = q->inner;
  } else {
    node = q->next;
  }
  p = c;
  return true;
}

template <class Ch>
bool Machine<Ch>::Greedy(const Quantifier* q, const Node*& node, int& p) {
  const int c = Minimum(q, p);
  if (c < 0) return false;
  int64_t room = static_cast<int64_t>(q->max) - q->min;
  int cur = c;
  int w = 0;
  if (room > 0) {
    if (IsUnitItem(q->inner)) {
      cur = c + Span(q->inner, c, room);
      w = 1;
    } else {
      // Quotes, references and anchors: every occurrence has the same width.
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
  // One choice point stands for every shorter run: positions c, c + w, ... below cur.
  cur = Settle(q, c, cur, w);
  if (cur < 0) return false;
  if (cur > c) Push(kGreedyRun, c, cur, w, q);
  node = q->next;
  p = cur;
  return true;
}

template <class Ch>
bool Machine<Ch>::Lazy(const Quantifier* q, const Node*& node, int& p) {
  const int c = Minimum(q, p);
  if (c < 0) return false;
  const int r = LazyFrom(q, c, q->min);
  if (r < 0) return false;
  node = q->next;
  p = r;
  return true;
}

template <class Ch>
bool Machine<Ch>::Possessive(const Quantifier* q, const Node*& node, int& p) {
  if (!q->item) {  // an atomic group: its content runs as a sub-automaton
    if (q->min > 0 || q->max > 0) {
      PushSub(p, 0, q);
      node = q->inner;
    } else {
      node = q->next;
    }
    return true;
  }
  int c = Minimum(q, p);
  if (c < 0) return false;
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
  return true;
}

template <class Ch>
bool Machine<Ch>::GroupLoop(const NFAGroupLoopNodeT<Ch>* loop, const Node*& node, int& p) {
  const int32_t i = loop->gi;
  int32_t* const lc = st_.loop_count;
  const bool stalled = st_.loop_pos[i] >= p;  // the last iteration consumed nothing
  if (!stalled && lc[i] < loop->min) {
    Set(kUndoLoopPos, st_.loop_pos, i, p);
    Set(kUndoLoopCount, lc, i, lc[i] + 1);
    node = loop->inner;
    return true;
  }
  if (stalled || lc[i] >= loop->max) {
    node = loop->next;
    return true;
  }
  switch (loop->kind) {
    case 0:  // greedy: one more iteration first, the continuation on failure
      Push(kLoopGreedy, p, 0, 0, loop);
      Set(kUndoLoopPos, st_.loop_pos, i, p);
      Set(kUndoLoopCount, lc, i, lc[i] + 1);
      node = loop->inner;
      return true;
    case 1:  // lazy: the continuation first, one more iteration on failure
      Push(kLoopLazy, p, 0, 0, loop);
      node = loop->next;
      return true;
    case 2:  // possessive: only the deepest iteration tries the continuation
      Push(kLoopPossessive, p, 0, 0, loop);
      Set(kUndoLoopPos, st_.loop_pos, i, p);
      st_.loop_mark[i] = lc[i];  // deliberately not undone: read when this iteration fails
      Set(kUndoLoopCount, lc, i, lc[i] + 1);
      node = loop->inner;
      return true;
    default:
      return false;
  }
}

template <class Ch>
bool Machine<Ch>::Backtrack(size_t base, const Node*& node, int& p) {
  while (frames_.size() > base) {
    const Frame f = frames_.back();
    frames_.pop_back();
    if (f.type <= kUndoLoopMark) {
      Undo(f);
    } else if (Resume(f, node, p)) {
      return true;
    }
  }
  return false;
}

template <class Ch>
void Machine<Ch>::Undo(const Frame& f) {
  switch (f.type) {
    case kUndoGroupStart:
      st_.group_start[f.a] = f.b;
      break;
    case kUndoGroupEnd:
      st_.group_end[f.a] = f.b;
      break;
    case kUndoLoopCount:
      st_.loop_count[f.a] = f.b;
      break;
    case kUndoLoopPos:
      st_.loop_pos[f.a] = f.b;
      break;
    default:
      st_.loop_mark[f.a] = f.b;
      break;
  }
}

template <class Ch>
bool Machine<Ch>::Resume(const Frame& f, const Node*& node, int& p) {
  switch (f.type) {
    case kAlt:
      node = static_cast<const NFAOrNodeT<Ch>*>(f.node)->two;
      p = f.a;
      return true;
    case kGreedyRun: {  // one occurrence fewer
      const auto* q = static_cast<const Quantifier*>(f.node);
      int cur = f.b - f.c;
      if (cur < f.a) return false;
      cur = Settle(q, f.a, cur, f.c);
      if (cur < 0) return false;
      if (cur > f.a) Push(kGreedyRun, f.a, cur, f.c, q);
      node = q->next;
      p = cur;
      return true;
    }
    case kLazyRun: {  // one occurrence more
      const auto* q = static_cast<const Quantifier*>(f.node);
      const int d = MatchItem(q->inner, text_, n_, st_, f.a);
      if (d <= f.a) return false;
      const int r = LazyFrom(q, d, f.b + 1);
      if (r < 0) return false;
      node = q->next;
      p = r;
      return true;
    }
    case kLoopGreedy:
      node = static_cast<const NFAGroupLoopNodeT<Ch>*>(f.node)->next;
      p = f.a;
      return true;
    case kLoopLazy: {
      const auto* loop = static_cast<const NFAGroupLoopNodeT<Ch>*>(f.node);
      Set(kUndoLoopPos, st_.loop_pos, loop->gi, f.a);
      Set(kUndoLoopCount, st_.loop_count, loop->gi, st_.loop_count[loop->gi] + 1);
      node = loop->inner;
      p = f.a;
      return true;
    }
    case kLoopPossessive: {
      const auto* loop = static_cast<const NFAGroupLoopNodeT<Ch>*>(f.node);
      if (st_.loop_count[loop->gi] != st_.loop_mark[loop->gi]) return false;
      node = loop->next;
      p = f.a;
      return true;
    }
    default: {  // kSub: the innermost sub-automaton failed
      subs_.pop_back();
      const Node* owner = static_cast<const Node*>(f.node);
      if (owner->Type() == NodeType::kLookAhead) {
        const auto* la = static_cast<const NFALookAheadNodeT<Ch>*>(owner);
        if (la->positive) return false;
        node = la->next;
      } else {
        const auto* q = static_cast<const Quantifier*>(owner);
        if (f.b < q->min) return false;
        node = q->next;
      }
      p = f.a;
      return true;
    }
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
