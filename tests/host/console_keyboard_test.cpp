// TZuKeyboard on a scripted event source, and the -w key wait.
#include "host/console_keyboard.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>

namespace zu::host {
namespace {

platform::InputRecord Key(char c, bool down = true) {
  platform::InputRecord r;
  r.EventType = 1;
  r.KeyDown = down;
  r.RepeatCount = 1;
  r.AsciiChar = c;
  return r;
}

platform::InputRecord Mouse() {
  platform::InputRecord r;
  r.EventType = 2;
  return r;
}

// Events become pending in batches: each call of PendingEvents releases the
// next batch, as keys typed between two polls would.
class ScriptedEvents : public ConsoleEventSource {
 public:
  std::deque<std::vector<platform::InputRecord>> batches;
  std::deque<platform::InputRecord> queue;
  int flushes = 0;
  bool console = true;

  int PendingEvents() override {
    if (!console) return -1;
    if (!batches.empty()) {
      for (const auto& r : batches.front()) queue.push_back(r);
      batches.pop_front();
    }
    return static_cast<int>(queue.size());
  }
  bool ReadEvent(platform::InputRecord& record) override {
    if (queue.empty()) return false;
    record = queue.front();
    queue.pop_front();
    return true;
  }
  bool FlushEvents() override {
    ++flushes;
    queue.clear();
    return console;
  }
};

TEST(ConsoleKeyboard, ReadSkipsOtherEventsAndNeverWaits) {
  ScriptedEvents events;
  TZuKeyboard kbd(&events);
  EXPECT_FALSE(kbd.Read());  // nothing pending

  events.batches.push_back({Mouse(), Key('a'), Key('a', false)});
  EXPECT_TRUE(kbd.Read());
  EXPECT_EQ(kbd.AsciiChar(), 'a');
  EXPECT_TRUE(kbd.LastEvent().KeyDown);
  EXPECT_TRUE(kbd.Read());  // the key-up counts too
  EXPECT_FALSE(kbd.LastEvent().KeyDown);
  EXPECT_FALSE(kbd.Read());

  events.batches.push_back({Mouse(), Mouse()});
  EXPECT_FALSE(kbd.Read());
  EXPECT_TRUE(events.queue.empty());  // the other events were consumed

  events.console = false;
  EXPECT_FALSE(kbd.Read());
}

struct WaitLog {
  std::string written;
  int sleeps = 0;
  std::string input;  // bytes of a redirected input
  size_t next = 0;
};

WaitServices FakeServices(WaitLog& log, bool console) {
  WaitServices s;
  s.Write = [&log](const char* t) { log.written += t; };
  s.InputIsConsole = [console] { return console; };
  s.ReadInputByte = [&log]() -> int {
    return log.next < log.input.size() ? static_cast<unsigned char>(log.input[log.next++]) : -1;
  };
  s.Sleep = [&log](uint32_t ms) {
    EXPECT_EQ(ms, 100u);
    ++log.sleeps;
  };
  return s;
}

TEST(ConsoleKeyboard, WaitFlushesEarlierKeysAndIgnoresOtherKeys) {
  ScriptedEvents events;
  events.queue.push_back(Key(13));  // pressed before the prompt: flushed
  events.batches.push_back({});
  events.batches.push_back({Key('x'), Key('x', false)});
  events.batches.push_back({Key(13, false)});  // the release of Enter alone ends it
  TZuKeyboard kbd(&events);
  WaitLog log;
  WaitForKey(kbd, FakeServices(log, true));
  EXPECT_EQ(log.written, "\r\nPress ENTER or ESC for terminate...");
  EXPECT_EQ(events.flushes, 1);
  EXPECT_EQ(log.sleeps, 3);  // empty poll, 'x' down, 'x' up
  EXPECT_TRUE(events.batches.empty());
}

TEST(ConsoleKeyboard, WaitOnRedirectedInputReadsBytes) {
  ScriptedEvents events;
  TZuKeyboard kbd(&events);
  for (const char* input : {"abc\ndef", "ab\rcd", "x y", "\x1b", "abc", ""}) {
    WaitLog log;
    log.input = input;
    WaitForKey(kbd, FakeServices(log, false));
    EXPECT_EQ(log.written, "\r\nPress ENTER or ESC for terminate...");
    const std::string in = input;
    const size_t end = in.find_first_of("\r\n\x1b ");
    EXPECT_EQ(log.next, end == std::string::npos ? in.size() : end + 1) << input;
  }
  EXPECT_EQ(events.flushes, 0);
}

}  // namespace
}  // namespace zu::host
