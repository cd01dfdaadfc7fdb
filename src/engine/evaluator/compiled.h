// Compiled expressions: the tree an expression text becomes when it first
// runs, with its operands classified, its operators decoded, call argument
// lists split and name lookups cached. Each level is compiled when it is
// first reached, so every error comes at the moment and with the message
// the text itself would give.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/script.h"
#include "values/script_value.h"

namespace zu {

// A text that compiled nodes point into: a statement's text, or a token the
// tokenizer had to copy because blanks inside it were dropped. Never changes.
// For deeply nested texts it answers "where does this group end" without a
// scan, which keeps compiling linear in the text's length.
class TZuSourceText {
 public:
  explicit TZuSourceText(std::string text) : text_(std::move(text)) {}
  TZuSourceText(const TZuSourceText&) = delete;
  TZuSourceText& operator=(const TZuSourceText&) = delete;

  std::string_view Text() const { return text_; }
  // For the "(" at position open: the position of the ")" that matches it
  // by plain counting, or npos.
  size_t MatchingClose(size_t open) const;
  // The first position at or after from that holds ")", or npos.
  size_t NextClose(size_t from) const;
  // The first position at or after from that holds one of " ' ( ,, or npos.
  size_t NextSpecial(size_t from) const;

 private:
  void BuildTables() const;

  std::string text_;
  mutable std::vector<uint32_t> matchingClose_;
  mutable std::vector<uint32_t> nextClose_;
  mutable std::vector<uint32_t> nextSpecial_;
};

// A piece of a source text.
struct TZuTextRef {
  const TZuSourceText* Source = nullptr;
  uint32_t Begin = 0;
  uint32_t End = 0;
  std::string_view View() const { return Source->Text().substr(Begin, End - Begin); }
  TZuTextRef Sub(size_t from, size_t to) const {
    return TZuTextRef{Source, Begin + static_cast<uint32_t>(from), Begin + static_cast<uint32_t>(to)};
  }
};

// A name looked up where it is written, with the result of the last lookup:
// valid while the run's entity lists have not changed (TZuRunContext::
// ListEpoch) and the lookup starts at the same script. A function's own
// parameters, true, false and result are found in its frame directly.
struct TZuNameSite {
  std::string_view Name;
  uint32_t Hash = 0;
  // The frame entry of this name in functions whose table is FrameCode's
  // (-1: none).
  int32_t FrameSlot = -1;
  const TZuScript* FrameCode = nullptr;
  // The cache.
  const TZuScript* Key = nullptr;
  uint64_t Epoch = 0;
  TZuScriptRoot* Found = nullptr;

  void Set(std::string_view name) {
    Name = name;
    Hash = NameHash(name);
    Key = nullptr;
  }
};

struct TZuOperand;

// One text handed to evaluation (a statement's expression, a parenthesised
// group, an argument, an index).
struct TZuExpression {
  enum State : uint8_t {
    kNew,    // not yet reached
    kBlank,  // nothing but blanks: Empty, without a stack check
    kReady,  // tokenized: Operands and Operators
  };
  struct OperatorSlot {
    Operator Code = Operator::Invalid;
    TZuTextRef Text;  // as written, for "Invalid operator"
    std::unique_ptr<TZuSourceText> Copy;  // an operator with dropped blanks
  };

  TZuExpression() = default;
  TZuExpression(TZuExpression&&) noexcept = default;
  TZuExpression& operator=(TZuExpression&&) noexcept = default;
  // Frees the nested levels one after another: a tree as deep as the text
  // is nested must not take a stack frame per level to free.
  ~TZuExpression();

  TZuTextRef Text;
  State Kind = kNew;
  bool Checked = false;  // Shortcut decided
  uint32_t Depth = 0;    // nesting level within its source text
  // The level whose value this expression's value is when that level holds
  // names, constants and a few levels of groups of them only (itself, or the inside of a chain of groups
  // that hold one group each); null otherwise.
  TZuExpression* Shortcut = nullptr;
  // How the Shortcut level is taken: one operand, two names or constants
  // joined by one operator, or any simple level.
  enum ShortcutForm : uint8_t { kOneOperand, kTwoOperands, kSimpleLevel };
  ShortcutForm Form = kSimpleLevel;
  std::vector<TZuOperand> Operands;
  std::vector<OperatorSlot> Operators;
};

// A call Name(ARGS): the argument texts split once, the callee looked up
// through caches, a built-in resolved once.
struct TZuCall {
  static constexpr int kBuiltinUnresolved = -2;
  TZuTextRef Name;
  TZuTextRef ArgumentText;
  std::vector<TZuExpression> Arguments;
  bool IsMethod = false;  // the name holds a "."
  TZuNameSite Object;     // methods: the object before the first "."
  std::string Method;     // methods: the rest of the name
  TZuNameSite Function;   // user functions
  TZuNameSite Module;     // module functions
  int Builtin = kBuiltinUnresolved;  // index in the built-in table, -1 for none
};

// NAME[INDEX], read or assigned.
struct TZuElement {
  TZuNameSite Array;
  bool BadEnd = false;  // no final "]": raised after the array was found
  TZuExpression Index;
};

// OBJECT.PROPERTY.
struct TZuProperty {
  TZuNameSite Object;
  std::string Property;
};

// One operand token, classified when first reached.
struct TZuOperand {
  enum Kind : uint8_t { kNew, kConstant, kGroup, kCall, kElement, kProperty, kName };

  Kind Type = kNew;
  TZuTextRef Token;
  ScriptValue Constant;
  TZuNameSite Variable;                       // kName
  std::unique_ptr<TZuExpression> Group;       // kGroup
  std::unique_ptr<TZuCall> Call;              // kCall
  std::unique_ptr<TZuElement> Element;        // kElement
  std::unique_ptr<TZuProperty> Property;      // kProperty
  std::unique_ptr<TZuSourceText> OwnedToken;  // a token with dropped blanks
};

// Points a fresh expression at text; depth is its nesting level in source.
inline void InitExpression(TZuExpression& e, TZuTextRef text, uint32_t depth) {
  e.Text = text;
  e.Kind = TZuExpression::kNew;
  e.Depth = depth;
  e.Operands.clear();
  e.Operators.clear();
}

// Cuts e's text into operands and operators (TZuExpression::kReady).
// Raises "Invalid character ..." (without script) and leaves e unchanged
// then.
void TokenizeInto(TZuExpression& e);

// Splits the argument text of a call into call.Arguments. Raises nothing;
// answers false when there are more than kMaxCallArguments arguments.
bool SplitArguments(TZuCall& call, uint32_t depth);

// The frame entry of name in a function with these parameters (insertion
// order: parameters, true, false, result), or -1: the entry the lookup of
// the name finds first.
int32_t FrameSlotOf(const std::vector<std::string>& params, std::string_view name);

}  // namespace zu
