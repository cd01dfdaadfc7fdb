// TFileFinder through the entry points: masks, the breadth-first recursive
// walk, dot directories, the search states and the properties.
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
  WriteFile("beta.TXT", "");
  WriteFile("README", "");
  std::filesystem::create_directory(Dir() + "sub");
  std::string d = Dir();
  EXPECT_EQ(Walk(d + "*.txt"), (Names{d + "alpha.txt", d + "beta.TXT", d + "sub"}));
  EXPECT_EQ(Walk(d + "*.*"), (Names{d + "alpha.txt", d + "beta.TXT", d + "sub"}));
  EXPECT_EQ(Walk(d + "*"), (Names{d + "alpha.txt", d + "beta.TXT", d + "README", d + "sub"}));
  EXPECT_EQ(Walk(d), (Names{d + "sub"}));  // empty mask: subdirectories only
  EXPECT_EQ(Walk(d + "?EADM*"), (Names{d + "README", d + "sub"}));
}

TEST_F(TFileFinder, EntryProperties) {
  WriteFile("one.bin", std::string(1234, 'x'));
  std::filesystem::create_directory(Dir() + "dir");
  ASSERT_TRUE(BoolOf(CallOk("ff", "FindFirst", {Txt((Dir() + "*").c_str())})));
  EXPECT_EQ(TextOf(Get("ff", "FileName")), Dir() + "dir");
  EXPECT_EQ(IntOf(Get("ff", "FileAttributes")), 16);
  ASSERT_TRUE(BoolOf(CallOk("ff", "FindNext")));
  EXPECT_EQ(TextOf(Get("ff", "FileName")), Dir() + "one.bin");
  EXPECT_EQ(IntOf(Get("ff", "FileAttributes")), 32);
  EXPECT_EQ(IntOf(Get("ff", "FileSize")), 1234);
  double now = platform::CalendarToDays(platform::LocalNow());
  ScriptValue written = Get("ff", "LastWriteTime");
  ASSERT_EQ(written.Kind(), ValueKind::Float);
  EXPECT_LT(std::fabs(written.DoublePayload() - now), 60.0 / 86400);
  EXPECT_FALSE(BoolOf(CallOk("ff", "FindNext")));
  // The last entry stays described and the search stays open at the end.
  EXPECT_EQ(TextOf(Get("ff", "FileName")), Dir() + "one.bin");
  EXPECT_FALSE(BoolOf(CallOk("ff", "FindNext")));
}

TEST_F(TFileFinder, BeforeAnySearch) {
  EXPECT_EQ(TextOf(Get("ff", "FileName")), "");
  EXPECT_EQ(IntOf(Get("ff", "FileSize")), 0);
  EXPECT_EQ(IntOf(Get("ff", "FileAttributes")), 0);
  EXPECT_FALSE(BoolOf(Get("ff", "Recursive")));
  EXPECT_EQ(CallError("ff", "FindNext"), "Invalid find handle");
}

TEST_F(TFileFinder, RecursiveWalkIsBreadthFirstAndSkipsDotDirectories) {
  std::string d = Dir();
  WriteFile("top.txt", "");
  WriteFile("S/s.txt", "");
  WriteFile("S/T/t.txt", "");
  WriteFile("S/U/u.dat", "");
  WriteFile("A/a.txt", "");
  WriteFile(".git/hidden.txt", "");
  WriteFile(".profile.txt", "");
  TZuScriptXValue yes;
  ValueToXValue(ScriptValue::Boolean(true), yes);
  ASSERT_EQ(x_.SetProperty("ff", "RECURSIVE", &yes), -1);
  EXPECT_TRUE(BoolOf(Get("ff", "Recursive")));
  EXPECT_EQ(Walk(d + "*.txt"),
            (Names{d + ".profile.txt", d + "A", d + "S", d + "top.txt", d + "A/a.txt",
                   d + "S/s.txt", d + "S/T", d + "S/U", d + "S/T/t.txt"}));
}

TEST_F(TFileFinder, EmptyAndMissingDirectories) {
  std::string d = Dir();
  std::filesystem::create_directories(d + "empty");
  std::filesystem::create_directories(d + "deep/empty2");
  // An empty directory: nothing found, but FindNext keeps answering false.
  EXPECT_FALSE(BoolOf(CallOk("ff", "FindFirst", {Txt((d + "empty/*").c_str())})));
  EXPECT_FALSE(BoolOf(CallOk("ff", "FindNext")));
  // A missing one: nothing found and no search.
  EXPECT_FALSE(BoolOf(CallOk("ff", "FindFirst", {Txt((d + "nowhere/*").c_str())})));
  EXPECT_EQ(CallError("ff", "FindNext"), "Invalid find handle");

  TZuScriptXValue yes;
  ValueToXValue(Int(1), yes);
  ASSERT_EQ(x_.SetProperty("ff", "Recursive", &yes), -1);
  EXPECT_EQ(Walk(d + "deep/*"), (Names{d + "deep/empty2"}));
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

TEST_F(TFileFinder, Messages) {
  EXPECT_EQ(SetError("ff", "FileName", Txt("x")),
            "Property \"FileName\" of class \"TFILEFINDER\" is read-only");
  EXPECT_EQ(GetError("ff", "FileName.Ext"),
            "Property \"FileName.Ext\" of class \"TFILEFINDER\" is write-only");
  EXPECT_EQ(SetError("ff", "Recursive.x", Int(1)),
            "Property \"Recursive.x\" of class \"TFILEFINDER\" is read-only");
  EXPECT_EQ(GetError("ff", "Depth"), "Property \"Depth\" not found in class \"TFILEFINDER\"");
  EXPECT_EQ(CallError("ff", "FindFirst"), "Function \"FindFirst\" must have 1 arguments");
  EXPECT_EQ(CallError("ff", "FindAll"), "Function \"FindAll\" not found in class \"TFILEFINDER\"");
}

}  // namespace
}  // namespace zu::io_test
