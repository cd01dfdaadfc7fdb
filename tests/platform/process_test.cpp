// Starting programs: the Windows command-line splitting of the parameter
// text, direct start of executables and PATH names, and waiting.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/platform.h"
#include "platform_test_util.h"

namespace zu::platform {
namespace {

using Args = std::vector<std::string>;

TEST(CommandLine, BlanksSeparateAndQuotesGroup) {
  EXPECT_EQ(SplitCommandLine(""), Args{});
  EXPECT_EQ(SplitCommandLine("   \t "), Args{});
  EXPECT_EQ(SplitCommandLine("a  b\tc"), (Args{"a", "b", "c"}));
  EXPECT_EQ(SplitCommandLine("\"a b\" c"), (Args{"a b", "c"}));
  EXPECT_EQ(SplitCommandLine("x\"a b\"y"), (Args{"xa by"}));
  EXPECT_EQ(SplitCommandLine("\"\""), (Args{""}));
  EXPECT_EQ(SplitCommandLine("\"unterminated arg"), (Args{"unterminated arg"}));
  EXPECT_EQ(SplitCommandLine("\"a\"\"b\""), (Args{"a\"b"}));
}

TEST(CommandLine, BackslashesEscapeOnlyBeforeQuotes) {
  EXPECT_EQ(SplitCommandLine("a\\b c\\\\d"), (Args{"a\\b", "c\\\\d"}));
  EXPECT_EQ(SplitCommandLine("a\\\"b"), (Args{"a\"b"}));           // 1 -> literal quote
  EXPECT_EQ(SplitCommandLine("\"a\\\\\" b"), (Args{"a\\", "b"}));  // 2 -> one, quote ends
  EXPECT_EQ(SplitCommandLine("a\\\\\\\"b"), (Args{"a\\\"b"}));     // 3 -> one and a quote
  EXPECT_EQ(SplitCommandLine("\"C:\\Program Files\\\\\""), (Args{"C:\\Program Files\\"}));
}

TEST(StartProcess, StartsPathProgramWithSplitArguments) {
  zu::testing::ScratchDir dir("exec");
  std::string out = dir.Path() + "out.txt";
  Process p = StartProcess("sh", "-c \"printf '%s|' \\\"$@\\\" > " + out + "\" sh \"a b\" c");
  ASSERT_TRUE(p.IsStarted());
  p.Wait();
  EXPECT_FALSE(p.IsStarted());
  EXPECT_EQ(zu::testing::ScratchDir::Content(out), "a b|c|");
}

TEST(StartProcess, MissingFileIsNotStarted) {
  Process p = StartProcess("/nonexistent/program", "");
  EXPECT_FALSE(p.IsStarted());
  p.Wait();  // harmless
  EXPECT_FALSE(StartProcess("", "").IsStarted());
}

// Children of this process that have ended and not been collected.
int Zombies() {
  const std::string self = std::filesystem::read_symlink("/proc/self").string();
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
    std::ifstream stat(entry.path() / "stat");
    std::string line;
    if (!std::getline(stat, line)) continue;
    // pid (name) state ppid ...; the name may hold blanks and parentheses.
    std::istringstream rest(line.substr(line.rfind(')') + 1));
    std::string state, ppid;
    rest >> state >> ppid;
    if (state == "Z" && ppid == self) ++count;
  }
  return count;
}

TEST(StartProcess, ChildrenNotWaitedForAreCollected) {
  if (!std::filesystem::exists("/proc/self/stat")) GTEST_SKIP() << "no /proc";
  for (int i = 0; i < 40; ++i) ASSERT_TRUE(StartProcess("true", "").IsStarted());
  // Each start collects the children that have ended by then; at most the
  // one just started may have ended since. A loaded machine gets time.
  int zombies = 0;
  for (int round = 0; round < 50; ++round) {
    Sleep(100);
    ASSERT_TRUE(StartProcess("true", "").IsStarted());
    zombies = Zombies();
    if (zombies <= 1) break;
  }
  EXPECT_LE(zombies, 1);
}

}  // namespace
}  // namespace zu::platform
