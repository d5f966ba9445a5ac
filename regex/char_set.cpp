// Character sets, escapes and bracket classes (see char_set.h for the contracts).
#include "regex/char_set.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <cwctype>

namespace rx {

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

wchar_t Lower(wchar_t c) {
  if (c >= 0 && c < 128) return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + 32) : c;
  return static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
}

template <class Ch>
void CharSet<Ch>::Add(uint32_t code) {
  if (code < 256) {
    low_[code >> 6] |= uint64_t{1} << (code & 63);
    return;
  }
  auto it = std::lower_bound(high_.begin(), high_.end(), code);
  if (it == high_.end() || *it != code) high_.insert(it, code);
}

template <class Ch>
void CharSet<Ch>::AddRange(uint32_t first, uint32_t last) {
  for (uint32_t c = first; c <= last && c < 256; ++c) Add(c);
  if (last < 256) return;
  // Codes above 255 are merged in one pass to keep the vector sorted and distinct.
  std::vector<uint32_t> extra;
  for (uint32_t c = std::max<uint32_t>(first, 256);; ++c) {
    extra.push_back(c);
    if (c == last) break;
  }
  std::vector<uint32_t> merged;
  merged.reserve(high_.size() + extra.size());
  std::set_union(high_.begin(), high_.end(), extra.begin(), extra.end(),
                 std::back_inserter(merged));
  high_.swap(merged);
}

template <class Ch>
bool CharSet<Ch>::ContainsHigh(uint32_t code) const {
  return std::binary_search(high_.begin(), high_.end(), code);
}

template <class Ch>
void CharSet<Ch>::Union(const CharSet& other) {
  for (int i = 0; i < 4; ++i) low_[i] |= other.low_[i];
  if (other.high_.empty()) return;
  std::vector<uint32_t> merged;
  std::set_union(high_.begin(), high_.end(), other.high_.begin(), other.high_.end(),
                 std::back_inserter(merged));
  high_.swap(merged);
}

template <class Ch>
void CharSet<Ch>::Intersect(const CharSet& other) {
  for (int i = 0; i < 4; ++i) low_[i] &= other.low_[i];
  std::vector<uint32_t> common;
  std::set_intersection(high_.begin(), high_.end(), other.high_.begin(), other.high_.end(),
                        std::back_inserter(common));
  high_.swap(common);
}

template <class Ch>
void CharSet<Ch>::Complement(bool ignore_case) {
  CharSet excluded = *this;
  if (ignore_case) {
    for (uint32_t c = 'a'; c <= 'z'; ++c) {
      if (Contains(c) || Contains(c - 32)) {
        excluded.Add(c);
        excluded.Add(c - 32);
      }
    }
  }
  for (int i = 0; i < 4; ++i) low_[i] = ~excluded.low_[i];
  high_.clear();
}

template <class Ch>
CharSet<Ch> CharSet<Ch>::Lowered() const {
  CharSet out;
  for (uint32_t c = 0; c < 256; ++c) {
    if (Contains(c)) out.Add(Code(Lower(static_cast<Ch>(c))));
  }
  for (uint32_t c : high_) out.Add(Code(Lower(static_cast<Ch>(c))));
  return out;
}

template <class Ch>
size_t CharSet<Ch>::Size() const {
  size_t n = high_.size();
  for (int i = 0; i < 4; ++i) n += static_cast<size_t>(__builtin_popcountll(low_[i]));
  return n;
}

template <class Ch>
bool CharSet<Ch>::Single(uint32_t* code) const {
  // Asked of every escape while compiling: bit tests, no population count.
  int found = -1;
  for (int i = 0; i < 4; ++i) {
    const uint64_t b = low_[i];
    if (b == 0) continue;
    if (found >= 0 || (b & (b - 1)) != 0) return false;
    found = i * 64 + __builtin_ctzll(b);
  }
  if (found >= 0) {
    if (!high_.empty()) return false;
    *code = static_cast<uint32_t>(found);
    return true;
  }
  if (high_.size() != 1) return false;
  *code = high_[0];
  return true;
}

