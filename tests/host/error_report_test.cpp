// Layout of the script-error and last-resort reports.
#include "host/error_report.h"

#include <gtest/gtest.h>

namespace zu::host {
namespace {

TEST(ErrorReport, ScriptErrorWithAndWithoutLocation) {
  EXPECT_EQ(
      FormatErrorReport("TEST.ZUS", "Unknow function: \"Foo\"", "TEST.ZUS", 12, 5),
      "\r\nError in TEST.ZUS:\r\nUnknow function: \"Foo\"\r\nin file TEST.ZUS: line 12, pos 5\r\n");
  EXPECT_EQ(FormatErrorReport("F", "msg", "main.zus", 0, 0), "\r\nError in F:\r\nmsg\r\n");
  EXPECT_EQ(FormatErrorReport("", "msg", "", 3, 1), "\r\nError in :\r\nmsg\r\n: line 3, pos 1\r\n");
  EXPECT_EQ(ScriptErrorReport(nullptr, "msg"), "\r\nError in :\r\nmsg\r\n");
}

TEST(ErrorReport, FailureWithoutKnownStatement) {
  EXPECT_EQ(FailureReport("EVariantError", "Invalid variant type conversion", nullptr),
            "\r\nFailure:\r\nEVariantError: Invalid variant type conversion\r\n");
}

}  // namespace
}  // namespace zu::host
