// Compiles a pattern and runs every matcher operation over a subject, in
// the narrow or the wide variant, with the compile flags from the input.
//
// Input: one byte of flags, one byte of options (bit 0: wide; bit 1: keep
// empty pieces when splitting; bits 2-7: split limit), then the pattern up
// to the first line feed and the subject after it (which may hold more). In the wide variant a byte
// 0xFF and the three bytes after it give one character above U+00FF (taken
// modulo U+110000), every other byte one character of its own value. A
// narrow input of ASCII only is run through the wide variant as well, and
// both must give the same matches.
//
// A backtracking engine is slow on purpose for some patterns (nested or
// many quantifiers over a long subject); the subject is cut shorter the more
// quantifiers the pattern has, so only a fault of the engine itself, not
// the exponent of such a pattern, makes a unit slow.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "regex/pattern.h"

namespace {

constexpr size_t kMaxPattern = 64;
constexpr size_t kMaxSubject = 256;

template <class Ch>
std::basic_string<Ch> Decode(const uint8_t* data, size_t size) {
  std::basic_string<Ch> text;
  for (size_t i = 0; i < size; ++i) {
    if (sizeof(Ch) > 1 && data[i] == 0xFF && i + 3 < size) {
      const uint32_t code =
          (uint32_t{data[i + 1]} << 16 | uint32_t{data[i + 2]} << 8 | data[i + 3]);
      text.push_back(static_cast<Ch>(code % 0x110000));
      i += 3;
    } else {
      text.push_back(static_cast<Ch>(data[i]));
    }
  }
  return text;
}

// How long a subject this pattern may meet: quantifiers multiply the work
// of the backtracking, and one on a group with others inside it makes it
// exponential in the subject length.
template <class Ch>
size_t SubjectBound(const std::basic_string<Ch>& pattern) {
  int quantifiers = 0;
  int on_groups = 0;
  for (size_t i = 0; i < pattern.size(); ++i) {
    const Ch c = pattern[i];
    if (c == '\\') {
      ++i;
      continue;
    }
    if (c == '*' || c == '+' || c == '?' || c == '{') {
      ++quantifiers;
      if (i > 0 && pattern[i - 1] == ')') ++on_groups;
    }
  }
  if (quantifiers <= 2 && on_groups == 0) return kMaxSubject;
  if (on_groups > 0) {
    const int bound = 28 - 6 * (quantifiers - 1);
    return bound < 4 ? 4 : static_cast<size_t>(bound);
  }
  const double bound = std::pow(2e7, 1.0 / quantifiers);
  return bound > kMaxSubject ? kMaxSubject : static_cast<size_t>(bound);
}

template <class Ch>
std::basic_string<Ch> Lit(const char* text) {
  std::basic_string<Ch> out;
  for (; *text != '\0'; ++text) out.push_back(static_cast<Ch>(*text));
  return out;
}

// What a pattern did with a subject: whether it compiled, the whole-text
// match with its groups, and every match FindNext() walks, as positions.
using Trace = std::vector<int>;

template <class Ch>
Trace Run(uint32_t flags, uint8_t options, const uint8_t* data, size_t size) {
  Trace trace;
  using PatternT = rx::BasicPattern<Ch>;
  const uint8_t* sep = static_cast<const uint8_t*>(memchr(data, '\n', size));
  const size_t pattern_bytes = sep == nullptr ? size : static_cast<size_t>(sep - data);
  std::basic_string<Ch> pattern = Decode<Ch>(data, pattern_bytes);
  if (pattern.size() > kMaxPattern) return trace;
  std::basic_string<Ch> subject =
      sep == nullptr ? std::basic_string<Ch>() : Decode<Ch>(sep + 1, size - pattern_bytes - 1);
  const size_t bound = SubjectBound(pattern);
  if (subject.size() > bound) subject.resize(bound);

  std::unique_ptr<PatternT> compiled = PatternT::Compile(pattern, flags);
  trace.push_back(compiled != nullptr);
  if (compiled == nullptr) return trace;

  auto matcher = compiled->NewMatcher(subject);
  const bool whole = matcher->Matches();
  trace.push_back(whole);
  trace.push_back(matcher->GroupCount());
  if (whole) {
    for (int i = -1; i <= matcher->GroupCount(); ++i) {
      const int start = matcher->GroupStart(i);
      const int end = matcher->GroupEnd(i);
      if ((start < 0) != (end < 0) || end > static_cast<int>(subject.size()) || start > end)
        __builtin_trap();
      trace.push_back(start);
      trace.push_back(end);
      (void)matcher->GroupText(i);
    }
    (void)matcher->Groups(true);
    (void)matcher->ExpandReplacement(Lit<Ch>("<\\0|\\1|\\9\\x\\"));
  }
  // Every find moves on by at least one character or ends the walk.
  size_t finds = 0;
  if (matcher->FindFirst()) {
    do {
      if (++finds > subject.size() + 2) __builtin_trap();
      trace.push_back(matcher->GroupStart(0));
      trace.push_back(matcher->GroupEnd(0));
    } while (matcher->FindNext());
  }
  matcher->Reset();
  (void)matcher->FindAll();
  matcher->SetText(subject.substr(subject.size() / 2));
  (void)matcher->Matches();

  (void)compiled->Matches(subject);
  (void)compiled->Replace(subject, Lit<Ch>("[\\1]"));
  trace.push_back(
      static_cast<int>(compiled->Split(subject, (options & 2) != 0, options >> 2).size()));
  if constexpr (sizeof(Ch) == 1) {
    // The automaton listing walks every node the compiler made.
    if ((options & 0xFC) == 0xFC) compiled->Dump();
  }
  return trace;
}

// Both variants are one engine: over ASCII texts they must agree. Left out
// are where they differ by design: octal and hexadecimal escapes (the wide
// variant reads four hex digits where the narrow one reads two) and a range
// whose last character precedes its first (the narrow variant wraps it
// around through 0xFF).
bool SameInBothVariants(const uint8_t* data, size_t size) {
  for (size_t i = 0; i < size; ++i) {
    if (data[i] >= 0x80) return false;
  }
  const uint8_t* sep = static_cast<const uint8_t*>(memchr(data, '\n', size));
  const size_t n = sep == nullptr ? size : static_cast<size_t>(sep - data);
  for (size_t i = 0; i + 1 < n; ++i) {
    if (data[i] == '\\' && (data[i + 1] == 'x' || data[i + 1] == '0')) return false;
    if (data[i + 1] == '-' && i + 2 < n) {
      const bool escaped = data[i] == '\\' || (i > 0 && data[i - 1] == '\\');
      if (escaped || data[i + 2] == '\\' || data[i + 2] < data[i]) return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // Named patterns may be used as {name} in any pattern.
  Pattern::RegisterNamedPattern("digits", "\\d+");
  Pattern::RegisterNamedPattern("word", "[a-z]\\w*", IgnoreCase);
  WidePattern::RegisterNamedPattern(L"digits", L"\\d+");
  WidePattern::RegisterNamedPattern(L"word", L"[a-z]\\w*", IgnoreCase);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const uint32_t flags = data[0] & 0x1F;
  const uint8_t options = data[1];
  if (options & 1) {
    (void)Run<wchar_t>(flags, options, data + 2, size - 2);
    return 0;
  }
  const Trace narrow = Run<char>(flags, options, data + 2, size - 2);
  if (SameInBothVariants(data + 2, size - 2) &&
      Run<wchar_t>(flags, options, data + 2, size - 2) != narrow)
    __builtin_trap();
  return 0;
}
