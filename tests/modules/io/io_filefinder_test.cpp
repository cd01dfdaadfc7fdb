// TFileFinder through the entry points, beyond the golden scripts: masks
// with '?' and "*.*", dot entries in the recursive walk, the search states
// at the end, restarting and closing.
#include <cmath>

#include "modules/io/io_module_fixture.h"
#include "platform/date_codec.h"

namespace zu::io_test {
namespace {

class TFileFinder : public IoModuleTest {
 protected:
  void SetUp() override {
    IoModuleTest::SetUp();
    Create("TFILEFINDER", "ff");
  }
  // Every FileName the search reports, FindFirst included.
  std::vector<std::string> Walk(const std::string& searchText) {
    std::vector<std::string> names;
    bool found = BoolOf(CallOk("ff", "FindFirst", {Txt(searchText.c_str())}));
    while (found) {
      names.push_back(TextOf(Get("ff", "FileName")));
      found = BoolOf(CallOk("ff", "FindNext"));
    }
    return names;
  }
  using Names = std::vector<std::string>;
};

TEST_F(TFileFinder, MasksFilterFilesButNotDirectories) {
  WriteFile("alpha.txt", "12345");
  WriteFile("README", "");
  std::filesystem::create_directory(Dir() + "sub");
  std::string d = Dir();
  EXPECT_EQ(Walk(d + "*.*"), (Names{d + "alpha.txt", d + "sub"}));
  EXPECT_EQ(Walk(d + "?EADM*"), (Names{d + "README", d + "sub"}));
}

TEST_F(TFileFinder, EntryPropertiesAndTheEndOfTheSearch) {
  WriteFile("one.bin", std::string(1234, 'x'));
  ASSERT_TRUE(BoolOf(CallOk("ff", "FindFirst", {Txt((Dir() + "*").c_str())})));
  double now = platform::CalendarToDays(platform::LocalNow());
  ScriptValue written = Get("ff", "LastWriteTime");
  ASSERT_EQ(written.Kind(), ValueKind::Float);
  EXPECT_LT(std::fabs(written.DoublePayload() - now), 60.0 / 86400);
  EXPECT_FALSE(BoolOf(CallOk("ff", "FindNext")));
  // The last entry stays described and the search stays open at the end.
  EXPECT_EQ(TextOf(Get("ff", "FileName")), Dir() + "one.bin");
  EXPECT_EQ(IntOf(Get("ff", "FileSize")), 1234);
  EXPECT_FALSE(BoolOf(CallOk("ff", "FindNext")));
  // An empty directory: nothing found, but FindNext keeps answering false.
  std::filesystem::create_directories(Dir() + "empty");
  EXPECT_FALSE(BoolOf(CallOk("ff", "FindFirst", {Txt((Dir() + "empty/*").c_str())})));
  EXPECT_FALSE(BoolOf(CallOk("ff", "FindNext")));
  // A file the mask passed over, last in its listing, stays in FindData at
  // the end with its size and attributes, like a reported one.
  WriteFile("last/a.txt", "1");
  WriteFile("last/z.dat", "12345");
  ASSERT_TRUE(BoolOf(CallOk("ff", "FindFirst", {Txt((Dir() + "last/*.txt").c_str())})));
  EXPECT_FALSE(BoolOf(CallOk("ff", "FindNext")));
  EXPECT_EQ(TextOf(Get("ff", "FileName")), Dir() + "last/z.dat");
  EXPECT_EQ(IntOf(Get("ff", "FileSize")), 5);
  EXPECT_EQ(IntOf(Get("ff", "FileAttributes")), 32);
}

TEST_F(TFileFinder, RecursiveWalkSkipsDotDirectoriesButNotDotFiles) {
  std::string d = Dir();
  WriteFile("S/s.txt", "");
  WriteFile(".git/hidden.txt", "");
  WriteFile(".profile.txt", "");
  std::filesystem::create_directories(d + "deep/empty2");
  TZuScriptXValue yes;
  ValueToXValue(Int(1), yes);  // any non-zero value switches it on
  ASSERT_EQ(x_.SetProperty("ff", "RECURSIVE", &yes), -1);
  EXPECT_TRUE(BoolOf(Get("ff", "Recursive")));
  // A dotted path passes the property check but reaches no setter.
  EXPECT_EQ(SetError("ff", "Recursive.x", Int(1)),
            "Property \"Recursive.x\" of class \"TFILEFINDER\" is read-only");
  const std::string sep(1, platform::PathSeparator());
  EXPECT_EQ(Walk(d + "*.txt"), (Names{d + ".profile.txt", d + "deep", d + "S",
                                      d + "deep" + sep + "empty2", d + "S" + sep + "s.txt"}));
}

// A link to a folder is reported (16 + 1024) but never searched, so a link
// cycle ends like any other walk.
TEST_F(TFileFinder, RecursiveWalkDoesNotFollowLinks) {
  if (platform::ThisSystem() == platform::SystemFamily::Windows)
    GTEST_SKIP() << "a link needs a privilege on Windows; junctions are reparse points alike";
  std::string d = Dir();
  WriteFile("a/f.txt", "");
  std::filesystem::create_directory_symlink("..", d + "a/up");
  std::filesystem::create_directory_symlink("a", d + "also_a");
  TZuScriptXValue yes;
  ValueToXValue(Int(1), yes);
  ASSERT_EQ(x_.SetProperty("ff", "Recursive", &yes), -1);
  EXPECT_EQ(Walk(d + "*"), (Names{d + "a", d + "also_a", d + "a/f.txt", d + "a/up"}));
  EXPECT_EQ(IntOf(Get("ff", "FileAttributes")), 16 + 1024);
}

TEST_F(TFileFinder, FindFirstRestartsAndFindCloseEnds) {
  std::string d = Dir();
  WriteFile("x/1.txt", "");
  WriteFile("x/2.txt", "");
  WriteFile("y/3.txt", "");
  ASSERT_TRUE(BoolOf(CallOk("ff", "FindFirst", {Txt((d + "x/*").c_str())})));
  ASSERT_TRUE(BoolOf(CallOk("ff", "FindNext")));
  EXPECT_EQ(Walk(d + "y/*"), (Names{d + "y/3.txt"}));
  EXPECT_TRUE(CallOk("ff", "FindClose").IsEmpty());
  EXPECT_EQ(CallError("ff", "FindNext"), "Invalid find handle");
  CallOk("ff", "FindClose");  // closing twice is fine
}

}  // namespace
}  // namespace zu::io_test
