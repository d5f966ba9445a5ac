// Automaton nodes: the graph a compiled pattern is made of, and the match state they act on.
//
// Every node has a successor `next`; nodes with sub-automata (`inner`, `one`, `two`) reach an
// NFAAcceptNode whose `next` is null at the end of them. Nodes never own each other: the
// pattern's NodeArena creates, registers and destroys them all. The rules by which each node
// matches are carried out by the backtracking machine in backtrack.h, which dispatches on
// Type(); MatchItem below holds the rules of the single-item nodes that a quantifier repeats.
//
// The narrow family (NFANode, NFACharNode, ...) works on std::string, the wide family
// (NFAUNode, NFACharUNode, ...) on std::wstring; both are the templates below.
#ifndef HBAFW_REGEX_NODES_H_
#define HBAFW_REGEX_NODES_H_

#include <cstddef>
#include <cstdint>
#include <new>
#include <set>
#include <string>
#include <type_traits>
#include <utility>

#include "regex/char_set.h"

namespace rx {

constexpr int32_t kUnbounded = 2147483647;

// The match state of one matcher. Each array is addressed by group index from -nc_count
// (the non-capturing groups) through group_count - 1; index 0 is the whole match.
struct MatchState {
  int32_t* group_start = nullptr;
  int32_t* group_end = nullptr;
  int32_t* loop_count = nullptr;
  int32_t* loop_pos = nullptr;
  int32_t* loop_mark = nullptr;
  int32_t search_start = 0;
  bool whole_text = false;
  int32_t group_count = 0;
  int32_t nc_count = 0;

  // Group starts, ends and loop counts to -1 and search_start to 0. Inline: it runs before
  // every match and between the attempts of a search.
  void Clear() {
    search_start = 0;
    for (int32_t i = -nc_count; i < group_count; ++i) {
      group_start[i] = -1;
      group_end[i] = -1;
      loop_count[i] = -1;
    }
  }
};

// What the first character of any successful match from a node can be. When `nullable` is
// set the node may succeed without consuming a character, and the set tells nothing.
struct FirstSet {
  uint64_t bits[4] = {0, 0, 0, 0};
  bool high = false;  // codes above 255 may start a match
  bool nullable = true;

  bool Admits(uint32_t code) const {
    return code < 256 ? ((bits[code >> 6] >> (code & 63)) & 1) != 0 : high;
  }
};

enum class NodeType : uint8_t {
  kChar,
  kCIChar,
  kClass,
  kCIClass,
  kQuote,
  kCIQuote,
  kReference,
  kStartOfInput,
  kEndOfInput,
  kStartOfLine,
  kEndOfLine,
  kWordBoundary,
  kEndOfMatch,
  kLookBehind,
  // Node types above are single items: deterministic, no state changes.
  kStart,
  kEnd,
  kGreedyQuantifier,
  kLazyQuantifier,
  kPossessiveQuantifier,
  kAccept,
  kSubStart,
  kOr,
  kLookAhead,
  kGroupHead,
  kGroupTail,
  kGroupLoopPrologue,
  kGroupLoop,
};

template <class Ch>
class NodeArena;

template <class Ch>
class NFANodeT {
 public:
  using String = std::basic_string<Ch>;

  NFANodeT(const NFANodeT&) = delete;
  NFANodeT& operator=(const NFANodeT&) = delete;
  virtual ~NFANodeT() = default;

  // Enters this node and everything reachable from it into `registry`, sub-automata first;
  // a node already there ends the walk.
  void CollectNodes(std::set<const NFANodeT*>& registry) const;

  // Runs the automaton from this node at `pos` against `text` and returns the position where
  // the match ended, or -1. An NFAStartNode searches forward from `pos` (see backtrack.h).
  int Match(const String& text, MatchState& state, int pos) const;

  // Diagnostic print to standard output (narrow family only).
  template <class C = Ch, std::enable_if_t<std::is_same<C, char>::value, int> = 0>
  void Dump(int indent) const;

  bool IsGroupHead() const { return sizeof(Ch) == 1 && type_ == NodeType::kGroupHead; }
  bool IsStartOfInput() const { return sizeof(Ch) == 1 && type_ == NodeType::kStartOfInput; }

  NodeType Type() const { return type_; }
  // The class name of the node, such as "NFACharNode" (wide: "NFACharUNode").
  const char* Name() const;

  NFANodeT* next = nullptr;

 protected:
  explicit NFANodeT(NodeType type) : type_(type) {}

