// The declaration statements: Var and Const, Array with its initializer
// block, and Object.
#include "engine/evaluator/hot_paths.h"
#include "engine/executor/compiled_statement.h"
#include "engine/script.h"
#include "support/text_utils.h"

namespace zu {

namespace {

// An Array initializer block takes at most this many values; an Object
// statement declares at most this many objects.
constexpr int kMaxInitializers = 1024;
constexpr int kMaxObjects = 99;

// The next word of text at or after pos, words being runs of characters
// other than delimiter (a run of delimiters separates once). Empty at the end.
std::string_view NextWord(std::string_view text, size_t& pos, char delimiter) {
  while (pos < text.size() && text[pos] == delimiter) ++pos;
  const size_t start = pos;
  while (pos < text.size() && text[pos] != delimiter) ++pos;
  return text.substr(start, pos - start);
}

inline bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

inline bool IsNameChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

}  // namespace

void TZuScript::ExecuteVarConst(TZuCompiledStatement& statement, bool isConst) {
  for (TZuCompiledStatement::Declaration& d : statement.Declarations) {
    if (VarList.Find(d.Name, d.Hash) != nullptr)
      Fail("Variable or constant \"" + d.Name + "\" already defined");
    if (isConst && !d.HasInitial) Fail("Constant \"" + d.Name + "\" must have initial expression");
    ScriptValue value = d.HasInitial ? Evaluate(d.Initial) : ScriptValue();
    VarList.Add(std::make_unique<TZuScriptVariable>(d.Name, isConst, std::move(value), this));
  }
}

namespace {

// The next expression of an Array statement's walk: the walk reads the same
// text the same way on every run, so its k-th expression is always the same
// text, compiled the first time.
TZuExpression& Slot(TZuCompiledStatement& statement, size_t& k, std::string_view text) {
  if (k == statement.Slots.size()) {
    statement.SlotTexts.push_back(std::make_unique<TZuSourceText>(std::string(text)));
    statement.Slots.push_back(std::make_unique<TZuExpression>());
    InitExpression(*statement.Slots.back(),
                   TZuTextRef{statement.SlotTexts.back().get(), 0, static_cast<uint32_t>(text.size())},
                   0);
  }
  return *statement.Slots[k++];
}

}  // namespace

void TZuScript::ExecuteArray(TZuCompiledStatement& statement, const std::string& text) {
  const std::string_view t = text;
  const size_t n = t.size();
  size_t i = 0;
  size_t slot = 0;
  for (;;) {
    // Name, up to "[".
    std::string name;
    for (;;) {
      if (i >= n) return;  // a declaration without "[" declares nothing
      const char c = t[i];
      if (IsBlank(c)) {
        ++i;
      } else if (c == '[') {
        if (name.empty()) Fail("Name of array expected");
        ++i;
        break;
      } else if (IsNameChar(c)) {
        name += c;
        ++i;
      } else {
        Fail(std::string("Invalid character \"") + c + "\" in array name");
      }
    }
    // Size, up to "]".
    std::string sizeText;
    while (i < n && t[i] != ']') {
      if (!IsBlank(t[i])) sizeText += t[i];
      ++i;
    }
    if (i >= n) return;
    ++i;
    if (ArrayList.Find(name) != nullptr) Fail("Array \"" + name + "\" already exist");
    if (sizeText.empty()) Fail("Expected size expression of array \"" + name + "\"");
    const int32_t size = ToInteger(Evaluate(Slot(statement, slot, sizeText)));
    // Element storage cannot be sized negatively.
    if (size < 0) Fail("Size of array \"" + name + "\" is negative: " + std::to_string(size));
    auto* array = static_cast<TZuScriptArray*>(
        ArrayList.Add(std::make_unique<TZuScriptArray>(name, size, this)));

    while (i < n && IsBlank(t[i])) ++i;
    if (i >= n) return;
    if (t[i] == ',') {
      ++i;
      continue;
    }
    if (t[i] != '=') Fail(std::string("Unexpected character: \"") + t[i] + "\"");
    ++i;
    while (i < n && IsBlank(t[i])) ++i;
    if (i >= n || t[i] != '(') {
      std::string shown;
      if (i < n) shown += t[i];
      if (i + 1 < n) shown += t[i + 1];
      Fail("Expected begin of initializators block: " + shown);
    }
    ++i;
    const size_t blockStart = i;
    while (i < n && t[i] != ')') ++i;
    if (i >= n) Fail("Unexpected end of initializators block (" + std::to_string(n) + ")");
    const std::string_view block = t.substr(blockStart, i - blockStart);
    ++i;
    // Values are taken in order; the first blank one ends the list.
    size_t at = 0;
    for (int k = 0; k < kMaxInitializers; ++k) {
      const std::string_view piece = NextWord(block, at, ',');
      if (TrimView(piece).empty()) break;
      array->SetItem(k, Evaluate(Slot(statement, slot, piece)));
    }
    // Anything after ")" up to the next "," is ignored.
    while (i < n && t[i] != ',') ++i;
    if (i >= n) return;
    ++i;
  }
}

void TZuScript::ExecuteObject(const std::string& text) {
  size_t at = 0;
  for (int k = 0; k < kMaxObjects; ++k) {
    const std::string_view piece = NextWord(text, at, ',');
    if (piece.empty()) break;
    const size_t colon = piece.find(':');
    const std::string objectName(TrimView(piece.substr(0, colon)));
    if (objectName.empty()) Fail("Object name expected: " + std::string(piece));
    if (ObjectList.Find(objectName) != nullptr)
      Fail("Object \"" + objectName + "\" already defined");
    std::string_view className;
    if (colon != std::string_view::npos) {
      const size_t second = piece.find(':', colon + 1);
      className = TrimView(
          piece.substr(colon + 1, second == std::string_view::npos ? second : second - colon - 1));
    }
    if (className.empty()) Fail("Class name expected: " + std::string(piece));
    TZuScriptClass* cls = FindClass(className);
    if (cls == nullptr) Fail("Class \"" + std::string(className) + "\" not defined");
    ObjectList.Add(cls->CreateObject(objectName));
  }
}

}  // namespace zu
