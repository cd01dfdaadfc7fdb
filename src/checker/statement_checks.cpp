// The checks of one statement record. Each statement kind hands the same
// parts of its text to the evaluator as the executor does, and these parts
// are found here the executor's way, so that a check never guesses.
#include "checker/statement_checks.h"

#include <string_view>

#include "checker/message_text.h"
#include "engine/script.h"
#include "support/errors.h"
#include "support/text_utils.h"

namespace zu::checker {

namespace {

// Characters that end an assignment target written as "a += 1": the "+"
// stays in the target, which becomes the name of a new variable.
constexpr std::string_view kOperatorChars = "+-*/%&|^<>";
// Compound forms whose meaning is plain arithmetic, so a rewrite can be shown.
constexpr std::string_view kArithmetic[] = {"+", "-", "*", "/", "%", "&", "|", "^", "<<", ">>"};

void Walk(std::string_view text, const StatementRef& where, ProgramFacts& facts) {
  WalkExpression(text, facts.Expressions);
  for (std::string& message : facts.Expressions.Traps)
    facts.Traps.push_back({where, std::move(message)});
  facts.Expressions.Traps.clear();
}

void AddTrap(const StatementRef& where, std::string message, ProgramFacts& facts) {
  facts.Traps.push_back({where, std::move(message)});
}

// True when text ends inside a string literal, by the loader's rule for the
// closing quote (a backslash escapes it, two backslashes do not).
bool EndsInsideLiteral(std::string_view text) {
  char quote = 0;
  size_t open = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quote == 0) {
      if (c == '"' || c == '\'') {
        quote = c;
        open = i;
      }
    } else if (c == quote &&
               !(i - 1 > open && text[i - 1] == '\\' && !(i - 2 > open && text[i - 2] == '\\'))) {
      quote = 0;
    }
  }
  return quote != 0;
}

// True when every operand of the expression is a number literal, so that its
// value, the output file's name, is a number.
bool IsNumberExpression(std::string_view text) {
  std::vector<std::string> tokens;
  try {
    tokens = TZuScript::Tokenize(text);
  } catch (const EZuScriptError&) {
    return false;  // fails loudly when it runs
  }
  if (tokens.empty()) return false;
  for (size_t k = 0; k < tokens.size(); k += 2) {
    if (!IsNumberToken(tokens[k])) return false;
  }
  return true;
}

// A plain variable target that no expression can read: the run makes a
// variable of that name without a word.
std::string UnreadableTargetMessage(std::string_view statement, std::string_view target,
                                    std::string_view expression) {
  if (target.empty()) {
    return Concat({"\"", statement,
                   "\" has no name before \"=\": it gives the value to a variable with an empty "
                   "name"});
  }
  size_t cut = target.size();
  while (cut > 0 && kOperatorChars.find(target[cut - 1]) != std::string_view::npos) --cut;
  const std::string_view op = target.substr(cut);
  const std::string_view name = TrimView(target.substr(0, cut));
  std::string message = Concat({"\"", statement, "\" assigns to a new variable named \"", target,
                                "\", which no expression can read"});
  if (op.empty() || !IsReadableName(name)) return message;
  message.append(Concat({": \"", op, "=\" is no assignment operator"}));
  for (std::string_view arithmetic : kArithmetic) {
    if (op == arithmetic) {
      message.append(Concat({" (write \"", name, " = ", name, " ", op, " ", expression, "\")"}));
      break;
    }
  }
  return message;
}

void CheckAssignment(std::string_view text, const StatementRef& where, ProgramFacts& facts) {
  // The executor's split: the first "=" makes an assignment unless the text
  // before it holds a parenthesis or an odd number of either quote.
  const size_t eq = text.find('=');
  std::string_view target;
  bool hasTarget = false;
  if (eq != std::string_view::npos) {
    target = TrimView(text.substr(0, eq));
    hasTarget = target.find_first_of("()") == std::string_view::npos &&
                CountChar(target, '"') % 2 == 0 && CountChar(target, '\'') % 2 == 0;
  }
  if (!hasTarget) {
    Walk(text, where, facts);
    return;
  }
  const std::string_view expression = TrimView(text.substr(eq + 1));
  Walk(expression, where, facts);
  if (const size_t bracket = target.find('['); bracket != std::string_view::npos) {
    if (target.back() == ']') {
      Walk(target.substr(bracket + 1, target.size() - bracket - 2), where, facts);
    } else {
      AddWordsAsReads(target.substr(bracket), facts.Expressions);
    }
    return;
  }
  if (target.find('.') != std::string_view::npos) return;  // an object property
  if (IsReadableName(target)) {
    facts.Assignments.push_back({UpperAscii(target), std::string(target), where});
  } else {
    AddTrap(where, UnreadableTargetMessage(text, target, expression), facts);
  }
}