namespace {

template <class Ch>
void AddChars(CharSet<Ch>* set, const char* chars) {
  for (const char* p = chars; *p != '\0'; ++p) set->Add(static_cast<unsigned char>(*p));
}

template <class Ch>
void AddPunct(CharSet<Ch>* set) {
  set->AddRange(0x21, 0x2F);
  set->AddRange(0x3A, 0x40);
  set->AddRange(0x5B, 0x60);
  set->AddRange(0x7B, 0x7E);
}

constexpr const char* kLower = "abcdefghijklmnopqrstuvwxyz";
constexpr const char* kUpper = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr const char* kDigits = "0123456789";
// The escapes' sets as bits of codes 0..63 and 64..127: \d is '0'..'9'; \s is space, \t, \n,
// \f and \r; \w adds 'A'..'Z', '_' and 'a'..'z' to the digits.
constexpr uint64_t kDigitBits = uint64_t{0x3FF} << '0';
constexpr uint64_t kSpaceBits = (uint64_t{1} << ' ') | (uint64_t{1} << '\t') |
                                (uint64_t{1} << '\n') | (uint64_t{1} << '\f') |
                                (uint64_t{1} << '\r');
constexpr uint64_t kWordHighBits = (uint64_t{0x3FFFFFF} << ('A' - 64)) |
                                   (uint64_t{1} << ('_' - 64)) |
                                   (uint64_t{0x3FFFFFF} << ('a' - 64));

// Fills *set with the named class whose name (braces included) starts at cur.pos, and
// consumes the name. Returns false when no class name is there.
template <class Ch>
bool ParseNamedClass(ParseCursor<Ch>& cur, CharSet<Ch>* set) {
  static const char* const kNames[] = {"{Lower}", "{Upper}", "{Alpha}", "{Digit}", "{Alnum}",
                                       "{Punct}", "{Graph}", "{Print}", "{Blank}", "{Space}",
                                       "{Cntrl}", "{ASCII}", "{XDigit}"};
  for (int k = 0; k < static_cast<int>(sizeof(kNames) / sizeof(kNames[0])); ++k) {
    const char* name = kNames[k];
    const int len = static_cast<int>(std::strlen(name));
    if (cur.len - cur.pos < len) continue;
    bool same = true;
    for (int i = 0; i < len && same; ++i) {
      same = cur.text[cur.pos + i] == static_cast<Ch>(name[i]);
    }
    if (!same) continue;
    cur.pos += len;
    switch (k) {
      case 0:
        AddChars(set, kLower);
        break;
      case 1:
        AddChars(set, kUpper);
        break;
      case 2:
        AddChars(set, kLower);
        AddChars(set, kUpper);
        break;
      case 3:
        AddChars(set, kDigits);
        break;
      case 4:
        AddChars(set, kLower);
        AddChars(set, kUpper);
        AddChars(set, kDigits);
        break;
      case 5:
        AddPunct(set);
        break;
      case 6:
      case 7:
        AddChars(set, kLower);
        AddChars(set, kUpper);
        AddChars(set, kDigits);
        AddPunct(set);
        break;
      case 8:
        AddChars(set, " \t");
        break;
      case 9:
        AddChars(set, " \t\n\v\f\r");
        break;
      case 10:
        set->AddRange(0x00, 0x1F);
        set->Add(0x7F);
        break;
      case 11:
        set->AddRange(0x00, 0x7F);
        break;
      default:
        AddChars(set, "abcdefABCDEF0123456789");
        break;
    }
    return true;
  }
  return false;
}

template <class Ch>
int HexValue(Ch c) {
  if (c >= '0' && c <= '9') return static_cast<int>(c - '0');
  if (c >= 'a' && c <= 'f') return static_cast<int>(c - 'a' + 10);
  if (c >= 'A' && c <= 'F') return static_cast<int>(c - 'A' + 10);
  return -1;
}

template <class Ch>
bool HexDigitsAt(const ParseCursor<Ch>& cur, int count) {
  if (cur.len - cur.pos < count) return false;
  for (int i = 0; i < count; ++i) {
    if (HexValue(cur.text[cur.pos + i]) < 0) return false;
  }
  return true;
}

template <class Ch>
bool Octal(Ch c, Ch lo, Ch hi) {
  return c >= lo && c <= hi;
}

// \0 followed by octal digits; cur.pos is just after the '0'; `at` is the error position.
template <class Ch>
bool ParseOctal(ParseCursor<Ch>& cur, int at, uint32_t* value) {
  if (cur.len - cur.pos < 2) return cur.Fail(at);
  const Ch d1 = cur.text[cur.pos];
  const Ch d2 = cur.text[cur.pos + 1];
  if (!Octal(d2, Ch('0'), Ch('7')) || !Octal(d1, Ch('0'), Ch('7'))) return cur.Fail(at);
  uint32_t v = static_cast<uint32_t>(d1 - '0') * 8 + static_cast<uint32_t>(d2 - '0');
  cur.pos += 2;
  if (Octal(d1, Ch('0'), Ch('3')) && !cur.AtEnd() && Octal(cur.text[cur.pos], Ch('0'), Ch('7'))) {
    v = v * 8 + static_cast<uint32_t>(cur.text[cur.pos] - '0');
    ++cur.pos;
  }
  *value = v;
  return true;
}

template <class Ch>
bool ParseHex(ParseCursor<Ch>& cur, int at, uint32_t* value) {
  int count = 2;
  if (sizeof(Ch) > 1 && HexDigitsAt(cur, 4)) count = 4;  // wide: four digits when four follow
  if (!HexDigitsAt(cur, count)) return cur.Fail(at);
  uint32_t v = 0;
  for (int i = 0; i < count; ++i) v = v * 16 + static_cast<uint32_t>(HexValue(cur.text[cur.pos++]));
  *value = v;
  return true;
}

// A narrow code is a byte: a value above 255 from an octal escape keeps its low 8 bits.
template <class Ch>
uint32_t Truncate(uint32_t code) {
  return sizeof(Ch) == 1 ? (code & 0xFF) : code;
}

// Adds the range first..last to *set under the variant's rules; false when not allowed.
template <class Ch>
bool AddClassRange(CharSet<Ch>* set, uint32_t first, uint32_t last) {
  if (sizeof(Ch) == 1) {
    if (first <= last) {
      set->AddRange(first, last);
    } else {  // a reversed narrow range wraps through 0xFF to 0x00
      set->AddRange(first, 0xFF);
      set->AddRange(0x00, last);
    }
    return true;
  }
  // Wide: at most 300 characters, never reversed.
  if (last < first || last - first >= 300) return false;
  set->AddRange(first, last);
  return true;
}

}  // namespace

