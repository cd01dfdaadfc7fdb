// The operations behind the built-in table, one per built-in, grouped by
// the file that holds them.
#pragma once

#include <span>

#include "values/script_value.h"

namespace zu {

class TZuScript;

// Every operation receives the calling script and the evaluated arguments;
// the table has already checked their count.
using BuiltinArgs = std::span<const ScriptValue>;
using BuiltinOperation = ScriptValue (*)(TZuScript& script, const BuiltinArgs& args);

// Numbers, characters, CRCs, Rnd and Not (builtin_numbers.cpp).
ScriptValue BuiltinChr(TZuScript& script, const BuiltinArgs& args);
ScriptValue BuiltinOrd(TZuScript& script, const BuiltinArgs& args);
ScriptValue BuiltinStr(TZuScript& script, const BuiltinArgs& args);
ScriptValue BuiltinHex(TZuScript& script, const BuiltinArgs& args);
ScriptValue BuiltinNum(TZuScript& script, const BuiltinArgs& args);
ScriptValue BuiltinInt(TZuScript& script, const BuiltinArgs& args);
ScriptValue BuiltinFrac(TZuScript& script, const BuiltinArgs& args);
ScriptValue BuiltinCrc16Str(TZuScript& script, const BuiltinArgs& args);
ScriptValue BuiltinCrc16File(TZuScript& script, const BuiltinArgs& args);
ScriptValue BuiltinCrc32Str(TZuScript& script, const BuiltinArgs& args);
ScriptValue BuiltinCrc32File(TZuScript& script, const BuiltinArgs& args);
ScriptValue BuiltinRnd(TZuScript& script, const BuiltinArgs& args);
ScriptValue BuiltinNot(TZuScript& script, const BuiltinArgs& args);

// Texts and file names (builtin_text.cpp).
ScriptValue BuiltinStrPos(TZuScript& script, const BuiltinArgs& args);
ScriptValue BuiltinSubstr(TZuScript& script, const BuiltinArgs& args);
ScriptValue BuiltinStrWord(TZuScript& script, const BuiltinArgs& args);
ScriptValue BuiltinStrLen(TZuScript& script, const BuiltinArgs& args);
ScriptValue BuiltinStrUpper(TZuScript& script, const BuiltinArgs& args);
ScriptValue BuiltinStrLower(TZuScript& script, const BuiltinArgs& args);
ScriptValue BuiltinStrRepl(TZuScript& script, const BuiltinArgs& args);
ScriptValue BuiltinTrim(TZuScript& script, const BuiltinArgs& args);
ScriptValue BuiltinStrPad(TZuScript& script, const BuiltinArgs& args);
ScriptValue BuiltinStrLPad(TZuScript& script, const BuiltinArgs& args);
ScriptValue BuiltinExtractFilePath(TZuScript& script, const BuiltinArgs& args);
ScriptValue BuiltinExtractFileName(TZuScript& script, const BuiltinArgs& args);

// Regular expressions (builtin_regexpr.cpp).
ScriptValue BuiltinRegExpr(TZuScript& script, const BuiltinArgs& args);
ScriptValue BuiltinReplaceRegExpr(TZuScript& script, const BuiltinArgs& args);

// Dates and times (builtin_dates.cpp).
ScriptValue BuiltinFormatDateTime(TZuScript& script, const BuiltinArgs& args);
ScriptValue BuiltinDate(TZuScript& script, const BuiltinArgs& args);
ScriptValue BuiltinTime(TZuScript& script, const BuiltinArgs& args);
ScriptValue BuiltinAsDateTime(TZuScript& script, const BuiltinArgs& args);
ScriptValue BuiltinDay(TZuScript& script, const BuiltinArgs& args);
ScriptValue BuiltinMonth(TZuScript& script, const BuiltinArgs& args);
ScriptValue BuiltinYear(TZuScript& script, const BuiltinArgs& args);
ScriptValue BuiltinHour(TZuScript& script, const BuiltinArgs& args);
ScriptValue BuiltinMinute(TZuScript& script, const BuiltinArgs& args);
ScriptValue BuiltinSecond(TZuScript& script, const BuiltinArgs& args);
ScriptValue BuiltinDayOfWeek(TZuScript& script, const BuiltinArgs& args);

// System services (builtin_system.cpp).
ScriptValue BuiltinExec(TZuScript& script, const BuiltinArgs& args);
ScriptValue BuiltinSleep(TZuScript& script, const BuiltinArgs& args);
ScriptValue BuiltinBeep(TZuScript& script, const BuiltinArgs& args);
ScriptValue BuiltinEnv(TZuScript& script, const BuiltinArgs& args);

}  // namespace zu
