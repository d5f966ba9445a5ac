// Character sets of the pattern language and the parsing of escapes and bracket classes.
//
// A CharSet holds distinct character codes: a 256-bit bitmap for codes 0..255 and a sorted
// vector for codes above 255 (wide texts only), so membership costs one step. ParseEscape and
// ParseClass read pattern text from a ParseCursor; they never print: a syntax error is recorded
// in the cursor (the position just after the offending character) and reported by the compiler.
#ifndef HBAFW_REGEX_CHAR_SET_H_
#define HBAFW_REGEX_CHAR_SET_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace rx {

// Compile flag bits as the escape and class parsers need them (the public names live in
// pattern.h and have the same values).
constexpr uint32_t kFlagIgnoreCase = 1;

// Character code of a text unit: narrow characters are read as unsigned bytes.
inline uint32_t Code(char c) { return static_cast<unsigned char>(c); }
inline uint32_t Code(wchar_t c) { return static_cast<uint32_t>(c); }

// The platform's single-character lower-case conversion (tolower / towlower).
char Lower(char c);
wchar_t Lower(wchar_t c);

template <class Ch>
class CharSet {
 public:
  void Add(uint32_t code);
  // Adds the codes whose bits are set: codes 0..63 in `low`, 64..127 in `high`.
  void AddLowBits(uint64_t low, uint64_t high) {
    low_[0] |= low;
    low_[1] |= high;
  }
  // Adds every code from first to last inclusive; requires first <= last.
  void AddRange(uint32_t first, uint32_t last);
  bool Contains(uint32_t code) const {
    if (code < 256) return (low_[code >> 6] >> (code & 63)) & 1;
    return ContainsHigh(code);
  }
  void Union(const CharSet& other);
  void Intersect(const CharSet& other);
  // Replaces the set by every code 0..255 not in it; with ignore_case, both case forms of every
  // ASCII letter in the set are left out too.
  void Complement(bool ignore_case);
  // The set of lower-case forms of the members.
  CharSet Lowered() const;
  size_t Size() const;
  bool Empty() const { return high_.empty() && (low_[0] | low_[1] | low_[2] | low_[3]) == 0; }
  // True when the set has exactly one member, stored in *code.
  bool Single(uint32_t* code) const;
  bool HasHigh() const { return !high_.empty(); }
  const uint64_t* LowBits() const { return low_; }

 private:
  bool ContainsHigh(uint32_t code) const;

  uint64_t low_[4] = {0, 0, 0, 0};
  std::vector<uint32_t> high_;  // sorted, distinct, every member >= 256
};

// Read position over a piece of pattern text, with the flags in force there.
template <class Ch>
struct ParseCursor {
  const Ch* text = nullptr;
  int len = 0;
  int pos = 0;
  uint32_t flags = 0;
  int error_pos = -1;  // position just after the character where the error was found

  bool AtEnd() const { return pos >= len; }
  bool Fail(int at) {
    if (error_pos < 0) error_pos = at;
    return false;
  }
};

template <class Ch>
struct EscapeResult {
  CharSet<Ch> set;
  bool negated = false;  // \D, \S, \W, \P{...}
  bool quote = false;    // \Q: quoted text follows; the set is empty
};

// Called with cur.pos on the character after a backslash (the caller has checked that one
// exists). Consumes the escape. Returns false on a syntax error.
template <class Ch>
bool ParseEscape(ParseCursor<Ch>& cur, EscapeResult<Ch>* out);

// Called with cur.pos just after a '['. Consumes the class through its ']' and yields its set,
// already complemented when the class is negated. Returns false on a syntax error.
template <class Ch>
bool ParseClass(ParseCursor<Ch>& cur, CharSet<Ch>* out);

}  // namespace rx

#endif  // HBAFW_REGEX_CHAR_SET_H_