template <class Ch>
bool ParseEscape(ParseCursor<Ch>& cur, EscapeResult<Ch>* out) {
  const Ch e = cur.text[cur.pos++];
  const int at = cur.pos;  // errors are reported under the escape letter
  CharSet<Ch>& set = out->set;
  uint32_t v = 0;
  switch (e) {
    case '0':
      if (!ParseOctal(cur, at, &v)) return false;
      set.Add(Truncate<Ch>(v));
      return true;
    case 'x':
      if (!ParseHex(cur, at, &v)) return false;
      set.Add(v);
      return true;
    case 'a':
      set.Add(0x07);
      return true;
    case 'e':
      set.Add(0x0D);
      return true;  // the engine's \e is carriage return
    case 'f':
      set.Add(0x0C);
      return true;
    case 'n':
      set.Add(0x0A);
      return true;
    case 'r':
      set.Add(0x0D);
      return true;
    case 't':
      set.Add(0x09);
      return true;
    case 'D':
      out->negated = true;
      [[fallthrough]];
    case 'd':
      set.AddLowBits(kDigitBits, 0);
      return true;
    case 'S':
      out->negated = true;
      [[fallthrough]];
    case 's':
      set.AddLowBits(kSpaceBits, 0);
      return true;
    case 'W':
      out->negated = true;
      [[fallthrough]];
    case 'w':
      set.AddLowBits(kDigitBits, kWordHighBits);
      return true;
    case 'P':
      out->negated = true;
      [[fallthrough]];
    case 'p':
      if (!ParseNamedClass(cur, &set)) return cur.Fail(at);
      return true;
    case 'Q':
      out->quote = true;
      return true;
    default:
      set.Add(Code(e));
      return true;
  }
}

