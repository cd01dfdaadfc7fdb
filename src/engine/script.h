// The script object model: named entities, the owning lists that hold them,
// statement records, the run context and TZuScript itself, which is both the
// main script and every user function.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/statement_kinds.h"
#include "support/errors.h"
#include "values/script_value.h"

namespace zu {

class TRegExprCache;
class TZuScript;
class TZuScriptExtModule;
class TZuLoadObserver;
struct TZuCompiledStatement;
struct TZuExpression;
struct TZuOperand;
struct TZuCall;
struct TZuElement;
struct TZuNameSite;
struct TZuTextRef;
struct IntegerResult;

// Stack of the thread the host runs the interpreter on (platform::RunWithStack).
// Sized so that kMaxCallDepth nested user-function calls fit even in a
// sanitizer build, where frames are several times larger.
inline constexpr size_t kInterpreterStackBytes = size_t{1} << 30;
// Stack the engine leaves unused below its guard: room for a built-in, a
// module call or the platform to finish the deepest step.
inline constexpr size_t kStackReserveBytes = size_t{4} << 20;
// Nested user-function calls allowed at once; the next one is a script error
// that names the function.
inline constexpr int kMaxCallDepth = 12000;
// Nested Func bodies and included files allowed at once while loading (an
// include cycle ends here instead of exhausting the machine).
inline constexpr int kMaxLoadDepth = 64;
// Statement records one script or function may hold (a run executes the
// indexes 0 .. kMaxStatements-1); one more is an error at load time.
inline constexpr int32_t kMaxStatements = 1000000;
// "Too many statements (more than 1000000)".
std::string TooManyStatementsMessage();
// Arguments a call takes (the argument store of the module boundary).
inline constexpr int kMaxCallArguments = 64;

// Entity kind tags (nothing branches on them).
enum : uint8_t {
  kKindVariable = 1,
  kKindArray = 2,
  kKindObjList = 3,
  kKindScript = 4,
  kKindClass = 5,
  kKindObject = 6,
  kKindFunction = 7,
  kKindExtModule = 8,
};

// Base of every named entity.
class TZuScriptRoot {
 public:
  TZuScriptRoot(std::string name, uint8_t kind, TZuScript* owner)
      : Name(std::move(name)), Kind(kind), Owner(owner) {}
  virtual ~TZuScriptRoot() = default;
  TZuScriptRoot(const TZuScriptRoot&) = delete;
  TZuScriptRoot& operator=(const TZuScriptRoot&) = delete;

  std::string Name;  // compared ignoring the case of A-Z
  uint8_t Kind;
  TZuScript* Owner;  // the script the entity belongs to
};

// A variable or a constant.
class TZuScriptVariable : public TZuScriptRoot {
 public:
  TZuScriptVariable(std::string name, bool isConstant, ScriptValue value, TZuScript* owner)
      : TZuScriptRoot(std::move(name), kKindVariable, owner),
        Value(std::move(value)),
        IsConstant(isConstant) {}
  // Raises "Value can't be assign to constant \"NAME\"" (without script:
  // the executing statement supplies it) on a constant.
  void SetValue(const ScriptValue& value) {
    if (IsConstant) FailConstant();
    Value = value;
  }
  void SetValue(ScriptValue&& value) {
    if (IsConstant) FailConstant();
    Value = std::move(value);
  }

  ScriptValue Value;
  bool IsConstant;

 private:
  [[noreturn]] void FailConstant() const;
};

// A fixed-size, zero-based array.
class TZuScriptArray : public TZuScriptRoot {
 public:
  TZuScriptArray(std::string name, int32_t size, TZuScript* owner);
  void SetSize(int32_t n);
  // Both raise "Index of array NAME is out of bounds" outside 0..Size-1.
  const ScriptValue& GetItem(int32_t index) const;
  void SetItem(int32_t index, const ScriptValue& value);

