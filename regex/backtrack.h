// The backtracking machine that runs an automaton against a subject text.
//
// Results are exactly those of the recursive rules the nodes define: each node tests the text,
// updates the match state and continues at its successor; a failure returns to the latest node
// that still has a choice, and every state change on the way is undone. Here the recursion is
// replaced by an explicit stack on the heap: choice points, undo records for group and loop
// state, and markers for the sub-automata of look-aheads and atomic groups. The depth of the
// machine stack therefore never depends on the subject length, and a repeated single item
// (`.*`, `\d+`, `\w{1,4}`) keeps one stack entry however many characters it spans.
#ifndef HBAFW_REGEX_BACKTRACK_H_
#define HBAFW_REGEX_BACKTRACK_H_

#include "regex/nodes.h"

namespace rx {

// Runs the automaton from `node` at `pos` over text[0..n). When `node` is an NFAStartNode it
// applies the start rule: a whole-text attempt from 0 only, or a search forward from `pos`,
// clearing the state between attempts; group_start[0] is -1 after a failure. Returns the end
// position of the match, or -1. Not re-entrant within one thread.
template <class Ch>
int RunAutomaton(const NFANodeT<Ch>* node, const Ch* text, int n, MatchState& state, int pos);

}  // namespace rx

#endif  // HBAFW_REGEX_BACKTRACK_H_
