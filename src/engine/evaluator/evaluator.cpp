// Expression evaluation: operands (literals, sub-expressions, calls, array
// elements, properties, names) combined strictly left to right, each level
// compiled when it is first reached; and the two text helpers of the same
// family, SplitList and CheckParentheses.
#include "engine/evaluator/compiled.h"
#include "engine/evaluator/hot_paths.h"
#include "engine/evaluator/tokenizer.h"
#include "engine/script.h"
#include "support/text_utils.h"

namespace zu {


void CombineValues(ScriptValue& value, const TZuExpression::OperatorSlot& op,
                   const ScriptValue& right) {
  if (value.Kind() == ValueKind::Text && right.Kind() == ValueKind::Text) {
    // Two texts: joined, or compared byte by byte, as the value operations
    // do it for the text class, without their dispatch.
    switch (op.Code) {
      case Operator::Add:
        value = ScriptValue::Concatenate(value, right);
        return;
      case Operator::Equal:
        value.AssignBoolean(value.TextPayload() == right.TextPayload());
        return;
      case Operator::NotEqual:
        value.AssignBoolean(value.TextPayload() != right.TextPayload());
        return;
      default:
        break;
    }
  }
  value = ApplyOperator(value, op.Code, op.Text.View(), right);
}

namespace {

// Groups a simple level may nest: few enough that evaluating one needs no
// stack check.
constexpr int kMaxSimpleGroups = 4;

// Whether e, evaluated once (so every operand is classified), holds only
// names, constants and groups of them, nested at most kMaxSimpleGroups deep.
bool IsSimpleLevel(const TZuExpression& e, int depth) {
  if (e.Kind != TZuExpression::kReady || e.Operands.empty()) return false;
  for (const TZuOperand& operand : e.Operands) {
    if (operand.Type == TZuOperand::kName || operand.Type == TZuOperand::kConstant) continue;
    if (operand.Type == TZuOperand::kGroup && depth < kMaxSimpleGroups &&
        IsSimpleLevel(*operand.Group, depth + 1))
      continue;
    return false;
  }
  return true;
}

TZuExpression::ShortcutForm ShortcutFormOf(const TZuExpression& e) {
  if (e.Operators.empty()) return TZuExpression::kOneOperand;
  auto direct = [](const TZuOperand& operand) {
    return operand.Type == TZuOperand::kName || operand.Type == TZuOperand::kConstant;
  };
  if (e.Operators.size() == 1 && direct(e.Operands[0]) && direct(e.Operands[1]))
    return TZuExpression::kTwoOperands;
  return TZuExpression::kSimpleLevel;
}

}  // namespace

ScriptValue TZuScript::EvaluateTwo(TZuExpression& e) {
  // Two Integers, both read in place where a constant, a frame entry or a
  // remembered lookup holds them, give their result without copying either
  // and without a call; anything else (another kind, an overflow, a lookup
  // to be made, a name that is not defined) takes the general steps, which
  // raise what is due.
  const IntegerResult r = PeekIntegerOperation(e);
  if (r.Type == IntegerResult::kInteger) return ScriptValue::Integer(r.Value);
  if (r.Type == IntegerResult::kBoolean) return ScriptValue::Boolean(r.Value != 0);
  return EvaluateSimple(e);
}

int TZuScript::CompareTwo(const TZuExpression& e) const {
  const IntegerResult r = PeekIntegerOperation(e);
  if (r.Type != IntegerResult::kBoolean) return -1;
  return r.Value != 0 ? 1 : 0;
}

ScriptValue TZuScript::EvaluateSimple(TZuExpression& e) {
  // Names, constants and groups of them, nested a few levels at most (see
  // IsSimpleLevel): no call or element can nest deeper here, so no stack
  // check either.
  TZuOperand* operands = e.Operands.data();
  ScriptValue value = SimpleOperandValue(operands[0]);
  const size_t count = e.Operators.size();
  for (size_t k = 0; k < count; ++k) {
    // A right operand that is a name or a constant is read in place: only
    // the operator reads it, right after the lookup.
    if (const ScriptValue* direct = DirectOperand(operands[k + 1])) {
      Combine(value, e.Operators[k], *direct);
      continue;
    }
    const ScriptValue right = SimpleOperandValue(operands[k + 1]);
    Combine(value, e.Operators[k], right);
  }
  return value;
}

bool TZuScript::PrepareExpression(TZuExpression& e) {
  if (e.Kind == TZuExpression::kBlank) return false;
  if (e.Kind == TZuExpression::kNew) {
    if (TrimView(e.Text.View()).empty()) {
      e.Kind = TZuExpression::kBlank;
      return false;
    }
    // Parentheses nest through here; the guard turns a runaway nesting into
    // a script error. It comes before the text is read, as the tokenizer's
    // errors do.
    CheckStack("Expressions");
    TokenizeInto(e);
    return true;
  }
  CheckStack("Expressions");
  return true;
}

[[gnu::always_inline]] inline ScriptValue TZuScript::EvaluateLevel(TZuExpression& e) {
  TZuOperand* operands = e.Operands.data();
  ScriptValue value = OperandValue(operands[0], e.Depth);
  // No precedence: each operator applies to the value so far and the next
  // operand, which is evaluated before the operator is looked at.
  const size_t count = e.Operators.size();
  for (size_t k = 0; k < count; ++k) {
    if (const ScriptValue* direct = DirectOperand(operands[k + 1])) {
      Combine(value, e.Operators[k], *direct);
      continue;
    }
    const ScriptValue right = OperandValue(operands[k + 1], e.Depth);
    Combine(value, e.Operators[k], right);
  }
  return value;
}

ScriptValue TZuScript::EvaluateCompiled(TZuExpression& expression) {
  TZuExpression* level = &expression;
  for (;;) {
    TZuExpression& e = *level;
    if (e.Kind != TZuExpression::kReady || e.Operands.empty()) [[unlikely]] {
      if (!PrepareExpression(e) || e.Operands.empty()) return ScriptValue();  // blank, or braces only
    } else {
      CheckStack("Expressions");
    }
    // A text that is one parenthesised group, such as every If and While
    // condition: its value is the group's, taken here level by level.
    if (e.Operators.empty() && e.Operands[0].Type == TZuOperand::kGroup) {
      level = e.Operands[0].Group.get();
      continue;
    }
    ScriptValue value = EvaluateLevel(e);
    if (!expression.Checked) {
      // Every operand has been classified now.
      expression.Checked = true;
      if (IsSimpleLevel(e, 0)) {
        // A group that is the whole level has the level's value: the
        // innermost such group is the one taken.
        TZuExpression* simple = &e;
        while (simple->Operators.empty() && simple->Operands[0].Type == TZuOperand::kGroup)
          simple = simple->Operands[0].Group.get();
        expression.Shortcut = simple;
        expression.Form = ShortcutFormOf(*simple);
      }
    }
    return value;
  }
}

void TZuScript::ClassifyOperand(TZuOperand& operand, uint32_t depth) {
  // The operand rules, tested in this order on the whole token. A rule's
  // syntax errors are raised here, when the operand is first reached; the
  // errors that follow a lookup are raised when it runs.
  const std::string_view token = operand.Token.View();
  if (token.empty()) {
    operand.Type = TZuOperand::kConstant;
    return;
  }
  const char first = token.front();
  if (first == '"' || first == '\'') {
    operand.Constant = LiteralValue(token);
    operand.Type = TZuOperand::kConstant;
    return;
  }
  if (first == '(') {
    if (token.size() < 2 || token.back() != ')') Fail("Unclosed parentheses");
    operand.Group = std::make_unique<TZuExpression>();
    InitExpression(*operand.Group, operand.Token.Sub(1, token.size() - 1), depth + 1);
    operand.Type = TZuOperand::kGroup;
    return;
  }
  if (IsLiteralText(token)) {
    operand.Constant = LiteralValue(token);
    operand.Type = TZuOperand::kConstant;
    return;
  }
  const size_t paren = token.find('(');
  if (paren != std::string_view::npos) {
    if (token.back() != ')') Fail3("Unexpected end of function call: ", token, "");
    auto call = std::make_unique<TZuCall>();
    PrepareCall(*call, operand.Token.Sub(0, paren),
                operand.Token.Sub(paren + 1, token.size() - 1), depth);
    operand.Call = std::move(call);
    operand.Type = TZuOperand::kCall;
    return;
  }
  const size_t bracket = token.find('[');
  if (bracket != std::string_view::npos) {
    auto element = std::make_unique<TZuElement>();
    element->Array.Set(token.substr(0, bracket));
    element->BadEnd = token.back() != ']' || token.size() - bracket < 2;
    if (!element->BadEnd)
      InitExpression(element->Index, operand.Token.Sub(bracket + 1, token.size() - 1), depth + 1);
    operand.Element = std::move(element);
    operand.Type = TZuOperand::kElement;
    return;
  }
  const size_t dot = token.find('.');
  if (dot != std::string_view::npos) {
    auto property = std::make_unique<TZuProperty>();
    property->Object.Set(token.substr(0, dot));
    property->Property = std::string(token.substr(dot + 1));
    operand.Property = std::move(property);
    operand.Type = TZuOperand::kProperty;
    return;
  }
  operand.Variable.Set(token);
  const TZuScript& code = *CodeOwner();
  operand.Variable.FrameSlot = FrameSlotOf(code.ParamNames, token);
  operand.Variable.FrameCode = operand.Variable.FrameSlot >= 0 ? &code : nullptr;
  operand.Type = TZuOperand::kName;
}

ScriptValue TZuScript::EvaluateOperandNode(TZuOperand& operand, uint32_t depth) {
  switch (operand.Type) {
    case TZuOperand::kName: {
      TZuScriptVariable* variable = LookupVar(operand.Variable);
      if (variable == nullptr)
        Fail3("Constant or variable \"", operand.Variable.Name, "\" not defined");
      return variable->Value;
    }
    case TZuOperand::kConstant:
      return operand.Constant;
    case TZuOperand::kGroup:
      return Evaluate(*operand.Group);
    case TZuOperand::kCall:
      return EvaluateCall(*operand.Call);
    case TZuOperand::kElement: {
      int32_t index = 0;
      TZuScriptArray& array =
          ElementAt(*operand.Element, "Unexpected type of result of index expression", index);
      return array.GetItem(index);
    }
    case TZuOperand::kProperty: {
      TZuProperty& property = *operand.Property;
      return ObjectAt(property.Object, "\" not found").GetProperty(property.Property);
    }
    case TZuOperand::kNew:
      break;
  }
  ClassifyOperand(operand, depth);
  return EvaluateOperandNode(operand, depth);
}

TZuScriptArray& TZuScript::ElementAt(TZuElement& element, const char* indexMessage,
                                     int32_t& index) {
  TZuScriptArray* array = LookupArray(element.Array);
  if (array == nullptr) Fail3("Array \"", element.Array.Name, "\" not defined");
  if (element.BadEnd) Fail("Unexpected end of index expression");
  const ScriptValue value = Evaluate(element.Index);
  if (value.Kind() != ValueKind::Integer) Fail(indexMessage);
  index = value.IntegerPayload();
  return *array;
}

TZuScriptObject& TZuScript::ObjectAt(TZuNameSite& site, const char* missing) {
  TZuScriptObject* object = LookupObject(site);
  if (object == nullptr) Fail3("Object \"", site.Name, missing);
  return *object;
}

// ---------------------------------------------------------------- one use

ScriptValue TZuScript::Evaluate(std::string_view text) {
  const TZuSourceText source{std::string(text)};
  TZuExpression expression;
  InitExpression(expression, TZuTextRef{&source, 0, static_cast<uint32_t>(text.size())}, 0);
  return EvaluateCompiled(expression);
}

ScriptValue TZuScript::EvaluateOperand(std::string_view token) {
  const TZuSourceText source{std::string(token)};
  TZuOperand operand;
  operand.Token = TZuTextRef{&source, 0, static_cast<uint32_t>(token.size())};
  return EvaluateOperandNode(operand, 0);
}

ScriptValue TZuScript::CallNamed(std::string_view name, std::string_view argumentText) {
  const TZuSourceText source{std::string(name) + std::string(argumentText)};
  const auto nameEnd = static_cast<uint32_t>(name.size());
  TZuCall call;
  PrepareCall(call, TZuTextRef{&source, 0, nameEnd},
              TZuTextRef{&source, nameEnd, static_cast<uint32_t>(source.Text().size())}, 0);
  return EvaluateCall(call);
}

void TZuScript::PrepareCall(TZuCall& call, TZuTextRef name, TZuTextRef argumentText,
                            uint32_t depth) {
  call.Name = name;
  call.ArgumentText = argumentText;
  if (!SplitArguments(call, depth)) FailTooManyArguments(name.View(), argumentText.View());
  const std::string_view text = name.View();
  const size_t dot = text.find('.');
  call.IsMethod = dot != std::string_view::npos;
  if (call.IsMethod) {
    call.Object.Set(text.substr(0, dot));
    call.Method = std::string(text.substr(dot + 1));
  }
  call.Function.Set(text);
  call.Module.Set(text);
}

// ---------------------------------------------------------------- text helpers

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
