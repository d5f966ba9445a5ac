// Matcher: runs one compiled pattern over one subject text and reports what matched.
//
// A matcher never owns its pattern; the pattern must outlive it. Its records describe the last
// operation: after a successful Matches() or find, GroupStart/GroupEnd/GroupText describe that
// match; after a failed one every group reads as not set. FindNext() walks successive matches
// (an empty match moves the search one character on) and, once it has returned false, keeps
// returning false until Reset() or SetText().
#ifndef HBAFW_REGEX_MATCHER_H_
#define HBAFW_REGEX_MATCHER_H_

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "regex/nodes.h"

namespace rx {

template <class Ch>
class BasicPattern;

template <class Ch>
class BasicMatcher {
 public:
  using String = std::basic_string<Ch>;

  BasicMatcher(const BasicPattern<Ch>* pattern, const String& text);
  BasicMatcher(const BasicMatcher&) = delete;
  BasicMatcher& operator=(const BasicMatcher&) = delete;

  // Whole-text match.
  bool Matches();
  bool FindFirst();
  bool FindNext();
  // Text of every match FindNext() finds, from the start of the text.
  std::vector<String> FindAll();
  void Reset();
  void SetText(const String& text);
  const String& Text() const { return text_; }

  // -1 (or the empty text) for an index outside 0..group count - 1 or a group not set.
  int GroupStart(int i) const;
  int GroupEnd(int i) const;
  String GroupText(int i) const;
  // GroupText of groups 1 (0 when include_whole) through the last.
  std::vector<String> Groups(bool include_whole) const;
  // The template with \N group references filled in, \c giving c, a final \ giving \.
  String ExpandReplacement(const String& replacement) const;

  int GroupCount() const { return state_.group_count; }

 private:
  friend class BasicPattern<Ch>;
  BasicMatcher() = default;  // unbound: the pattern's own matcher before its compile ends
  void Bind(const BasicPattern<Ch>* pattern);
  // Whole-text match of text[0..n) without copying it; the records then refer to that text.
  bool MatchesView(const Ch* text, size_t n);
  bool Search(int from);

  const BasicPattern<Ch>* pattern_ = nullptr;
  String text_;
  MatchState state_;
  int32_t inline_slots_[40];
  std::unique_ptr<int32_t[]> heap_slots_;
  bool found_ = false;
  bool exhausted_ = false;  // FindNext() has run off the end
};

}  // namespace rx

#endif  // HBAFW_REGEX_MATCHER_H_
