// The command-line side of zus before a script runs: option scanning, the
// zus.ini settings, the banner, the script-file search and the argument text
// that becomes argc/argv. Pure functions, so tests can drive them.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zu::host {

// The rules that differ between the POSIX and the Windows build.
struct HostRules {
  bool SlashStartsOption = false;    // "/x" is an option (Windows) or a path (POSIX)
  bool UpperCaseScriptName = false;  // the script name is shown upper-cased (Windows)
  bool DotSlashIsProgramDir = true;  // "./" stands for the program directory like ".\"
};
// The rules of the platform zus was built for.
HostRules PlatformRules();

// Carries out -r (letter 'R') or -u ('U') and returns the registration message.
using RegistrationAction = std::function<std::string(char letter)>;

// What the command line asked for.
struct CommandLine {
  bool Help = false;
  bool Quiet = false;
  bool Wait = false;
  bool Check = false;               // -c: check the script instead of running it
  std::string RegistrationMessage;  // non-empty: a registration ran, no script is run
  bool HasScriptName = false;
  std::string ScriptName;           // as typed (upper-cased under UpperCaseScriptName)
  std::vector<std::string> Params;  // the arguments after the script name, unchanged
};

// Scans the arguments (program name excluded). Options stand before the first
// non-option argument; the letter after the prefix, upper-cased, selects one
// and unknown letters are ignored. Each -r/-u calls registrationAction when met.
CommandLine ScanCommandLine(const std::vector<std::string>& args, const HostRules& rules,
                            const RegistrationAction& registrationAction);

// The four zus.ini settings.
struct HostSettings {
  std::string IncPath;
  std::string AutoImport;
  std::string AutoInclude;
  std::string DefScript;
};

// Replaces ".\" (and under DotSlashIsProgramDir also "./") by programDir in one
// left-to-right pass, so the inserted directory is never searched again. A dot
// that follows another dot belongs to ".." and is left alone.
std::string ReplaceProgramDir(std::string_view text, const std::string& programDir,
                              const HostRules& rules);

// Reads the settings from the text of zus.ini (empty text: the defaults), with
// the program-directory replacement applied to incpath and defscript.
HostSettings ParseSettings(std::string_view iniText, const std::string& programDir,
                           const HostRules& rules);

// The arguments of Run (argv): the script name as given, then every
// parameter decoded as the body of one string literal (backslash escapes
// such as \t and \65 decoded). Nothing is evaluated; a double quote or a
// line break arrives as itself.
std::vector<std::string> BuildArguments(const std::string& scriptName,
                                        const std::vector<std::string>& params);

// Finds the script file: the name itself, then the name with ".zus", ".bat"
// and ".cmd" as extension. Returns true and the path found; false leaves in
// path the last candidate tried (the ".cmd" name).
bool FindScriptFile(const std::string& name, const std::function<bool(const std::string&)>& exists,
                    std::string& path);

// The banner from the program's version values; the fallback when all are empty.
std::string BuildBanner(const std::string& productName, const std::string& productVersion,
                        const std::string& legalCopyright);

// The usage text (ends with CR LF; the host writes one more line end).
extern const char* const kUsageText;

}  // namespace zu::host
