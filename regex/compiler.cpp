// Pattern compilation (see compiler.h for the contract).
#include "regex/compiler.h"

#include <climits>
#include <cstdio>
#include <cwchar>

#include "regex/pattern.h"

namespace rx {

template <class Ch>
std::map<std::basic_string<Ch>, NamedPatternEntry<Ch>>& NamedPatternTable() {
  static std::map<std::basic_string<Ch>, NamedPatternEntry<Ch>> table;
  return table;
}

namespace {

template <class Ch>
bool IsDigit(Ch c) {
  return c >= '0' && c <= '9';
}

template <class Ch>
bool IsNameStart(Ch c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

template <class Ch>
bool IsNameChar(Ch c) {
  return IsNameStart(c) || IsDigit(c);
}

// Decimal digits text[from..to) accumulated left to right; wraps on overflow as 32-bit.
template <class Ch>
int32_t ReadNumber(const Ch* text, int from, int to) {
  uint32_t v = 0;
  for (int i = from; i < to; ++i) v = v * 10u + static_cast<uint32_t>(text[i] - '0');
  return static_cast<int32_t>(v);
}

bool IsMetaCharacter(uint32_t c) {
  return c == ')' || c == '*' || c == '+' || c == '?' || c == ']' || c == '}';
}

const char kMetaMessage[] = "Syntax Error near here. Possible unescaped meta character.\n";
const char kPlainMessage[] = "Syntax Error near here. \n";

void WriteReport(const std::string& text, int p, bool meta) {
  std::fprintf(stderr, "%s\n%*c^\n", text.c_str(), p - 1, ' ');
  std::fprintf(stderr, "%s", meta ? kMetaMessage : kPlainMessage);
}

void WriteReport(const std::wstring& text, int p, bool meta) {
  if (std::fwide(stderr, 0) > 0) {
    std::fwprintf(stderr, L"%ls\n%*lc^\n", text.c_str(), p - 1, static_cast<wint_t>(L' '));
    std::fwprintf(stderr, L"%s", meta ? kMetaMessage : kPlainMessage);
    return;
  }
  // A stream keeps the orientation of its first write: wide output to a byte-oriented (or
  // not yet used) standard error would be lost or would break the program's narrow writes,
  // so the same texts go out as bytes in the current locale.
  std::string narrow;
  std::mbstate_t state{};
  char buf[MB_LEN_MAX];
  for (wchar_t c : text) {
    const size_t k = std::wcrtomb(buf, c, &state);
    if (k == static_cast<size_t>(-1)) {
      narrow.push_back('?');
      state = std::mbstate_t{};
    } else {
      narrow.append(buf, k);
    }
  }
  WriteReport(narrow, p, meta);
}

}  // namespace

template <class Ch>
Compiler<Ch>::Compiler(BasicPattern<Ch>* pattern)
    : pattern_(pattern),
      src_(pattern->text_.data()),
      len_(static_cast<int>(pattern->text_.size())),
      flags_(pattern->flags_) {}

template <class Ch>
template <class N, class... Args>
N* Compiler<Ch>::New(Args&&... args) {
  return pattern_->node_registry_.template New<N>(std::forward<Args>(args)...);
}

template <class Ch>
bool Compiler<Ch>::IgnoringCase() const {
  return (flags_ & ::IgnoreCase) != 0;
}

template <class Ch>
bool Compiler<Ch>::Fail(int at) {
  failed_ = true;
  // Inside an inlined named pattern the position belongs to other text; the reference's
  // braces are reported instead.
  if (inline_depth_ == 0 && error_pos_ < 0) error_pos_ = at;
  return false;
}

template <class Ch>
void Compiler<Ch>::Report() const {
  const String& text = pattern_->text_;
  const int p = error_pos_;
  const bool meta = p >= 1 && p - 1 < static_cast<int>(text.size()) &&
                    IsMetaCharacter(Code(text[static_cast<size_t>(p - 1)]));
  WriteReport(text, p, meta);
}

template <class Ch>
bool Compiler<Ch>::Run() {
  if (static_cast<int64_t>(pattern_->text_.size()) >= INT_MAX) {
    error_pos_ = 1;
    Report();
    return false;
  }
  auto* start = New<NFAStartNodeT<Ch>>();
  Node* end = New<NFAEndNodeT<Ch>>();
  if (flags_ & ::LiteralText) {
    Node* quote = New<NFAQuoteNodeT<Ch>>(IgnoringCase() ? NodeType::kCIQuote : NodeType::kQuote,
                                         pattern_->text_);
    start->next = quote;
    quote->next = end;
    group_count_ = 1;
  } else {
    group_count_ = 1;  // the top-level sequence takes group 0, the whole match
    Seq top;
    if (!ParseSequence(New<NFASubStartNodeT<Ch>>(), false, Enclosing{}, false, &top)) {
      Report();
      return false;
    }
    // The top-level sequence begins with a sub-start or an alternation node, never with a
    // start-of-input anchor, so the start node always stands in front of it.
    start->next = top.first;
    top.last->next = end;
  }
  pattern_->head_ = start;
  pattern_->group_count_ = group_count_;
  pattern_->nc_count_ = -next_nc_;
  Analyse();
  return true;
}

template <class Ch>
bool Compiler<Ch>::ParseSequence(Node* first, bool in_group, Enclosing enclosing, bool alternative,
                                 Seq* out) {
  const uint32_t saved_flags = flags_;
  Seq seq{first, first};
  auto finish = [&]() {
    flags_ = saved_flags;
    *out = seq;
    return true;
  };
  for (;;) {
    if (pos_ >= len_) {
      if (in_group) return Fail(len_);
      if (alternative) Append(&seq, New<NFAAcceptNodeT<Ch>>());
      return finish();
    }
    const Ch c = src_[pos_];
    Node* item = nullptr;
    switch (c) {
      case ')':
        if (!in_group) return Fail(pos_ + 1);
        if (alternative) {  // the enclosing group consumes the ')'
          Append(&seq, New<NFAAcceptNodeT<Ch>>());
          return finish();
        }
        ++pos_;
        return finish();
      case '|':
        ++pos_;
        if (!ParseAlternation(&seq, in_group, enclosing)) return false;
        continue;
      case '(':
        ++pos_;
        if (!ParseGroup(&seq)) return false;
        continue;
      case '{':
        if (!ParseNamedReference(&seq)) return false;
        continue;
      case '*':
      case '+':
      case '?':
      case ']':
      case '}':
        return Fail(pos_ + 1);
      default:
        if (!ParseItem(&item)) return false;
        break;
    }
    if (!AppendItem(&seq, item)) return false;
  }
}

template <class Ch>
bool Compiler<Ch>::ParseItem(Node** out) {
  const Ch c = src_[pos_];
  Node*& item = *out;
  switch (c) {
    case '\\':
      ++pos_;
      if (pos_ >= len_) return Fail(pos_);
      return ParseEscapeItem(&item);
    case '.': {
      ++pos_;
      CharSet<Ch> excluded;
      if (!(flags_ & ::DotMatchesAll)) {
        excluded.Add('\n');
        if (!(flags_ & ::LineFeedOnly)) excluded.Add('\r');
      }
      item = New<NFAClassNodeT<Ch>>(NodeType::kClass, true, std::move(excluded));
      return true;
    }
    case '[': {
      ++pos_;
      ParseCursor<Ch> cur;
      cur.text = src_;
      cur.len = len_;
      cur.pos = pos_;
      cur.flags = flags_;
      CharSet<Ch> set;
      if (!ParseClass(cur, &set)) return Fail(cur.error_pos);
      pos_ = cur.pos;
      if (IgnoringCase()) {
        item = New<NFAClassNodeT<Ch>>(NodeType::kCIClass, false, set.Lowered());
      } else {
        item = New<NFAClassNodeT<Ch>>(NodeType::kClass, false, std::move(set));
      }
      return true;
    }
    case '^':
      ++pos_;
      if (flags_ & ::MultiLine) {
        item = New<NFAStartOfLineNodeT<Ch>>();
      } else {
        item = New<NFAStartOfInputNodeT<Ch>>();
      }
      return true;
    case '$':
      ++pos_;
      if (flags_ & ::MultiLine) {
        item = New<NFAEndOfLineNodeT<Ch>>();
      } else {
        item = New<NFAEndOfInputNodeT<Ch>>(false);
      }
      return true;
    default:
      ++pos_;
      if (IgnoringCase()) {
        item = New<NFACICharNodeT<Ch>>(Lower(c));
      } else {
        item = New<NFACharNodeT<Ch>>(c);
      }
      return true;
  }
}

template <class Ch>
bool Compiler<Ch>::ParseAlternation(Seq* seq, bool in_group, Enclosing enclosing) {
  Append(seq, New<NFAAcceptNodeT<Ch>>());  // ends the first alternative
  Node* first;
  if (enclosing.head) {
    first = New<NFAIndexNodeT<Ch>>(NodeType::kGroupHead, enclosing.gi);
  } else {
    first = New<NFASubStartNodeT<Ch>>();
  }
  Seq second;
  if (!ParseSequence(first, in_group, enclosing, true, &second)) return false;
  Node* junction = New<NFAAcceptNodeT<Ch>>();
  seq->last->next = junction;
  second.last->next = junction;
  seq->first = New<NFAOrNodeT<Ch>>(seq->first, second.first);
  seq->last = junction;
  return true;
}

template <class Ch>
bool Compiler<Ch>::ParseGroup(Seq* seq) {
  const uint32_t outer_flags = flags_;
  if (pos_ >= len_ || src_[pos_] != '?') return ParseGroupBody(seq, group_count_++, outer_flags);
  ++pos_;
  if (pos_ >= len_) return Fail(len_);
  const Ch c = src_[pos_];
  switch (c) {
    case ':':
      ++pos_;
      return ParseGroupBody(seq, --next_nc_, outer_flags);
    case '=':
    case '!':
    case '>':
      ++pos_;
      return ParseLookAround(seq, static_cast<int>(c), outer_flags);
    case '<': {
      ++pos_;
      if (pos_ >= len_) return Fail(len_);
      const Ch d = src_[pos_++];
      if (d != '=' && d != '!') return Fail(pos_);
      return ParseLookBehind(seq, d == '=');
    }
    default:
      break;
  }
  // Flags: (?flags) or (?flags:X).
  uint32_t flags = flags_;
  bool clearing = false;
  for (;;) {
    if (pos_ >= len_) return Fail(len_);
    const Ch d = src_[pos_++];
    if (d == ')') {
      // Stays in force to the end of the enclosing sequence; matches the empty text.
      flags_ = flags;
      Append(seq, New<NFALookBehindNodeT<Ch>>(true, String()));
      return true;
    }
    if (d == ':') {
      flags_ = flags;
      return ParseGroupBody(seq, --next_nc_, outer_flags);
    }
    if (d == '-') {
      if (clearing) return Fail(pos_);
      clearing = true;
      continue;
    }
    uint32_t bit = 0;
    switch (d) {
      case 'i':
        bit = ::IgnoreCase;
        break;
      case 'm':
        bit = ::MultiLine;
        break;
      case 's':
        bit = ::DotMatchesAll;
        break;
      case 'd':
        bit = ::LineFeedOnly;
        break;
      default:
        return Fail(pos_);
    }
    flags = clearing ? (flags & ~bit) : (flags | bit);
  }
}

template <class Ch>
bool Compiler<Ch>::ParseGroupBody(Seq* seq, int32_t gi, uint32_t outer_flags) {
  Node* head = New<NFAIndexNodeT<Ch>>(NodeType::kGroupHead, gi);
  Seq body;
  if (!ParseSequence(head, true, Enclosing{true, gi}, false, &body)) return false;
  flags_ = outer_flags;
  Node* tail = New<NFAIndexNodeT<Ch>>(NodeType::kGroupTail, gi);
  body.last->next = tail;
  bool quantified = false;
  int32_t min = 0;
  int32_t max = 0;
  int kind = 0;
  if (!ReadQuantifier(&quantified, &min, &max, &kind)) return false;
  if (!quantified) {
    seq->last->next = body.first;
    seq->last = tail;
    return true;
  }
  auto* loop = New<NFAGroupLoopNodeT<Ch>>(gi, min, max, kind, body.first);
  tail->next = loop;
  Append(seq, New<NFAIndexNodeT<Ch>>(NodeType::kGroupLoopPrologue, gi));
  Append(seq, loop);
  return true;
}

template <class Ch>
bool Compiler<Ch>::ParseLookAround(Seq* seq, int form, uint32_t outer_flags) {
  Seq body;
  if (!ParseSequence(New<NFASubStartNodeT<Ch>>(), true, Enclosing{}, false, &body)) return false;
  flags_ = outer_flags;
  Append(&body, New<NFAAcceptNodeT<Ch>>());
  if (form == '>') {  // atomic: the content once, the first way it matches, never revisited
    auto* q = New<NFAQuantifierNodeT<Ch>>(NodeType::kPossessiveQuantifier, 1, 1, body.first);
    q->item = false;
    Append(seq, q);
  } else {
    Append(seq, New<NFALookAheadNodeT<Ch>>(form == '=', body.first));
  }
  return true;
}

template <class Ch>
bool Compiler<Ch>::ParseLookBehind(Seq* seq, bool positive) {
  String literal;
  for (;;) {
    if (pos_ >= len_) return Fail(len_);
    Ch d = src_[pos_++];
    if (d == ')') break;
    if (d == '\\') {
      if (pos_ >= len_) return Fail(len_);
      d = src_[pos_++];
    }
    literal.push_back(d);
  }
  Append(seq, New<NFALookBehindNodeT<Ch>>(positive, std::move(literal)));
  return true;
}

template <class Ch>
bool Compiler<Ch>::ParseEscapeItem(Node** item) {
  const Ch e = src_[pos_];
  if (e >= '1' && e <= '9') {
    // Back-reference: two digits always, more while the number is below the groups opened.
    int64_t number = e - '0';
    ++pos_;
    if (pos_ < len_ && IsDigit(src_[pos_])) number = number * 10 + (src_[pos_++] - '0');
    while (pos_ < len_ && IsDigit(src_[pos_]) && number < group_count_) {
      number = number * 10 + (src_[pos_++] - '0');
      if (number > INT32_MAX) return Fail(pos_);
    }
    *item = New<NFAIndexNodeT<Ch>>(NodeType::kReference, static_cast<int32_t>(number));
    return true;
  }
  switch (e) {
    case 'A':
      ++pos_;
      *item = New<NFAStartOfInputNodeT<Ch>>();
      return true;
    case 'z':
      ++pos_;
      *item = New<NFAEndOfInputNodeT<Ch>>(false);
      return true;
    case 'Z':
      ++pos_;
      *item = New<NFAEndOfInputNodeT<Ch>>(true);
      return true;
    case 'b':
      ++pos_;
      *item = New<NFAWordBoundaryNodeT<Ch>>(true);
      return true;
    case 'B':
      ++pos_;
      *item = New<NFAWordBoundaryNodeT<Ch>>(false);
      return true;
    case 'G':
      ++pos_;
      *item = New<NFAEndOfMatchNodeT<Ch>>();
      return true;
    case 'Q':
      ++pos_;
      return ParseQuote(item);
    default:
      break;
  }
  ParseCursor<Ch> cur;
  cur.text = src_;
  cur.len = len_;
  cur.pos = pos_;
  cur.flags = flags_;
  EscapeResult<Ch> esc;
  if (!ParseEscape(cur, &esc)) return Fail(cur.error_pos);
  pos_ = cur.pos;
  uint32_t one = 0;
  if (!esc.negated && esc.set.Single(&one)) {
    *item = New<NFACharNodeT<Ch>>(static_cast<Ch>(one));  // exact, also under IgnoreCase
  } else if (IgnoringCase()) {
    *item = New<NFAClassNodeT<Ch>>(NodeType::kCIClass, esc.negated, esc.set.Lowered());
  } else {
    *item = New<NFAClassNodeT<Ch>>(NodeType::kClass, esc.negated, std::move(esc.set));
  }
  return true;
}

template <class Ch>
bool Compiler<Ch>::ParseQuote(Node** item) {
  String quote;
  for (;;) {
    if (pos_ >= len_) return Fail(len_);
    const Ch d = src_[pos_];
    if (d == '\\') {
      if (pos_ + 1 >= len_) return Fail(len_);
      const Ch after = src_[pos_ + 1];
      pos_ += 2;
      if (after == 'E') break;
      quote.push_back(after);
      continue;
    }
    quote.push_back(d);
    ++pos_;
  }
  *item = New<NFAQuoteNodeT<Ch>>(IgnoringCase() ? NodeType::kCIQuote : NodeType::kQuote,
                                 std::move(quote));
  return true;
}

template <class Ch>
bool Compiler<Ch>::ParseNamedReference(Seq* seq) {
  const int open = pos_;
  int close = open + 1;
  while (close < len_ && src_[close] != '}') ++close;
  if (close >= len_) return Fail(open + 1);
  const String name(src_ + open + 1, src_ + close);
  bool valid = name.size() >= 2 && IsNameStart(name[0]);
  for (size_t i = 1; valid && i < name.size(); ++i) valid = IsNameChar(name[i]);
  if (!valid) return Fail(open + 1);
  const auto& table = NamedPatternTable<Ch>();
  const auto it = table.find(name);
  if (it == table.end()) return Fail(open + 1);
  for (const String& active : inlining_) {
    if (active == name) return Fail(open + 1);  // a pattern that refers to itself
  }
  const NamedPatternEntry<Ch> entry = it->second;  // a copy: src_ points into it meanwhile

  const Ch* saved_src = src_;
  const int saved_len = len_;
  const uint32_t saved_flags = flags_;
  src_ = entry.text.data();
  len_ = static_cast<int>(entry.text.size());
  pos_ = 0;
  flags_ = entry.flags;
  ++inline_depth_;
  inlining_.push_back(name);
  Seq inlined{nullptr, nullptr};
  bool ok = true;
  if (entry.flags & ::LiteralText) {
    inlined.first = inlined.last =
        New<NFAQuoteNodeT<Ch>>(IgnoringCase() ? NodeType::kCIQuote : NodeType::kQuote, entry.text);
  } else {
    // Parsed like a top-level sequence; its groups number on from the current count.
    ok = ParseSequence(New<NFASubStartNodeT<Ch>>(), false, Enclosing{}, false, &inlined);
  }
  inlining_.pop_back();
  --inline_depth_;
  src_ = saved_src;
  len_ = saved_len;
  flags_ = saved_flags;
  if (!ok) return Fail(open + 1);
  pos_ = close + 1;
  seq->last->next = inlined.first;
  seq->last = inlined.last;
  return true;
}

template <class Ch>
bool Compiler<Ch>::ReadQuantifier(bool* present, int32_t* min, int32_t* max, int* kind) {
  *present = false;
  if (pos_ >= len_) return true;
  const Ch c = src_[pos_];
  if (c == '*' || c == '+' || c == '?') {
    *min = c == '+' ? 1 : 0;
    *max = c == '?' ? 1 : kUnbounded;
    ++pos_;
  } else if (c == '{') {
    const int open = pos_;
    int close = open + 1;
    while (close < len_ && src_[close] != '}') ++close;
    if (close >= len_) return Fail(open + 1);
    int comma = -1;
    bool other = false;
    for (int i = open + 1; i < close; ++i) {
      if (src_[i] == ',' && comma < 0) {
        comma = i;
      } else if (!IsDigit(src_[i])) {
        other = true;
      }
    }
    if (comma < 0 && other) return true;  // not a quantifier: a named reference follows
    if (other) return Fail(open + 1);
    if (comma < 0) {
      *min = *max = ReadNumber(src_, open + 1, close);
    } else {
      *min = ReadNumber(src_, open + 1, comma);
      *max = comma + 1 == close ? kUnbounded : ReadNumber(src_, comma + 1, close);
    }
    pos_ = close + 1;
  } else {
    return true;
  }
  *present = true;
  *kind = 0;
  if (pos_ < len_ && src_[pos_] == '?') {
    *kind = 1;
    ++pos_;
  } else if (pos_ < len_ && src_[pos_] == '+') {
    *kind = 2;
    ++pos_;
  }
  return true;
}

template <class Ch>
bool Compiler<Ch>::AppendItem(Seq* seq, Node* item) {
  bool quantified = false;
  int32_t min = 0;
  int32_t max = 0;
  int kind = 0;
  if (!ReadQuantifier(&quantified, &min, &max, &kind)) return false;
  if (!quantified) {
    Append(seq, item);
    return true;
  }
  static const NodeType kTypes[] = {NodeType::kGreedyQuantifier, NodeType::kLazyQuantifier,
                                    NodeType::kPossessiveQuantifier};
  item->next = New<NFAAcceptNodeT<Ch>>();
  Append(seq, New<NFAQuantifierNodeT<Ch>>(kTypes[kind], min, max, item));
  return true;
}

namespace {

FirstSet Unknown() { return FirstSet{}; }

FirstSet Union(const FirstSet& a, const FirstSet& b) {
  if (a.nullable || b.nullable) return Unknown();
  FirstSet u;
  u.nullable = false;
  for (int i = 0; i < 4; ++i) u.bits[i] = a.bits[i] | b.bits[i];
  u.high = a.high || b.high;
  return u;
}

template <class Ch>
FirstSet CharFirst(Ch c, bool ignore_case) {
  FirstSet f;
  f.nullable = false;
  if (!ignore_case) {
    const uint32_t code = Code(c);
    if (code < 256) {
      f.bits[code >> 6] |= uint64_t{1} << (code & 63);
    } else {
      f.high = true;
    }
    return f;
  }
  const Ch lower = Lower(c);
  for (uint32_t x = 0; x < 256; ++x) {
    if (Lower(static_cast<Ch>(x)) == lower) f.bits[x >> 6] |= uint64_t{1} << (x & 63);
  }
  f.high = sizeof(Ch) > 1;  // wide case folding above 255 is the platform's
  return f;
}

// The code of a set that admits exactly one character, else -1.
int32_t SingleCode(const FirstSet& f) {
  if (f.nullable || f.high) return -1;
  int32_t code = -1;
  for (int i = 0; i < 4; ++i) {
    const uint64_t b = f.bits[i];
    if (b == 0) continue;
    if (code >= 0 || (b & (b - 1)) != 0) return -1;
    code = i * 64 + __builtin_ctzll(b);
  }
  return code;
}

}  // namespace

template <class Ch>
FirstSet Compiler<Ch>::First(const Node* node, int* budget) const {
  // Nodes a match passes through without consuming are followed in this loop rather than by
  // recursion; each one still counts against the budget.
  for (;; node = node->next) {
    if (node == nullptr || --*budget < 0) return Unknown();
    switch (node->Type()) {
      case NodeType::kStart:
      case NodeType::kSubStart:
      case NodeType::kGroupHead:
      case NodeType::kGroupTail:
      // Zero-width assertions without state changes: a match past them starts after them.
      case NodeType::kStartOfInput:
      case NodeType::kEndOfInput:
      case NodeType::kStartOfLine:
      case NodeType::kEndOfLine:
      case NodeType::kWordBoundary:
      case NodeType::kEndOfMatch:
      case NodeType::kLookBehind:
        continue;
      case NodeType::kAccept:
        if (node->next != nullptr) continue;
        return Unknown();
      case NodeType::kChar:
        return CharFirst(static_cast<const NFACharNodeT<Ch>*>(node)->character, false);
      case NodeType::kCIChar:
        return CharFirst(static_cast<const NFACICharNodeT<Ch>*>(node)->character, true);
      case NodeType::kQuote:
      case NodeType::kCIQuote: {
        const auto& q = static_cast<const NFAQuoteNodeT<Ch>*>(node)->quote;
        if (q.empty()) continue;
        return CharFirst(q[0], node->Type() == NodeType::kCIQuote);
      }
      case NodeType::kClass:
      case NodeType::kCIClass: {
        const auto* cls = static_cast<const NFAClassNodeT<Ch>*>(node);
        const bool ci = node->Type() == NodeType::kCIClass;
        FirstSet f;
        f.nullable = false;
        if (!ci) {  // the member bitmap itself, or its complement
          for (int i = 0; i < 4; ++i) f.bits[i] = cls->accept[i];
          f.high = sizeof(Ch) > 1 && (cls->inverted || cls->members.HasHigh());
          return f;
        }
        for (uint32_t x = 0; x < 256; ++x) {
          const uint32_t code = ci ? Code(Lower(static_cast<Ch>(x))) : x;
          if (cls->Test(code)) f.bits[x >> 6] |= uint64_t{1} << (x & 63);
        }
        f.high = sizeof(Ch) > 1 && (ci || cls->inverted || cls->members.HasHigh());
        return f;
      }
      case NodeType::kGreedyQuantifier:
      case NodeType::kLazyQuantifier:
      case NodeType::kPossessiveQuantifier: {
        const auto* q = static_cast<const NFAQuantifierNodeT<Ch>*>(node);
        if (!q->item) return Unknown();
        const FirstSet item = First(q->inner, budget);
        if (q->min >= 1 && !item.nullable) return item;
        return Union(item, First(q->next, budget));
      }
      case NodeType::kOr: {
        const auto* o = static_cast<const NFAOrNodeT<Ch>*>(node);
        const FirstSet one = First(o->one, budget);
        if (one.nullable) return one;
        return Union(one, First(o->two, budget));
      }
      default:  // end, look-ahead, references, group loops: no claim
        return Unknown();
    }
  }
}

template <class Ch>
void Compiler<Ch>::Analyse() {
  constexpr int kBudget = 64;
  pattern_->node_registry_.ForEach([this](Node* node) {
    int budget = kBudget;
    if (node->Type() == NodeType::kStart) {
      static_cast<NFAStartNodeT<Ch>*>(node)->first = First(node->next, &budget);
    } else if (node->Type() == NodeType::kGreedyQuantifier ||
               node->Type() == NodeType::kLazyQuantifier) {
      auto* q = static_cast<NFAQuantifierNodeT<Ch>*>(node);
      q->follow = First(q->next, &budget);
      q->follow_char = SingleCode(q->follow);
    }
  });
}

template class Compiler<char>;
template class Compiler<wchar_t>;
template std::map<std::string, NamedPatternEntry<char>>& NamedPatternTable<char>();
template std::map<std::wstring, NamedPatternEntry<wchar_t>>& NamedPatternTable<wchar_t>();

}  // namespace rx
