// Parse and the load-time keywords: the keyword table, the prelude of
// auto-imports and auto-includes, Func definitions, Include and Import.
#include <exception>

#include "engine/executor/compiled_statement.h"
#include "engine/loader/loader.h"
#include "engine/run_scopes.h"
#include "platform/platform.h"
#include "support/files.h"
#include "support/numbers.h"
#include "support/text_utils.h"

namespace zu {

namespace {

// Searched in this order; every row comes from the list of statement kinds.
constexpr TZuScriptKwDef kKeywords[] = {
#define ZU_KEYWORD(name, value, bits) {#name, KeywordCode(kStmt##name)},
#define ZU_KEYWORD_ALSO(text, name) {text, KeywordCode(kStmt##name)},
    ZU_STATEMENT_KINDS(ZU_KEYWORD, ZU_KEYWORD_ALSO)
#undef ZU_KEYWORD
#undef ZU_KEYWORD_ALSO
};

// At most this many words of the auto-import and auto-include lists.
constexpr int kMaxPreludeWords = 999;

// Counts one level of nested loading for the lifetime of a scope.
class LoadDepthScope {
 public:
  explicit LoadDepthScope(TZuRunContext& context) : context_(context) { ++context_.LoadDepth; }
  ~LoadDepthScope() { --context_.LoadDepth; }
  LoadDepthScope(const LoadDepthScope&) = delete;
  LoadDepthScope& operator=(const LoadDepthScope&) = delete;

