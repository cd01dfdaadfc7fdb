// The check mode's driver: loads the script with an observer that notes
// what the loader drops, checks every statement of the program and every
// function definition, finds variables that are assigned but never read, and
// locates each finding the way the error report locates a statement.
#include "checker/checker.h"

#include <algorithm>
#include <map>
#include <set>
#include <tuple>

#include "checker/message_text.h"
#include "checker/statement_checks.h"
#include "engine/loader/loader.h"
#include "engine/script.h"
#include "platform/path_names.h"
#include "support/files.h"
#include "support/text_utils.h"

namespace zu::checker {

namespace {

// Quoted fragments of source in messages are cut to this many characters.
constexpr size_t kMaxQuoted = 60;

std::string Quote(std::string_view text) {
  if (text.size() <= kMaxQuoted) return Concat({"\"", text, "\""});
  return Concat({"\"", text.substr(0, kMaxQuoted), "...\""});
}

// What the loader drops or hides, each with the file and position where it
// happens (located once the load is over).
class LoadNotes : public TZuLoadObserver {
 public:
  struct Note {
    std::string Path;
    int32_t Position;
    std::string Message;
  };
  std::vector<Note> Notes;

  bool LoadsModules() const override { return false; }
  void StatementDropped(const std::string& path, int32_t position, std::string_view text) override {
    Notes.push_back(
        {path, position,
         Concat({Quote(text), " is dropped: a statement needs \";\" and none follows it"})});
  }
  void BlockOpenAtEnd(const std::string& path, int32_t position,
                      std::string_view keyword) override {
    Notes.push_back(
        {path, position,
         Concat({"The block of \"", keyword, "\" is not closed: it ends with the file"})});
  }
  void CommentOpenAtEnd(const std::string& path, int32_t position) override {
    Notes.push_back(
        {path, position, "The comment \"/*\" is not closed: it hides the rest of the file"});
  }
  void LineHidden(const std::string& path, int32_t position, std::string_view hidden) override {
    Notes.push_back(
        {path, position,
         Concat({"\"@\" at the end of a line hides the next line as well: ", Quote(hidden)})});
  }
};

// Installs the observer for one load and removes it however the load ends.
class ObserverScope {
 public:
  ObserverScope(TZuRunContext& context, TZuLoadObserver* observer) : context_(context) {
    context_.LoadObserver = observer;
  }
  ~ObserverScope() { context_.LoadObserver = nullptr; }
  ObserverScope(const ObserverScope&) = delete;
  ObserverScope& operator=(const ObserverScope&) = delete;

 private:
  TZuRunContext& context_;
};

// The statements of script and of every function defined in it, nested
// definitions included (included files are merged into both already).
void CheckProgram(const TZuScript& script, ProgramFacts& facts) {
  for (int32_t i = 0; i < script.StatementCount; ++i) CheckStatement(script, i, facts);
  for (int k = 0; k < script.FuncList.Count(); ++k) {
    if (const auto* definition = dynamic_cast<const TZuScript*>(script.FuncList.Get(k)))
      CheckProgram(*definition, facts);
  }
}

TZuFinding Locate(const StatementRef& where, std::string message) {
  TZuFinding finding;
  where.Script->GetStatementLocation(where.Index, finding.Line, finding.Column);
  const TZuScriptStatementDef& record = where.Script->Statements[static_cast<size_t>(where.Index)];
  finding.FileName =
      record.FileName.empty() ? platform::ExtractFileName(where.Script->FileName) : record.FileName;
  finding.Message = std::move(message);
  return finding;
}

// Locates positions in files, reading each file once.
class FileLocator {
 public:
  TZuFinding Locate(const std::string& path, int32_t position, std::string message) {
    TZuFinding finding;
    finding.FileName = platform::ExtractFileName(path);
    finding.Message = std::move(message);
    if (path.empty()) return finding;
    auto [it, inserted] = texts_.try_emplace(path);
    // Read whole, as the loader reads it; LineAndColumn counts any line end
    // as the CR LF the positions were counted with.
    if (inserted && ReadWholeFile(path, it->second) != 0) it->second.clear();
    LineAndColumn(it->second, position, finding.Line, finding.Column);
    return finding;
  }

 private:
  std::map<std::string, std::string> texts_;
};

}  // namespace

std::vector<TZuFinding> CheckScript(TZuScript& script) {
  LoadNotes notes;
  {
    ObserverScope scope(script.Context(), &notes);
    script.Parse();
  }
  ProgramFacts facts;
  CheckProgram(script, facts);

  std::vector<TZuFinding> findings;
  FileLocator locator;
  for (LoadNotes::Note& note : notes.Notes)
    findings.push_back(locator.Locate(note.Path, note.Position, std::move(note.Message)));
  for (ProgramFacts::Trap& trap : facts.Traps)
    findings.push_back(Locate(trap.Where, std::move(trap.Message)));

  // A variable given a value that no expression anywhere reads: the usual
  // sign of a misspelt name. result is read by the caller or the host,
  // stdout by every output statement; true and false are constants, so an
  // assignment to them stops the run anyway.
  std::map<std::string, bool> reported;
  for (const ProgramFacts::Assignment& assignment : facts.Assignments) {
    if (assignment.Key == "RESULT" || assignment.Key == "STDOUT" || assignment.Key == "TRUE" ||
        assignment.Key == "FALSE")
      continue;
    if (facts.Expressions.Reads.count(assignment.Key) != 0) continue;
    if (!reported.emplace(assignment.Key, true).second) continue;
    findings.push_back(Locate(assignment.Where, Concat({"Variable \"", assignment.Name,
                                                        "\" is assigned but never read"})));
  }

  // A file included twice gives the same finding twice: it is kept once.
  std::set<std::tuple<std::string, int32_t, int32_t, std::string>> seen;
  std::erase_if(findings, [&seen](const TZuFinding& f) {
    return !seen.emplace(f.FileName, f.Line, f.Column, f.Message).second;
  });
  // File order, the script's own file first.
  const std::string own = platform::ExtractFileName(script.FileName);
  const auto order = [&own](const TZuFinding& f) {
    return std::make_tuple(f.FileName != own, f.FileName, f.Line, f.Column);
  };
  std::stable_sort(
      findings.begin(), findings.end(),
      [&order](const TZuFinding& a, const TZuFinding& b) { return order(a) < order(b); });
  return findings;
}

}  // namespace zu::checker
