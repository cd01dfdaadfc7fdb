// Files of the loader: the main file, Include merging, the include path and
// FindFile, and statement locations in files with any kind of line end.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "engine/statement_dump.h"
#include "engine_test_util.h"
#include "platform/platform.h"

namespace zu {
namespace {

namespace fs = std::filesystem;

class FileSearch : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("zus-loader-" +
            std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "inc");
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Write(const std::string& name, const std::string& text) {
    const fs::path p = dir_ / name;
    std::ofstream(p, std::ios::binary) << text;
    return p.string();
  }
  std::unique_ptr<TZuScript> Load(const std::string& path) {
    auto s = std::make_unique<TZuScript>(fs::path(path).filename().string(), nullptr);
    s->FileName = path;
    s->SetIncludePath((dir_ / "inc").string());
    return s;
  }
  // Message and location of the error that parsing and running path ends with.
  std::string Failure(const std::string& path) {
    auto s = Load(path);
    try {
      s->Parse();
      s->Run({});
    } catch (const EZuScriptError& e) {
      int32_t line = 0, column = 0;
      e.Script->GetStatementLocation(e.Script->CurrentStatement, line, column);
      const std::string file =
          e.Script->CurrentStatement < static_cast<int32_t>(e.Script->Statements.size())
              ? e.Script->Statements[static_cast<size_t>(e.Script->CurrentStatement)].FileName
              : "";
      return "[" + e.Script->Name + "] " + e.what() + " @" + file + " " + std::to_string(line) +
             ":" + std::to_string(column);
    }
    return "no error";
  }

  fs::path dir_;
};

TEST_F(FileSearch, IncludeMergesStatementsAndFunctionsIntoTheBlock) {
  Write("inc/lib.zus", "Func Twice(x) { result = x * 2; }\r\nx = 1;\r\nIf (x) { y = 2; }\r\n");
  const std::string main =
      Write("main.zus", "If (1) {\r\n  Include lib.zus;\r\n}\r\nz = Twice(4);\r\n");
  auto s = Load(main);
  s->Parse();
  EXPECT_EQ(
      "0 If [end 4] main.zus 1:2 (1)\n"
      "1 Expr [end 2] lib.zus 2:1 x = 1\n"
      "2 If [end 4] lib.zus 3:2 (x)\n"
      "3 Expr [end 4] lib.zus 3:10 y = 2\n"
      "4 Expr [end 5] main.zus 4:1 z = Twice(4)\n",
      DumpStatements(*s));
  s->Run({});
  EXPECT_EQ(8, s->FindVar("z")->Value.IntegerPayload());
}

TEST_F(FileSearch, IncludeNamesFollowTheFileSystemsLetterCase) {
  Write("inc/one.zus", "n = n + 1;");
  auto s = Load(Write("main.zus", "n = 0; Include one.zus; include ONE.zus;"));
  if (platform::ThisSystem() == platform::SystemFamily::Posix) {
    EXPECT_THROW(s->Parse(), EZuScriptError);
  } else {
    s->Parse();
    s->Run({});
    EXPECT_EQ(2, s->FindVar("n")->Value.IntegerPayload());
  }
}

TEST_F(FileSearch, LoadErrorLocationIsTheSameForEveryLineEnd) {
  for (const char* eol : {"\r\n", "\n", "\r"}) {
    const std::string e = eol;
    const std::string path = Write("ends.zus", "a = 1;" + e + e + "  b = nosuch;" + e +
                                                   "Func F() {" + e + " c = (1;" + e + "}");
    EXPECT_EQ(
        "[F] Number of open parentheses not correspond to number of closed parentheses in "
        "expression \"c = (1\" @ends.zus 5:2",
        Failure(path))
        << static_cast<int>(e.size()) << " " << static_cast<int>(e.back());
  }
}

TEST_F(FileSearch, IncludeCycleStopsAtTheIncludeThatNestsTooDeeply) {
  EXPECT_EQ("[] Func or Include nested too deeply (more than 64 levels) @self.zus 2:1",
            Failure(Write("self.zus", "x = 1;\nInclude self.zus;")));
}

TEST_F(FileSearch, MissingMainFile) {
  const std::string path = (dir_ / "gone.zus").string();
  EXPECT_EQ("[gone.zus] File \"" + path + "\" not found @ 0:0", Failure(path));
}

TEST_F(FileSearch, IncludePathEntriesEndWithTheSeparator) {
  TZuScript s("s", nullptr);
  const std::string sep(1, platform::PathSeparator());
  s.SetIncludePath("a;;b/;");
  EXPECT_EQ((std::vector<std::string>{"a" + sep, "b/"}), s.IncludePath);
  EXPECT_EQ("a" + sep + ";b/", s.GetIncludePath());
  s.SetIncludePath("");
  EXPECT_TRUE(s.IncludePath.empty());
}

TEST_F(FileSearch, FindFileOrder) {
  Write("inc/only.zus", "");
  const std::string beside = Write("beside.zus", "");
  auto s = Load((dir_ / "main.zus").string());
  EXPECT_EQ((dir_ / "inc").string() + platform::PathSeparator() + "only.zus",
            s->FindFile("only.zus"));
  EXPECT_EQ(beside, s->FindFile("some/dir/beside.zus"));
  EXPECT_EQ(beside, s->FindFile(beside));
  EXPECT_EQ("missing.zus", s->FindFile("missing.zus"));
}

}  // namespace
}  // namespace zu
