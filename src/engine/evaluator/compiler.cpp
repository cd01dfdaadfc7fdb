// Compiling one level of an expression: tokens into operand and operator
// slots, call argument lists into argument expressions, and the jump tables
// that keep deeply nested texts linear to compile.
#include <algorithm>

#include "engine/evaluator/compiled.h"
#include "engine/evaluator/tokenizer.h"
#include "support/text_utils.h"

namespace zu {

namespace {

constexpr uint32_t kNone = UINT32_MAX;

// From this nesting level on, groups and awaited parentheses are skipped
// through the source's tables: each level of a deep nesting then costs its
// own characters only, not the whole rest of the text.
constexpr uint32_t kTableDepth = 8;

size_t FromTable(uint32_t v) { return v == kNone ? std::string_view::npos : v; }

}  // namespace

// ---------------------------------------------------------------- source text

void TZuSourceText::BuildTables() const {
  const size_t n = text_.size();
  matchingClose_.assign(n, kNone);
  nextClose_.assign(n + 1, kNone);
  nextSpecial_.assign(n + 1, kNone);
  std::vector<uint32_t> open;
  for (size_t i = 0; i < n; ++i) {
    if (text_[i] == '(') {
      open.push_back(static_cast<uint32_t>(i));
    } else if (text_[i] == ')' && !open.empty()) {
      matchingClose_[open.back()] = static_cast<uint32_t>(i);
      open.pop_back();
    }
  }
  for (size_t i = n; i-- > 0;) {
    const char c = text_[i];
    nextClose_[i] = c == ')' ? static_cast<uint32_t>(i) : nextClose_[i + 1];
    nextSpecial_[i] = c == '"' || c == '\'' || c == '(' || c == ','
                          ? static_cast<uint32_t>(i)
                          : nextSpecial_[i + 1];
  }
}

size_t TZuSourceText::MatchingClose(size_t open) const {
  if (nextClose_.empty()) BuildTables();
  return FromTable(matchingClose_[open]);
}

size_t TZuSourceText::NextClose(size_t from) const {
  if (nextClose_.empty()) BuildTables();
  return FromTable(nextClose_[std::min(from, text_.size())]);
}

size_t TZuSourceText::NextSpecial(size_t from) const {
  if (nextClose_.empty()) BuildTables();
  return FromTable(nextSpecial_[std::min(from, text_.size())]);
}

// ---------------------------------------------------------------- freeing

TZuExpression::~TZuExpression() {
  // The nested expressions move into a work list, so each one is freed
  // after its own children were taken out: no recursion.
  std::vector<TZuExpression> pending;
  const auto takeChildren = [&pending](TZuExpression& e) {
    for (TZuOperand& operand : e.Operands) {
      if (operand.Group) pending.push_back(std::move(*operand.Group));
      if (operand.Element) pending.push_back(std::move(operand.Element->Index));
      if (operand.Call) {
        for (TZuExpression& argument : operand.Call->Arguments)
          pending.push_back(std::move(argument));
      }
    }
  };
  takeChildren(*this);
  while (!pending.empty()) {
    TZuExpression next = std::move(pending.back());
    pending.pop_back();
    takeChildren(next);
  }
}

// ---------------------------------------------------------------- tokens

void TokenizeInto(TZuExpression& e) {
  const std::string_view text = e.Text.View();
  TokenList tokens;
  const bool deep = e.Depth >= kTableDepth;
  TokenizeExpression(text, tokens, deep ? e.Text.Source : nullptr, e.Text.Begin);
  const size_t count = tokens.Count();
  std::vector<TZuOperand> operands((count + 1) / 2);
  std::vector<TZuExpression::OperatorSlot> operators(count / 2);
  for (size_t k = 0; k < count; ++k) {
    TZuTextRef ref;
    std::unique_ptr<TZuSourceText> copy;
    if (tokens.IsCopied(k)) {
      // A token with dropped blanks is not a piece of the text: it gets a
      // source text of its own, kept by its operand.
      copy = std::make_unique<TZuSourceText>(std::string(tokens.Get(k)));
      ref = TZuTextRef{copy.get(), 0, static_cast<uint32_t>(tokens.Get(k).size())};
    } else {
      ref = e.Text.Sub(tokens.Offset(k), tokens.Offset(k) + tokens.Get(k).size());
    }
    if (k % 2 == 0) {
      TZuOperand& operand = operands[k / 2];
      operand.Token = ref;
      operand.OwnedToken = std::move(copy);
    } else {
      TZuExpression::OperatorSlot& slot = operators[k / 2];
      slot.Code = DecodeOperator(tokens.Get(k));
      slot.Text = ref;
      slot.Copy = std::move(copy);
    }
  }
  // A final operator without right operand is ignored.
  if (operators.size() >= operands.size() && !operators.empty()) operators.pop_back();
  e.Operands = std::move(operands);
  e.Operators = std::move(operators);
  e.Kind = TZuExpression::kReady;
}

// ---------------------------------------------------------------- arguments

bool SplitArguments(TZuCall& call, uint32_t depth) {
  // A quote or "(" makes the next matching character awaited, and until it
  // comes every character belongs to the argument. There is no nesting
  // count: the first ")" after a "(" ends the wait.
  const std::string_view text = call.ArgumentText.View();
  const TZuSourceText& source = *call.ArgumentText.Source;
  const size_t base = call.ArgumentText.Begin;
  const bool deep = depth >= kTableDepth;
  std::vector<size_t> commas;
  size_t i = 0;
  char awaited = 0;
  while (i < text.size()) {
    if (awaited == ')' && deep) {
      const size_t close = source.NextClose(base + i);
      if (close == std::string_view::npos || close - base >= text.size()) break;
      i = close - base + 1;
      awaited = 0;
      continue;
    }
    if (awaited == 0 && deep) {
      const size_t next = source.NextSpecial(base + i);
      if (next == std::string_view::npos || next - base >= text.size()) break;
      i = next - base;
    }
    const char c = text[i++];
    if (awaited != 0) {
      if (c == awaited) awaited = 0;
    } else if (c == '"' || c == '\'') {
      awaited = c;
    } else if (c == '(') {
      awaited = ')';
    } else if (c == ',') {
      if (commas.size() >= static_cast<size_t>(kMaxCallArguments)) return false;
      commas.push_back(i - 1);
    }
  }
  // f() has no argument, f(1,) one, f(,1) two, f( ) one (Empty).
  const size_t lastStart = commas.empty() ? 0 : commas.back() + 1;
  const size_t count = lastStart >= text.size() ? commas.size() : commas.size() + 1;
  if (count > static_cast<size_t>(kMaxCallArguments)) return false;
  call.Arguments.resize(count);
  for (size_t k = 0; k < count; ++k) {
    const size_t from = k == 0 ? 0 : commas[k - 1] + 1;
    const size_t to = k < commas.size() ? commas[k] : text.size();
    InitExpression(call.Arguments[k], call.ArgumentText.Sub(from, to), depth + 1);
  }
  return true;
}

// ---------------------------------------------------------------- frames

int32_t FrameSlotOf(const std::vector<std::string>& params, std::string_view name) {
  // The frame is added in this order; the list keeps it sorted by name, and
  // a lookup takes the first match in that order (the earlier added of two
  // equal names).
  const auto nameAt = [&params](size_t k) -> std::string_view {
    static constexpr std::string_view kFixed[] = {"true", "false", "result"};
    return k < params.size() ? std::string_view(params[k]) : kFixed[k - params.size()];
  };
  int32_t best = -1;
  for (size_t k = 0; k < params.size() + 3; ++k) {
    if (!SameTextAscii(nameAt(k), name)) continue;
    if (best < 0 || nameAt(k) < nameAt(static_cast<size_t>(best))) best = static_cast<int32_t>(k);
  }
  return best;
}

}  // namespace zu
