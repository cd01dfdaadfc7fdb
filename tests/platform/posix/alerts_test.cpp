// The message box of a system without windows: one line on standard error.
#include <gtest/gtest.h>

#include "platform/platform.h"

namespace zu::platform {
namespace {

TEST(Misc, ShowMessageWritesOneLineToStandardError) {
  ::testing::internal::CaptureStderr();
  ::testing::internal::CaptureStdout();
  ShowMessage("CRC32_File", "Can't open file (2):\nmissing.bin");
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "CRC32_File: Can't open file (2):\nmissing.bin\n");
}

}  // namespace
}  // namespace zu::platform
