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
            "first char: none; first set: \"xy\"; required: \"y\"\n");
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
  // LoopBack stores its distance backwards: 21 - 4 = 17.
  TRegExpr re;
  re.SetExpression("(a)*");
  EXPECT_EQ(Hex(re.ProgramBytes().substr(21, 3)), "07 00 11");
}

// Pieces of the dump that show how one construct compiles; the matcher
// tests check what the same constructs match.
TEST(Compiler, ConstructsCompileToTheirNodes) {
  const struct {
    const char* expression;
    const char* piece;
  } cases[] = {
      {"a+|b?", "    4: RepeatPlus -> 29\n    7: Literal \"a\"\n   12: Alternative -> 29\n"},
      {"a|", "    9: Alternative -> 15\n   12: Nothing -> 15\n"},
      // A literal run splits before a quantifier; a '{' that starts no
      // quantifier is text and the run goes on.
      {"abc{2}", "Literal \"ab\" -> 10\n   10: RepeatBraces {2,2} -> 20\n   15: Literal \"c\""},
      {"ab{x}", "    4: Literal \"ab\" -> 10\n   10: Literal \"{x}\" -> 17\n"},
      {"a{2,}", "RepeatBraces {2,255}"},
      {"a{0,3}", "RepeatBraces {0,3}"},
      {"a{007}", "RepeatBraces {7,7}"},
      {"a{255}", "RepeatBraces {255,255}"},
      {"a{,3}", "Literal \"{,3}\""},
      {"a{2,x}", "Literal \"{2,x}\""},
      {"{2}", "Literal \"{2}\""},
      {"a{2", "Literal \"{2\""},
      // Braces with a maximum above 0 give width, so the group can repeat.
      {"(a{0,2})*", "LoopBack"},
      {".", "AnyChar"},
      {"(?-s).", "CharNotIn \"\\x0A\""},
      {"[]a]", "CharIn \"]a\""},
      {"[a-]", "CharIn \"a-\""},
      {"[-a]", "CharIn \"-a\""},
      {"[^]x]", "CharNotIn \"]x\""},
      {"[\\s\\D]", "CharIn \"sD\""},
      {"[\\d]", "CharIn \"0123456789\""},
      {"[\\w]", "CharIn \"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ_\""},
      {"[\\t\\x41\\]]", "CharIn \"\\x09A]\""},
      {"[\\x41-C]", "CharIn \"AABC\""},
      {"(?i)[ab]", "CharInCI \"ab\""},
      {"(?i)[^ab]", "CharNotInCI \"ab\""},
      {"\\d\\D\\w\\W\\s\\S",
       "Digit -> 7\n    7: NonDigit -> 10\n   10: WordChar -> 13\n"
       "   13: NonWordChar -> 16\n   16: Space -> 19\n   19: NonSpace -> 22"},
      {"\\t\\n\\r\\f\\a\\e\\.", "Literal \"\\x09\" -> 9"},
      {"\\x00", "Literal \"\\x00\" -> 9"},
  };
  for (const auto& c : cases) {
    std::string dump = DumpOf(c.expression);
    EXPECT_NE(dump.find(c.piece), std::string::npos) << c.expression << "\n" << dump;
  }
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
            "first char: none; first set: \"Aa\"; required: none\n");
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
  const struct {
    const char* expression;
    int first_char;
    const char* required;
  } cases[] = {
      {"abc|x", 0, ""},
      {"ab*", 'a', ""},
      {"(?i)ab", 0, ""},
      // Only an expression starting with a repetition gets a required
      // literal; the longest wins, the later one on equal length.
      {"a*bc.de", 0, "de"},
      {"a*bcd.ef", 0, "bcd"},
      {"a*bc.de.fgh", 0, "fgh"},
      {"a+xyz", 0, "xyz"},
      {"bc.a*", 'b', ""},
      {"a*(?i)bc", 0, ""},
      {"a?bc", 0, ""},
  };
  for (const auto& c : cases) {
    re.SetExpression(c.expression);
    EXPECT_EQ(re.FirstCharHint(), c.first_char) << c.expression;
    EXPECT_EQ(re.RequiredLiteral(), c.required) << c.expression;
  }
}

