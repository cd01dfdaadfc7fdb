// TKeyboard through the entry points when standard input is no terminal
// (as under ctest): Read and Flush answer false and never wait; the
// properties read as zeros. The terminal case is keyboard_pty_test.py.
#include "modules/io/io_module_fixture.h"

namespace zu::io_test {
namespace {

class TKeyboard : public IoModuleTest {};

TEST_F(TKeyboard, WithoutATerminal) {
  if (platform::StdinIsTerminal()) GTEST_SKIP() << "standard input is a terminal";
  Create("TKEYBOARD", "k");
  EXPECT_FALSE(BoolOf(CallOk("k", "Read")));
  EXPECT_FALSE(BoolOf(CallOk("k", "Flush")));
  EXPECT_FALSE(BoolOf(Get("k", "KeyDown")));
  EXPECT_EQ(IntOf(Get("k", "RepeatCount")), 0);
  EXPECT_EQ(IntOf(Get("k", "VirtualKeyCode")), 0);
  EXPECT_EQ(IntOf(Get("k", "VirtualScanCode")), 0);
  EXPECT_EQ(TextOf(Get("k", "AsciiChar")), "");
  EXPECT_EQ(IntOf(Get("k", "CtrlState")), 0);
}

TEST_F(TKeyboard, Messages) {
  Create("TKEYBOARD", "k");
  EXPECT_EQ(CallError("k", "Read", {Int(1)}), "Function \"Read\" must have 0 arguments");
  EXPECT_EQ(CallError("k", "Wait"), "Function \"Wait\" not found in class \"TKEYBOARD\"");
  EXPECT_EQ(SetError("k", "KeyDown", Int(1)),
            "Property \"KeyDown\" of class \"TKEYBOARD\" is read-only");
  EXPECT_EQ(GetError("k", "AsciiChar.Code"),
            "Property \"AsciiChar.Code\" of class \"TKEYBOARD\" is write-only");
  EXPECT_EQ(GetError("k", "Char"), "Property \"Char\" not found in class \"TKEYBOARD\"");
}

}  // namespace
}  // namespace zu::io_test
