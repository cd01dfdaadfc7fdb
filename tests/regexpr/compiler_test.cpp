// Compiler tests: program bytes and dumps, element flags seen through the
// search hints, brace and set syntax, and every compile error with its text
// and position.
#include <gtest/gtest.h>

#include <string>

#include "regexpr/regexpr.h"

namespace zu {
namespace {

std::string Hex(std::string_view bytes) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : bytes) {
    if (!out.empty()) out += ' ';
    out += kHex[c >> 4];
    out += kHex[c & 15];
  }
  return out;
}

std::string DumpOf(std::string_view expression, int modifiers = kDefaultModifiers) {
  TRegExpr re;
  if ((modifiers & kModifierI) != 0) re.SetModifier(kModifierI, true);
  if ((modifiers & kModifierR) == 0) re.SetModifier(kModifierR, false);
  if ((modifiers & kModifierS) == 0) re.SetModifier(kModifierS, false);
  re.SetExpression(expression);
  return re.Dump();
}

// The code and the whole message of the error that compiling raises.
#define EXPECT_COMPILE_ERROR(expression, code, message)           \
  do {                                                            \
    TRegExpr re_;                                                 \
    try {                                                         \
      re_.SetExpression(expression);                              \
      ADD_FAILURE() << "no error for " << (expression);           \
    } catch (const ERegExpr& e_) {                                \
      EXPECT_EQ(e_.ErrorCode, code) << (expression);              \
      EXPECT_EQ(std::string(e_.what()), message) << (expression); \
      EXPECT_EQ(e_.Kind(), "ERegExpr");                           \
      EXPECT_EQ(re_.LastError(), code);                           \
      EXPECT_FALSE(re_.Compiled());                               \
    }                                                             \
  } while (0)

TEST(Compiler, StarBeforeLiteralIsTheDocumentedTwentyBytes) {
  TRegExpr re;
  re.SetExpression("x*y");
  EXPECT_EQ(Hex(re.ProgramBytes()), "9C 06 00 10 0A 00 08 08 00 00 78 00 08 00 05 79 00 00 00 00");
  EXPECT_EQ(re.FirstCharHint(), 0);
  EXPECT_FALSE(re.Anchored());
  EXPECT_EQ(re.RequiredLiteral(), "y");
  EXPECT_EQ(re.Dump(),
            "    1: Alternative -> 17\n"
            "    4: RepeatStar -> 12\n"
            "    7: Literal \"x\"\n"
            "   12: Literal \"y\" -> 17\n"
            "   17: End\n"
            "first char: none; required: \"y\"\n");
}

TEST(Compiler, ComplexRepetitionsLoopBackwards) {
  EXPECT_EQ(DumpOf("(a)*"),
            "    1: Alternative -> 30\n"
            "    4: Alternative -> 24\n"
            "    7: GroupOpen 1 -> 10\n"
            "   10: Alternative -> 18\n"
            "   13: Literal \"a\" -> 18\n"
            "   18: GroupClose 1 -> 21\n"
            "   21: LoopBack -> 4\n"
            "   24: Alternative -> 27\n"
            "   27: Nothing -> 30\n"
            "   30: End\n"
            "first char: none; required: none\n");
  EXPECT_EQ(DumpOf("(ab)+c"),
            "    1: Alternative -> 36\n"
            "    4: GroupOpen 1 -> 7\n"
            "    7: Alternative -> 16\n"
            "   10: Literal \"ab\" -> 16\n"
            "   16: GroupClose 1 -> 19\n"
            "   19: Alternative -> 25\n"
            "   22: LoopBack -> 4\n"
            "   25: Alternative -> 28\n"
            "   28: Nothing -> 31\n"
            "   31: Literal \"c\" -> 36\n"
            "   36: End\n"
            "first char: none; required: \"c\"\n");
  // LoopBack stores its distance backwards: 21 - 4 = 17.
  TRegExpr re;
  re.SetExpression("(a)*");
  EXPECT_EQ(Hex(re.ProgramBytes().substr(21, 3)), "07 00 11");
}

