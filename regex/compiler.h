// Compilation of pattern text into an automaton, the syntax error report, and the
// process-wide table of named patterns that {name} references read.
//
// The compiler parses the whole text once, creating every node in the pattern's arena. At the
// first syntax error it stops and writes the two-line report to standard error:
//   the pattern text, a caret line ("%*c^" under the character just read), and either
//   "Syntax Error near here. Possible unescaped meta character.\n" (when that character is
//   one of ) * + ? ] }) or "Syntax Error near here. \n".
// The nodes created so far stay in the arena and go with the pattern, so nothing leaks.
#ifndef HBAFW_REGEX_COMPILER_H_
#define HBAFW_REGEX_COMPILER_H_

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "regex/char_set.h"
#include "regex/nodes.h"

namespace rx {

template <class Ch>
class BasicPattern;

template <class Ch>
struct NamedPatternEntry {
  std::basic_string<Ch> text;
  uint32_t flags = 0;
};

// The variant's NamedPatternTable: name -> (pattern text, flags). Process-wide, not locked.
template <class Ch>
std::map<std::basic_string<Ch>, NamedPatternEntry<Ch>>& NamedPatternTable();

template <class Ch>
class Compiler {
 public:
  explicit Compiler(BasicPattern<Ch>* pattern);
  // Builds the pattern's automaton from its text and flags and sets its group counts.
  // Returns false after writing the syntax error report.
  bool Run();

 private:
  using Node = NFANodeT<Ch>;
  using String = std::basic_string<Ch>;
  struct Seq {
    Node* first;
    Node* last;
  };
  // The group a sequence belongs to, for the first node of a second alternative.
  struct Enclosing {
    bool head = false;  // a capturing or non-capturing group: alternatives begin with its head
    int32_t gi = 0;
  };

  template <class N, class... Args>
  N* New(Args&&... args);
  bool Fail(int at);
  void Report() const;
  bool ParseSequence(Node* first, bool in_group, Enclosing enclosing, bool alternative, Seq* out);
  // A character, '.', class, anchor or escape at pos_: one node that may take a quantifier.
  bool ParseItem(Node** item);
  bool ParseAlternation(Seq* seq, bool in_group, Enclosing enclosing);
  bool ParseGroup(Seq* seq);
  bool ParseGroupBody(Seq* seq, int32_t gi, uint32_t outer_flags);
  bool ParseLookAround(Seq* seq, int form, uint32_t outer_flags);
  bool ParseLookBehind(Seq* seq, bool positive);
  bool ParseEscapeItem(Node** item);
  bool ParseQuote(Node** item);
  bool ParseNamedReference(Seq* seq);
  bool ReadQuantifier(bool* present, int32_t* min, int32_t* max, int* kind);
  bool AppendItem(Seq* seq, Node* item);
  static void Append(Seq* seq, Node* node) {
    seq->last->next = node;
    seq->last = node;
  }
  bool IgnoringCase() const;
  // First-character sets for the start node and the quantifiers' continuations.
  void Analyse();
  FirstSet First(const Node* node, int* budget) const;

  BasicPattern<Ch>* pattern_;
  const Ch* src_;  // the text being parsed: the pattern's, or an inlined named pattern's
  int len_;
  int pos_ = 0;
  uint32_t flags_;
  int32_t group_count_ = 0;
  int32_t next_nc_ = 0;
  bool failed_ = false;
  int error_pos_ = -1;
  int inline_depth_ = 0;
  std::vector<String> inlining_;  // names being inlined, to refuse a reference cycle
};

}  // namespace rx

#endif  // HBAFW_REGEX_COMPILER_H_
