// zus.ini lookup with its single-occurrence rule.
#include "support/ini.h"

#include <gtest/gtest.h>

namespace zu {
namespace {

const char kIni[] = "incpath = .\\inc\r\nautoimport=io\r\nautoinclude=a=b\r\nempty=\r\n";

TEST(IniValue, FindsKeysOnAnyLine) {
  EXPECT_EQ(IniValue(kIni, "autoimport", "", '='), "io");
  EXPECT_EQ(IniValue(kIni, "INCPATH", "", '='), ".\\inc");
  EXPECT_EQ(IniValue(kIni, "autoinclude", "", '='), "a=b");
  EXPECT_EQ(IniValue(kIni, "empty", "dflt", '='), "");
  EXPECT_EQ(IniValue(kIni, "missing", " x ", '='), "x");
}

TEST(IniValue, OnlyTheFirstOccurrenceCounts) {
  EXPECT_EQ(IniValue("incpathx=1\r\nincpath=2", "incpath", "d", '='), "d");
  EXPECT_EQ(IniValue("incpath=1\r\nincpath=2", "incpath", "d", '='), "1");
  EXPECT_EQ(IniValue("incpath\r\n", "incpath", "d", '='), "d");       // no separator
  EXPECT_EQ(IniValue("incpath  novalue", "incpath", "d", '='), "d");  // blank, no separator
}

TEST(IniValue, BareLineFeedsHideLaterLines) {
  EXPECT_EQ(IniValue("a=1\nb=2", "a", "", '='), "1");
  EXPECT_EQ(IniValue("a=1\nb=2", "b", "none", '='), "none");
  EXPECT_EQ(IniValue("a=x\ty", "a", "", '='), "x");  // a control character ends the line
}

}  // namespace
}  // namespace zu
