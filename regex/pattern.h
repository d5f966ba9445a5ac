// Compiled regular-expression patterns: the engine's public interface.
//
// API summary (narrow: Pattern / Matcher over std::string; wide: WidePattern / WideMatcher over
// std::wstring; the same operations on both):
//
//   std::unique_ptr<Pattern> p = Pattern::Compile(text, flags);  // null on a syntax error,
//                                                                // after the report on stderr
//   std::unique_ptr<Matcher> m = p->NewMatcher(subject);         // pattern must outlive it
//   m->Matches(); m->FindFirst(); m->FindNext(); m->FindAll(); m->Reset(); m->SetText(s);
//   m->GroupStart(i); m->GroupEnd(i); m->GroupText(i); m->Groups(include_whole);
//   m->ExpandReplacement(tmpl);
//   p->Matches(s); p->FindAll(s); p->Replace(s, tmpl); p->Split(s, keep_empty, limit);
//   p->Text(); p->Flags(); p->Dump() (narrow only)
//   Pattern::Matches(pattern_text, s, flags);  FindAll / Split / Replace / FindNth likewise:
//       one-call forms that compile, run and destroy the pattern
//   Pattern::CompileCached(text, flags) / ClearCompileCache();   cache owns its patterns
//   Pattern::RegisterNamedPattern(name, text, flags) / ClearNamedPatterns();  used as {name}
//
// Flags (PatternFlag, also Pattern::IgnoreCase etc.): IgnoreCase 1, LiteralText 2,
// DotMatchesAll 4, MultiLine 8, LineFeedOnly 16.
//
// A compiled pattern is immutable except for its own matcher, which its instance operations
// use; one caller at a time. The compile cache and the named-pattern table are process-wide
// and not locked. Subjects must be shorter than 2^31 - 1 characters.
#ifndef HBAFW_REGEX_PATTERN_H_
#define HBAFW_REGEX_PATTERN_H_

#include <cstdint>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "regex/matcher.h"
#include "regex/nodes.h"

enum PatternFlag : uint32_t {
  IgnoreCase = 1,
  LiteralText = 2,
  DotMatchesAll = 4,
  MultiLine = 8,
  LineFeedOnly = 16,
};

namespace rx {

template <class Ch>
class Compiler;

template <class Ch>
class BasicPattern {
 public:
  using String = std::basic_string<Ch>;
  using Node = NFANodeT<Ch>;
  using MatcherType = BasicMatcher<Ch>;

  static constexpr uint32_t IgnoreCase = ::IgnoreCase;
  static constexpr uint32_t LiteralText = ::LiteralText;
  static constexpr uint32_t DotMatchesAll = ::DotMatchesAll;
  static constexpr uint32_t MultiLine = ::MultiLine;
  static constexpr uint32_t LineFeedOnly = ::LineFeedOnly;

  // A new pattern owned by the caller, or null when `text` has a syntax error (the error
  // report has then been written to standard error).
  static std::unique_ptr<BasicPattern> Compile(const String& text, uint32_t flags = 0);

  // Stores (text, flags) under `name` for {name} references when `text` compiles with `flags`.
  static bool RegisterNamedPattern(const String& name, const String& text, uint32_t flags = 0);
  static void ClearNamedPatterns();

  // The cached pattern for `text` (compiled with the first call's flags), possibly null.
  // Cached patterns belong to the cache.
  static BasicPattern* CompileCached(const String& text, uint32_t flags = 0);
  static void ClearCompileCache();

  // One-call forms: compile, run, destroy. On a syntax error: false, empty, (empty, -1).
  static bool Matches(const String& pattern_text, const String& text, uint32_t flags = 0);
  static std::vector<String> FindAll(const String& pattern_text, const String& text,
                                     uint32_t flags = 0);
  static std::vector<String> Split(const String& pattern_text, const String& text, bool keep_empty,
                                   int limit, uint32_t flags = 0);
  static String Replace(const String& pattern_text, const String& text, const String& replacement,
                        uint32_t flags = 0);
  // Text and start of match number n (from 0, in FindNext() order), or (empty, -1).
  static std::pair<String, int> FindNth(const String& pattern_text, const String& text, int n,
                                        uint32_t flags = 0);

  BasicPattern(const BasicPattern&) = delete;
  BasicPattern& operator=(const BasicPattern&) = delete;
  ~BasicPattern();

  // Instance forms; they use and change the pattern's own matcher.
  bool Matches(const String& text);
  std::vector<String> FindAll(const String& text);
  String Replace(const String& text, const String& replacement);
  // A limit of 0 means no limit.
  std::vector<String> Split(const String& text, bool keep_empty, int limit);

  std::unique_ptr<MatcherType> NewMatcher(const String& text) const;

  const String& Text() const { return text_; }
  uint32_t Flags() const { return flags_; }

  // Prints "Pattern(<text>):" and the automaton to standard output (narrow only).
  template <class C = Ch, std::enable_if_t<std::is_same<C, char>::value, int> = 0>
  void Dump() const;

  // Capturing groups including group 0, and the number of non-capturing group indices.
  int GroupCount() const { return group_count_; }
  int NonCapturingCount() const { return nc_count_; }
  const Node* Head() const { return head_; }
  // Every node created while compiling; the pattern destroys each one once.
  size_t NodeCount() const { return node_registry_.Count(); }

 private:
  friend class Compiler<Ch>;
  BasicPattern(const String& text, uint32_t flags);
  // Compiles into this pattern and binds the own matcher; false on a syntax error.
  bool Build();
  void PrintHeader() const;

  NodeArena<Ch> node_registry_;
  MatcherType own_matcher_;
  Node* head_ = nullptr;
  String text_;
  int32_t group_count_ = 0;
  int32_t nc_count_ = 0;
  uint32_t flags_ = 0;
};

template <class Ch>
template <class C, std::enable_if_t<std::is_same<C, char>::value, int>>
void BasicPattern<Ch>::Dump() const {
  PrintHeader();
  head_->Dump(1);
}

}  // namespace rx

using Pattern = rx::BasicPattern<char>;
using Matcher = rx::BasicMatcher<char>;
using WidePattern = rx::BasicPattern<wchar_t>;
using WideMatcher = rx::BasicMatcher<wchar_t>;

#endif  // HBAFW_REGEX_PATTERN_H_