TEST(Compiler, AlternativesOptionalAndEmptyBranches) {
  EXPECT_EQ(DumpOf("a+|b?"),
            "    1: Alternative -> 12\n"
            "    4: RepeatPlus -> 29\n"
            "    7: Literal \"a\"\n"
            "   12: Alternative -> 29\n"
            "   15: Alternative -> 23\n"
            "   18: Literal \"b\" -> 26\n"
            "   23: Alternative -> 26\n"
            "   26: Nothing -> 29\n"
            "   29: End\n"
            "first char: none; required: none\n");
  EXPECT_EQ(DumpOf("a|"),
            "    1: Alternative -> 9\n"
            "    4: Literal \"a\" -> 15\n"
            "    9: Alternative -> 15\n"
            "   12: Nothing -> 15\n"
            "   15: End\n"
            "first char: none; required: none\n");
}

TEST(Compiler, LiteralRunsSplitBeforeAQuantifier) {
  EXPECT_EQ(DumpOf("abc{2}"),
            "    1: Alternative -> 20\n"
            "    4: Literal \"ab\" -> 10\n"
            "   10: RepeatBraces {2,2} -> 20\n"
            "   15: Literal \"c\"\n"
            "   20: End\n"
            "first char: \"a\"; required: none\n");
  EXPECT_EQ(DumpOf("abc*d"),
            "    1: Alternative -> 23\n"
            "    4: Literal \"ab\" -> 10\n"
            "   10: RepeatStar -> 18\n"
            "   13: Literal \"c\"\n"
            "   18: Literal \"d\" -> 23\n"
            "   23: End\n"
            "first char: \"a\"; required: none\n");
  // A '{' that starts no quantifier is text: no split, and the run goes on.
  EXPECT_EQ(DumpOf("ab{x}"),
            "    1: Alternative -> 17\n"
            "    4: Literal \"ab\" -> 10\n"
            "   10: Literal \"{x}\" -> 17\n"
            "   17: End\n"
            "first char: \"a\"; required: none\n");
}

TEST(Compiler, BracesForms) {
  EXPECT_NE(DumpOf("a{2,}").find("RepeatBraces {2,255}"), std::string::npos);
  EXPECT_NE(DumpOf("a{0,3}").find("RepeatBraces {0,3}"), std::string::npos);
  EXPECT_NE(DumpOf("a{007}").find("RepeatBraces {7,7}"), std::string::npos);
  EXPECT_NE(DumpOf("a{255}").find("RepeatBraces {255,255}"), std::string::npos);
  EXPECT_NE(DumpOf("a{,3}").find("Literal \"{,3}\""), std::string::npos);
  EXPECT_NE(DumpOf("a{2,x}").find("Literal \"{2,x}\""), std::string::npos);
  EXPECT_NE(DumpOf("{2}").find("Literal \"{2}\""), std::string::npos);
  EXPECT_NE(DumpOf("a{2").find("Literal \"{2\""), std::string::npos);
  // Braces with a maximum above 0 give width, so the group can repeat.
  EXPECT_NE(DumpOf("(a{0,2})*").find("LoopBack"), std::string::npos);
}

