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

// One built-in: the name as scripts write it, the exact argument count (a
// negative count would accept any number) and the operation that runs it.
struct TZuScriptFunctionDef {
  std::string_view Name;
  int32_t ArgCount;
  BuiltinOperation Operation;
};

// Table order decides which entry a lookup takes; keep it as it is.
constexpr std::array<TZuScriptFunctionDef, 42> kBuiltinFunctions{{
    {"Chr", 1, BuiltinChr},
    {"Ord", 1, BuiltinOrd},
    {"Str", 1, BuiltinStr},
    {"Hex", 2, BuiltinHex},
    {"Num", 1, BuiltinNum},
    {"Int", 1, BuiltinInt},
    {"Frac", 1, BuiltinFrac},
    {"Crc16Str", 2, BuiltinCrc16Str},
    {"Crc16File", 2, BuiltinCrc16File},
    {"Crc32Str", 2, BuiltinCrc32Str},
    {"Crc32File", 2, BuiltinCrc32File},
    {"Date", 0, BuiltinDate},
    {"Time", 0, BuiltinTime},
    {"FormatDateTime", 2, BuiltinFormatDateTime},
    {"AsDateTime", 1, BuiltinAsDateTime},
    {"Day", 1, BuiltinDay},
    {"Month", 1, BuiltinMonth},
    {"Year", 1, BuiltinYear},
    {"Hour", 1, BuiltinHour},
    {"Minute", 1, BuiltinMinute},
    {"Second", 1, BuiltinSecond},
    {"DayOfWeek", 1, BuiltinDayOfWeek},
    {"StrPos", 2, BuiltinStrPos},
    {"Substr", 3, BuiltinSubstr},
    {"StrWord", 3, BuiltinStrWord},
    {"StrLen", 1, BuiltinStrLen},
    {"StrUpper", 1, BuiltinStrUpper},
    {"StrLower", 1, BuiltinStrLower},
    {"StrRepl", 3, BuiltinStrRepl},
    {"Trim", 1, BuiltinTrim},
    {"StrPad", 3, BuiltinStrPad},
    {"StrLPad", 3, BuiltinStrLPad},
    {"RegExpr", 2, BuiltinRegExpr},
    {"ReplaceRegExpr", 3, BuiltinReplaceRegExpr},
    {"Exec", 3, BuiltinExec},
    {"Rnd", 0, BuiltinRnd},
    {"Sleep", 1, BuiltinSleep},
    {"Beep", 0, BuiltinBeep},
    {"Env", 1, BuiltinEnv},
    {"Not", 1, BuiltinNot},
    {"ExtractFilePath", 1, BuiltinExtractFilePath},
    {"ExtractFileName", 1, BuiltinExtractFileName},
}};

}  // namespace

int FindBuiltin(std::string_view name) {
  for (size_t k = 0; k < kBuiltinFunctions.size(); ++k) {
    if (SameTextAscii(kBuiltinFunctions[k].Name, name)) return static_cast<int>(k);
  }
  return -1;
}

ScriptValue CallBuiltinAt(int index, TZuScript& script, std::string_view name,
                          std::span<const ScriptValue> args, std::string_view argumentText) {
  const TZuScriptFunctionDef& def = kBuiltinFunctions[static_cast<size_t>(index)];
  if (def.ArgCount >= 0) {
    const auto count = static_cast<int64_t>(args.size());
    if (count > def.ArgCount) {
      throw EZuScriptError(&script, "Too much arguments: " + std::string(name) + "(" +
                                        std::string(argumentText) + ")");
    }
    if (count < def.ArgCount) {
      throw EZuScriptError(&script, "Too few arguments: " + std::string(name) + "(" +
                                        std::string(argumentText) + ")");
    }
  }
  return def.Operation(script, args);
}

ScriptValue CallBuiltin(TZuScript& script, std::string_view name,
                        const std::vector<ScriptValue>& args, std::string_view argumentText) {
  const int index = FindBuiltin(name);
  if (index < 0) throw EZuScriptError(&script, "Unknow function: \"" + std::string(name) + "\"");
  return CallBuiltinAt(index, script, name, args, argumentText);
}

std::vector<BuiltinSignature> BuiltinSignatures() {
  std::vector<BuiltinSignature> signatures;
  for (const auto& def : kBuiltinFunctions) signatures.push_back({def.Name, def.ArgCount});
  return signatures;
}

}  // namespace zu