 private:
  friend class NodeArena<Ch>;
  NodeType type_;
  NFANodeT* registry_link_ = nullptr;  // previous node created by the same arena
};

template <class Ch>
class NFACharNodeT : public NFANodeT<Ch> {
 public:
  explicit NFACharNodeT(Ch c) : NFANodeT<Ch>(NodeType::kChar), character(c) {}
  Ch character;
};

template <class Ch>
class NFACICharNodeT : public NFANodeT<Ch> {
 public:
  explicit NFACICharNodeT(Ch lower) : NFANodeT<Ch>(NodeType::kCIChar), character(lower) {}
  Ch character;  // lower case
};

template <class Ch, NodeType T>
class NFAPlainNodeT : public NFANodeT<Ch> {
 public:
  NFAPlainNodeT() : NFANodeT<Ch>(T) {}
};

// The first node of every automaton; `first` lets a search skip positions where no match
// can begin (computed after compiling).
template <class Ch>
class NFAStartNodeT : public NFANodeT<Ch> {
 public:
  NFAStartNodeT() : NFANodeT<Ch>(NodeType::kStart) {}
  FirstSet first;
};
template <class Ch>
using NFAEndNodeT = NFAPlainNodeT<Ch, NodeType::kEnd>;
template <class Ch>
using NFAAcceptNodeT = NFAPlainNodeT<Ch, NodeType::kAccept>;
template <class Ch>
using NFASubStartNodeT = NFAPlainNodeT<Ch, NodeType::kSubStart>;
template <class Ch>
using NFAStartOfLineNodeT = NFAPlainNodeT<Ch, NodeType::kStartOfLine>;
template <class Ch>
using NFAEndOfLineNodeT = NFAPlainNodeT<Ch, NodeType::kEndOfLine>;
template <class Ch>
using NFAStartOfInputNodeT = NFAPlainNodeT<Ch, NodeType::kStartOfInput>;
template <class Ch>
using NFAEndOfMatchNodeT = NFAPlainNodeT<Ch, NodeType::kEndOfMatch>;

// Repetition of a single item (or, for an atomic group, of a sub-automaton).
template <class Ch>
class NFAQuantifierNodeT : public NFANodeT<Ch> {
 public:
  NFAQuantifierNodeT(NodeType type, int32_t min_count, int32_t max_count, NFANodeT<Ch>* inner_node)
      : NFANodeT<Ch>(type), min(min_count < 0 ? 0 : min_count), max(max_count), inner(inner_node) {}
  int32_t min;
  int32_t max;  // kUnbounded means no limit
  NFANodeT<Ch>* inner;
  // Computed after compiling: whether `inner` is a single item, and the first characters the
  // continuation (`next`) can match, used to skip continuation attempts that must fail.
  bool item = true;
  FirstSet follow;
  int32_t follow_char = -1;  // the only code `follow` admits when there is one, else -1
};

template <class Ch>
class NFAClassNodeT : public NFANodeT<Ch> {
 public:
  NFAClassNodeT(NodeType type, bool inv, CharSet<Ch> set)
      : NFANodeT<Ch>(type), inverted(inv), members(std::move(set)) {
    match_all = inverted && members.Empty();
    const uint64_t* bits = members.LowBits();
    const uint64_t flip = inverted ? ~uint64_t{0} : 0;
    const uint64_t all = match_all ? ~uint64_t{0} : 0;
    for (int i = 0; i < 4; ++i) accept[i] = (bits[i] ^ flip) | all;
  }
  // Codes below 256 (every narrow character) are one look-up in `accept`.
  bool Test(uint32_t code) const {
    if (code < 256) return (accept[code >> 6] >> (code & 63)) & 1;
    return match_all || members.Contains(code) != inverted;
  }
  bool inverted;
  CharSet<Ch> members;
  bool match_all;      // an inverted empty set: every character
  uint64_t accept[4];  // the outcome of Test for codes 0..255, inversion applied
};

template <class Ch>
class NFAOrNodeT : public NFANodeT<Ch> {
 public:
  NFAOrNodeT(NFANodeT<Ch>* first, NFANodeT<Ch>* second)
      : NFANodeT<Ch>(NodeType::kOr), one(first), two(second) {}
  NFANodeT<Ch>* one;
  NFANodeT<Ch>* two;
};

template <class Ch>
class NFAQuoteNodeT : public NFANodeT<Ch> {
 public:
  NFAQuoteNodeT(NodeType type, std::basic_string<Ch> text)
      : NFANodeT<Ch>(type), quote(std::move(text)) {}
  std::basic_string<Ch> quote;
};

template <class Ch>
class NFALookAheadNodeT : public NFANodeT<Ch> {
 public:
  NFALookAheadNodeT(bool pos, NFANodeT<Ch>* inner_node)
      : NFANodeT<Ch>(NodeType::kLookAhead), positive(pos), inner(inner_node) {}
  bool positive;
  NFANodeT<Ch>* inner;
};

template <class Ch>
class NFALookBehindNodeT : public NFANodeT<Ch> {
 public:
  NFALookBehindNodeT(bool pos, std::basic_string<Ch> text)
      : NFANodeT<Ch>(NodeType::kLookBehind), positive(pos), quote(std::move(text)) {}
  bool positive;
  std::basic_string<Ch> quote;
};

template <class Ch>
class NFAEndOfInputNodeT : public NFANodeT<Ch> {
 public:
  explicit NFAEndOfInputNodeT(bool t) : NFANodeT<Ch>(NodeType::kEndOfInput), term(t) {}
  bool term;  // also before a final line terminator
};

template <class Ch>
class NFAWordBoundaryNodeT : public NFANodeT<Ch> {
 public:
  explicit NFAWordBoundaryNodeT(bool pos) : NFANodeT<Ch>(NodeType::kWordBoundary), positive(pos) {}
  bool positive;
};

// Reference, group head, group tail and loop prologue: a node with a group index.
template <class Ch>
class NFAIndexNodeT : public NFANodeT<Ch> {
 public:
  NFAIndexNodeT(NodeType type, int32_t index) : NFANodeT<Ch>(type), gi(index) {}
  int32_t gi;
};

template <class Ch>
class NFAGroupLoopNodeT : public NFANodeT<Ch> {
 public:
  NFAGroupLoopNodeT(int32_t index, int32_t min_count, int32_t max_count, int32_t loop_kind,
                    NFANodeT<Ch>* inner_node)
      : NFANodeT<Ch>(NodeType::kGroupLoop),
        gi(index),
        min(min_count < 0 ? 0 : min_count),
        max(max_count),
        kind(loop_kind),
        inner(inner_node) {}
  int32_t gi;
  int32_t min;
  int32_t max;
  int32_t kind;  // 0 greedy, 1 lazy, 2 possessive
  NFANodeT<Ch>* inner;
};

// Creates the nodes of one pattern in a few large blocks (the first one inside the arena
// itself), keeps the registry of every node created, and destroys each exactly once.
template <class Ch>
class NodeArena {
 public:
  NodeArena() = default;
  NodeArena(const NodeArena&) = delete;
  NodeArena& operator=(const NodeArena&) = delete;
  ~NodeArena();

