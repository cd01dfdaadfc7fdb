// Starting programs on POSIX: direct start of executables and PATH names
// with the parameter text split into arguments, and waiting.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/platform_test_util.h"

namespace zu::platform {
namespace {

TEST(StartProcess, StartsPathProgramWithSplitArguments) {
  zu::testing::ScratchDir dir("exec");
  std::string out = dir.Path() + "out.txt";
  Process p = StartProcess("sh", "-c \"printf '%s|' \\\"$@\\\" > " + out + "\" sh \"a b\" c");
  ASSERT_TRUE(p.IsStarted());
  EXPECT_EQ(p.Wait(), 0);
  EXPECT_FALSE(p.IsStarted());
  EXPECT_EQ(zu::testing::ScratchDir::Content(out), "a b|c|");
}

TEST(StartProcess, MissingFileIsNotStarted) {
  Process p = StartProcess("/nonexistent/program", "");
  EXPECT_FALSE(p.IsStarted());
  EXPECT_EQ(p.Wait(), -1);  // harmless
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
