// Starting programs with ShellExecuteExA and waiting for their exit code.
#include <gtest/gtest.h>

#include "platform/platform.h"
#include "platform/platform_test_util.h"

namespace zu::platform {
namespace {

TEST(StartProcess, StartsAndWaitsForTheExitCode) {
  zu::testing::ScratchDir dir("exec");
  const std::string out = dir.Path() + "out.txt";
  Process p = StartProcess("cmd.exe", "/c echo started> \"" + out + "\"& exit 3");
  ASSERT_TRUE(p.IsStarted());
  EXPECT_EQ(p.Wait(), 3);
  EXPECT_FALSE(p.IsStarted());
  EXPECT_EQ(zu::testing::ScratchDir::Content(out), "started\r\n");
}

TEST(StartProcess, MissingFileIsNotStarted) {
  Process p = StartProcess("Z:\\no\\such\\program.exe", "");
  EXPECT_FALSE(p.IsStarted());
  EXPECT_EQ(p.Wait(), -1);  // harmless
}

}  // namespace
}  // namespace zu::platform
