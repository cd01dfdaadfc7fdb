// The backslash escapes of string literals.
#include <gtest/gtest.h>

#include "support/text_utils.h"

namespace zu {
namespace {

TEST(Escapes, NamedEscapes) {
  EXPECT_EQ("a\nb\rc\td\"e\\f!", DecodeEscapes("a\\nb\\rc\\td\\\"e\\\\f\\!"));
  EXPECT_EQ("\\q", DecodeEscapes("\\q"));
  EXPECT_EQ("it\\'s", DecodeEscapes("it\\'s"));
  EXPECT_EQ("\\", DecodeEscapes("\\"));
  EXPECT_EQ("", DecodeEscapes(""));
}

TEST(Escapes, DecimalEscapesTakeAtMostTwoCharacters) {
  EXPECT_EQ("A", DecodeEscapes("\\65"));
  EXPECT_EQ(
      "\x0c"
      "3",
      DecodeEscapes("\\123"));
  EXPECT_EQ(std::string(1, '\0'), DecodeEscapes("\\-"));
  EXPECT_EQ("\xFF", DecodeEscapes("\\-1"));
  EXPECT_EQ("\n", DecodeEscapes("\\1-"));
  EXPECT_EQ("\x07y", DecodeEscapes("\\7y"));
  // A digit then an x switches to hexadecimal; nothing follows to collect.
  EXPECT_EQ("\\Z", DecodeEscapes("\\7xZ"));
}

TEST(Escapes, HexadecimalEscapesTakeAtMostThreeDigits) {
  EXPECT_EQ("A", DecodeEscapes("\\x41"));
  EXPECT_EQ("A", DecodeEscapes("\\X41"));
  EXPECT_EQ("\x14", DecodeEscapes("\\x414"));
  EXPECT_EQ(
      "\x0f"
      "g",
      DecodeEscapes("\\xfg"));
  EXPECT_EQ("\\Z", DecodeEscapes("\\xZ"));
  EXPECT_EQ("\\", DecodeEscapes("\\x"));
  // An 'x' after one decimal digit switches to hexadecimal and drops it.
  EXPECT_EQ("\x41", DecodeEscapes("\\1x41"));
}

}  // namespace
}  // namespace zu
