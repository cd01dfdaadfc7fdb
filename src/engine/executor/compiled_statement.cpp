// Compiling a statement record: where its text splits into target, clauses
// and expressions, decided once by the same rules the statements apply.
#include "engine/executor/compiled_statement.h"

#include "support/text_utils.h"

namespace zu {

namespace {

// Longest text taken after "=" in an assignment, and after " to " in For,
// ">>" in Write or "." in a property target.
constexpr size_t kMaxAssignedText = 99999;
constexpr size_t kMaxClauseText = 9999;

// Position of " to " in text, ignoring the case of the letters.
size_t FindTo(std::string_view text) {
  for (size_t i = 0; i + 4 <= text.size(); ++i) {
    if (text[i] == ' ' && (text[i + 1] == 't' || text[i + 1] == 'T') &&
        (text[i + 2] == 'o' || text[i + 2] == 'O') && text[i + 3] == ' ')
      return i;
  }
  return std::string_view::npos;
}

// Compiles piece, a view of the statement's text, as one expression.
void Point(TZuExpression& e, const TZuCompiledStatement& c, std::string_view piece) {
  const std::string_view all = c.Source->Text();
  const auto begin = static_cast<size_t>(piece.data() - all.data());
  InitExpression(e, TZuTextRef{c.Source.get(), 0, static_cast<uint32_t>(all.size())}.Sub(
                        begin, begin + piece.size()),
                 0);
}

// A variable named in a statement: looked up through its site, and found in
// the frame when it is a parameter, true, false or result.
void NameVariable(TZuNameSite& site, const TZuScript& code, std::string_view name) {
  site.Set(name);
  site.FrameSlot = FrameSlotOf(code.ParamNames, name);
  site.FrameCode = site.FrameSlot >= 0 ? &code : nullptr;
}

void CompileAssignment(TZuCompiledStatement& c, const TZuScript& code) {
  const std::string_view t = c.Source->Text();
  std::string_view target;
  std::string_view expression = t;
  bool hasTarget = false;
  const size_t eq = t.find('=');
  if (eq != std::string_view::npos) {
    target = TrimView(t.substr(0, eq));
    // "f(a = b)" or a quoted "=" is no assignment.
    hasTarget = target.find_first_of("()") == std::string_view::npos &&
                CountChar(target, '"') % 2 == 0 && CountChar(target, '\'') % 2 == 0;
    if (hasTarget) expression = TrimView(t.substr(eq + 1, kMaxAssignedText));
  }
  Point(c.Expression, c, expression);
  if (!hasTarget) return;
  const size_t bracket = target.find('[');
  if (bracket != std::string_view::npos) {
    c.TargetKind = TZuCompiledStatement::kElementTarget;
    c.Element = std::make_unique<TZuElement>();
    c.Element->Array.Set(target.substr(0, bracket));
    c.Element->BadEnd = target.back() != ']' || target.size() - bracket < 2;
    if (!c.Element->BadEnd)
      Point(c.Element->Index, c, target.substr(bracket + 1, target.size() - bracket - 2));
    return;
  }
  const size_t dot = target.find('.');
  if (dot != std::string_view::npos) {
    c.TargetKind = TZuCompiledStatement::kPropertyTarget;
    c.Object.Set(target.substr(0, dot));
    c.Property = std::string(target.substr(dot + 1, kMaxClauseText));
    return;
  }
  c.TargetKind = TZuCompiledStatement::kVariableTarget;
  NameVariable(c.Name, code, target);
  c.NameText = std::string(target);
}

void CompileDeclarations(TZuCompiledStatement& c) {
  // The items of SplitList, as pieces of the text: a comma separates when
  // the quote characters before it are even and no parenthesis is open.
  const std::string_view t = c.Source->Text();
  std::vector<std::string_view> items;
  int quotes = 0;
  int depth = 0;
  size_t start = 0;
  for (size_t i = 0; i < t.size(); ++i) {
    const char ch = t[i];
    if (ch == '"' || ch == '\'') {
      ++quotes;
    } else if (ch == '(') {
      ++depth;
    } else if (ch == ')') {
      --depth;
    } else if (ch == ',' && quotes % 2 == 0 && depth == 0) {
      items.push_back(t.substr(start, i - start));
      start = i + 1;
    }
  }
  items.push_back(t.substr(start));
  c.Declarations.resize(items.size());
  for (size_t k = 0; k < items.size(); ++k) {
    // name = first expression; a run of "=" separates once, and the
    // expression ends at the next "=".
    const std::string_view piece = items[k];
    TZuCompiledStatement::Declaration& d = c.Declarations[k];
    const size_t eq = piece.find('=');
    d.Name = std::string(TrimView(piece.substr(0, eq)));
    d.Hash = NameHash(d.Name);
    if (eq == std::string_view::npos) continue;
    size_t from = eq;
    while (from < piece.size() && piece[from] == '=') ++from;
    const size_t to = piece.find('=', from);
    const std::string_view initial =
        TrimView(piece.substr(from, to == std::string_view::npos ? to : to - from));
    d.HasInitial = !initial.empty();
    if (d.HasInitial) Point(d.Initial, c, initial);
  }
}

void CompileFor(TZuCompiledStatement& c, const TZuScript& code) {
  const std::string_view t = c.Source->Text();
  const size_t to = FindTo(t);
  if (to == std::string_view::npos) {
    c.Malformed = "\"To\" keyword expected in \"For\" statement";
    return;
  }
  const std::string_view head = TrimView(t.substr(0, to));
  const std::string_view limit = TrimView(t.substr(to + 4, kMaxClauseText));
  const size_t eq = head.find('=');
  if (eq == std::string_view::npos) {
    c.Malformed = "Initial expression expected";
    return;
  }
  const std::string_view name = TrimView(head.substr(0, eq));
  NameVariable(c.Name, code, name);
  c.NameText = std::string(name);
  Point(c.Expression, c, head.substr(eq + 1));
  Point(c.Second, c, limit);
}

void CompileWrite(TZuCompiledStatement& c, const TZuScript& code) {
  const std::string_view t = c.Source->Text();
  // ">>" is sought anywhere, string literals included.
  const size_t redirect = t.find(">>");
  if (redirect == std::string_view::npos) {
    Point(c.Expression, c, t);
    NameVariable(c.Name, code, "stdout");
    return;
  }
  c.Redirected = true;
  Point(c.Second, c, t.substr(redirect + 2, kMaxClauseText));
  Point(c.Expression, c, t.substr(0, redirect));
}

}  // namespace

std::unique_ptr<TZuCompiledStatement> CompileStatement(const TZuScript& code, uint8_t kind,
                                                       const std::string& text) {
  auto c = std::make_unique<TZuCompiledStatement>();
  c->Source = std::make_unique<TZuSourceText>(text);
  switch (kind) {
    case kStmtExpression:
      CompileAssignment(*c, code);
      break;
    case kStmtConst:
    case kStmtVar:
      CompileDeclarations(*c);
      break;
    case kStmtIf:
    case kStmtElseIf:
    case kStmtWhile:
    case kStmtDelete:
      Point(c->Expression, *c, c->Source->Text());
      break;
    case kStmtFor:
      CompileFor(*c, code);
      break;
    case kStmtWrite:
      CompileWrite(*c, code);
      break;
    case kStmtRead:
      NameVariable(c->Name, code, c->Source->Text());
      break;
    default:
      break;  // Array evaluates through slots as it walks; the rest reads no text
  }
  return c;
}

}  // namespace zu