void CheckVarConst(std::string_view text, bool isConst, const StatementRef& where,
                   ProgramFacts& facts) {
  for (const std::string& item : TZuScript::SplitList(text)) {
    const std::string_view piece = item;
    const size_t eq = piece.find('=');
    if (eq == std::string_view::npos) continue;
    const std::string_view name = TrimView(piece.substr(0, eq));
    size_t from = eq;
    while (from < piece.size() && piece[from] == '=') ++from;
    const size_t to = piece.find('=', from);
    const std::string_view initial =
        TrimView(piece.substr(from, to == std::string_view::npos ? to : to - from));
    if (!initial.empty()) {
      Walk(initial, where, facts);
      if (!isConst && IsReadableName(name))
        facts.Assignments.push_back({UpperAscii(name), std::string(name), where});
    }
    if (to != std::string_view::npos) {
      // The initial expression ends at the next "=": "b = x == y" gives b
      // the value of x and ignores the rest.
      AddTrap(where,
              Concat({"\"", TrimView(piece), "\" gives \"", name, "\" the value of \"", initial,
                      "\" alone: an initial expression ends at the next \"=\" (assign the "
                      "comparison in a statement of its own)"}),
              facts);
      AddWordsAsReads(piece.substr(to), facts.Expressions);
    }
  }
}

// The size expressions and initializer values of an Array statement, taken
// apart the executor's way; a malformed declaration stops the run loudly,
// so the walk just ends there.
void CheckArray(std::string_view text, const StatementRef& where, ProgramFacts& facts) {
  const size_t n = text.size();
  size_t i = 0;
  while (i < n) {
    const size_t open = text.find('[', i);
    if (open == std::string_view::npos) return;
    const size_t close = text.find(']', open);
    if (close == std::string_view::npos) return;
    Walk(text.substr(open + 1, close - open - 1), where, facts);
    i = close + 1;
    while (i < n && static_cast<unsigned char>(text[i]) <= 32) ++i;
    if (i >= n) return;
    if (text[i] == ',') {
      ++i;
      continue;
    }
    if (text[i] != '=') return;
    const size_t block = text.find('(', i);
    const size_t blockEnd = block == std::string_view::npos ? block : text.find(')', block);
    if (blockEnd == std::string_view::npos) return;
    // Values are the pieces between commas (a run of commas separates
    // once); the first blank piece ends the list.
    const std::string_view values = text.substr(block + 1, blockEnd - block - 1);
    size_t at = 0;
    for (;;) {
      while (at < values.size() && values[at] == ',') ++at;
      const size_t start = at;
      while (at < values.size() && values[at] != ',') ++at;
      const std::string_view value = values.substr(start, at - start);
      if (TrimView(value).empty()) break;
      Walk(value, where, facts);
    }
    i = text.find(',', blockEnd);
    if (i == std::string_view::npos) return;
    ++i;
  }
}

void CheckFor(std::string_view text, const StatementRef& where, ProgramFacts& facts) {
  size_t to = std::string_view::npos;
  for (size_t i = 0; i + 4 <= text.size(); ++i) {
    if (text[i] == ' ' && (text[i + 1] == 't' || text[i + 1] == 'T') &&
        (text[i + 2] == 'o' || text[i + 2] == 'O') && text[i + 3] == ' ') {
      to = i;
      break;
    }
  }
  if (to == std::string_view::npos) return;  // fails when it runs
  const std::string_view head = text.substr(0, to);
  const size_t eq = head.find('=');
  if (eq == std::string_view::npos) return;
  // The loop reads its variable at every step.
  facts.Expressions.Reads.insert(UpperAscii(TrimView(head.substr(0, eq))));
  Walk(head.substr(eq + 1), where, facts);
  Walk(text.substr(to + 4), where, facts);
}

void CheckWrite(std::string_view text, const StatementRef& where, ProgramFacts& facts) {
  // Output without ">>" goes where the variable stdout says.
  facts.Expressions.Reads.insert("STDOUT");
  const size_t redirect = text.find(">>");
  if (redirect == std::string_view::npos) {
    Walk(text, where, facts);
    return;
  }
  const std::string_view value = text.substr(0, redirect);
  const std::string_view file = TrimView(text.substr(redirect + 2));
  if (EndsInsideLiteral(value)) {
    AddTrap(where,
            "\">>\" inside a string literal ends the output text there, and the text after it "
            "names the output file",
            facts);
    AddWordsAsReads(text, facts.Expressions);
    return;
  }
  if (IsNumberExpression(file)) {
    AddTrap(where,
            Concat({"The output goes to a file named by the number \"", file,
                    "\": \">>\" in an output statement names a file, it is no shift (shift in "
                    "an assignment before the output)"}),
            facts);
  }
  Walk(value, where, facts);
  Walk(file, where, facts);
}

}  // namespace

void CheckStatement(const TZuScript& script, int32_t index, ProgramFacts& facts) {
  const TZuScriptStatementDef& record = script.Statements[static_cast<size_t>(index)];
  const StatementRef where{&script, index};
  const std::string_view text = record.Text;
  switch (record.Kind) {
    case kStmtExpression:
      CheckAssignment(text, where, facts);
      break;
    case kStmtConst:
    case kStmtVar:
      CheckVarConst(text, record.Kind == kStmtConst, where, facts);
      break;
    case kStmtArray:
      CheckArray(text, where, facts);
      break;
    case kStmtIf:
    case kStmtElseIf:
    case kStmtWhile:
    case kStmtDelete:
      Walk(text, where, facts);
      break;
    case kStmtFor:
      CheckFor(text, where, facts);
      break;
    case kStmtWrite:
      CheckWrite(text, where, facts);
      break;
    default:
      break;  // Else, Break, Continue, Exit, Stop, Read, Object: no expression
  }
}

}  // namespace zu::checker
