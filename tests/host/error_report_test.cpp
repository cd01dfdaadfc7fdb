// Layout of the script-error and last-resort reports.
#include "host/error_report.h"

#include <gtest/gtest.h>

#include <memory>

namespace zu::host {
namespace {

TEST(ErrorReport, ScriptErrorWithAndWithoutLocation) {
  EXPECT_EQ(FormatErrorReport("F", "msg", "main.zus", 0, 0), "\r\nError in F:\r\nmsg\r\n");
  EXPECT_EQ(FormatErrorReport("", "msg", "", 3, 1), "\r\nError in :\r\nmsg\r\n: line 3, pos 1\r\n");
  EXPECT_EQ(ScriptErrorReport(nullptr, "msg"), "\r\nError in :\r\nmsg\r\n");
}

TEST(ErrorReport, FailureWithoutKnownStatement) {
  EXPECT_EQ(FailureReport("EVariantError", "Invalid variant type conversion", nullptr),
            "\r\nFailure:\r\nEVariantError: Invalid variant type conversion\r\n");
}

TEST(ErrorReport, LocatesTheCurrentStatement) {
  TZuScript script("t.zus", nullptr);
  script.Source = {"Var a = 1;", "  a = 2;"};
  script.Parse();
  script.CurrentStatement = 1;
  // Without a file the location has no "in file" part.
  EXPECT_EQ(ScriptErrorReport(&script, "msg"), "\r\nError in t.zus:\r\nmsg\r\n: line 2, pos 3\r\n");
  EXPECT_EQ(FailureReport("EZeroDivide", "Division by zero", &script),
            "\r\nFailure in t.zus:\r\nEZeroDivide: Division by zero\r\n: line 2, pos 3\r\n");
  script.CurrentStatement = 7;  // no such record: no location
  EXPECT_EQ(ScriptErrorReport(&script, "msg"), "\r\nError in t.zus:\r\nmsg\r\n");
}

TEST(ErrorReport, OnlyLiveScriptsAreRead) {
  TZuScript main("main.zus", nullptr);
  main.Source = {"Func F(x) {", "  result = x;", "}"};
  main.Parse();
  TZuScript* definition = main.FindFunc("F");
  ASSERT_NE(definition, nullptr);
  EXPECT_EQ(FindLiveScript(main, &main), &main);
  EXPECT_EQ(FindLiveScript(main, definition), definition);
  EXPECT_EQ(FindLiveScript(main, nullptr), nullptr);

  auto instance = std::make_unique<TZuScript>("F", &main);
  const TZuScript* left = instance.get();
  EXPECT_EQ(FindLiveScript(main, left), nullptr);  // not (or no longer) known
  main.Context().Abandoned.push_back(std::move(instance));
  EXPECT_EQ(FindLiveScript(main, left), left);
}

}  // namespace
}  // namespace zu::host