TEST(Compiler, DotSetsAndClasses) {
  EXPECT_NE(DumpOf(".").find("AnyChar"), std::string::npos);
  EXPECT_NE(DumpOf("(?-s).").find("CharNotIn \"\\x0A\""), std::string::npos);
  EXPECT_NE(DumpOf("[]a]").find("CharIn \"]a\""), std::string::npos);
  EXPECT_NE(DumpOf("[a-]").find("CharIn \"a-\""), std::string::npos);
  EXPECT_NE(DumpOf("[-a]").find("CharIn \"-a\""), std::string::npos);
  EXPECT_NE(DumpOf("[^]x]").find("CharNotIn \"]x\""), std::string::npos);
  EXPECT_NE(DumpOf("[\\s\\D]").find("CharIn \"sD\""), std::string::npos);
  EXPECT_NE(DumpOf("[\\d]").find("CharIn \"0123456789\""), std::string::npos);
  EXPECT_NE(
      DumpOf("[\\w]").find("CharIn \"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ_\""),
      std::string::npos);
  EXPECT_NE(DumpOf("[\\t\\x41\\]]").find("CharIn \"\\x09A]\""), std::string::npos);
  EXPECT_NE(DumpOf("[\\x41-C]").find("CharIn \"AABC\""), std::string::npos);
  EXPECT_NE(DumpOf("(?i)[ab]").find("CharInCI \"ab\""), std::string::npos);
  EXPECT_NE(DumpOf("(?i)[^ab]").find("CharNotInCI \"ab\""), std::string::npos);
  EXPECT_NE(DumpOf("\\d\\D\\w\\W\\s\\S")
                .find("Digit -> 7\n    7: NonDigit -> 10\n   10: WordChar -> 13\n"
                      "   13: NonWordChar -> 16\n   16: Space -> 19\n   19: NonSpace -> 22"),
            std::string::npos);
  EXPECT_NE(DumpOf("\\t\\n\\r\\f\\a\\e\\.").find("Literal \"\\x09\" -> 9"), std::string::npos);
  EXPECT_NE(DumpOf("\\x00").find("Literal \"\\x00\" -> 9"), std::string::npos);
}

TEST(Compiler, CyrillicRangesUnderR) {
  std::string lower_set = DumpOf("[\xE0-\xFF]");
  EXPECT_NE(lower_set.find("\\xFF\\xB8\""), std::string::npos) << lower_set;
  std::string upper_set = DumpOf("[\xC0-\xDF]");
  EXPECT_NE(upper_set.find("\\xDF\\xA8\""), std::string::npos) << upper_set;
  std::string both = DumpOf("[\xE0-\xDF]");
  EXPECT_NE(both.find("\\xFF\\xA8\\xB8\""), std::string::npos) << both;
  // Without r the ranges are ordinary and the reversed one is an error.
  EXPECT_EQ(DumpOf("[\xE0-\xFF]", kModifierS).find("\\xB8"), std::string::npos);
  TRegExpr re;
  re.SetModifier(kModifierR, false);
  EXPECT_THROW(re.SetExpression("[\xE0-\xDF]"), ERegExpr);
}

TEST(Compiler, ModifierGroupsLastToTheEndOfTheirGroup) {
  EXPECT_EQ(DumpOf("((?i)a)b"),
            "    1: Alternative -> 26\n"
            "    4: GroupOpen 1 -> 7\n"
            "    7: Alternative -> 18\n"
            "   10: Comment -> 13\n"
            "   13: LiteralCI \"a\" -> 18\n"
            "   18: GroupClose 1 -> 21\n"
            "   21: Literal \"b\" -> 26\n"
            "   26: End\n"
            "first char: none; required: none\n");
  EXPECT_NE(DumpOf("(?I)a|b").find("LiteralCI \"b\""), std::string::npos);
  EXPECT_NE(DumpOf("a(?i-i)b").find("Literal \"b\""), std::string::npos);
  EXPECT_NE(DumpOf("(?)a").find("Comment"), std::string::npos);
  EXPECT_NE(DumpOf("(?#any text)a").find("Comment -> 7\n    7: Literal \"a\""), std::string::npos);
  EXPECT_NE(DumpOf("abc", kModifierI | kModifierS).find("LiteralCI \"abc\""), std::string::npos);
}