  template <class N, class... Args>
  N* New(Args&&... args) {
    void* mem = Allocate(sizeof(N));
    N* node = new (mem) N(std::forward<Args>(args)...);
    node->registry_link_ = last_;
    last_ = node;
    ++count_;
    return node;
  }
  size_t Count() const { return count_; }
  // Calls f(node) for every node created, newest first.
  template <class F>
  void ForEach(F f) const {
    for (NFANodeT<Ch>* node = last_; node != nullptr; node = node->registry_link_) f(node);
  }

 private:
  struct Block {
    Block* prev;
    size_t size;
  };
  void* Allocate(size_t size) {
    constexpr size_t kAlign = alignof(std::max_align_t);
    size = (size + kAlign - 1) & ~(kAlign - 1);
    if (capacity_ - used_ < size) NewBlock(size);
    void* mem = current_ + used_;
    used_ += size;
    return mem;
  }
  // Starts a block with room for at least `size` bytes.
  void NewBlock(size_t size);

  alignas(std::max_align_t) unsigned char inline_[512];
  size_t used_ = 0;  // bytes used in the current block
  size_t capacity_ = sizeof(inline_);
  unsigned char* current_ = inline_;
  Block* blocks_ = nullptr;
  NFANodeT<Ch>* last_ = nullptr;
  size_t count_ = 0;
};

// Rules of the single-item node types (those before kStart): the end position of one
// occurrence at p, or -1. `text` has n characters.
template <class Ch>
int MatchItem(const NFANodeT<Ch>* node, const Ch* text, int n, const MatchState& st, int p);

bool IsLineTerminator(uint32_t code);

// Narrow node families, as the rest of the program names them. Kinds that differ only in their
// rule share one class and are told apart by Type().
using NFANode = NFANodeT<char>;
using NFACharNode = NFACharNodeT<char>;
using NFACICharNode = NFACICharNodeT<char>;
using NFAStartNode = NFAStartNodeT<char>;
using NFAEndNode = NFAEndNodeT<char>;
using NFAQuantifierNode = NFAQuantifierNodeT<char>;
using NFAAcceptNode = NFAAcceptNodeT<char>;
using NFAClassNode = NFAClassNodeT<char>;
using NFASubStartNode = NFASubStartNodeT<char>;
using NFAOrNode = NFAOrNodeT<char>;
using NFAQuoteNode = NFAQuoteNodeT<char>;
using NFALookAheadNode = NFALookAheadNodeT<char>;
using NFALookBehindNode = NFALookBehindNodeT<char>;
using NFAStartOfLineNode = NFAStartOfLineNodeT<char>;
using NFAEndOfLineNode = NFAEndOfLineNodeT<char>;
using NFAStartOfInputNode = NFAStartOfInputNodeT<char>;
using NFAEndOfInputNode = NFAEndOfInputNodeT<char>;
using NFAWordBoundaryNode = NFAWordBoundaryNodeT<char>;
using NFAEndOfMatchNode = NFAEndOfMatchNodeT<char>;
using NFAGroupLoopNode = NFAGroupLoopNodeT<char>;
using NFACIClassNode = NFAClassNodeT<char>;
using NFACIQuoteNode = NFAQuoteNodeT<char>;
using NFAGreedyQuantifierNode = NFAQuantifierNodeT<char>;
using NFALazyQuantifierNode = NFAQuantifierNodeT<char>;
using NFAPossessiveQuantifierNode = NFAQuantifierNodeT<char>;
using NFAReferenceNode = NFAIndexNodeT<char>;
using NFAGroupHeadNode = NFAIndexNodeT<char>;
using NFAGroupTailNode = NFAIndexNodeT<char>;
using NFAGroupLoopPrologueNode = NFAIndexNodeT<char>;

// Wide node families.
using NFAUNode = NFANodeT<wchar_t>;
using NFACharUNode = NFACharNodeT<wchar_t>;
using NFACICharUNode = NFACICharNodeT<wchar_t>;
using NFAStartUNode = NFAStartNodeT<wchar_t>;
using NFAEndUNode = NFAEndNodeT<wchar_t>;
using NFAQuantifierUNode = NFAQuantifierNodeT<wchar_t>;
using NFAAcceptUNode = NFAAcceptNodeT<wchar_t>;
using NFAClassUNode = NFAClassNodeT<wchar_t>;
using NFASubStartUNode = NFASubStartNodeT<wchar_t>;
using NFAOrUNode = NFAOrNodeT<wchar_t>;
using NFAQuoteUNode = NFAQuoteNodeT<wchar_t>;
using NFALookAheadUNode = NFALookAheadNodeT<wchar_t>;
using NFALookBehindUNode = NFALookBehindNodeT<wchar_t>;
using NFAStartOfLineUNode = NFAStartOfLineNodeT<wchar_t>;
using NFAEndOfLineUNode = NFAEndOfLineNodeT<wchar_t>;
using NFAStartOfInputUNode = NFAStartOfInputNodeT<wchar_t>;
using NFAEndOfInputUNode = NFAEndOfInputNodeT<wchar_t>;
using NFAWordBoundaryUNode = NFAWordBoundaryNodeT<wchar_t>;
using NFAEndOfMatchUNode = NFAEndOfMatchNodeT<wchar_t>;
using NFAGroupLoopUNode = NFAGroupLoopNodeT<wchar_t>;
using NFACIClassUNode = NFAClassNodeT<wchar_t>;
using NFACIQuoteUNode = NFAQuoteNodeT<wchar_t>;
using NFAGreedyQuantifierUNode = NFAQuantifierNodeT<wchar_t>;
using NFALazyQuantifierUNode = NFAQuantifierNodeT<wchar_t>;
using NFAPossessiveQuantifierUNode = NFAQuantifierNodeT<wchar_t>;
using NFAReferenceUNode = NFAIndexNodeT<wchar_t>;
using NFAGroupHeadUNode = NFAIndexNodeT<wchar_t>;
using NFAGroupTailUNode = NFAIndexNodeT<wchar_t>;
using NFAGroupLoopPrologueUNode = NFAIndexNodeT<wchar_t>;

// Prints one node and what follows it (narrow family; see NFANodeT::Dump).
void DumpNode(const NFANodeT<char>* node, int indent);

template <class Ch>
template <class C, std::enable_if_t<std::is_same<C, char>::value, int>>
void NFANodeT<Ch>::Dump(int indent) const {
  DumpNode(this, indent);
}

}  // namespace rx

#endif  // HBAFW_REGEX_NODES_H_