  std::vector<ScriptValue> Items;
  int32_t Size = 0;
};

// A class the script can instantiate (implemented by the extension host).
class TZuScriptObject;
class TZuScriptClass : public TZuScriptRoot {
 public:
  TZuScriptClass(std::string name, TZuScript* owner)
      : TZuScriptRoot(std::move(name), kKindClass, owner) {}
  virtual std::unique_ptr<TZuScriptObject> CreateObject(const std::string& objectName) = 0;
};

// An object instance (implemented by the extension host).
class TZuScriptObject : public TZuScriptRoot {
 public:
  TZuScriptObject(std::string name, TZuScript* owner)
      : TZuScriptRoot(std::move(name), kKindObject, owner) {}
  virtual ScriptValue CallMethod(const std::string& method,
                                 const std::vector<ScriptValue>& args) = 0;
  virtual ScriptValue GetProperty(const std::string& property) = 0;
  virtual void SetProperty(const std::string& property, const ScriptValue& value) = 0;
};

// A function that is not written in the script (a module function).
class TZuScriptFunction : public TZuScriptRoot {
 public:
  TZuScriptFunction(std::string name, int32_t argCount, TZuScript* owner)
      : TZuScriptRoot(std::move(name), kKindFunction, owner), ArgCount(argCount) {}
  virtual ScriptValue CallFunction(const std::vector<ScriptValue>& args) = 0;

  int32_t ArgCount;
};

// Hash of a name with the letters a-z taken as A-Z, the key of every name
// index (names match ignoring the case of A-Z only).
inline uint32_t NameHash(std::string_view name) {
  uint32_t h = 2166136261u;
  for (const char c : name) {
    auto u = static_cast<unsigned char>(c);
    if (u >= 'a' && u <= 'z') u = static_cast<unsigned char>(u - 32);
    h = (h ^ u) * 16777619u;
  }
  return h;
}

// An owning list of entities kept sorted by Name in ordinal (byte) order.
// Find returns the first case-insensitive (A-Z) match in that order; a hash
// index that holds that first match for every name answers it without a
// scan and without allocating. Every change of a list is announced to the
// run context (TZuRunContext::ListEpoch), which is how cached lookups learn
// that they may be stale.
class TZuScriptObjList : public TZuScriptRoot {
 public:
  TZuScriptObjList(std::string name, TZuScript* owner)
      : TZuScriptRoot(std::move(name), kKindObjList, owner) {}
  ~TZuScriptObjList() override { Clear(); }

  // Takes ownership; a null entity is ignored. Returns the entity.
  TZuScriptRoot* Add(std::unique_ptr<TZuScriptRoot> entity);
  TZuScriptRoot* Find(std::string_view name) const { return Find(name, NameHash(name)); }
  // The same with the name's hash already computed (NameHash).
  TZuScriptRoot* Find(std::string_view name, uint32_t hash) const;
  // Frees the entities, last one first.
  void Clear() {
    if (!items_.empty()) ClearEntities();
  }
  // Frees, last one first, every entity for which keep answers false.
  template <class Keep>
  void RemoveUnless(Keep keep);
  int Count() const { return static_cast<int>(items_.size()); }
  TZuScriptRoot* Get(int index) const { return items_[static_cast<size_t>(index)].get(); }
  // Changes when an entity leaves the list or a name is added a second time
  // (ignoring case): while it stays, a name found once keeps its entity.
  uint32_t Generation() const { return generation_; }

 private:
  struct Slot {
    uint32_t Hash = 0;
    TZuScriptRoot* Entity = nullptr;  // the first match of its name; null: free
  };
  void Changed();
  void ClearEntities();
  void IndexEntity(TZuScriptRoot* entity, uint32_t hash);
  void Reindex();