TEST(Compiler, SearchHints) {
  TRegExpr re;
  re.SetExpression("^abc");
  EXPECT_TRUE(re.Anchored());
  re.SetExpression("abc|x");
  EXPECT_EQ(re.FirstCharHint(), 0);
  re.SetExpression("ab*");
  EXPECT_EQ(re.FirstCharHint(), 'a');
  re.SetExpression("(?i)ab");
  EXPECT_EQ(re.FirstCharHint(), 0);
  // Only an expression starting with a repetition gets a required literal;
  // the longest wins, the later one on equal length.
  re.SetExpression("a*bc.de");
  EXPECT_EQ(re.RequiredLiteral(), "de");
  re.SetExpression("a*bcd.ef");
  EXPECT_EQ(re.RequiredLiteral(), "bcd");
  re.SetExpression("a*bc.de.fgh");
  EXPECT_EQ(re.RequiredLiteral(), "fgh");
  re.SetExpression("a+xyz");
  EXPECT_EQ(re.RequiredLiteral(), "xyz");
  re.SetExpression("bc.a*");
  EXPECT_EQ(re.RequiredLiteral(), "");
  re.SetExpression("a*(?i)bc");
  EXPECT_EQ(re.RequiredLiteral(), "");
  re.SetExpression("a?bc");
  EXPECT_EQ(re.RequiredLiteral(), "");
}

TEST(Compiler, GroupLimit) {
  TRegExpr re;
  re.SetExpression("(a)(b)(c)(d)(e)(f)(g)(h)(i)");
  EXPECT_TRUE(re.Compiled());
  EXPECT_COMPILE_ERROR("(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)", 102,
                       "TRegExpr(comp): ParseReg Too Many () (pos 28)");
}

TEST(Compiler, ErrorsCarryTheirTextAndPosition) {
  EXPECT_COMPILE_ERROR("a)", 104, "TRegExpr(comp): ParseReg Unmatched () (pos 1)");
  EXPECT_COMPILE_ERROR("(a", 103, "TRegExpr(comp): ParseReg Unmatched () (pos 2)");
  EXPECT_COMPILE_ERROR("^*", 106, "TRegExpr(comp): *+ Operand Could Be Empty (pos 1)");
  EXPECT_COMPILE_ERROR("(a*)*", 106, "TRegExpr(comp): *+ Operand Could Be Empty (pos 4)");
  EXPECT_COMPILE_ERROR("(a?)+", 106, "TRegExpr(comp): *+ Operand Could Be Empty (pos 4)");
  EXPECT_COMPILE_ERROR("^{x}", 106, "TRegExpr(comp): *+ Operand Could Be Empty (pos 1)");
  EXPECT_COMPILE_ERROR("a**", 107, "TRegExpr(comp): Nested *?+ (pos 2)");
  EXPECT_COMPILE_ERROR("a+?", 107, "TRegExpr(comp): Nested *?+ (pos 2)");
  EXPECT_COMPILE_ERROR("a{2}{3}", 107, "TRegExpr(comp): Nested *?+ (pos 4)");
  EXPECT_COMPILE_ERROR("\\xZZ", 108, "TRegExpr(comp): Bad Hex Digit (pos 2)");
  EXPECT_COMPILE_ERROR("[\\x4g]", 108, "TRegExpr(comp): Bad Hex Digit (pos 4)");
  EXPECT_COMPILE_ERROR("[z-a]", 109, "TRegExpr(comp): Invalid [] Range (pos 4)");
  EXPECT_COMPILE_ERROR("[a\\", 110, "TRegExpr(comp): Parse Atom Trailing \\ (pos 3)");
  EXPECT_COMPILE_ERROR("[\\x", 111, "TRegExpr(comp): No Hex Code After \\x (pos 3)");
  EXPECT_COMPILE_ERROR("[\\x4", 112, "TRegExpr(comp): No Hex Code After \\x (pos 4)");
  EXPECT_COMPILE_ERROR("[ab", 113, "TRegExpr(comp): Unmatched [] (pos 3)");
  EXPECT_COMPILE_ERROR("*a", 115, "TRegExpr(comp): ?+*{ Follows Nothing (pos 1)");
  EXPECT_COMPILE_ERROR("a|?", 115, "TRegExpr(comp): ?+*{ Follows Nothing (pos 3)");
  EXPECT_COMPILE_ERROR("ab\\", 116, "TRegExpr(comp): Trailing \\ (pos 3)");
  EXPECT_COMPILE_ERROR("\\x", 117, "TRegExpr(comp): No Hex Code After \\x (pos 2)");
  EXPECT_COMPILE_ERROR("\\x4", 118, "TRegExpr(comp): No Hex Code After \\x (pos 3)");
  EXPECT_COMPILE_ERROR("a{0,300}", 122, "TRegExpr(comp): BRACES Argument Too Big (pos 8)");
  EXPECT_COMPILE_ERROR("a{1000}", 122, "TRegExpr(comp): BRACES Argument Too Big (pos 7)");
  EXPECT_COMPILE_ERROR("a{3,2}", 124, "TRegExpr(comp): BRACE Min Param Greater then Max (pos 6)");
  EXPECT_COMPILE_ERROR("(?#note", 125, "TRegExpr(comp): Unclosed (?#Comment) (pos 7)");
  EXPECT_COMPILE_ERROR("(ab){2}", 126,
                       "TRegExpr(comp): If you want take part in beta-testing BRACES "
                       "'{min,max}' for complex cases - remove '.' from {.$DEFINE "
                       "ComplexBraces} (pos 7)");
  EXPECT_COMPILE_ERROR("(?m)", 127, "TRegExpr(comp): Urecognized Modifier (pos 2)");
  EXPECT_COMPILE_ERROR("(?i", 127, "TRegExpr(comp): Urecognized Modifier (pos 3)");
  EXPECT_COMPILE_ERROR("(?i)*", 106, "TRegExpr(comp): *+ Operand Could Be Empty (pos 4)");
}

