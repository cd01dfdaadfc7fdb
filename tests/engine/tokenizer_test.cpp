// Tokenize: character classes, merging across blanks, quote and parenthesis
// groups, and the invalid-character message.
#include <gtest/gtest.h>

#include "common/expect_error.h"
#include "engine/script.h"

namespace zu {
namespace {

using Tokens = std::vector<std::string>;

Tokens Tok(std::string_view text) { return TZuScript::Tokenize(text); }

TEST(Tokenizer, OperandsAndOperatorsAlternateByClass) {
  EXPECT_EQ((Tokens{"a", "+", "b1", "*", "c.d"}), Tok("a + b1*c.d"));
  EXPECT_EQ((Tokens{"12"}), Tok("1 2"));
  EXPECT_EQ((Tokens{"a", "<=", "b"}), Tok("a < = b"));
  EXPECT_EQ((Tokens{"a", "<-", "b"}), Tok("a <- b"));
  EXPECT_EQ((Tokens{"-", "5"}), Tok("-5"));
  EXPECT_EQ((Tokens{"a"}), Tok("{a}"));
  EXPECT_EQ((Tokens{}), Tok(" {} "));
  EXPECT_EQ((Tokens{"t[i]", "+", "#x\xE9"}), Tok("t[i] + #x\xE9"));
}

TEST(Tokenizer, GroupsCopyTheirContentUnchanged) {
  EXPECT_EQ((Tokens{"f(a, b + (c))", "+", "1"}), Tok("f (a, b + (c)) + 1"));
  EXPECT_EQ((Tokens{"\"a\"\"b\""}), Tok("\"a\" \"b\""));
  EXPECT_EQ((Tokens{"\"x\\\" y\"", "+", "'it''s'"}), Tok("\"x\\\" y\" + 'it''s'"));
  EXPECT_EQ((Tokens{"\"\\\\\"", "+", "1"}), Tok("\"\\\\\" + 1"));
  // Quotes are not tracked in a parenthesis group: the quote after it opens
  // a quote group that runs to the end.
  EXPECT_EQ((Tokens{"(a\")\" + b"}), Tok("(a\")\" + b"));
  EXPECT_EQ((Tokens{"(a)b"}), Tok("(a)b"));
  EXPECT_EQ((Tokens{"(open"}), Tok("(open"));
  EXPECT_EQ((Tokens{"'never closed"}), Tok("'never closed"));
}

TEST(Tokenizer, InvalidCharactersQuoteTheWholeText) {
  for (const char* bad : {"!", "$", ")", ",", ":", ";", "?", "@", "\\", "`", "~", "\x7f"}) {
    const std::string text = std::string(" a ") + bad + " b";
    EXPECT_SCRIPT_ERROR(
        Tok(text), nullptr,
        "Invalid character \"" + std::string(bad) + "\" in expression \"" + text + "\"");
  }
}

}  // namespace
}  // namespace zu