template <class Ch>
bool ParseClass(ParseCursor<Ch>& cur, CharSet<Ch>* out) {
  const bool ignore_case = (cur.flags & kFlagIgnoreCase) != 0;
  CharSet<Ch> set;
  bool negated = false;
  if (!cur.AtEnd() && cur.text[cur.pos] == '^') {
    negated = true;
    ++cur.pos;
  }
  // Reads one escape inside the class (cur.pos on the backslash): *single is set when it
  // gives exactly one character, otherwise the (complemented when negated) set is in *many.
  auto read_escape = [&](bool* single, uint32_t* one, CharSet<Ch>* many) -> bool {
    ++cur.pos;
    if (cur.AtEnd()) return cur.Fail(cur.pos);
    if (cur.text[cur.pos] == 'Q') return cur.Fail(cur.pos + 1);
    EscapeResult<Ch> esc;
    if (!ParseEscape(cur, &esc)) return false;
    *single = !esc.negated && esc.set.Single(one);
    if (!*single) {
      if (esc.negated) esc.set.Complement(ignore_case);
      *many = std::move(esc.set);
    }
    return true;
  };
  for (;;) {
    if (cur.AtEnd()) return cur.Fail(cur.len);
    const Ch c = cur.text[cur.pos];
    if (c == ']') {
      ++cur.pos;
      break;
    }
    if (c == '[') {
      ++cur.pos;
      CharSet<Ch> nested;
      if (!ParseClass(cur, &nested)) return false;
      set.Union(nested);
      continue;
    }
    if (c == '&' && cur.pos + 1 < cur.len && cur.text[cur.pos + 1] == '&') {
      cur.pos += 2;
      if (cur.AtEnd()) return cur.Fail(cur.len);
      if (cur.text[cur.pos] != '[') return cur.Fail(cur.pos + 1);
      ++cur.pos;
      CharSet<Ch> nested;
      if (!ParseClass(cur, &nested)) return false;
      set.Intersect(nested);
      continue;
    }
    uint32_t first = 0;
    if (c == '\\') {
      bool single = false;
      CharSet<Ch> many;
      if (!read_escape(&single, &first, &many)) return false;
      if (!single) {
        set.Union(many);
        continue;
      }
    } else {
      first = Code(c);
      ++cur.pos;
    }
    if (cur.AtEnd() || cur.text[cur.pos] != '-') {
      set.Add(first);
      continue;
    }
    ++cur.pos;  // the '-' of a range
    if (cur.AtEnd()) return cur.Fail(cur.len);
    const Ch d = cur.text[cur.pos];
    uint32_t last = 0;
    if (d == '[' || d == ']' || d == '-' || d == '&') return cur.Fail(cur.pos + 1);
    if (d == '\\') {
      const int at = cur.pos + 2;
      bool single = false;
      CharSet<Ch> many;
      if (!read_escape(&single, &last, &many)) return false;
      if (!single) return cur.Fail(at);
    } else {
      last = Code(d);
      ++cur.pos;
    }
    if (!AddClassRange(&set, first, last)) return cur.Fail(cur.pos);
  }
  if (negated) set.Complement(ignore_case);
  *out = std::move(set);
  return true;
}

template class CharSet<char>;
template class CharSet<wchar_t>;
template bool ParseEscape(ParseCursor<char>&, EscapeResult<char>*);
template bool ParseEscape(ParseCursor<wchar_t>&, EscapeResult<wchar_t>*);
template bool ParseClass(ParseCursor<char>&, CharSet<char>*);
template bool ParseClass(ParseCursor<wchar_t>&, CharSet<wchar_t>*);

}  // namespace rx