TEST(Compiler, NullArgumentAndOversizedPrograms) {
  TRegExpr re;
  try {
    re.Compile();
    ADD_FAILURE() << "no error";
  } catch (const ERegExpr& e) {
    EXPECT_EQ(std::string(e.what()), "TRegExpr(comp): Null Argument (pos 0)");
  }
  // 13107 single-character atoms of 5 bytes each pass 65536 bytes.
  std::string big;
  for (int i = 0; i < 13107; ++i) big += "a.";
  EXPECT_COMPILE_ERROR(big, 101,
                       "TRegExpr(comp): Regexp Too Big (pos " + std::to_string(big.size()) + ")");
  // Just below the limit still compiles.
  TRegExpr fits;
  fits.SetExpression(std::string(65000, 'a'));
  EXPECT_EQ(fits.ProgramBytes().size(), 1u + 3 + 65001 + 3 + 3);
}

TEST(Compiler, ExpressionAndModifierLifecycle) {
  TRegExpr re;
  EXPECT_EQ(re.Modifiers(), kDefaultModifiers);
  re.SetExpression("a");
  EXPECT_EQ(Hex(re.ProgramBytes()), "9C 06 00 08 08 00 05 61 00 00 00 00");
  re.SetModifier(kModifierI, true);  // recompiles with the new modifiers
  EXPECT_EQ(Hex(re.ProgramBytes()), "9C 06 00 08 28 00 05 61 00 00 00 00");
  EXPECT_TRUE(re.GetModifier(kModifierI));
  // Text after a 0 byte is not part of the expression.
  re.SetExpression(std::string_view("b\0c", 3));
  EXPECT_EQ(re.Expression(), "b");
  re.SetExpression("");
  EXPECT_FALSE(re.Compiled());
  EXPECT_EQ(re.Dump(), "");
  try {
    re.SetModifier(8, true);
    ADD_FAILURE() << "no error";
  } catch (const ERegExpr& e) {
    EXPECT_EQ(e.ErrorCode, 1013);
    EXPECT_EQ(std::string(e.what()), "Unknown error");
  }
  EXPECT_THROW(re.GetModifier(0), ERegExpr);
  EXPECT_EQ(TRegExpr::ErrorText(0), "No errors");
  EXPECT_EQ(TRegExpr::ErrorText(120), "Unknown error");
  EXPECT_EQ(TRegExpr::ErrorText(1010), "TRegExpr(subst): Corrupted Programm");
}

}  // namespace
}  // namespace zu
