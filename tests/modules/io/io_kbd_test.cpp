// TKeyboard through the entry points without a terminal (as under ctest),
// beyond the golden scripts: the remaining properties read as zeros, and
// the messages. The terminal case is keyboard_pty_test.py.
#include "modules/io/io_module_fixture.h"

namespace zu::io_test {
namespace {

class TKeyboard : public IoModuleTest {};

TEST_F(TKeyboard, WithoutATerminalAndMessages) {
  Create("TKEYBOARD", "k");
  if (!platform::StdinIsTerminal()) {
    EXPECT_FALSE(BoolOf(CallOk("k", "Read")));
    EXPECT_EQ(IntOf(Get("k", "RepeatCount")), 0);
    EXPECT_EQ(IntOf(Get("k", "VirtualScanCode")), 0);
    EXPECT_EQ(IntOf(Get("k", "CtrlState")), 0);
  }
  EXPECT_EQ(CallError("k", "Read", {Int(1)}), "Function \"Read\" must have 0 arguments");
  EXPECT_EQ(CallError("k", "Wait"), "Function \"Wait\" not found in class \"TKEYBOARD\"");
  EXPECT_EQ(GetError("k", "AsciiChar.Code"),
            "Property \"AsciiChar.Code\" of class \"TKEYBOARD\" is write-only");
  EXPECT_EQ(GetError("k", "Char"), "Property \"Char\" not found in class \"TKEYBOARD\"");
}

}  // namespace
}  // namespace zu::io_test
