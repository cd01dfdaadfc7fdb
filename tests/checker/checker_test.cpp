// The check mode's findings for small sources: texts that look like traps
// but are not (no finding may come from them), and the forms of each trap
// that the golden script does not show.
#include "checker/checker.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/script.h"
#include "support/text_utils.h"

namespace zu::checker {
namespace {

// The findings for source (a script without file), one "line:pos message"
// each; a source without file locates only statements.
std::vector<std::string> Check(const std::string& source) {
  TZuScript script("test", nullptr);
  script.Source = SplitLines(source);
  std::vector<std::string> lines;
  for (const TZuFinding& f : CheckScript(script))
    lines.push_back(std::to_string(f.Line) + ":" + std::to_string(f.Column) + " " + f.Message);
  return lines;
}

TEST(Checker, NoFindingWhereNothingIsWrong) {
  const char* const clean[] = {
      "x = 0 - 5; Print Str(x);",
      // The logical operator is the last one: left to right is what is meant.
      "Var ok = true; n = 2; If (n > 1 && ok) { Print \"y\"; }",
      "Var a = true, b = false, c = true; Print Str(a && b || c);",
      "Print \"log\" >> \"out.txt\"; Print \"it's\" >> \"f\" + Str(1);",
      "Var e == 4; Print Str(e);",  // a run of "=" separates once
      "Array a[2] = (0 - 1, 2); i = 0; a[i] = 1; Print Str(a[0]);",
      "Func F(n) { result = n; } Print Str(F(1));",
      "For i = 1 to 3 { } Var k; k = 1; While (k < 2) { k = k + 1; }",
      "f(a = b);",  // a call, no assignment
      "t = 1; Print Str(Twice((t)));",
      "o.Size = 3; Read line;",
      "Import nosuch.zux; Object f : TFile;",  // nothing is loaded
      "@echo off\r\nPrint 1; @ comment\r\n\r\nPrint 2;",
      "Print \"a\"; /* closed */ Print \"b\";",
      "Print 1; Print x $ y;",  // fails loudly when it runs
  };
  for (const char* source : clean) EXPECT_EQ(std::vector<std::string>{}, Check(source)) << source;
}

TEST(Checker, TrapsInsideExpressions) {
  // A leading sign in a call argument, an index and a sub-expression.
  EXPECT_EQ(
      (std::vector<std::string>{
          "1:8 \"-1\" is 0: a leading \"-\" is no sign (write \"0 - 1\")",
          "1:8 \"+ x\" is 0: a leading \"+\" is no sign (write \"0 + x\")",
          "2:20 \"-n\" is 0: a leading \"-\" is no sign (write \"0 - n\")"}),
      Check("x = 1; Print Str(Substr(\"abc\", -1, (+ x)));\r\nArray a[2]; n = 1; a[-n] = 2;"));
  EXPECT_EQ((std::vector<std::string>{
                "1:8 \"x == 1 || x == 2\" is worked out as \"((x == 1) || x) == 2\": there is no "
                "precedence, \"||\" binds no tighter than the operators after it"}),
            Check("x = 1; y = x == 1 || x == 2; Print Str(y);"));
}

TEST(Checker, AssignmentTargetsThatAreNoNames) {
  EXPECT_EQ((std::vector<std::string>{
                "1:8 \"n <= 5\" assigns to a new variable named \"n <\", which no expression "
                "can read: \"<=\" is no assignment operator",
                "1:16 \"= 5\" has no name before \"=\": it gives the value to a variable with an "
                "empty name",
                "1:21 \"my var = 1\" assigns to a new variable named \"my var\", which no "
                "expression can read"}),
            Check("n = 1; n <= 5; = 5; my var = 1; Print Str(n);"));
}

TEST(Checker, UnreadVariables) {
  // Read anywhere counts: in a function, an include's place, an index.
  EXPECT_EQ(std::vector<std::string>{},
            Check("g = 1; Func F() { result = g; } Print Str(F()); Array a[2]; i = 0; "
                  "Print Str(a[i]);"));
  // Each name once, at its first assignment; letter case is ignored.
  EXPECT_EQ((std::vector<std::string>{"1:1 Variable \"count\" is assigned but never read"}),
            Check("count = 1; COUNT = 2; Func F() { Count = 3; } stdout = \"\"; result = 1;"));
  // Function parameters assigned and not read again.
  EXPECT_EQ((std::vector<std::string>{"1:13 Variable \"p\" is assigned but never read"}),
            Check("Func F(p) { p = 1; } Print Str(F(0));"));
}

TEST(Checker, WhatTheLoaderDrops) {
  // Sources without file give notes without location.
  EXPECT_EQ((std::vector<std::string>{
                "0:0 \"Print 2\" is dropped: a statement needs \";\" and none follows it",
                "0:0 The block of \"If\" is not closed: it ends with the file"}),
            Check("If (1 == 1) {\r\nPrint 1;\r\nPrint 2"));
}

}  // namespace
}  // namespace zu::checker
