// The check mode's view of one expression text: the names it reads and the
// traps in it, found with the evaluator's tokenizer and the order in which
// the evaluator tries its operand rules. Nothing is evaluated.
#pragma once

#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace zu::checker {

// What the expressions of a program reveal. Names are kept upper-cased
// (A-Z), the way the engine compares them.
struct ExpressionFacts {
  std::set<std::string> Reads;     // names an operand may read as a variable
  std::vector<std::string> Traps;  // messages for the expression just walked
};

// Walks text and everything evaluated inside it: parenthesised groups, call
// arguments and array indexes. Adds the traps it finds to facts.Traps and
// every name that may be read to facts.Reads. A text the tokenizer rejects
// fails loudly when it runs, so it holds no silent trap; its words all count
// as read.
void WalkExpression(std::string_view text, ExpressionFacts& facts);

// Adds every run of name characters in text to facts.Reads: for texts the
// check does not take apart, so that no variable is wrongly called unread.
void AddWordsAsReads(std::string_view text, ExpressionFacts& facts);

// True for a token that the evaluator takes as a number literal (hex,
// decimal or fraction), the rules being tried in the evaluator's order.
bool IsNumberToken(std::string_view token);

// True for a name an expression can read: letters, digits, "_", "#" and
// bytes 128-255 (the operand characters that are no bracket or dot).
bool IsReadableName(std::string_view name);

// The arguments of a call as the evaluator splits them: a quote or "(" makes
// its closing character awaited, without nesting, and only commas outside a
// wait separate.
std::vector<std::string_view> SplitArguments(std::string_view text);

}  // namespace zu::checker