  std::vector<std::unique_ptr<TZuScriptRoot>> items_;
  std::vector<Slot> index_;  // open addressing; a power of two, at most half full
  size_t indexed_ = 0;       // names in index_
  uint32_t generation_ = 0;
};

template <class Keep>
void TZuScriptObjList::RemoveUnless(Keep keep) {
  std::vector<std::unique_ptr<TZuScriptRoot>> gone;
  size_t kept = 0;
  for (auto& e : items_) {
    if (keep(e.get())) {
      items_[kept++] = std::move(e);
    } else {
      gone.push_back(std::move(e));
    }
  }
  if (gone.empty()) return;
  items_.resize(kept);
  Reindex();
  ++generation_;
  Changed();
  // Freed last one first, after they left the list (as Clear does).
  while (!gone.empty()) {
    std::unique_ptr<TZuScriptRoot> last = std::move(gone.back());
    gone.pop_back();
    last.reset();
  }
}

// One recorded statement. Kind is a StatementKind: kStmtExpression for an
// expression or assignment, otherwise the keyword's kind.
struct TZuScriptStatementDef {
  uint8_t Kind = 0;
  std::string Text;
  int32_t BlockEnd = 0;  // first index after the statement and its block
  std::string FileName;  // file name (no directory) of the source file
  int32_t Position = 0;  // 1-based offset in that file; 0 = no position
};

// Values of TZuScript::Signal: the control flow the last statement asked for.
enum : uint8_t {
  kSignalNone = 0,
  kSignalBreak = 1,
  kSignalContinue = 2,
  kSignalExit = 3,
  kSignalStop = 4,
};

// State of one run shared by the main script and everything it calls: the
// innermost script executing (for the report of a failure that is not a
// script error), the call depth, the random generator, the function
// instances an error left behind (kept for the host's report) and the
// compiled regular expressions of the RegExpr built-ins.
struct TZuRunContext {
  TZuScript* Active = nullptr;
  int CallDepth = 0;
  uint32_t RandomSeed = 0;
  std::vector<std::unique_ptr<TZuScript>> Abandoned;
  // Stack guard: the address near the top of the interpreter's stack (set
  // by the outermost Parse or Run, 0 outside them) and how much of the
  // stack below it the engine may use before a nesting error is raised;
  // StackLimit is the lowest address allowed (0: no guard).
  uintptr_t StackBase = 0;
  size_t StackBudget = kInterpreterStackBytes - kStackReserveBytes;
  uintptr_t StackLimit = 0;
  // Nested Parse calls (Func bodies, included files) in progress.
  int LoadDepth = 0;
  // Told what the loader drops without an error (check mode only).
  TZuLoadObserver* LoadObserver = nullptr;
  // Counts every change of an entity list of the run (an entity added or
  // removed); a lookup cached under one count is stale under another.
  uint64_t ListEpoch = 0;
  // The arguments of the calls in progress, one after another (a call's
  // own are at the end while it runs), and the list handed to a module:
  // kept for reuse, so that a call allocates none.
  std::vector<ScriptValue> ArgumentStack;
  std::vector<ScriptValue> ModuleArguments;
  // Made by the first RegExpr or ReplaceRegExpr call of the run; held
  // through a pointer so that the engine does not depend on the regular
  // expression headers (builtin_regexpr.cpp alone does).
  std::unique_ptr<TRegExprCache> RegExprCache;

  // Both in builtin_regexpr.cpp, where TRegExprCache is complete.
  TZuRunContext();
  ~TZuRunContext();
  TZuRunContext(const TZuRunContext&) = delete;
  TZuRunContext& operator=(const TZuRunContext&) = delete;
};

// A script or a user function.
class TZuScript : public TZuScriptRoot {
 public:
  TZuScript(std::string name, TZuScript* owner);
  ~TZuScript() override;

