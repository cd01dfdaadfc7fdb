// The reports the host writes when a run ends badly: the script-error report
// with the failing statement's file, line and position, and the last-resort
// report for failures that are not script errors.
#pragma once

#include <cstdint>
#include <string>

#include "engine/script.h"

namespace zu::host {

// "\r\nError in NAME:\r\nMESSAGE" and, when line is not 0, "\r\n" + "in file
// FILE" (only with a file name) + ": line L, pos P"; then a line end.
std::string FormatErrorReport(const std::string& scriptName, const std::string& message,
                              const std::string& fileName, int32_t line, int32_t column);

// "\r\nWarning in NAME:\r\nMESSAGE" and the location as in the error report;
// then a line end. One finding of the check mode (zus -c).
std::string FormatWarning(const std::string& scriptName, const std::string& message,
                          const std::string& fileName, int32_t line, int32_t column);

// The report of a script error raised in script (null: no name, no location).
std::string ScriptErrorReport(const TZuScript* script, const std::string& message);

// The last-resort report of a failure that is not a script error: the
// failure's kind and message and, when the statement being run is known
// (active), that script's name and the statement's location.
std::string FailureReport(const std::string& kind, const std::string& message,
                          const TZuScript* active);

// candidate when it is a script that is still alive under main: main itself,
// a function definition below it, or an instance an error left behind in the
// run context; nullptr otherwise, so a stale pointer is never read.
const TZuScript* FindLiveScript(TZuScript& main, const TZuScript* candidate);

}  // namespace zu::host
