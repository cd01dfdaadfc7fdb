// Option scanning, zus.ini settings, argument text and script search of the host.
#include "host/host_setup.h"

#include <gtest/gtest.h>

#include <set>

namespace zu::host {
namespace {

HostRules PosixRules() { return HostRules{false, false, true}; }
HostRules WindowsRules() { return HostRules{true, true, false}; }

TEST(HostSetup, OptionsInAnyCaseStopAtTheScriptName) {
  const CommandLine cmd =
      ScanCommandLine({"-Q", "-w", "-C", "-x", "-", "s.zus", "-q", "a b"}, PosixRules(), nullptr);
  EXPECT_TRUE(cmd.Quiet);
  EXPECT_TRUE(cmd.Wait);
  EXPECT_TRUE(cmd.Check);
  EXPECT_FALSE(cmd.Help);
  EXPECT_TRUE(cmd.HasScriptName);
  EXPECT_EQ(cmd.ScriptName, "s.zus");
  EXPECT_EQ(cmd.Params, (std::vector<std::string>{"-q", "a b"}));
}

TEST(HostSetup, HelpByEitherLetterAndNoScriptName) {
  for (const char* opt : {"-h", "-H", "-?", "-help"}) {
    const CommandLine cmd = ScanCommandLine({opt}, PosixRules(), nullptr);
    EXPECT_TRUE(cmd.Help) << opt;
    EXPECT_FALSE(cmd.HasScriptName) << opt;
  }
}

TEST(HostSetup, RegistrationRunsWhenMetAndTheLaterMessageWins) {
  std::string calls;
  const CommandLine cmd = ScanCommandLine({"-r", "-U", "s.zus", "-r"}, PosixRules(), [&](char c) {
    calls += c;
    return std::string("message ") + c;
  });
  EXPECT_EQ(calls, "RU");  // the -r after the script name is a parameter
  EXPECT_EQ(cmd.RegistrationMessage, "message U");
  EXPECT_EQ(cmd.ScriptName, "s.zus");
}

TEST(HostSetup, SlashIsAPathOnPosixAndAnOptionOnWindows) {
  const CommandLine posix = ScanCommandLine({"/tmp/x.zus", "p"}, PosixRules(), nullptr);
  EXPECT_FALSE(posix.Quiet);
  EXPECT_EQ(posix.ScriptName, "/tmp/x.zus");

  const CommandLine win = ScanCommandLine({"/q", "test", "low"}, WindowsRules(), nullptr);
  EXPECT_TRUE(win.Quiet);
  EXPECT_EQ(win.ScriptName, "TEST");
  EXPECT_EQ(win.Params, (std::vector<std::string>{"low"}));
}

TEST(HostSetup, ProgramDirectoryReplacement) {
  const std::string dir = "/opt/zus/";
  EXPECT_EQ(ReplaceProgramDir(".\\include", dir, PosixRules()), "/opt/zus/include");
  EXPECT_EQ(ReplaceProgramDir("./lib;.\\inc;/usr/share", dir, PosixRules()),
            "/opt/zus/lib;/opt/zus/inc;/usr/share");
  // The parent directory stays what it is.
  EXPECT_EQ(ReplaceProgramDir("../lib;..\\inc", dir, PosixRules()), "../lib;..\\inc");
  // The inserted directory is not searched again.
  EXPECT_EQ(ReplaceProgramDir("./x", "/v1./", PosixRules()), "/v1./x");
  EXPECT_EQ(ReplaceProgramDir("./x;.\\y", "C:\\zus\\", WindowsRules()), "./x;C:\\zus\\y");
  EXPECT_EQ(ReplaceProgramDir("", dir, PosixRules()), "");
}

TEST(HostSetup, SettingsFromZusIni) {
  const std::string dir = "/opt/zus/";
  const HostSettings defaults = ParseSettings("", dir, PosixRules());
  EXPECT_EQ(defaults.IncPath, "/opt/zus/include");
  EXPECT_EQ(defaults.AutoImport, "");
  EXPECT_EQ(defaults.AutoInclude, "");
  EXPECT_EQ(defaults.DefScript, "");

  const HostSettings s = ParseSettings(
      "[zus]\r\nINCPATH = ./inc;/usr/lib/zus\r\nAutoImport=./io.zux\r\n"
      "autoinclude =  ./a.zus ; b.zus \r\ndefscript=./start.zus",
      dir, PosixRules());
  EXPECT_EQ(s.IncPath, "/opt/zus/inc;/usr/lib/zus");
  EXPECT_EQ(s.AutoImport, "./io.zux");  // only incpath and defscript are rewritten
  EXPECT_EQ(s.AutoInclude, "./a.zus ; b.zus");
  EXPECT_EQ(s.DefScript, "/opt/zus/start.zus");
}

TEST(HostSetup, ArgumentsDecodeEscapesOfParametersOnly) {
  using Args = std::vector<std::string>;
  EXPECT_EQ(BuildArguments("s.zus", {}), Args{"s.zus"});
  // The path stays as given; parameters lose their escapes, and quotes, line
  // breaks and a trailing backslash arrive as themselves.
  EXPECT_EQ(BuildArguments("C:\\dir\\S.ZUS", {"a b", "x\\ty\\65", "", "q\"\n\\"}),
            (Args{"C:\\dir\\S.ZUS", "a b", "x\tyA", "", "q\"\n\\"}));
}

TEST(HostSetup, ScriptSearchTriesZusBatCmdInTurn) {
  std::set<std::string> files = {"run.bat", "run.cmd", "job"};
  std::vector<std::string> tried;
  const auto exists = [&](const std::string& p) {
    tried.push_back(p);
    return files.count(p) > 0;
  };
  std::string path;
  EXPECT_TRUE(FindScriptFile("run", exists, path));
  EXPECT_EQ(path, "run.bat");
  EXPECT_EQ(tried, (std::vector<std::string>{"run", "run.zus", "run.bat"}));

  EXPECT_TRUE(FindScriptFile("job", exists, path));
  EXPECT_EQ(path, "job");

  EXPECT_FALSE(FindScriptFile("none.txt", exists, path));
  EXPECT_EQ(path, "none.cmd");
}

TEST(HostSetup, Banner) {
  EXPECT_EQ(BuildBanner("ZuScript", "2.10", "(c) Someone"), "ZuScript Version 2.10\r\n(c) Someone");
  EXPECT_EQ(BuildBanner("ZuScript", "", ""), "ZuScript");
}

}  // namespace
}  // namespace zu::host
