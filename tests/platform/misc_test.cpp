// Small services: running on a larger stack, clocks, the program directory
// and loading a library that is not there.
#include <gtest/gtest.h>

#include <stdexcept>

#include "common/expect_error.h"
#include "platform/platform.h"

namespace zu::platform {
namespace {

struct Boom : std::runtime_error {
  using std::runtime_error::runtime_error;
};

int Depth(int n) {
  volatile char pad[1024];
  pad[0] = static_cast<char>(n);
  return n == 0 ? pad[0] : Depth(n - 1) + 1;
}

TEST(Misc, RunWithStackRunsDeepRecursionAndRethrows) {
  int result = 0;
  // 20000 frames of 1 KB need about 20 MB; the default stack would not do.
  RunWithStack(64u * 1024 * 1024, [&] { result = Depth(20000); });
  EXPECT_EQ(result, 20000);
  // The exception arrives as itself, not as a copy of a base class.
  const auto boom =
      zu::testing::RaisedBy<Boom>([] { RunWithStack(1024 * 1024, [] { throw Boom("boom"); }); });
  ASSERT_TRUE(boom.has_value());
  EXPECT_STREQ(boom->what(), "boom");
}

TEST(Misc, ClocksGiveCalendarFields) {
  CalendarTime utc = UtcNow();
  EXPECT_GE(utc.Year, 2024);
  EXPECT_GE(utc.Month, 1);
  EXPECT_LE(utc.Month, 12);
  EXPECT_LE(utc.Second, 59);
  EXPECT_LT(utc.Millisecond, 1000);
  EXPECT_LE(utc.DayOfWeek, 6);
  CalendarTime local = LocalNow();
  EXPECT_GE(local.Year, 2024);
}

TEST(Paths, ProgramDirectory) {
  std::string dir = ProgramDirectory();
  ASSERT_FALSE(dir.empty());
  EXPECT_TRUE(IsPathDelimiter(dir.back()));
  EXPECT_EQ(ProgramPath().substr(0, dir.size()), dir);
  EXPECT_TRUE(FileExists(ProgramPath()));
}

TEST(Library, MissingLibraryAndSymbol) {
  Library lib = Library::Load("/nonexistent/io.zux");
  EXPECT_FALSE(lib.IsLoaded());
  EXPECT_EQ(LastError(), kLibraryNotFound);
  EXPECT_EQ(lib.Symbol("ZuScriptXInit"), nullptr);
  EXPECT_EQ(LastError(), kLibraryEntryMissing);
}

}  // namespace
}  // namespace zu::platform
