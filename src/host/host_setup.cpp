// Option scanning, zus.ini settings, script search, argument text and banner
// of the zus host.
#include "host/host_setup.h"

#include "platform/path_names.h"
#include "platform/platform.h"
#include "support/ini.h"
#include "support/text_utils.h"

namespace zu::host {

const char* const kUsageText =
    "Usage: zus [options] script_file [script_params_list]\r\n"
    "Available options:\r\n"
    "  -h  -- show this message\r\n"
    "  -q  -- quiet mode (no messages)\r\n"
    "  -r  -- register file associations\r\n"
    "  -u  -- remove file associations\r\n"
    "  -w  -- expect keystroke for termination of session\r\n";

namespace {

constexpr const char* kFallbackBanner = "ZuScript 2.10";
// Shown after the fallback name when the program carries no version
// resource (every POSIX build).
constexpr const char* kFallbackNotice = " - console script interpreter";

// The option letter as the switch of ScanCommandLine compares it: the
// system's upper case of the character after the option mark. The options
// are the letters H, Q, W, C, R, U and "?", which every code page upper-cases
// from their ASCII small letters, and no other byte becomes one of them, so
// an ASCII character is decided without the system's case table (building
// it reads the locale, a good part of the start-up time of "zus -q").
char OptionLetter(unsigned char c) {
  if (c >= 'a' && c <= 'z') return static_cast<char>(c - 'a' + 'A');
  if (c < 0x80) return static_cast<char>(c);
  return static_cast<char>(platform::UpperChar(c));
}

}  // namespace

HostRules PlatformRules() {
  HostRules rules;
  const bool windows = platform::ThisSystem() == platform::SystemFamily::Windows;
  rules.SlashStartsOption = windows;
  rules.UpperCaseScriptName = windows;
  rules.DotSlashIsProgramDir = !windows;
  return rules;
}

CommandLine ScanCommandLine(const std::vector<std::string>& args, const HostRules& rules,
                            const RegistrationAction& registrationAction) {
  CommandLine cmd;
  size_t i = 0;
  for (; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool isOption =
        !arg.empty() && (arg[0] == '-' || (rules.SlashStartsOption && arg[0] == '/'));
    if (!isOption) break;
    // "-" alone has no letter and selects nothing.
    const char letter = arg.size() > 1 ? OptionLetter(static_cast<unsigned char>(arg[1])) : '\0';
    switch (letter) {
      case 'H':
      case '?':
        cmd.Help = true;
        break;
      case 'Q':
        cmd.Quiet = true;
        break;
      case 'W':
        cmd.Wait = true;
        break;
      case 'C':
        cmd.Check = true;
        break;
      case 'R':
      case 'U':
        if (registrationAction) cmd.RegistrationMessage = registrationAction(letter);
        break;
      default:
        break;  // unknown options are ignored without a message
    }
  }
  if (i < args.size()) {
    cmd.HasScriptName = true;
    cmd.ScriptName = rules.UpperCaseScriptName ? platform::UpperText(args[i]) : args[i];
    cmd.Params.assign(args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args.end());
  }
  return cmd;
}

std::string ReplaceProgramDir(std::string_view text, const std::string& programDir,
                              const HostRules& rules) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const bool dotPair =
        text[i] == '.' && i + 1 < text.size() &&
        (text[i + 1] == '\\' || (rules.DotSlashIsProgramDir && text[i + 1] == '/'));
    // "..\" and "../" name the parent directory: turning their second half
    // into the program directory would give a path that exists nowhere.
    const bool partOfDotDot = i > 0 && text[i - 1] == '.';
    if (dotPair && !partOfDotDot) {
      out += programDir;
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

HostSettings ParseSettings(std::string_view iniText, const std::string& programDir,
                           const HostRules& rules) {
  HostSettings s;
  s.IncPath = ReplaceProgramDir(IniValue(iniText, "incpath", ".\\include", '='), programDir, rules);
  s.AutoImport = IniValue(iniText, "autoimport", "", '=');
  s.AutoInclude = IniValue(iniText, "autoinclude", "", '=');
  s.DefScript = ReplaceProgramDir(IniValue(iniText, "defscript", "", '='), programDir, rules);
  return s;
}

std::vector<std::string> BuildArguments(const std::string& scriptName,
                                        const std::vector<std::string>& params) {
  std::vector<std::string> arguments;
  arguments.reserve(params.size() + 1);
  arguments.push_back(scriptName);
  for (const std::string& p : params) arguments.push_back(DecodeEscapes(p));
  return arguments;
}

bool FindScriptFile(const std::string& name, const std::function<bool(const std::string&)>& exists,
                    std::string& path) {
  path = name;
  if (exists(path)) return true;
  for (const char* ext : {".zus", ".bat", ".cmd"}) {
    path = platform::ChangeFileExt(path, ext);
    if (exists(path)) return true;
  }
  return false;
}

std::string BuildBanner(const std::string& productName, const std::string& productVersion,
                        const std::string& legalCopyright) {
  std::string banner = productName;
  if (!productVersion.empty()) banner += " Version " + productVersion;
  if (!legalCopyright.empty()) banner += "\r\n" + legalCopyright;
  if (banner.empty()) banner = std::string(kFallbackBanner) + kFallbackNotice;
  return banner;
}

}  // namespace zu::host
