// Walking one expression for the check mode: the tokens of each level, the
// operand rules in the evaluator's order, and the two traps that live inside
// expressions (a leading sign, and "&&"/"||" followed by further operators).
#include "checker/expression_walk.h"

#include "checker/message_text.h"
#include "engine/script.h"
#include "support/errors.h"
#include "support/numbers.h"
#include "support/text_utils.h"

namespace zu::checker {

namespace {

bool IsSignOnly(std::string_view token) {
  if (token.empty()) return false;
  for (char c : token) {
    if (c != '+' && c != '-') return false;
  }
  return true;
}

bool IsLogical(std::string_view op) { return op == "&&" || op == "||"; }

bool IsNameChar(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
         c == '#' || c >= 128;
}

// The tokens as the evaluator combines them, each operator with the value so
// far on its left: "a > 1 && b < 2" reads "((a > 1) && b) < 2".
std::string LeftToRight(const std::vector<std::string>& tokens) {
  std::string reading = tokens[0];
  for (size_t k = 1; k + 1 < tokens.size(); k += 2) {
    if (k > 1) reading = Concat({"(", reading, ")"});
    reading.append(Concat({" ", tokens[k], " ", tokens[k + 1]}));
  }
  return reading;
}

// "&&" or "||" followed by another operator: the result of the logical
// operator becomes the left operand of the next one, which is not what the
// same text means in languages with precedence.
void CheckLogicalOrder(std::string_view text, const std::vector<std::string>& tokens,
                       ExpressionFacts& facts) {
  const std::string* logical = nullptr;
  for (size_t k = 1; k + 1 < tokens.size(); k += 2) {
    if (IsLogical(tokens[k])) {
      if (logical == nullptr) logical = &tokens[k];
    } else if (logical != nullptr) {
      facts.Traps.push_back(Concat({"\"", TrimView(text), "\" is worked out as \"",
                                    LeftToRight(tokens), "\": there is no precedence, \"", *logical,
                                    "\" binds no tighter than the operators after it"}));
      return;
    }
  }
}

// A leading "-" or "+" is an operand of its own (the number 0) and the value
// after it lands in the operator's place: "-5" is 0.
void CheckLeadingSign(std::string_view text, const std::vector<std::string>& tokens,
                      ExpressionFacts& facts) {
  if (tokens.size() < 2 || !IsSignOnly(tokens[0])) return;
  const std::string_view written = TrimView(text);
  std::string message =
      Concat({"\"", written, "\" is 0: a leading \"", tokens[0], "\" is no sign"});
  if (tokens[0].size() == 1) {
    message.append(Concat({" (write \"0 ", tokens[0], " ",
                           TrimView(written.substr(written.find(tokens[0][0]) + 1)), "\")"}));
  }
  facts.Traps.push_back(std::move(message));
}

void WalkOperand(std::string_view token, ExpressionFacts& facts) {
  const char first = token.front();
  if (first == '"' || first == '\'') return;  // a string literal
  if (first == '(') {
    if (token.back() == ')') {
      WalkExpression(token.substr(1, token.size() - 2), facts);
    } else {
      AddWordsAsReads(token, facts);  // fails when it runs ("Unclosed parentheses")
    }
    return;
  }
  if (IsNumberToken(token)) return;
  if (const size_t paren = token.find('('); paren != std::string_view::npos) {
    // A call: only its arguments are expressions; the name is no variable.
    if (token.back() != ')') {
      AddWordsAsReads(token.substr(paren), facts);
      return;
    }
    for (std::string_view argument :
         SplitArguments(token.substr(paren + 1, token.size() - paren - 2)))
      WalkExpression(argument, facts);
    return;
  }
  if (const size_t bracket = token.find('['); bracket != std::string_view::npos) {
    if (token.back() == ']') {
      WalkExpression(token.substr(bracket + 1, token.size() - bracket - 2), facts);
    } else {
      AddWordsAsReads(token.substr(bracket), facts);
    }
    return;
  }
  if (token.find('.') != std::string_view::npos) return;  // an object property
  facts.Reads.insert(UpperAscii(token));
}

}  // namespace

void WalkExpression(std::string_view text, ExpressionFacts& facts) {
  std::vector<std::string> tokens;
  try {
    tokens = TZuScript::Tokenize(text);
  } catch (const EZuScriptError&) {
    // "Invalid character": the statement stops the run when it is reached,
    // so nothing here is silent.
    AddWordsAsReads(text, facts);
    return;
  }
  if (tokens.empty()) return;
  CheckLeadingSign(text, tokens, facts);
  CheckLogicalOrder(text, tokens, facts);
  for (size_t k = 0; k < tokens.size(); ++k) {
    if (k % 2 == 0) {
      WalkOperand(tokens[k], facts);
    } else if (IsReadableName(tokens[k])) {
      // A name in an operator's place is never read (the run fails there),
      // but counting it keeps the unread-variable check on the safe side.
      facts.Reads.insert(UpperAscii(tokens[k]));
    }
  }
}

void AddWordsAsReads(std::string_view text, ExpressionFacts& facts) {
  size_t i = 0;
  while (i < text.size()) {
    if (!IsNameChar(static_cast<unsigned char>(text[i]))) {
      ++i;
      continue;
    }
    const size_t start = i;
    while (i < text.size() && IsNameChar(static_cast<unsigned char>(text[i]))) ++i;
    facts.Reads.insert(UpperAscii(text.substr(start, i - start)));
  }
}

bool IsNumberToken(std::string_view token) {
  if (token.size() >= 3 && token[0] == '0' && (token[1] == 'x' || token[1] == 'X')) return true;
  return IsBaseNumber(token, 10) || IsFractionText(token);
}

bool IsReadableName(std::string_view name) {
  if (name.empty()) return false;
  for (char c : name) {
    if (!IsNameChar(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

std::vector<std::string_view> SplitArguments(std::string_view text) {
  std::vector<std::string_view> arguments;
  char awaited = 0;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (awaited != 0) {
      if (c == awaited) awaited = 0;
    } else if (c == '"' || c == '\'') {
      awaited = c;
    } else if (c == '(') {
      awaited = ')';
    } else if (c == ',') {
      arguments.push_back(text.substr(start, i - start));
      start = i + 1;
    }
  }
  arguments.push_back(text.substr(start));
  return arguments;
}

}  // namespace zu::checker
