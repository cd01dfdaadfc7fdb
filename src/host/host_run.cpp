// The main sequence of zus: banner, options, zus.ini, script search, the run
// on the interpreter's own stack, the error reports, the -w wait and the exit
// code. Every failure of a run is caught here and nowhere else.
#include "host/host_run.h"

#include <exception>
#include <functional>
#include <memory>
#include <new>
#include <string_view>

#include "checker/checker.h"
#include "engine/script.h"
#include "host/associations.h"
#include "host/console_keyboard.h"
#include "host/error_report.h"
#include "host/host_setup.h"
#include "platform/path_names.h"
#include "platform/platform.h"
#include "support/errors.h"
#include "support/files.h"
#include "support/numbers.h"

namespace zu::host {

namespace {

void Write(std::string_view text) { platform::WriteStdout(text); }

// True when the last failed flush of standard output found the reader of
// its pipe gone.
bool ReaderGone() {
  return platform::LastError() == platform::ErrorCode(platform::ErrorKind::BrokenPipe);
}

// Writes a report to standard output, or to standard error when standard
// output cannot be written (a full disk), so the report is not lost with
// the output. A reader that closed the pipe early gets nothing: the run
// ends quietly, as console tools do.
void WriteReport(const std::string& text) {
  Write(text);
  if (!platform::FlushStdout() && !ReaderGone()) platform::WriteStderr(text);
}

// Runs work on a thread with the interpreter's stack (deep recursion of
// script functions needs far more than a default stack). The failure, if
// any, is carried back to this thread to be reported here.
std::exception_ptr OnInterpreterStack(const std::function<void()>& work) {
  std::exception_ptr failure;
  platform::RunWithStack(kInterpreterStackBytes, [&] {
    try {
      work();
    } catch (...) {
      failure = std::current_exception();
    }
  });
  return failure;
}

// Parses and runs the main script; an Integer result is the exit code.
std::exception_ptr ParseAndRun(TZuScript& script, const std::string& homeDir,
                               const std::vector<std::string>& arguments, int& exitCode) {
  return OnInterpreterStack([&] {
    script.DefineConstant("HomeDir", homeDir);
    script.Parse();
    const ScriptValue result = script.Run(arguments);
    if (result.Kind() == ValueKind::Integer) exitCode = result.IntegerPayload();
  });
}

// The check mode: loads the script without running it and writes one
// warning per trap; the exit code is 1 with warnings, else 0.
std::exception_ptr ParseAndCheck(TZuScript& script, const std::string& homeDir, int& exitCode) {
  std::vector<checker::TZuFinding> findings;
  std::exception_ptr failure = OnInterpreterStack([&] {
    script.DefineConstant("HomeDir", homeDir);
    findings = checker::CheckScript(script);
  });
  for (const checker::TZuFinding& f : findings)
    Write(FormatWarning(script.Name, f.Message, f.FileName, f.Line, f.Column));
  exitCode = findings.empty() ? 0 : 1;
  return failure;
}

// The statement being run when a failure struck, if the engine still knows it.
const TZuScript* ActiveScript(TZuScript* script) {
  if (script == nullptr) return nullptr;
  return FindLiveScript(*script, script->Context().Active);
}

// Reports a failure that is not a script error; the exit code is 1.
int LastResort(const std::string& kind, const std::string& message, TZuScript* script) {
  WriteReport(FailureReport(kind, message, ActiveScript(script)));
  return 1;
}

// Reports the exception in flight: a script error (exit code -1) or any other
// failure through the last-resort report (exit code 1).
int ReportFailure(std::exception_ptr failure, bool quiet, TZuScript* script, bool& lastResort) {
  lastResort = true;
  // Output that no one reads any more ends the run without a report.
  if (!platform::FlushStdout() && ReaderGone()) return 1;
  try {
    std::rethrow_exception(failure);
  } catch (const EZuScriptError& e) {
    lastResort = false;
    const TZuScript* where = e.Script != nullptr ? e.Script : ActiveScript(script);
    if (!quiet) WriteReport(ScriptErrorReport(where, e.Message()));
    return -1;
  } catch (const EFailure& e) {
    return LastResort(e.Kind(), e.Message(), script);
  } catch (const std::bad_alloc&) {
    return LastResort("EOutOfMemory", "Out of memory", script);
  } catch (const std::exception& e) {
    return LastResort("EExternal", e.what(), script);
  } catch (...) {
    return LastResort("EUnknown", "Unknown failure", script);
  }
}

struct HostContext {
  HostRules Rules = PlatformRules();
  std::string ProgramDir = platform::IncludeTrailingDelimiter(platform::ProgramDirectory());
  std::string ProgramPath = platform::ProgramPath();
  std::string WindowsDir = platform::IncludeTrailingDelimiter(platform::WindowsDirectory());
};

int RunSequence(const std::vector<std::string>& args, const HostContext& host,
                TZuKeyboard& keyboard, std::unique_ptr<TZuScript>& script) {
  const platform::VersionValues version = platform::ProgramVersionValues();
  const std::string banner =
      BuildBanner(version.ProductName, version.ProductVersion, version.LegalCopyright);
  const CommandLine cmd = ScanCommandLine(args, host.Rules, [&host](char letter) {
    return letter == 'R' ? RegisterAssociations(host.ProgramPath, host.WindowsDir)
                         : RemoveAssociations(host.WindowsDir);
  });
  const HostSettings settings =
      ParseSettings(ReadTextFile(host.ProgramDir + "zus.ini"), host.ProgramDir, host.Rules);
  // An empty first argument names no script either: the configured one runs.
  const std::string scriptName = !cmd.ScriptName.empty() ? cmd.ScriptName : settings.DefScript;
  const std::vector<std::string> arguments = BuildArguments(scriptName, cmd.Params);
  const auto wait = [&keyboard] { WaitForKey(keyboard, PlatformWaitServices()); };

  if (!cmd.Quiet) Write(banner + "\r\n");
  if (!cmd.RegistrationMessage.empty()) {
    Write(cmd.RegistrationMessage + "\r\n");
    return 0;
  }
  if (cmd.Help || scriptName.empty()) {
    if (!cmd.Quiet) Write(std::string(kUsageText) + "\r\n");
    if (cmd.Wait) wait();
    return 1;
  }
  std::string path;
  if (!FindScriptFile(scriptName, platform::FileExists, path)) {
    if (!cmd.Quiet) Write("Script file \"" + path + "\" not found\r\n");
    if (cmd.Wait) wait();
    return 1;
  }

  script = std::make_unique<TZuScript>(platform::ExtractFileName(path), nullptr);
  script->FileName = path;
  script->SetIncludePath(settings.IncPath);
  script->AutoImport = settings.AutoImport;
  script->AutoInclude = settings.AutoInclude;
  int exitCode = 0;
  if (std::exception_ptr failure =
          cmd.Check ? ParseAndCheck(*script, platform::ExtractFilePath(path), exitCode)
                    : ParseAndRun(*script, platform::ExtractFilePath(path), arguments, exitCode)) {
    bool lastResort = false;
    exitCode = ReportFailure(failure, cmd.Quiet, script.get(), lastResort);
    if (lastResort) return exitCode;  // no wait after a last-resort report
  }
  if (cmd.Wait) {
    Write("\r\n--\r\nResult = " + IntToText(exitCode));
    wait();
  }
  return exitCode;
}

}  // namespace

int RunHost(const std::vector<std::string>& args) {
  int exitCode = 1;
  std::unique_ptr<TZuScript> script;
  try {
    const HostContext host;
    TZuKeyboard keyboard;
    exitCode = RunSequence(args, host, keyboard, script);
  } catch (...) {
    // A failure outside the run proper (memory).
    bool lastResort = false;
    exitCode = ReportFailure(std::current_exception(), false, script.get(), lastResort);
  }
  try {
    script.reset();
  } catch (...) {
    // Freeing a script does not fail; nothing may escape the host regardless.
  }
  // Output that could not be written is a failure, like a failed write to
  // a named file (a script error keeps its own exit code).
  if (!platform::FlushStdout() && exitCode != -1) exitCode = 1;
  return exitCode;
}

}  // namespace zu::host
