// Matcher operations, and the pattern operations built on them (instance and one-call forms).
#include "regex/matcher.h"

#include <climits>

#include "regex/backtrack.h"
#include "regex/pattern.h"

namespace rx {

template <class Ch>
BasicMatcher<Ch>::BasicMatcher(const BasicPattern<Ch>* pattern, const String& text) : text_(text) {
  Bind(pattern);
}

template <class Ch>
void BasicMatcher<Ch>::Bind(const BasicPattern<Ch>* pattern) {
  pattern_ = pattern;
  const int32_t groups = pattern->GroupCount();
  const int32_t nc = pattern->NonCapturingCount();
  const size_t slots = static_cast<size_t>(groups + nc);
  int32_t* base = inline_slots_;
  if (5 * slots > sizeof(inline_slots_) / sizeof(inline_slots_[0])) {
    heap_slots_.reset(new int32_t[5 * slots]);
    base = heap_slots_.get();
  }
  for (size_t i = 0; i < 5 * slots; ++i) base[i] = 0;
  state_.group_start = base + nc;
  state_.group_end = base + slots + nc;
  state_.loop_count = base + 2 * slots + nc;
  state_.loop_pos = base + 3 * slots + nc;
  state_.loop_mark = base + 4 * slots + nc;
  state_.group_count = groups;
  state_.nc_count = nc;
  state_.search_start = 0;
  state_.whole_text = false;
  found_ = false;
  exhausted_ = false;
}

template <class Ch>
bool BasicMatcher<Ch>::MatchesView(const Ch* text, size_t n) {
  state_.whole_text = true;
  found_ = false;
  exhausted_ = false;
  state_.Clear();
  if (n >= static_cast<size_t>(INT_MAX)) return false;
  const int r = RunAutomaton(pattern_->Head(), text, static_cast<int>(n), state_, 0);
  if (r >= 0 && r == static_cast<int>(n)) return true;
  state_.Clear();  // after a failed match no group reads as set
  return false;
}

template <class Ch>
bool BasicMatcher<Ch>::Matches() {
  return MatchesView(text_.data(), text_.size());
}

template <class Ch>
bool BasicMatcher<Ch>::Search(int from) {
  state_.search_start = from;
  const int n = static_cast<int>(text_.size());
  const int r = RunAutomaton(pattern_->Head(), text_.data(), n, state_, from);
  state_.group_end[0] = r;
  if (r < 0) {
    state_.Clear();
    exhausted_ = true;
    return false;
  }
  return true;
}

template <class Ch>
bool BasicMatcher<Ch>::FindFirst() {
  state_.whole_text = false;
  exhausted_ = false;
  state_.Clear();
  if (text_.size() >= static_cast<size_t>(INT_MAX)) {
    found_ = true;
    exhausted_ = true;
    return false;
  }
  found_ = true;  // a failed first search also ends FindNext()
  return Search(0);
}

template <class Ch>
bool BasicMatcher<Ch>::FindNext() {
  if (!found_) return FindFirst();
  if (exhausted_) return false;
  const int32_t s = state_.group_start[0];
  const int32_t e = state_.group_end[0];
  state_.whole_text = false;
  state_.Clear();
  const int p = e + (s == e ? 1 : 0);  // an empty match moves the search one character on
  state_.group_start[0] = p;
  if (p >= static_cast<int>(text_.size())) {
    state_.Clear();
    exhausted_ = true;
    return false;
  }
  return Search(p);
}

template <class Ch>
std::vector<std::basic_string<Ch>> BasicMatcher<Ch>::FindAll() {
  Reset();
  std::vector<String> found;
  while (FindNext()) found.push_back(GroupText(0));
  return found;
}

template <class Ch>
void BasicMatcher<Ch>::Reset() {
  state_.Clear();
  found_ = false;
  exhausted_ = false;
}

template <class Ch>
void BasicMatcher<Ch>::SetText(const String& text) {
  text_ = text;
  Reset();
}

template <class Ch>
int BasicMatcher<Ch>::GroupStart(int i) const {
  if (i < 0 || i >= state_.group_count) return -1;
  return state_.group_start[i];
}

template <class Ch>
int BasicMatcher<Ch>::GroupEnd(int i) const {
  if (i < 0 || i >= state_.group_count) return -1;
  return state_.group_end[i];
}

template <class Ch>
std::basic_string<Ch> BasicMatcher<Ch>::GroupText(int i) const {
  const int s = GroupStart(i);
  const int e = GroupEnd(i);
  if (s < 0 || e < s || static_cast<size_t>(e) > text_.size()) return String();
  return text_.substr(static_cast<size_t>(s), static_cast<size_t>(e - s));
}

template <class Ch>
std::vector<std::basic_string<Ch>> BasicMatcher<Ch>::Groups(bool include_whole) const {
  std::vector<String> groups;
  const int first = include_whole ? 0 : 1;
  if (state_.group_count > first) groups.reserve(static_cast<size_t>(state_.group_count - first));
  for (int i = first; i < state_.group_count; ++i) groups.push_back(GroupText(i));
  return groups;
}

template <class Ch>
std::basic_string<Ch> BasicMatcher<Ch>::ExpandReplacement(const String& replacement) const {
  String out;
  const size_t n = replacement.size();
  for (size_t i = 0; i < n; ++i) {
    const Ch c = replacement[i];
    if (c != '\\') {
      out.push_back(c);
      continue;
    }
    if (i + 1 == n) {
      out.push_back(c);  // a final backslash stands for itself
      break;
    }
    const Ch d = replacement[i + 1];
    if (d < '0' || d > '9') {
      out.push_back(d);
      ++i;
      continue;
    }
    int64_t group = 0;
    size_t j = i + 1;
    for (; j < n && replacement[j] >= '0' && replacement[j] <= '9'; ++j) {
      if (group <= INT_MAX) group = group * 10 + (replacement[j] - '0');
    }
    if (group <= INT_MAX) out += GroupText(static_cast<int>(group));
    i = j - 1;
  }
  return out;
}

// ---- Pattern operations built on the matcher.

template <class Ch>
bool BasicPattern<Ch>::Matches(const String& text) {
  own_matcher_.SetText(text);
  return own_matcher_.Matches();
}

template <class Ch>
std::vector<std::basic_string<Ch>> BasicPattern<Ch>::FindAll(const String& text) {
  own_matcher_.SetText(text);
  return own_matcher_.FindAll();
}

template <class Ch>
std::basic_string<Ch> BasicPattern<Ch>::Replace(const String& text, const String& replacement) {
  MatcherType& m = own_matcher_;
  m.SetText(text);
  const String& subject = m.Text();
  String out;
  size_t last = 0;
  while (m.FindNext()) {
    const size_t start = static_cast<size_t>(m.GroupStart(0));
    if (start > last) out.append(subject, last, start - last);
    out += m.ExpandReplacement(replacement);
    last = static_cast<size_t>(m.GroupEnd(0));
  }
  if (last < subject.size()) out.append(subject, last, String::npos);
  return out;
}

template <class Ch>
std::vector<std::basic_string<Ch>> BasicPattern<Ch>::Split(const String& text, bool keep_empty,
                                                           int limit) {
  if (limit == 0) limit = INT_MAX;
  MatcherType& m = own_matcher_;
  m.SetText(text);
  const String& subject = m.Text();
  std::vector<String> pieces;
  size_t last = 0;
  while (m.FindNext()) {
    if (static_cast<int64_t>(pieces.size()) >= limit) break;
    const size_t start = static_cast<size_t>(m.GroupStart(0));
    const size_t end = static_cast<size_t>(m.GroupEnd(0));
    if (start == 0 && keep_empty) pieces.emplace_back();
    if (start == end && !keep_empty) continue;
    if (start != last || keep_empty) {
      pieces.push_back(start > last ? subject.substr(last, start - last) : String());
    }
    last = end;
  }
  if (last < subject.size()) pieces.push_back(subject.substr(last));
  return pieces;
}

template <class Ch>
std::unique_ptr<BasicMatcher<Ch>> BasicPattern<Ch>::NewMatcher(const String& text) const {
  return std::unique_ptr<MatcherType>(new MatcherType(this, text));
}

// One-call forms: the pattern lives on the stack for the call and goes with it.

template <class Ch>
bool BasicPattern<Ch>::Matches(const String& pattern_text, const String& text, uint32_t flags) {
  BasicPattern pattern(pattern_text, flags);
  if (!pattern.Build()) return false;
  return pattern.own_matcher_.MatchesView(text.data(), text.size());
}

template <class Ch>
std::vector<std::basic_string<Ch>> BasicPattern<Ch>::FindAll(const String& pattern_text,
                                                             const String& text, uint32_t flags) {
  BasicPattern pattern(pattern_text, flags);
  if (!pattern.Build()) return {};
  return pattern.FindAll(text);
}

template <class Ch>
std::vector<std::basic_string<Ch>> BasicPattern<Ch>::Split(const String& pattern_text,
                                                           const String& text, bool keep_empty,
                                                           int limit, uint32_t flags) {
  BasicPattern pattern(pattern_text, flags);
  if (!pattern.Build()) return {};
  return pattern.Split(text, keep_empty, limit);
}

template <class Ch>
std::basic_string<Ch> BasicPattern<Ch>::Replace(const String& pattern_text, const String& text,
                                                const String& replacement, uint32_t flags) {
  BasicPattern pattern(pattern_text, flags);
  if (!pattern.Build()) return String();
  return pattern.Replace(text, replacement);
}

template <class Ch>
std::pair<std::basic_string<Ch>, int> BasicPattern<Ch>::FindNth(const String& pattern_text,
                                                                const String& text, int n,
                                                                uint32_t flags) {
  BasicPattern pattern(pattern_text, flags);
  if (!pattern.Build() || n < 0) return {String(), -1};
  MatcherType& m = pattern.own_matcher_;
  m.SetText(text);
  for (int k = 0; m.FindNext(); ++k) {
    if (k < n) continue;
    if (m.GroupStart(0) >= 0) return {m.GroupText(0), m.GroupStart(0)};
    break;
  }
  return {String(), -1};
}

template class BasicMatcher<char>;
template class BasicMatcher<wchar_t>;

// The pattern class itself is instantiated in pattern.cpp; its operations defined here are
// instantiated member by member.
#define HBAFW_REGEX_PATTERN_OPERATIONS(Ch)                                                      \
  template bool BasicPattern<Ch>::Matches(const std::basic_string<Ch>&);                        \
  template std::vector<std::basic_string<Ch>> BasicPattern<Ch>::FindAll(                        \
      const std::basic_string<Ch>&);                                                            \
  template std::basic_string<Ch> BasicPattern<Ch>::Replace(const std::basic_string<Ch>&,        \
                                                           const std::basic_string<Ch>&);       \
  template std::vector<std::basic_string<Ch>> BasicPattern<Ch>::Split(                          \
      const std::basic_string<Ch>&, bool, int);                                                 \
  template std::unique_ptr<BasicMatcher<Ch>> BasicPattern<Ch>::NewMatcher(                      \
      const std::basic_string<Ch>&) const;                                                      \
  template bool BasicPattern<Ch>::Matches(const std::basic_string<Ch>&,                         \
                                          const std::basic_string<Ch>&, uint32_t);              \
  template std::vector<std::basic_string<Ch>> BasicPattern<Ch>::FindAll(                        \
      const std::basic_string<Ch>&, const std::basic_string<Ch>&, uint32_t);                    \
  template std::vector<std::basic_string<Ch>> BasicPattern<Ch>::Split(                          \
      const std::basic_string<Ch>&, const std::basic_string<Ch>&, bool, int, uint32_t);         \
  template std::basic_string<Ch> BasicPattern<Ch>::Replace(                                     \
      const std::basic_string<Ch>&, const std::basic_string<Ch>&, const std::basic_string<Ch>&, \
      uint32_t);                                                                                \
  template std::pair<std::basic_string<Ch>, int> BasicPattern<Ch>::FindNth(                     \
      const std::basic_string<Ch>&, const std::basic_string<Ch>&, int, uint32_t);

HBAFW_REGEX_PATTERN_OPERATIONS(char)
HBAFW_REGEX_PATTERN_OPERATIONS(wchar_t)
#undef HBAFW_REGEX_PATTERN_OPERATIONS

}  // namespace rx
