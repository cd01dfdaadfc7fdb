// Files of the loader: the main file, Include merging, the include path and
// FindFile, and statement locations in files with any kind of line end.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "engine/statement_dump.h"
#include "engine_test_util.h"

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
      s->Run("");
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
  s->Run("");
  EXPECT_EQ(8, s->FindVar("z")->Value.IntegerPayload());
}

TEST_F(FileSearch, IncludedTwiceMergesTwice) {
  Write("inc/one.zus", "n = n + 1;");
  auto s = Load(Write("main.zus", "n = 0; Include one.zus; include ONE.zus;"));
  // File names are case-sensitive here: the second include names a file
  // that does not exist.
  EXPECT_THROW(s->Parse(), EZuScriptError);
  auto t = Load(Write("main2.zus", "n = 0; Include one.zus; Include one.zus;"));
  t->Parse();
  t->Run("");
  EXPECT_EQ(2, t->FindVar("n")->Value.IntegerPayload());
}

TEST_F(FileSearch, LocationsAreTheSameForEveryLineEnd) {
  for (const char* eol : {"\r\n", "\n", "\r"}) {
    const std::string e = eol;
    const std::string path = Write("ends.zus", "a = 1;" + e + e + "  b = nosuch;" + e +
                                                   "Func F() {" + e + " c = (1;" + e + "}");
    EXPECT_EQ(
        "[F] Number of open parentheses not correspond to number of closed parentheses in "
        "expression \"c = (1\" @ends.zus 5:2",
        Failure(path))
        << "line end "
        << (e == "\n"   ? "LF"
            : e == "\r" ? "CR"
                        : "CRLF");
    Write("ends.zus", "a = 1;" + e + e + "  b = nosuch;" + e);
    EXPECT_EQ("[ends.zus] Constant or variable \"nosuch\" not defined @ends.zus 3:3",
              Failure(path));
  }
}

TEST_F(FileSearch, ErrorsInIncludedFilesNameThatFile) {
  Write("inc/bad.zus", "x = 1;\r\n\r\ny = (2;\r\n");
  EXPECT_EQ(
      "[] Number of open parentheses not correspond to number of closed parentheses in "
      "expression \"y = (2\" @bad.zus 3:1",
      Failure(Write("m1.zus", "Include bad.zus;")));
  Write("inc/run.zus", "x = 1;\r\n  y = nothing;\r\n");
  EXPECT_EQ("[m2.zus] Constant or variable \"nothing\" not defined @run.zus 2:3",
            Failure(Write("m2.zus", "a = 0;\r\nInclude run.zus;")));
  Write("inc/fn.zus", "\r\nFunc G() {\r\n  q = zz;\r\n}\r\n");
  EXPECT_EQ("[G] Constant or variable \"zz\" not defined @fn.zus 3:3",
            Failure(Write("m3.zus", "Include fn.zus;\r\nG();")));
}

TEST_F(FileSearch, LoadTimeKeywordFailuresAreLocated) {
  EXPECT_EQ("[m.zus] File \"nowhere.zus\" not found @m.zus 2:3",
            Failure(Write("m.zus", "x = 1;\r\n  Include nowhere.zus;")));
  EXPECT_EQ("[m.zus] \";\" expected, but \"{\" found @m.zus 1:1",
            Failure(Write("m.zus", "Include x.zus { }")));
  // An include cycle stops at the Include that goes one level too deep.
  EXPECT_EQ("[] Func or Include nested too deeply (more than 64 levels) @self.zus 2:1",
            Failure(Write("self.zus", "x = 1;\nInclude self.zus;")));
}

TEST_F(FileSearch, MissingMainFile) {
  const std::string path = (dir_ / "gone.zus").string();
  EXPECT_EQ("[gone.zus] File \"" + path + "\" not found @ 0:0", Failure(path));
}

TEST_F(FileSearch, IncludePathEntriesEndWithTheSeparator) {
  TZuScript s("s", nullptr);
  s.SetIncludePath("a;;b/;");
  EXPECT_EQ((std::vector<std::string>{"a/", "b/"}), s.IncludePath);
  EXPECT_EQ("a/;b/", s.GetIncludePath());
  s.SetIncludePath("");
  EXPECT_TRUE(s.IncludePath.empty());
}

TEST_F(FileSearch, FindFileOrder) {
  const std::string inIncludes = Write("inc/only.zus", "");
  const std::string beside = Write("beside.zus", "");
  auto s = Load((dir_ / "main.zus").string());
  EXPECT_EQ(inIncludes, s->FindFile("only.zus"));
  EXPECT_EQ(beside, s->FindFile("some/dir/beside.zus"));
  EXPECT_EQ(beside, s->FindFile(beside));
  EXPECT_EQ("missing.zus", s->FindFile("missing.zus"));
}

}  // namespace
}  // namespace zu