// The characters every match starts with, where no match can be empty and
// the other hints say less; the search tries no other position.
TEST(Compiler, FirstSetOfAlternations) {
  const struct {
    const char* expression;
    const char* set;  // "" when the program has none
  } cases[] = {
      {"(cat|dog)s?[0-9]+", "cd"},
      {"abc|x", "ax"},
      {"a?bc", "ab"},
      {"(a|b?)c", "abc"},
      {"a{0,2}b", "ab"},
      {"[0-9]+x|\\d", "0123456789"},
      {"(?i)ab", "Aa"},
      {"(a)*", ""},           // may match the empty string
      {"(x{0,2}|ab)*c", ""},  // a pass of the loop may be empty
      {"$|a", ""},            // matches at the end
      {".x", ""},             // starts with any character
      {"^ab", ""},            // anchored: tried once anyway
      {"ab*", ""},            // the first character says it all
  };
  for (const auto& c : cases) {
    std::string dump = DumpOf(c.expression);
    size_t at = dump.find("first set: \"");
    std::string set =
        at == std::string::npos ? "" : dump.substr(at + 12, dump.find('"', at + 12) - at - 12);
    EXPECT_EQ(set, c.set) << c.expression;
  }
}

TEST(Compiler, GroupLimit) {
  TRegExpr re;
  re.SetExpression("(a)(b)(c)(d)(e)(f)(g)(h)(i)");
  EXPECT_TRUE(re.Compiled());
  EXPECT_COMPILE_ERROR("(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)", 102,
                       "TRegExpr(comp): ParseReg Too Many () (pos 28)");
}

TEST(Compiler, ErrorsCarryTheirTextAndPosition) {
  const struct {
    const char* expression;
    int code;
    const char* message;
  } cases[] = {
      {"a)", 104, "TRegExpr(comp): ParseReg Unmatched () (pos 1)"},
      {"(a", 103, "TRegExpr(comp): ParseReg Unmatched () (pos 2)"},
      {"^*", 106, "TRegExpr(comp): *+ Operand Could Be Empty (pos 1)"},
      {"(a*)*", 106, "TRegExpr(comp): *+ Operand Could Be Empty (pos 4)"},
      {"(a?)+", 106, "TRegExpr(comp): *+ Operand Could Be Empty (pos 4)"},
      {"^{x}", 106, "TRegExpr(comp): *+ Operand Could Be Empty (pos 1)"},
      {"a**", 107, "TRegExpr(comp): Nested *?+ (pos 2)"},
      {"a+?", 107, "TRegExpr(comp): Nested *?+ (pos 2)"},
      {"a{2}{3}", 107, "TRegExpr(comp): Nested *?+ (pos 4)"},
      {"\\xZZ", 108, "TRegExpr(comp): Bad Hex Digit (pos 2)"},
      {"[\\x4g]", 108, "TRegExpr(comp): Bad Hex Digit (pos 4)"},
      {"[z-a]", 109, "TRegExpr(comp): Invalid [] Range (pos 4)"},
      {"[a\\", 110, "TRegExpr(comp): Parse Atom Trailing \\ (pos 3)"},
      {"[\\x", 111, "TRegExpr(comp): No Hex Code After \\x (pos 3)"},
      {"[\\x4", 112, "TRegExpr(comp): No Hex Code After \\x (pos 4)"},
      {"[ab", 113, "TRegExpr(comp): Unmatched [] (pos 3)"},
      {"*a", 115, "TRegExpr(comp): ?+*{ Follows Nothing (pos 1)"},
      {"a|?", 115, "TRegExpr(comp): ?+*{ Follows Nothing (pos 3)"},
      {"ab\\", 116, "TRegExpr(comp): Trailing \\ (pos 3)"},
      {"\\x", 117, "TRegExpr(comp): No Hex Code After \\x (pos 2)"},
      {"\\x4", 118, "TRegExpr(comp): No Hex Code After \\x (pos 3)"},
      {"a{0,300}", 122, "TRegExpr(comp): BRACES Argument Too Big (pos 8)"},
      {"a{1000}", 122, "TRegExpr(comp): BRACES Argument Too Big (pos 7)"},
      {"a{3,2}", 124, "TRegExpr(comp): BRACE Min Param Greater then Max (pos 6)"},
      {"(?#note", 125, "TRegExpr(comp): Unclosed (?#Comment) (pos 7)"},
      {"(ab){2}", 126,
       "TRegExpr(comp): If you want take part in beta-testing BRACES "
       "'{min,max}' for complex cases - remove '.' from {.$DEFINE "
       "ComplexBraces} (pos 7)"},
      {"(?m)", 127, "TRegExpr(comp): Urecognized Modifier (pos 2)"},
      {"(?i", 127, "TRegExpr(comp): Urecognized Modifier (pos 3)"},
      {"(?i)*", 106, "TRegExpr(comp): *+ Operand Could Be Empty (pos 4)"},
  };
  for (const auto& c : cases) EXPECT_COMPILE_ERROR(c.expression, c.code, c.message);
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
