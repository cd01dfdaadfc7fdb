// Helper modes for the Python console tests: with ZU_PLATFORM_HELPER set,
// these tests act as small programs driven through a pipe or a pseudo
// terminal (tests/platform/console_input_test.py); otherwise they skip.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/platform.h"

namespace zu::platform {
namespace {

bool HelperMode(const char* mode) {
  const char* v = getenv("ZU_PLATFORM_HELPER");
  return v != nullptr && strcmp(v, mode) == 0;
}

TEST(ConsoleHelper, Lines) {
  if (!HelperMode("lines")) GTEST_SKIP() << "driven by console_input_test.py";
  std::string line;
  while (ReadStdinLine(line)) WriteStdout("[" + line + "]");
  WriteStdout("<end>\n");
  FlushStdout();
}

// Prints every key record until a 'q' is released, then waits for the
// test to end it when ZU_HELPER_HOLD is set (to test signal restoring).
TEST(ConsoleHelper, Keys) {
  if (!HelperMode("keys")) GTEST_SKIP() << "driven by console_input_test.py";
  WriteStdout(PendingConsoleEvents() >= 0 ? "ready\n" : "noconsole\n");
  FlushStdout();
  bool hold = getenv("ZU_HELPER_HOLD") != nullptr;
  for (int idle = 0; idle < 300; ++idle) {
    if (PendingConsoleEvents() <= 0) {
      Sleep(20);
      continue;
    }
    InputRecord r;
    while (ReadConsoleEvent(r)) {
      idle = 0;
      char text[96];
      snprintf(text, sizeof text, "%s vk=%u scan=%u ch=%u state=%u rep=%u\n",
               r.KeyDown ? "down" : "up", r.VirtualKeyCode, r.VirtualScanCode,
               static_cast<unsigned char>(r.AsciiChar), r.ControlKeyState, r.RepeatCount);
      WriteStdout(text);
      FlushStdout();
      if (!r.KeyDown && r.AsciiChar == 'q') {
        WriteStdout("done\n");
        FlushStdout();
        if (hold) Sleep(0xFFFFFFFFu);
        return;
      }
    }
  }
}

TEST(ConsoleInput, NotATerminalGivesNoEvents) {
  if (StdinIsTerminal()) GTEST_SKIP() << "standard input is a terminal here";
  EXPECT_EQ(PendingConsoleEvents(), -1);
  EXPECT_FALSE(FlushConsoleInput());
  InputRecord r;
  EXPECT_FALSE(ReadConsoleEvent(r));
}

}  // namespace
}  // namespace zu::platform
