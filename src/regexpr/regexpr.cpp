// TRegExpr: expression and modifiers, the search operations over the stored
// input, substitution, error texts and the readable program dump.
#include "regexpr/regexpr.h"

#include <cstring>
#include <string>

#include "regexpr/program.h"

namespace zu {

using regexpr_internal::kNodeHeader;
using regexpr_internal::kProgramMagic;
using regexpr_internal::MatchSlots;
using regexpr_internal::TRegExprProgram;

namespace regexpr_internal {

bool IsKnownOpcode(uint8_t op) {
  switch (op) {
#define ZU_OPCODE_CASE(name, code, operand) case code:
    ZU_REGEXPR_OPCODES(ZU_OPCODE_CASE)
#undef ZU_OPCODE_CASE
    return true;
    default:
      return (op > kGroupOpen && op <= kGroupOpen + kMaxGroups) ||
             (op > kGroupClose && op <= kGroupClose + kMaxGroups);
  }
}

std::string OpcodeName(uint8_t op) {
  switch (op) {
#define ZU_OPCODE_NAME(name, code, operand) \
  case code:                                \
    return #name;
    ZU_REGEXPR_OPCODES(ZU_OPCODE_NAME)
#undef ZU_OPCODE_NAME
    default:
      if (op > kGroupOpen && op <= kGroupOpen + kMaxGroups)
        return "GroupOpen " + std::to_string(op - kGroupOpen);
      if (op > kGroupClose && op <= kGroupClose + kMaxGroups)
        return "GroupClose " + std::to_string(op - kGroupClose);
      return "";
  }
}

Operand OperandOf(uint8_t op) {
  switch (op) {
#define ZU_OPCODE_OPERAND(name, code, operand) \
  case code:                                   \
    return Operand::operand;
    ZU_REGEXPR_OPCODES(ZU_OPCODE_OPERAND)
#undef ZU_OPCODE_OPERAND
    default:
      return Operand::kNone;
  }
}

int NodeSize(const std::string& code, int p) {
  uint8_t op = static_cast<uint8_t>(code[p]);
  if (!IsKnownOpcode(op)) return 0;
  switch (OperandOf(op)) {
    case Operand::kText: {
      // A literal of the single character 0 (from \x00) keeps both bytes.
      size_t len = std::strlen(code.data() + p + kNodeHeader);
      if (len == 0 && (op == kLiteral || op == kLiteralCI)) len = 1;
      return kNodeHeader + static_cast<int>(len) + 1;
    }
    case Operand::kBraces:
      return kNodeHeader + 2;
    default:
      return kNodeHeader;
  }
}

std::string ErrorMessage(int code, int compilePos) {
  std::string text = TRegExpr::ErrorText(code);
  if (code < 1000) text += " (pos " + std::to_string(compilePos) + ")";
  return text;
}

void RaiseRegExprError(int code, int compilePos) {
  throw ERegExpr(code, compilePos, ErrorMessage(code, compilePos));
}

namespace {

// Operand text with bytes outside printable ASCII as \xHH.
std::string Printable(const char* text, size_t len) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out = "\"";
  for (size_t i = 0; i < len; ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (c < 0x20 || c >= 0x7F || c == '"' || c == '\\') {
      out += "\\x";
      out += kHex[c >> 4];
      out += kHex[c & 15];
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

}  // namespace

std::string DumpProgram(const TRegExprProgram& p) {
  std::string out;
  const int size = static_cast<int>(p.Code.size());
  for (int at = 1; at < size;) {
    uint8_t op = p.Op(at);
    std::string line = std::to_string(at);
    line.insert(0, line.size() < 5 ? 5 - line.size() : 0, ' ');
    line += ": ";
    int nodeSize = NodeSize(p.Code, at);
    if (nodeSize == 0) {
      out += line + "? " + std::to_string(op) + "\n";
      break;
    }
    line += OpcodeName(op);
    if (OperandOf(op) == Operand::kText)
      line += " " + Printable(p.Code.data() + at + kNodeHeader, nodeSize - kNodeHeader - 1);
    if (op == kRepeatBraces)
      line += " {" + std::to_string(static_cast<uint8_t>(p.Code[at + kNodeHeader])) + "," +
              std::to_string(static_cast<uint8_t>(p.Code[at + kNodeHeader + 1])) + "}";
    int next = p.Next(at);
    if (next >= 0) line += " -> " + std::to_string(next);
    out += line + "\n";
    at += nodeSize;
  }
  out += "first char: ";
  out += p.FirstChar ? Printable(reinterpret_cast<const char*>(&p.FirstChar), 1) : "none";
  if (p.HasFirstSet) {
    std::string members;
    for (int c = 1; c < 256; ++c)
      if (p.FirstSet[c]) members += static_cast<char>(c);
    out += "; first set: " + Printable(members.data(), members.size());
  }
  out += p.Anchored ? "; anchored" : "";
  out += "; required: ";
  out += p.Required.empty() ? "none" : Printable(p.Required.data(), p.Required.size());
  out += "\n";
  return out;
}

}  // namespace regexpr_internal

TRegExpr::TRegExpr() { starts_.fill(-1), ends_.fill(-1); }
TRegExpr::~TRegExpr() = default;

std::string TRegExpr::ErrorText(int code) {
  switch (code) {
    case 0:
      return "No errors";
    case 100:
      return "TRegExpr(comp): Null Argument";
    case 101:
      return "TRegExpr(comp): Regexp Too Big";
    case 102:
      return "TRegExpr(comp): ParseReg Too Many ()";
    case 103:
      return "TRegExpr(comp): ParseReg Unmatched ()";
    case 104:
      return "TRegExpr(comp): ParseReg Unmatched ()";
    case 105:
      return "TRegExpr(comp): ParseReg Junk On End";
    case 106:
      return "TRegExpr(comp): *+ Operand Could Be Empty";
    case 107:
      return "TRegExpr(comp): Nested *?+";
    case 108:
      return "TRegExpr(comp): Bad Hex Digit";
    case 109:
      return "TRegExpr(comp): Invalid [] Range";
    case 110:
      return "TRegExpr(comp): Parse Atom Trailing \\";
    case 111:
    case 112:
      return "TRegExpr(comp): No Hex Code After \\x";
    case 113:
      return "TRegExpr(comp): Unmatched []";
    case 114:
      return "TRegExpr(comp): Internal Urp";
    case 115:
      return "TRegExpr(comp): ?+*{ Follows Nothing";
    case 116:
      return "TRegExpr(comp): Trailing \\";
    case 117:
    case 118:
      return "TRegExpr(comp): No Hex Code After \\x";
    case 119:
      return "TRegExpr(comp): RarseAtom Internal Disaster";
    case 122:
      return "TRegExpr(comp): BRACES Argument Too Big";
    case 124:
      return "TRegExpr(comp): BRACE Min Param Greater then Max";
    case 125:
      return "TRegExpr(comp): Unclosed (?#Comment)";
    case 126:
      return "TRegExpr(comp): If you want take part in beta-testing BRACES '{min,max}' for "
             "complex cases - remove '.' from {.$DEFINE ComplexBraces}";
    case 127:
      return "TRegExpr(comp): Urecognized Modifier";
    case 1000:
      return "TRegExpr(exec): RegRepeat Called Inappropriately";
    case 1001:
      return "TRegExpr(exec): MatchPrim Memory Corruption";
    case 1002:
      return "TRegExpr(exec): MatchPrim Corrupted Pointers";
    case 1003:
      return "TRegExpr(exec): Not Assigned Expression Property";
    case 1004:
      return "TRegExpr(exec): Corrupted Program";
    case 1005:
      return "TRegExpr(exec): No Inpit String Specified";
    case 1006:
      return "TRegExpr(exec): Offset Must Be Greater Then 0";
    case 1007:
      return "TRegExpr(exec): ExecNext Without Exec[Pos]";
    case 1008:
      return "TRegExpr(exec): GetInputString Without InputString";
    case 1009:
      return "TRegExpr(subst): Not Assigned Expression Property";
    case 1010:
      return "TRegExpr(subst): Corrupted Programm";
    case 1011:
      return "TRegExpr(dump): Corrupted Opcode";
    case 1012:
      return "TRegExpr(exec): Exec After Compilation Error";
    case 1014:
      return "TRegExpr(exec): Loop Stack Exceeded";
    case 1015:
      return "TRegExpr(exec): Loop Without LoopEntry !";
    default:
      return "Unknown error";
  }
}

void TRegExpr::Fail(int code) {
  lastError_ = code;
  regexpr_internal::RaiseRegExprError(code, compilePos_);
}

void TRegExpr::SetExpression(std::string_view expression) {
  expression = expression.substr(0, expression.find('\0'));
  if (expression == expression_ && program_) return;
  program_.reset();
  expression_.assign(expression);
  if (!expression_.empty()) Compile();
}

void TRegExpr::Compile() {
  program_.reset();
  if (expression_.empty()) Fail(100);
  try {
    program_ = regexpr_internal::CompileProgram(expression_, modifiers_);
  } catch (const ERegExpr& e) {
    lastError_ = e.ErrorCode;  // recorded, then passed on unchanged
    throw;
  }
}

bool TRegExpr::GetModifier(int index) {
  if (index != kModifierI && index != kModifierR && index != kModifierS) Fail(1013);
  return (modifiers_ & index) != 0;
}

void TRegExpr::SetModifier(int index, bool on) {
  if (index != kModifierI && index != kModifierR && index != kModifierS) Fail(1013);
  modifiers_ = on ? (modifiers_ | index) : (modifiers_ & ~index);
  if (program_ && program_->Modifiers != modifiers_) Compile();
}

bool TRegExpr::Exec(std::string_view input) {
  input_.assign(input.substr(0, input.find('\0')));
  hasInput_ = true;
  starts_.fill(-1);
  ends_.fill(-1);
  return ExecPos(1);
}

bool TRegExpr::ExecPos(int offset) {
  if (!program_) Fail(1003);
  if (program_->Code.empty() || static_cast<uint8_t>(program_->Code[0]) != kProgramMagic)
    Fail(1004);
  if (!hasInput_) Fail(1005);
  if (offset <= 0) Fail(1006);
  starts_.fill(-1);
  ends_.fill(-1);
  if (static_cast<size_t>(offset) > input_.size() + 1) return false;
  if (!scratch_) scratch_ = regexpr_internal::NewMatchScratch();
  MatchSlots slots;
  bool found;
  try {
    found = regexpr_internal::SearchProgram(*program_, input_, static_cast<size_t>(offset - 1),
                                            slots, *scratch_);
  } catch (const ERegExpr& e) {
    lastError_ = e.ErrorCode;  // recorded, then passed on unchanged
    throw;
  }
  if (found) {
    starts_ = slots.Starts;
    ends_ = slots.Ends;
  }
  return found;
}

bool TRegExpr::ExecNext() {
  if (!hasInput_ || starts_[0] < 0 || ends_[0] < 0) Fail(1007);
  int length = ends_[0] - starts_[0];
  int offset = starts_[0] + 1 + length + (length == 0 ? 1 : 0);
  return ExecPos(offset);
}

int TRegExpr::MatchStart(int n) const {
  if (n < 0 || n > 9 || !hasInput_ || starts_[n] < 0 || ends_[n] < 0) return -1;
  return starts_[n] + 1;
}

int TRegExpr::MatchLength(int n) const {
  if (n < 0 || n > 9 || !hasInput_ || starts_[n] < 0 || ends_[n] < 0) return -1;
  return ends_[n] - starts_[n];
}

std::string TRegExpr::Match(int n) const {
  if (MatchStart(n) < 0) return "";
  return input_.substr(static_cast<size_t>(starts_[n]), static_cast<size_t>(MatchLength(n)));
}

std::string TRegExpr::ReplaceAll(std::string_view input, std::string_view replacement) {
  std::string result;
  size_t previous = 0;  // 0-based end of the previous match
  if (Exec(input)) {
    do {
      size_t start = static_cast<size_t>(starts_[0]);
      result.append(input.substr(previous, start - previous));
      result.append(replacement);
      previous = static_cast<size_t>(ends_[0]);
    } while (ExecNext());
  }
  // From the full text: what follows a 0 byte is kept as it was.
  result.append(input.substr(previous));
  return result;
}

std::string TRegExpr::Dump() const {
  return program_ ? regexpr_internal::DumpProgram(*program_) : "";
}

std::string_view TRegExpr::ProgramBytes() const {
  return program_ ? std::string_view(program_->Code) : std::string_view();
}

unsigned char TRegExpr::FirstCharHint() const { return program_ ? program_->FirstChar : 0; }
bool TRegExpr::Anchored() const { return program_ && program_->Anchored; }
std::string_view TRegExpr::RequiredLiteral() const {
  return program_ ? std::string_view(program_->Required) : std::string_view();
}

}  // namespace zu
