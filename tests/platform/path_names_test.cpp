// Splitting paths at the platform's delimiters: '/' on POSIX; '\', ':' and
// '/' on Windows.
#include <gtest/gtest.h>

#include "platform/path_names.h"

namespace zu::platform {
namespace {

struct SplitCase {
  const char* path;
  const char* posixDir;    // ExtractFilePath on POSIX; the name is the rest
  const char* windowsDir;  // the same on Windows
};

TEST(PathNames, SplitAtTheLastDelimiter) {
  const bool windows = PathSeparator() == '\\';
  const SplitCase cases[] = {
      {"test.zus", "", ""},
      {"sub/dir/test.zus", "sub/dir/", "sub/dir/"},
      {"/test.zus", "/", "/"},
      {"dir/", "dir/", "dir/"},
      {"C:\\dir\\x.zus", "", "C:\\dir\\"},
      {"C:x.zus", "", "C:"},
      {"a\\b/c:d", "a\\b/", "a\\b/c:"},
      {"", "", ""},
  };
  for (const SplitCase& c : cases) {
    const std::string path = c.path;
    const std::string dir = windows ? c.windowsDir : c.posixDir;
    EXPECT_EQ(ExtractFilePath(path), dir) << path;
    EXPECT_EQ(ExtractFileName(path), path.substr(dir.size())) << path;
  }
}

TEST(PathNames, ChangeExtensionOfTheNameOnly) {
  EXPECT_EQ(ChangeFileExt("test", ".zus"), "test.zus");
  EXPECT_EQ(ChangeFileExt("test.txt", ".zus"), "test.zus");
  EXPECT_EQ(ChangeFileExt("a.b/test", ".bat"), "a.b/test.bat");
  EXPECT_EQ(ChangeFileExt("dir/x.tar.gz", ".cmd"), "dir/x.tar.cmd");
}

TEST(PathNames, TrailingDelimiter) {
  const std::string sep(1, PathSeparator());
  EXPECT_EQ(IncludeTrailingDelimiter(""), "");
  EXPECT_EQ(IncludeTrailingDelimiter("dir"), "dir" + sep);
  EXPECT_EQ(IncludeTrailingDelimiter("dir/"), "dir/");
}

}  // namespace
}  // namespace zu::platform