  // The nine lists, in field order. Destruction frees them in the order
  // ExtFuncList, ObjectList, ClassList, ModuleList, FuncList, ArrayList,
  // PreVarList, VarList, EnvList.
  TZuScriptObjList EnvList{"EnvList", this};
  TZuScriptObjList VarList{"VarList", this};
  TZuScriptObjList PreVarList{"PreVarList", this};
  TZuScriptObjList ArrayList{"ArrayList", this};
  TZuScriptObjList FuncList{"FuncList", this};
  TZuScriptObjList ModuleList{"ModuleList", this};
  TZuScriptObjList ClassList{"ClassList", this};
  TZuScriptObjList ObjectList{"ObjectList", this};
  TZuScriptObjList ExtFuncList{"ExtFuncList", this};
  uint8_t Signal = kSignalNone;  // kSignalBreak, kSignalContinue, ...
  std::vector<std::string> ParamNames;
  std::vector<std::string> Source;
  std::vector<std::string> IncludePath;  // each ends with a separator
  std::string AutoImport;
  std::string AutoInclude;
  std::string FileName;
  int32_t BaseOffset = 0;
  // Full paths of the files merged by Include, so that the location of a
  // merged statement is read from the file it came from.
  std::vector<std::string> IncludedFiles;
  std::vector<TZuScriptStatementDef> Statements;
  int32_t StatementCount = 0;
  int32_t CurrentStatement = 0;

  // The run context: a script without owner has its own unless one is
  // given; a script with an owner shares its owner's (taken when it is
  // made).
  TZuRunContext& Context() { return *context_; }
  void SetContext(TZuRunContext* context);

  // The script whose statement table this one runs: itself, or, for an
  // instance of a user function, the definition whose table (and compiled
  // statements) every call shares.
  TZuScript* CodeOwner() { return code_ != nullptr ? code_ : this; }
  const TZuScript* CodeOwner() const { return code_ != nullptr ? code_ : this; }
  const std::vector<TZuScriptStatementDef>& StatementTable() const {
    return CodeOwner()->Statements;
  }

  // Lookups through the owner chain (nullptr at its end).
  TZuScriptVariable* FindEnv(std::string_view name);
  TZuScriptVariable* FindVar(std::string_view name);
  TZuScriptArray* FindArray(std::string_view name);
  TZuScript* FindFunc(std::string_view name);
  TZuScriptFunction* FindExtFunc(std::string_view name);
  TZuScriptClass* FindClass(std::string_view name);
  TZuScriptObject* FindObject(std::string_view name);

  void InstantiateFrom(const TZuScript& definition);
  void DefineConstant(const std::string& name, const std::string& text);

  // Loader.
  int32_t Parse();
  std::string FindFile(const std::string& name) const;
  std::string GetIncludePath() const;
  void SetIncludePath(const std::string& text);
  void GetStatementLocation(int32_t index, int32_t& line, int32_t& column) const;
  // Extension host: the Import statement.
  void ImportModule(const std::string& moduleName);

  // Evaluator. Statements evaluate their compiled expressions; these three
  // compile the given text for one use.
  ScriptValue Evaluate(std::string_view text);
  // One operand token: literal, sub-expression, call, element, property or name.
  ScriptValue EvaluateOperand(std::string_view token);
  // A call Name(ARGS): object method, user function, module function or
  // built-in, in that order.
  ScriptValue CallNamed(std::string_view name, std::string_view argumentText);
  // The evaluation of a compiled expression (compiled level by level as it
  // is reached).
  ScriptValue EvaluateCompiled(TZuExpression& expression);
  // Raises the parenthesis-count error for text; true otherwise.
  bool CheckParentheses(std::string_view text);
  // The text cut into operand and operator tokens (pure: depends only on
  // the text). Raises "Invalid character \"C\" in expression \"TEXT\"".
  static std::vector<std::string> Tokenize(std::string_view text);
  // The text cut at its top-level commas (outside quotes and parentheses).
  static std::vector<std::string> SplitList(std::string_view text);

  // Executor.
  // Runs the main script; arguments become argv (as Text, never evaluated)
  // and their count argc.
  ScriptValue Run(const std::vector<std::string>& arguments);
  ScriptValue Call(const std::vector<ScriptValue>& args);
  ScriptValue Execute();
  void ExecuteRange(int32_t first, int32_t last);
  int32_t ExecuteStatement(int32_t index);

