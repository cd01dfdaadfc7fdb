// Expression evaluation: operands (literals, sub-expressions, calls, array
// elements, properties, names) combined strictly left to right, and the two
// text helpers of the same family, SplitList and CheckParentheses.
#include "engine/evaluator/tokenizer.h"
#include "engine/script.h"
#include "support/text_utils.h"

namespace zu {

ScriptValue TZuScript::Evaluate(std::string_view text) {
  if (TrimView(text).empty()) return ScriptValue();
  // Parentheses nest through Evaluate -> EvaluateOperand -> Evaluate; the
  // guard turns a runaway nesting into a script error.
  CheckStack("Expressions");
  TokenList tokens;
  TokenizeExpression(text, tokens);
  const size_t count = tokens.Count();
  if (count == 0) return ScriptValue();
  ScriptValue value = EvaluateOperand(tokens.Get(0));
  // No precedence: each operator applies to the value so far and the next
  // operand, which is evaluated before the operator is looked at. A final
  // operator without right operand is ignored.
  for (size_t k = 1; k + 1 < count; k += 2) {
    ScriptValue right = EvaluateOperand(tokens.Get(k + 1));
    value = ApplyOperator(value, tokens.Get(k), right);
  }
  return value;
}

ScriptValue TZuScript::EvaluateOperand(std::string_view token) {
  if (token.empty()) return ScriptValue();
  const char first = token.front();
  if (first == '"' || first == '\'') return LiteralValue(token);
  if (first == '(') {
    if (token.size() < 2 || token.back() != ')') Fail("Unclosed parentheses");
    return Evaluate(token.substr(1, token.size() - 2));
  }
  if (IsLiteralText(token)) return LiteralValue(token);

  const size_t paren = token.find('(');
  if (paren != std::string_view::npos) {
    if (token.back() != ')') Fail3("Unexpected end of function call: ", token, "");
    return CallNamed(token.substr(0, paren), token.substr(paren + 1, token.size() - paren - 2));
  }

  const size_t bracket = token.find('[');
  if (bracket != std::string_view::npos) {
    int32_t index = 0;
    TZuScriptArray& array =
        ElementOf(token, bracket, "Unexpected type of result of index expression", index);
    return array.GetItem(index);
  }

  const size_t dot = token.find('.');
  if (dot != std::string_view::npos)
    return ObjectOf(token, dot, "\" not found").GetProperty(std::string(token.substr(dot + 1)));

  TZuScriptVariable* variable = FindVar(token);
  if (variable == nullptr) Fail3("Constant or variable \"", token, "\" not defined");
  return variable->Value;
}

TZuScriptArray& TZuScript::ElementOf(std::string_view text, size_t bracket,
                                     const char* indexMessage, int32_t& index) {
  const std::string_view name = text.substr(0, bracket);
  TZuScriptArray* array = FindArray(name);
  if (array == nullptr) Fail3("Array \"", name, "\" not defined");
  if (text.back() != ']' || text.size() - bracket < 2) Fail("Unexpected end of index expression");
  const ScriptValue value = Evaluate(text.substr(bracket + 1, text.size() - bracket - 2));
  if (value.Kind() != ValueKind::Integer) Fail(indexMessage);
  index = ToInteger(value);
  return *array;
}

TZuScriptObject& TZuScript::ObjectOf(std::string_view text, size_t dot, const char* missing) {
  const std::string_view name = text.substr(0, dot);
  TZuScriptObject* object = FindObject(name);
  if (object == nullptr) Fail3("Object \"", name, missing);
  return *object;
}

std::vector<std::string> TZuScript::SplitList(std::string_view text) {
  // A comma separates when the quote characters before it (both kinds in one
  // count) are even and no parenthesis is open.
  std::vector<std::string> pieces;
  std::string current;
  int quotes = 0;
  int depth = 0;
  for (const char c : text) {
    if (c == '"' || c == '\'') {
      ++quotes;
    } else if (c == '(') {
      ++depth;
    } else if (c == ')') {
      --depth;
    } else if (c == ',' && quotes % 2 == 0 && depth == 0) {
      pieces.push_back(std::move(current));
      current.clear();
      continue;
    }
    current += c;
  }
  pieces.push_back(std::move(current));
  return pieces;
}

bool TZuScript::CheckParentheses(std::string_view text) {
  int open = 0;
  int closed = 0;
  for (const char c : text) {
    if (c == '(') ++open;
    if (c == ')') ++closed;
  }
  if (open != closed)
    Fail(
        "Number of open parentheses not correspond to number of closed parentheses in "
        "expression \"" +
        std::string(text) + "\"");
  return true;
}

}  // namespace zu
