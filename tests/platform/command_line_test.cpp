// Splitting a parameter text into arguments by the Windows command-line
// rules.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/platform.h"

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

}  // namespace
}  // namespace zu::platform
