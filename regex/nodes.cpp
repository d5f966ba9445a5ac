// Automaton nodes: registry and arena, single-item match rules, names, CollectNodes and Dump.
#include "regex/nodes.h"

#include <cstdio>
#include <vector>

#include "regex/backtrack.h"

namespace rx {

bool IsLineTerminator(uint32_t code) { return code == '\n' || code == '\r'; }

namespace {

bool IsAsciiLetter(uint32_t c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

template <class Ch>
bool SameText(const Ch* a, const Ch* b, size_t len) {
  for (size_t i = 0; i < len; ++i) {
    if (a[i] != b[i]) return false;
  }
  return true;
}

template <class Ch>
bool SameTextIgnoringCase(const Ch* a, const Ch* b, size_t len) {
  for (size_t i = 0; i < len; ++i) {
    if (a[i] != b[i] && Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

}  // namespace

template <class Ch>
int MatchItem(const NFANodeT<Ch>* node, const Ch* text, int n, const MatchState& st, int p) {
  switch (node->Type()) {
    case NodeType::kChar:
      return (p < n && text[p] == static_cast<const NFACharNodeT<Ch>*>(node)->character) ? p + 1
                                                                                         : -1;
    case NodeType::kCIChar:
      return (p < n && Lower(text[p]) == static_cast<const NFACICharNodeT<Ch>*>(node)->character)
                 ? p + 1
                 : -1;
    case NodeType::kClass:
      return (p < n && static_cast<const NFAClassNodeT<Ch>*>(node)->Test(Code(text[p]))) ? p + 1
                                                                                         : -1;
    case NodeType::kCIClass:
      return (p < n && static_cast<const NFAClassNodeT<Ch>*>(node)->Test(Code(Lower(text[p]))))
                 ? p + 1
                 : -1;
    case NodeType::kQuote:
    case NodeType::kCIQuote: {
      const auto& q = static_cast<const NFAQuoteNodeT<Ch>*>(node)->quote;
      if (static_cast<int64_t>(p) + static_cast<int64_t>(q.size()) > n) return -1;
      const bool same = node->Type() == NodeType::kQuote
                            ? SameText(text + p, q.data(), q.size())
                            : SameTextIgnoringCase(text + p, q.data(), q.size());
      return same ? p + static_cast<int>(q.size()) : -1;
    }
    case NodeType::kReference: {
      // A group that is unset, empty or never defined matches the empty text.
      const int32_t gi = static_cast<const NFAIndexNodeT<Ch>*>(node)->gi;
      if (gi <= 0 || gi >= st.group_count) return p;
      const int32_t s = st.group_start[gi];
      const int32_t e = st.group_end[gi];
      if (s < 0 || e <= s || e > n) return p;
      const int len = e - s;
      if (static_cast<int64_t>(p) + len > n) return -1;
      return SameText(text + p, text + s, static_cast<size_t>(len)) ? p + len : -1;
    }
    case NodeType::kStartOfInput:
      return p == 0 ? p : -1;
    case NodeType::kEndOfInput: {
      if (p == n) return p;
      if (!static_cast<const NFAEndOfInputNodeT<Ch>*>(node)->term) return -1;
      if (p == n - 1 && IsLineTerminator(Code(text[p]))) return p;
      if (p == n - 2 && text[p] == '\r' && text[p + 1] == '\n') return p;
      return -1;
    }
    case NodeType::kStartOfLine:
      return (p == 0 || IsLineTerminator(Code(text[p - 1]))) ? p : -1;
    case NodeType::kEndOfLine:
      return (p >= n || IsLineTerminator(Code(text[p]))) ? p : -1;
    case NodeType::kWordBoundary: {
      if (p == n) return p;
      const bool before = p > 0 && IsAsciiLetter(Code(text[p - 1]));
      const bool after = IsAsciiLetter(Code(text[p]));
      const bool positive = static_cast<const NFAWordBoundaryNodeT<Ch>*>(node)->positive;
      return ((before != after) == positive) ? p : -1;
    }
    case NodeType::kEndOfMatch:
      return p == st.search_start ? p : -1;
    case NodeType::kLookBehind: {
      const auto* lb = static_cast<const NFALookBehindNodeT<Ch>*>(node);
      const int k = static_cast<int>(lb->quote.size());
      const bool before = p >= k && SameText(text + p - k, lb->quote.data(), lb->quote.size());
      if (lb->positive) return before ? p : -1;
      return before ? -1 : p;
    }
    default:
      return -1;
  }
}

template <class Ch>
const char* NFANodeT<Ch>::Name() const {
  static const char* const kNarrow[] = {"NFACharNode",
                                        "NFACICharNode",
                                        "NFAClassNode",
                                        "NFACIClassNode",
                                        "NFAQuoteNode",
                                        "NFACIQuoteNode",
                                        "NFAReferenceNode",
                                        "NFAStartOfInputNode",
                                        "NFAEndOfInputNode",
                                        "NFAStartOfLineNode",
                                        "NFAEndOfLineNode",
                                        "NFAWordBoundaryNode",
                                        "NFAEndOfMatchNode",
                                        "NFALookBehindNode",
                                        "NFAStartNode",
                                        "NFAEndNode",
                                        "NFAGreedyQuantifierNode",
                                        "NFALazyQuantifierNode",
                                        "NFAPossessiveQuantifierNode",
                                        "NFAAcceptNode",
                                        "NFASubStartNode",
                                        "NFAOrNode",
                                        "NFALookAheadNode",
                                        "NFAGroupHeadNode",
                                        "NFAGroupTailNode",
                                        "NFAGroupLoopPrologueNode",
                                        "NFAGroupLoopNode"};
  static const char* const kWide[] = {"NFACharUNode",
                                      "NFACICharUNode",
                                      "NFAClassUNode",
                                      "NFACIClassUNode",
                                      "NFAQuoteUNode",
                                      "NFACIQuoteUNode",
                                      "NFAReferenceUNode",
                                      "NFAStartOfInputUNode",
                                      "NFAEndOfInputUNode",
                                      "NFAStartOfLineUNode",
                                      "NFAEndOfLineUNode",
                                      "NFAWordBoundaryUNode",
                                      "NFAEndOfMatchUNode",
                                      "NFALookBehindUNode",
                                      "NFAStartUNode",
                                      "NFAEndUNode",
                                      "NFAGreedyQuantifierUNode",
                                      "NFALazyQuantifierUNode",
                                      "NFAPossessiveQuantifierUNode",
                                      "NFAAcceptUNode",
                                      "NFASubStartUNode",
                                      "NFAOrUNode",
                                      "NFALookAheadUNode",
                                      "NFAGroupHeadUNode",
                                      "NFAGroupTailUNode",
                                      "NFAGroupLoopPrologueUNode",
                                      "NFAGroupLoopUNode"};
  const size_t i = static_cast<size_t>(type_);
  return sizeof(Ch) == 1 ? kNarrow[i] : kWide[i];
}

template <class Ch>
void NFANodeT<Ch>::CollectNodes(std::set<const NFANodeT*>& registry) const {
  // A work list rather than recursion: the walk's depth does not follow the graph's size.
  std::vector<const NFANodeT*> pending{this};
  while (!pending.empty()) {
    const NFANodeT* node = pending.back();
    pending.pop_back();
    if (node == nullptr || !registry.insert(node).second) continue;
    pending.push_back(node->next);
    switch (node->type_) {
      case NodeType::kGreedyQuantifier:
      case NodeType::kLazyQuantifier:
      case NodeType::kPossessiveQuantifier:
        pending.push_back(static_cast<const NFAQuantifierNodeT<Ch>*>(node)->inner);
        break;
      case NodeType::kLookAhead:
        pending.push_back(static_cast<const NFALookAheadNodeT<Ch>*>(node)->inner);
        break;
      case NodeType::kOr:
        pending.push_back(static_cast<const NFAOrNodeT<Ch>*>(node)->two);
        pending.push_back(static_cast<const NFAOrNodeT<Ch>*>(node)->one);
        break;
      case NodeType::kGroupLoop:
        pending.push_back(static_cast<const NFAGroupLoopNodeT<Ch>*>(node)->inner);
        break;
      default:
        break;
    }
  }
}

template <class Ch>
int NFANodeT<Ch>::Match(const String& text, MatchState& state, int pos) const {
  if (text.size() >= static_cast<size_t>(kUnbounded)) return -1;
  return RunAutomaton(this, text.data(), static_cast<int>(text.size()), state, pos);
}

template <class Ch>
NodeArena<Ch>::~NodeArena() {
  for (NFANodeT<Ch>* node = last_; node != nullptr;) {
    NFANodeT<Ch>* prev = node->registry_link_;
    // Only sets and texts own memory; every other node holds scalars and node pointers, and
    // its destructor has nothing to do (the one-call forms destroy a pattern per call).
    switch (node->Type()) {
      case NodeType::kClass:
      case NodeType::kCIClass:
      case NodeType::kQuote:
      case NodeType::kCIQuote:
      case NodeType::kLookBehind:
        node->~NFANodeT<Ch>();
        break;
      default:
        break;
    }
    node = prev;
  }
  while (blocks_ != nullptr) {
    Block* prev = blocks_->prev;
    ::operator delete(blocks_);
    blocks_ = prev;
  }
}

template <class Ch>
void NodeArena<Ch>::NewBlock(size_t size) {
  constexpr size_t kAlign = alignof(std::max_align_t);
  constexpr size_t kHeader = (sizeof(Block) + kAlign - 1) & ~(kAlign - 1);
  const size_t payload = size > 2048 ? size : 2048;
  Block* block = static_cast<Block*>(::operator new(kHeader + payload));
  block->prev = blocks_;
  block->size = payload;
  blocks_ = block;
  current_ = reinterpret_cast<unsigned char*>(block) + kHeader;
  capacity_ = payload;
  used_ = 0;
}

namespace {

const char* Bool(bool b) { return b ? "true" : "false"; }

}  // namespace

void DumpNode(const NFANodeT<char>* node, int indent) {
  for (; node != nullptr; node = node->next) {
    const int w = 2 * indent;
    const char* name = node->Name();
    switch (node->Type()) {
      case NodeType::kChar:
        std::printf("%*c%s(0x%02X)\n", w, ' ', name,
                    static_cast<unsigned>(Code(static_cast<const NFACharNode*>(node)->character)));
        break;
      case NodeType::kCIChar:
        std::printf(
            "%*c%s(0x%02X)\n", w, ' ', name,
            static_cast<unsigned>(Code(static_cast<const NFACICharNode*>(node)->character)));
        break;
      case NodeType::kGreedyQuantifier:
      case NodeType::kLazyQuantifier:
      case NodeType::kPossessiveQuantifier: {
        const auto* q = static_cast<const NFAQuantifierNode*>(node);
        std::printf("%*c%s(min=%d, max=%d)\n", w, ' ', name, q->min, q->max);
        std::printf("%*cinner\n", w + 2, ' ');
        DumpNode(q->inner, indent + 2);
        break;
      }
      case NodeType::kClass: {
        const auto* c = static_cast<const NFAClassNode*>(node);
        std::printf("%*c%s(%d vals, inv=%s)\n", w, ' ', name, static_cast<int>(c->members.Size()),
                    Bool(c->inverted));
        break;
      }
      case NodeType::kCIClass:
        break;  // prints nothing of its own
      case NodeType::kOr: {
        const auto* o = static_cast<const NFAOrNode*>(node);
        std::printf("%*c%s\n", w, ' ', name);
        std::printf("%*cone\n", w + 2, ' ');
        DumpNode(o->one, indent + 2);
        std::printf("%*ctwo\n", w + 2, ' ');
        DumpNode(o->two, indent + 2);
        return;  // the alternatives lead on to what follows
      }
      case NodeType::kQuote:
      case NodeType::kCIQuote:
        std::printf("%*c%s(%s)\n", w, ' ', name,
                    static_cast<const NFAQuoteNode*>(node)->quote.c_str());
        break;
      case NodeType::kLookAhead: {
        const auto* la = static_cast<const NFALookAheadNode*>(node);
        std::printf("%*c%s(pos=%s)\n", w, ' ', name, Bool(la->positive));
        DumpNode(la->inner, indent + 1);
        break;
      }
      case NodeType::kLookBehind: {
        const auto* lb = static_cast<const NFALookBehindNode*>(node);
        std::printf("%*c%s(str=%s, pos=%s)\n", w, ' ', name, lb->quote.c_str(), Bool(lb->positive));
        break;
      }
      case NodeType::kReference:
      case NodeType::kGroupHead:
      case NodeType::kGroupTail:
      case NodeType::kGroupLoopPrologue:
        std::printf("%*c%s(gi=%d)\n", w, ' ', name,
                    static_cast<const NFAIndexNodeT<char>*>(node)->gi);
        break;
      case NodeType::kEndOfInput:
        std::printf("%*c%s(term=%s)\n", w, ' ', name,
                    Bool(static_cast<const NFAEndOfInputNode*>(node)->term));
        break;
      case NodeType::kWordBoundary:
        std::printf("%*c%s(pos=%s)\n", w, ' ', name,
                    Bool(static_cast<const NFAWordBoundaryNode*>(node)->positive));
        break;
      case NodeType::kGroupLoop: {
        const auto* l = static_cast<const NFAGroupLoopNode*>(node);
        const char* kind = l->kind == 0 ? "greedy" : (l->kind == 1 ? "reluctant" : "possessive");
        std::printf("%*c%s(gi=%d, min=%d, max=%d, type=%s)\n", w, ' ', name, l->gi, l->min, l->max,
                    kind);
        break;
      }
      default:
        std::printf("%*c%s\n", w, ' ', name);
        break;
    }
  }
}

template class NFANodeT<char>;
template class NFANodeT<wchar_t>;
template class NodeArena<char>;
template class NodeArena<wchar_t>;
template int MatchItem(const NFANodeT<char>*, const char*, int, const MatchState&, int);
template int MatchItem(const NFANodeT<wchar_t>*, const wchar_t*, int, const MatchState&, int);

}  // namespace rx