 private:
  friend class TZuLoader;
  // Evaluator (evaluator.cpp, calls.cpp).
  bool PrepareExpression(TZuExpression& expression);
  // A compiled expression's value, inline when it holds names and constants
  // only (hot_paths.h).
  inline ScriptValue Evaluate(TZuExpression& expression);
  ScriptValue EvaluateSimple(TZuExpression& expression);
  // A simple level of two names or constants and one operator.
  ScriptValue EvaluateTwo(TZuExpression& expression);
  // The same level as a condition when it compares two Integers the
  // operands hold in place: 1 true, 0 false; -1 when it is not such a
  // comparison (nothing has been evaluated then).
  int CompareTwo(const TZuExpression& expression) const;
  // ToBoolean(Evaluate(expression)).
  inline bool EvaluateCondition(TZuExpression& expression);
  inline ScriptValue SimpleOperandValue(TZuOperand& operand);
  // The value of a constant or of a name that is defined, read in place (no
  // copy); null for any other operand.
  inline const ScriptValue* DirectOperand(TZuOperand& operand);
  // The same without making a lookup: null also when the name's lookup is
  // not remembered.
  inline const ScriptValue* PeekOperand(const TZuOperand& operand) const;
  // A two-operand level's operation on two Integers read in place, or
  // nothing (IntegerResult::kNone) when it is not that (hot_paths.h).
  inline IntegerResult PeekIntegerOperation(const TZuExpression& expression) const;
  ScriptValue EvaluateLevel(TZuExpression& expression);
  // An operand's value: names and constants inline, the rest out of line.
  inline ScriptValue OperandValue(TZuOperand& operand, uint32_t depth);
  ScriptValue EvaluateOperandNode(TZuOperand& operand, uint32_t depth);
  void ClassifyOperand(TZuOperand& operand, uint32_t depth);
  // Splits the arguments of a call (raising "Too many arguments ...") and
  // sets up its lookups.
  void PrepareCall(TZuCall& call, TZuTextRef name, TZuTextRef argumentText, uint32_t depth);
  ScriptValue EvaluateCall(TZuCall& call);
  // The call with its arguments evaluated: method, user function, module
  // function or built-in.
  inline ScriptValue Dispatch(TZuCall& call, std::span<ScriptValue> args);
  // The arguments as the list module objects and functions take.
  const std::vector<ScriptValue>& ModuleArgumentsOf(std::span<ScriptValue> args);
  // The array and index of an element, for reading and for assignment
  // alike: the array is looked up first, then the "]" checked, then the
  // index evaluated; a non-Integer index fails with indexMessage.
  TZuScriptArray& ElementAt(TZuElement& element, const char* indexMessage, int32_t& index);
  // The object of a member (method, property read or assignment); fails with
  // "Object \"NAME\"" + missing when there is none.
  TZuScriptObject& ObjectAt(TZuNameSite& site, const char* missing);
  // Cached lookups through the owner chain (name_sites.cpp).
  TZuScriptVariable* LookupVar(TZuNameSite& site);
  // The frame entry of a parameter, true, false or result that site names
  // in the running function's frame, or null (no lookup made).
  inline TZuScriptVariable* FrameEntry(const TZuNameSite& site) const;
  TZuScriptArray* LookupArray(TZuNameSite& site);
  TZuScript* LookupFunc(TZuNameSite& site);
  TZuScriptFunction* LookupExtFunc(TZuNameSite& site);
  TZuScriptObject* LookupObject(TZuNameSite& site);
  // Function calls (calls.cpp): an instance from the definition's pool runs
  // the call in its frame and goes back to the pool.
  ScriptValue CallUserFunction(TZuScript& definition, std::span<ScriptValue> args,
                               const TZuCall& call);
  TZuScript* TakeInstance();
  void ReturnInstance(TZuScript* instance);
  void ShareCodeOf(TZuScript& definition);
  ScriptValue CallInFrame(std::span<ScriptValue> args);
  void BuildFrame(std::span<ScriptValue> args);
  void ClearCallEntities();
  // frameCode_ is cleared wherever code_ changes (InstantiateFrom,
  // ShareCodeOf), so a frame that is set belongs to the table this script
  // runs.
  bool HasFrame() const {
    return frameCode_ != nullptr && VarList.Generation() == frameGeneration_;
  }
  // Executor.
  TZuCompiledStatement& CompiledAt(int32_t index) {
    if (static_cast<size_t>(index) < compiled_.size()) {
      if (TZuCompiledStatement* statement = compiled_[static_cast<size_t>(index)].get())
        return *statement;
    }
    return CompileAt(index);
  }
  TZuCompiledStatement& CompileAt(int32_t index);
  // ExecuteRange's steps, for the loops that run their body in place.
  inline void RunBlock(int32_t first, int32_t last);
  // The block of an If, ElseIf or Else that was taken (code: the script
  // whose table runs).
  inline void RunBranch(TZuScript& code, int32_t index, const TZuCompiledStatement& statement);
  // One statement without the error's script filled in (the caller does).
  int32_t RunStatement(int32_t index);
  int32_t RunOtherStatement(int32_t index, TZuCompiledStatement& statement);
  void AssignMember(TZuCompiledStatement& statement, const ScriptValue& value);
  void AddVariable(const std::string& name, ScriptValue value);
  void CheckInLoop();
  void ExecuteAssignment(TZuCompiledStatement& statement);
  void ExecuteVarConst(TZuCompiledStatement& statement, bool isConst);
  void ExecuteArray(TZuCompiledStatement& statement, const std::string& text);
  void ExecuteObject(const std::string& text);
  void ExecuteFor(int32_t index, TZuCompiledStatement& statement);
  void ExecuteWhile(int32_t index, TZuCompiledStatement& statement);
  void ExecuteRead(TZuCompiledStatement& statement, const std::string& text);
  void ExecuteWrite(TZuCompiledStatement& statement);
  void ExecuteDelete(TZuCompiledStatement& statement);
  // Raises a nesting error when the engine's part of the stack is used up.
  // Inline: every expression and block passes here.
  void CheckStack(const char* what) {
    char probe = 0;
    if (reinterpret_cast<uintptr_t>(&probe) < Context().StackLimit) FailNested(what);
  }
  [[noreturn]] void FailNested(const char* what);
  [[noreturn]] void Fail(const std::string& message);
  [[noreturn]] void Fail(const char* message);
  // Fail with prefix + text + suffix, built out of line so that the hot
  // paths that may fail keep small stack frames (recursion depth).
  [[noreturn]] void FailTooManyArguments(std::string_view name, std::string_view argumentText);
  [[noreturn]] void FailArgumentCount(std::string_view name, std::string_view argumentText);
  [[noreturn]] void FailCallDepth(std::string_view name);
  [[noreturn]] void Fail3(const char* prefix, std::string_view text, const char* suffix);

  std::unique_ptr<TZuRunContext> ownContext_;
  TZuRunContext* context_ = nullptr;
  // A function instance: the definition whose table it runs (null: its own).
  TZuScript* code_ = nullptr;
  // Compiled statements, by index, made when a statement first runs; only
  // the script that owns the table has them.
  std::vector<std::unique_ptr<TZuCompiledStatement>> compiled_;
  // Instances of this function that wait for a call: a list through
  // nextIdle_, owned by this script.
  TZuScript* idle_ = nullptr;
  TZuScript* nextIdle_ = nullptr;
  size_t idleCount_ = 0;
  // A function instance's frame: its parameters, true, false and result, in
  // the order they were added; valid while frameCode_ is CodeOwner() and
  // VarList's generation is frameGeneration_.
  std::vector<TZuScriptVariable*> frameVars_;
  const TZuScript* frameCode_ = nullptr;
  uint32_t frameGeneration_ = 0;
};

}  // namespace zu