 private:
  TZuRunContext& context_;
};

// The failure of a source file that exists but cannot be read.
std::string CannotReadMessage(const std::string& path, int code) {
  return "File \"" + path + "\" can't be read. Error " + IntToText(code);
}

std::string LoadDepthMessage() {
  return "Func or Include nested too deeply (more than " + std::to_string(kMaxLoadDepth) +
         " levels)";
}

// Appends "KEYWORD word;" CR LF for each ';'-separated word of list.
void AppendPrelude(std::string& prelude, const char* keyword, std::string_view list) {
  int words = 0;
  size_t i = 0;
  while (i < list.size() && words < kMaxPreludeWords) {
    while (i < list.size() && list[i] == ';') ++i;
    const size_t start = i;
    while (i < list.size() && list[i] != ';') ++i;
    if (i > start) {
      prelude += keyword;
      prelude.append(list.substr(start, i - start));
      prelude += ";\r\n";
      ++words;
    }
  }
}

}  // namespace

std::string TooManyStatementsMessage() {
  return "Too many statements (more than " + IntToText(kMaxStatements) + ")";
}

const TZuScriptKwDef* FindKeyword(std::string_view word) {
  for (const auto& k : kKeywords) {
    if (SameTextAscii(word, k.Name)) return &k;
  }
  return nullptr;
}

std::vector<std::string_view> KeywordNames() {
  std::vector<std::string_view> names;
  for (const auto& k : kKeywords) names.emplace_back(k.Name);
  return names;
}

std::string JoinLines(const std::vector<std::string>& lines) {
  size_t size = 0;
  for (const auto& l : lines) size += l.size() + 2;
  std::string text;
  text.reserve(size);
  for (const auto& l : lines) {
    text += l;
    text += "\r\n";
  }
  return text;
}

int32_t TZuScript::Parse() {
  TZuRunContext& context = Context();
  ActiveScriptScope active(context, this);
  char stackTop = 0;
  StackBaseScope base(context, &stackTop);
  LoadDepthScope depth(context);
  try {
    if (context.LoadDepth > kMaxLoadDepth) Fail(LoadDepthMessage());
    const platform::CalendarTime now = platform::UtcNow();
    context.RandomSeed = static_cast<uint32_t>(
        ((now.Hour * 60 + now.Minute) * 60 + now.Second) * 1000 + now.Millisecond);
    ClassList.Clear();
    FuncList.Clear();
    compiled_.clear();
    Statements.assign(128, TZuScriptStatementDef());
    StatementCount = 0;
    CurrentStatement = 0;
    IncludedFiles.clear();
    // A function definition is parsed from its body even when that is empty.
    if (Source.empty() && !FileName.empty() && Owner == nullptr) {
      if (!platform::FileExists(FileName)) Fail("File \"" + FileName + "\" not found");
      std::string content;
      if (const int code = ReadWholeFile(FileName, content); code != 0)
        Fail(CannotReadMessage(FileName, code));
      Source = SplitLines(content);
    }
    std::string prelude;
    AppendPrelude(prelude, "import ", AutoImport);
    AppendPrelude(prelude, "include ", AutoInclude);
    if (!prelude.empty()) TZuLoader(*this, prelude, true).ScanBlock(false);
    const std::string text = JoinLines(Source);
    TZuLoader loader(*this, text, false);
    loader.RejectNul();
    loader.ScanBlock(false);
    // The pending record located load-time keywords; it must not locate a
    // later failure.
    if (static_cast<size_t>(StatementCount) < Statements.size())
      Statements[static_cast<size_t>(StatementCount)] = TZuScriptStatementDef();
    CurrentStatement = StatementCount;
  } catch (EZuScriptError& e) {
    if (e.Script == nullptr) e.Script = this;
    throw;
  }
  return StatementCount;
}

void TZuLoader::ScanFunc(const std::string& text, char terminator, size_t firstChar) {
  // Header: blanks anywhere in the name and the parameter list are ignored.
  size_t i = 4;  // after "Func"
  std::string name;
  while (i < text.size() && text[i] != '(') {
    if (static_cast<unsigned char>(text[i]) > 32) name += text[i];
    ++i;
  }
  if (name.empty()) FailAt(firstChar, "Function name not defined");
  if (i >= text.size()) FailAt(firstChar, std::string("\"(\" expected, but ") + '\0' + " found");
  ++i;
  std::string params;
  while (i < text.size() && text[i] != ')') {
    if (static_cast<unsigned char>(text[i]) > 32) params += text[i];
    ++i;
  }
  if (i >= text.size()) FailAt(firstChar, std::string("\")\" expected, but ") + '\0' + " found");
  if (terminator != '{')
    FailAt(firstChar, std::string("Begin of block expected, but \"") + terminator + "\" found");

  // Body: copied verbatim up to the "}" that balances the opening "{";
  // braces in strings and comments count as well.
  const size_t bodyStart = pos_;
  int depth = 0;
  for (;;) {
    if (pos_ >= text_.size()) FailAt(firstChar, "Unexpected end of function");
    const char c = text_[pos_];
    if (c == '}') {
      if (depth == 0) break;
      --depth;
    } else if (c == '{') {
      ++depth;
    }
    ++pos_;
  }
  const std::string_view body = text_.substr(bodyStart, pos_ - bodyStart);
  ++pos_;  // past the closing "}"
  // Too deep a nesting is reported at this header, where it has a location.
  if (script_.Context().LoadDepth >= kMaxLoadDepth) FailAt(firstChar, LoadDepthMessage());

  auto definition = std::make_unique<TZuScript>(name, &script_);
  TZuScript* func = definition.get();
  script_.FuncList.Add(std::move(definition));
  if (!params.empty()) {
    size_t start = 0;
    for (;;) {
      const size_t comma = params.find(',', start);
      func->ParamNames.push_back(params.substr(start, comma - start));
      if (comma == std::string::npos) break;
      start = comma + 1;
    }
  }
  func->Source = SplitLines(body);
  func->IncludePath = script_.IncludePath;
  func->FileName = script_.FileName;
  func->BaseOffset = static_cast<int32_t>(bodyStart) + script_.BaseOffset;
  // A definition that fails to load stays in FuncList, where the host's
  // report can still read its name and statements.
  func->Parse();
  script_.CurrentStatement = script_.StatementCount;
}

void TZuLoader::ScanInclude(const std::string& text, char terminator, size_t firstChar) {
  if (terminator != ';')
    FailAt(firstChar, std::string("\";\" expected, but \"") + terminator + "\" found");
  const std::string name = Trim(std::string_view(text).substr(7));
  const std::string path = script_.FindFile(name);
  if (!platform::FileExists(path)) FailAt(firstChar, "File \"" + path + "\" not found");

  // An include cycle is reported at the Include statement that closes it.
  if (script_.Context().LoadDepth >= kMaxLoadDepth) FailAt(firstChar, LoadDepthMessage());

  // Read here, so that a file that cannot be read is reported at this
  // Include statement.
  std::string content;
  if (const int code = ReadWholeFile(path, content); code != 0)
    FailAt(firstChar, CannotReadMessage(path, code));

  auto included = std::make_unique<TZuScript>("", nullptr);
  included->SetContext(&script_.Context());
  included->IncludePath = script_.IncludePath;
  included->FileName = path;
  included->Source = SplitLines(content);
  {
    // A load error leaves the temporary script to the host's report.
    struct Keep {
      std::unique_ptr<TZuScript>& script;
      TZuRunContext& context;
      int uncaught;
      ~Keep() {
        if (std::uncaught_exceptions() > uncaught) context.Abandoned.push_back(std::move(script));
      }
    } keep{included, script_.Context(), std::uncaught_exceptions()};
    included->Parse();
  }

  auto& s = script_;
  const int32_t base = s.StatementCount;
  if (included->StatementCount > kMaxStatements - base)
    FailAt(firstChar, TooManyStatementsMessage());
  const size_t needed = static_cast<size_t>(base + included->StatementCount);
  if (needed >= s.Statements.size()) s.Statements.resize((needed / 128 + 1) * 128);
  for (int32_t k = 0; k < included->StatementCount; ++k) {
    TZuScriptStatementDef& record = s.Statements[static_cast<size_t>(base + k)];
    record = std::move(included->Statements[static_cast<size_t>(k)]);
    record.BlockEnd += base;
  }
  s.StatementCount = base + included->StatementCount;
  s.CurrentStatement = s.StatementCount;
  s.IncludedFiles.push_back(path);
  for (const auto& nested : included->IncludedFiles) s.IncludedFiles.push_back(nested);
  for (int k = 0; k < included->FuncList.Count(); ++k) {
    const auto& definition = static_cast<const TZuScript&>(*included->FuncList.Get(k));
    auto copy = std::make_unique<TZuScript>(definition.Name, &s);
    copy->InstantiateFrom(definition);
    s.FuncList.Add(std::move(copy));
  }
}

void TZuLoader::ScanImport(const std::string& text, char terminator, size_t firstChar) {
  if (terminator != ';')
    FailAt(firstChar, std::string("\";\" expected, but \"") + terminator + "\" found");
  const std::string name = Trim(std::string_view(text).substr(6));
  // A check loads no module, not even an auto-import: no module code runs.
  if (const TZuLoadObserver* observer = script_.Context().LoadObserver;
      observer != nullptr && !observer->LoadsModules())
    return;
  // The module's failures are located at the Import statement.
  MarkPending(firstChar);
  script_.ImportModule(name);
  script_.CurrentStatement = script_.StatementCount;
}

}  // namespace zu
