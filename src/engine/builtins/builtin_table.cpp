// The table of the 42 built-in functions and CallBuiltin, which looks a name
// up in it, checks the argument count and runs the operation of the entry.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/builtins/builtin_ops.h"
#include "engine/builtins/builtins.h"
#include "engine/script.h"
#include "support/errors.h"
#include "support/text_utils.h"

namespace zu {
namespace {

// One built-in: the operation number, the name as scripts write it and the
// exact argument count (a negative count would accept any number).
struct TZuScriptFunctionDef {
  int32_t Id;
  std::string_view Name;
  int32_t ArgCount;
};

// Table order decides which entry a lookup takes; keep it as it is.
constexpr std::array<TZuScriptFunctionDef, 42> kBuiltinFunctions{{
    {1, "Chr", 1},
    {2, "Ord", 1},
    {3, "Str", 1},
    {4, "Hex", 2},
    {5, "Num", 1},
    {6, "Int", 1},
    {7, "Frac", 1},
    {8, "Crc16Str", 2},
    {9, "Crc16File", 2},
    {10, "Crc32Str", 2},
    {11, "Crc32File", 2},
    {25, "Date", 0},
    {26, "Time", 0},
    {24, "FormatDateTime", 2},
    {27, "AsDateTime", 1},
    {28, "Day", 1},
    {29, "Month", 1},
    {30, "Year", 1},
    {31, "Hour", 1},
    {32, "Minute", 1},
    {33, "Second", 1},
    {34, "DayOfWeek", 1},
    {12, "StrPos", 2},
    {13, "Substr", 3},
    {14, "StrWord", 3},
    {15, "StrLen", 1},
    {16, "StrUpper", 1},
    {17, "StrLower", 1},
    {18, "StrRepl", 3},
    {19, "Trim", 1},
    {20, "StrPad", 3},
    {21, "StrLPad", 3},
    {22, "RegExpr", 2},
    {23, "ReplaceRegExpr", 3},
    {36, "Exec", 3},
    {37, "Rnd", 0},
    {38, "Sleep", 1},
    {39, "Beep", 0},
    {40, "Env", 1},
    {35, "Not", 1},
    {41, "ExtractFilePath", 1},
    {42, "ExtractFileName", 1},
}};

// The operation of each id; index 0 is unused.
constexpr std::array<BuiltinOperation, 43> kOperations{{
    nullptr,
    BuiltinChr,              // 1
    BuiltinOrd,              // 2
    BuiltinStr,              // 3
    BuiltinHex,              // 4
    BuiltinNum,              // 5
    BuiltinInt,              // 6
    BuiltinFrac,             // 7
    BuiltinCrc16Str,         // 8
    BuiltinCrc16File,        // 9
    BuiltinCrc32Str,         // 10
    BuiltinCrc32File,        // 11
    BuiltinStrPos,           // 12
    BuiltinSubstr,           // 13
    BuiltinStrWord,          // 14
    BuiltinStrLen,           // 15
    BuiltinStrUpper,         // 16
    BuiltinStrLower,         // 17
    BuiltinStrRepl,          // 18
    BuiltinTrim,             // 19
    BuiltinStrPad,           // 20
    BuiltinStrLPad,          // 21
    BuiltinRegExpr,          // 22
    BuiltinReplaceRegExpr,   // 23
    BuiltinFormatDateTime,   // 24
    BuiltinDate,             // 25
    BuiltinTime,             // 26
    BuiltinAsDateTime,       // 27
    BuiltinDay,              // 28
    BuiltinMonth,            // 29
    BuiltinYear,             // 30
    BuiltinHour,             // 31
    BuiltinMinute,           // 32
    BuiltinSecond,           // 33
    BuiltinDayOfWeek,        // 34
    BuiltinNot,              // 35
    BuiltinExec,             // 36
    BuiltinRnd,              // 37
    BuiltinSleep,            // 38
    BuiltinBeep,             // 39
    BuiltinEnv,              // 40
    BuiltinExtractFilePath,  // 41
    BuiltinExtractFileName,  // 42
}};

// Ids run from 1 to 42 without repeats, so each indexes one operation.
// (Function addresses cannot be compared in a constant expression under
// every build configuration; the list above names all 42.)
constexpr bool TableIsConsistent() {
  std::array<bool, 43> seen{};
  for (const auto& def : kBuiltinFunctions) {
    if (def.Id < 1 || def.Id > 42 || seen[static_cast<size_t>(def.Id)]) return false;
    seen[static_cast<size_t>(def.Id)] = true;
  }
  return true;
}
static_assert(TableIsConsistent(), "built-in table and operations out of step");

}  // namespace

ScriptValue CallBuiltin(TZuScript& script, std::string_view name,
                        const std::vector<ScriptValue>& args, std::string_view argumentText) {
  const TZuScriptFunctionDef* found = nullptr;
  for (const auto& def : kBuiltinFunctions) {
    if (SameTextAscii(def.Name, name)) {
      found = &def;
      break;
    }
  }
  if (found == nullptr) {
    throw EZuScriptError(&script, "Unknow function: \"" + std::string(name) + "\"");
  }
  if (found->ArgCount >= 0) {
    const auto count = static_cast<int64_t>(args.size());
    if (count > found->ArgCount) {
      throw EZuScriptError(&script, "Too much arguments: " + std::string(name) + "(" +
                                        std::string(argumentText) + ")");
    }
    if (count < found->ArgCount) {
      throw EZuScriptError(&script, "Too few arguments: " + std::string(name) + "(" +
                                        std::string(argumentText) + ")");
    }
  }
  return kOperations[static_cast<size_t>(found->Id)](script, args);
}

std::vector<BuiltinSignature> BuiltinSignatures() {
  std::vector<BuiltinSignature> signatures;
  for (const auto& def : kBuiltinFunctions) signatures.push_back({def.Name, def.ArgCount});
  return signatures;
}

}  // namespace zu
