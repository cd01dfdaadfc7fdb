// Starting programs on POSIX: direct start of executables and PATH names
// with the parameter text split into arguments, and waiting.
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace zu::platform
