// Console key events from the terminal: each byte or escape sequence read
// in raw mode becomes a key-down record and a synthesized key-up record with
// Windows virtual-key and scan codes. These are this copy's operations; the
// process's console goes through the one copy that terminal.cpp picks.
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <deque>
#include <mutex>
#include <string>

#include "platform/platform.h"
#include "platform/posix/terminal.h"

namespace zu::platform {
namespace {

// Control-key state bits as Win32 defines them.
constexpr uint32_t kLeftAlt = 0x02;
constexpr uint32_t kLeftCtrl = 0x08;
constexpr uint32_t kShift = 0x10;

// Virtual-key codes.
constexpr uint16_t kVkBack = 0x08, kVkTab = 0x09, kVkReturn = 0x0D, kVkEscape = 0x1B,
                   kVkSpace = 0x20, kVkPrior = 0x21, kVkNext = 0x22, kVkEnd = 0x23, kVkHome = 0x24,
                   kVkLeft = 0x25, kVkUp = 0x26, kVkRight = 0x27, kVkDown = 0x28, kVkInsert = 0x2D,
                   kVkDelete = 0x2E, kVkF1 = 0x70;

// The punctuation keys of a US layout: unshifted and shifted character and
// the Windows virtual-key code.
struct Oem {
  char plain, shifted;
  uint16_t vk;
};
const Oem kOem[] = {{';', ':', 0xBA},  {'=', '+', 0xBB}, {',', '<', 0xBC}, {'-', '_', 0xBD},
                    {'.', '>', 0xBE},  {'/', '?', 0xBF}, {'`', '~', 0xC0}, {'[', '{', 0xDB},
                    {'\\', '|', 0xDC}, {']', '}', 0xDD}, {'\'', '"', 0xDE}};

// PC scan code (set 1) of a US-layout key; 0 when unknown.
uint16_t ScanCodeOf(uint16_t vk, char c) {
  static const char kRow1[] = "1234567890-=";
  static const char kRow2[] = "qwertyuiop[]";
  static const char kRow3[] = "asdfghjkl;'`";
  static const char kRow4[] = "\\zxcvbnm,./";
  switch (vk) {
    case kVkEscape:
      return 0x01;
    case kVkBack:
      return 0x0E;
    case kVkTab:
      return 0x0F;
    case kVkReturn:
      return 0x1C;
    case kVkSpace:
      return 0x39;
    case kVkHome:
      return 0x47;
    case kVkUp:
      return 0x48;
    case kVkPrior:
      return 0x49;
    case kVkLeft:
      return 0x4B;
    case kVkRight:
      return 0x4D;
    case kVkEnd:
      return 0x4F;
    case kVkDown:
      return 0x50;
    case kVkNext:
      return 0x51;
    case kVkInsert:
      return 0x52;
    case kVkDelete:
      return 0x53;
    default:
      break;
  }
  if (vk >= kVkF1 && vk <= kVkF1 + 9) return static_cast<uint16_t>(0x3B + vk - kVkF1);
  if (vk == kVkF1 + 10) return 0x57;
  if (vk == kVkF1 + 11) return 0x58;
  // Printable keys by their unshifted character.
  char base = c;
  if (vk >= 'A' && vk <= 'Z') base = static_cast<char>(vk - 'A' + 'a');
  if (vk >= '0' && vk <= '9') base = static_cast<char>(vk);
  // A punctuation key by its unshifted character, so shifted and Ctrl forms
  // (':' or Ctrl+]) get the key's scan code too.
  for (const Oem& o : kOem)
    if (o.vk == vk) base = o.plain;
  for (int i = 0; kRow1[i]; ++i)
    if (kRow1[i] == base) return static_cast<uint16_t>(0x02 + i);
  for (int i = 0; kRow2[i]; ++i)
    if (kRow2[i] == base) return static_cast<uint16_t>(0x10 + i);
  for (int i = 0; kRow3[i]; ++i)
    if (kRow3[i] == base) return static_cast<uint16_t>(0x1E + i);
  if (base == '\\') return 0x2B;
  for (int i = 1; kRow4[i]; ++i)
    if (kRow4[i] == base) return static_cast<uint16_t>(0x2B + i);
  return 0;
}

struct Key {
  uint16_t vk = 0;
  char ascii = 0;
  uint32_t state = 0;
};

// Virtual key and shift state of a printable US-layout character.
Key PrintableKey(unsigned char c) {
  static const char kShiftedDigits[] = ")!@#$%^&*(";
  Key k;
  k.ascii = static_cast<char>(c);
  if (c >= 'a' && c <= 'z') {
    k.vk = static_cast<uint16_t>(c - 'a' + 'A');
  } else if (c >= 'A' && c <= 'Z') {
    k.vk = c;
    k.state = kShift;
  } else if (c >= '0' && c <= '9') {
    k.vk = c;
  } else if (c == ' ') {
    k.vk = kVkSpace;
  } else {
    for (int i = 0; i < 10; ++i) {
      if (kShiftedDigits[i] == static_cast<char>(c)) {
        k.vk = static_cast<uint16_t>('0' + i);
        k.state = kShift;
      }
    }
    for (const Oem& o : kOem) {
      if (o.plain == static_cast<char>(c)) k.vk = o.vk;
      if (o.shifted == static_cast<char>(c)) {
        k.vk = o.vk;
        k.state = kShift;
      }
    }
  }
  return k;
}

// A single byte that is no part of an escape sequence.
Key ByteKey(unsigned char c) {
  Key k;
  k.ascii = static_cast<char>(c);
  switch (c) {
    case 13:
      k.vk = kVkReturn;
      return k;
    case 10:
      k.vk = kVkReturn;
      k.ascii = 13;
      return k;  // a terminal that sends LF for Enter
    case 9:
      k.vk = kVkTab;
      return k;
    case 8:
    case 127:
      k.vk = kVkBack;
      k.ascii = 8;
      return k;
    case 27:
      k.vk = kVkEscape;
      return k;
    case 0:
      k.vk = '2';
      k.state = kLeftCtrl;
      return k;  // Ctrl+@ / Ctrl+Space
    default:
      break;
  }
  if (c < 27) {
    k.vk = static_cast<uint16_t>('A' + c - 1);
    k.state = kLeftCtrl;
    return k;
  }
  if (c < 32) {
    static const uint16_t kCtrlPunct[] = {0xDC, 0xDD, '6', 0xBD};  // Ctrl+\ ] ^ _
    k.vk = kCtrlPunct[c - 28];
    k.state = kLeftCtrl;
    return k;
  }
  if (c < 128) return PrintableKey(c);
  return k;  // a byte of the upper half: the character without a key
}

// Modifier parameter of a CSI sequence (1 + Shift 1, Alt 2, Ctrl 4).
uint32_t ModifierState(int m) {
  if (m < 2) return 0;
  int bits = m - 1;
  uint32_t state = 0;
  if (bits & 1) state |= kShift;
  if (bits & 2) state |= kLeftAlt;
  if (bits & 4) state |= kLeftCtrl;
  return state;
}

// The key of the final letter shared by the ESC O and ESC [ forms: arrows,
// Home, End and F1-F4; 0 for any other letter.
uint16_t FinalLetterKey(char letter) {
  switch (letter) {
    case 'A':
      return kVkUp;
    case 'B':
      return kVkDown;
    case 'C':
      return kVkRight;
    case 'D':
      return kVkLeft;
    case 'H':
      return kVkHome;
    case 'F':
      return kVkEnd;
    case 'P':
    case 'Q':
    case 'R':
    case 'S':
      return static_cast<uint16_t>(kVkF1 + (letter - 'P'));
    default:
      return 0;
  }
}

// Decodes the escape sequence at data[i] (data[i] is ESC); sets the key and
// returns the bytes used, or 0 when it is no sequence we know (then ESC is a
// key of its own).
size_t DecodeEscape(const std::string& data, size_t i, Key& key) {
  if (i + 1 >= data.size()) return 0;
  char intro = data[i + 1];
  if (intro == 'O' && i + 2 < data.size()) {
    key.vk = FinalLetterKey(data[i + 2]);
    return key.vk == 0 ? 0 : 3;
  }
  if (intro != '[') return 0;
  size_t j = i + 2;
  // The Linux console writes F1-F5 as ESC [ [ A..E.
  if (j < data.size() && data[j] == '[') {
    if (j + 1 < data.size() && data[j + 1] >= 'A' && data[j + 1] <= 'E') {
      key.vk = static_cast<uint16_t>(kVkF1 + data[j + 1] - 'A');
      return j + 2 - i;
    }
    return 0;
  }
  int params[4] = {0, 0, 0, 0};
  int count = 0;
  while (j < data.size() && ((data[j] >= '0' && data[j] <= '9') || data[j] == ';')) {
    if (data[j] == ';') {
      if (count < 3) ++count;
    } else if (params[count] < 1000) {
      params[count] = params[count] * 10 + (data[j] - '0');
    }
    ++j;
  }
  if (j >= data.size()) return 0;
  char final = data[j];
  key.state = ModifierState(params[1]);
  key.vk = FinalLetterKey(final);
  switch (final) {
    case 'Z':
      key.vk = kVkTab;
      key.ascii = 9;
      key.state = kShift;
      break;  // Shift+Tab
    case '~':
      switch (params[0]) {
        case 1:
        case 7:
          key.vk = kVkHome;
          break;
        case 2:
          key.vk = kVkInsert;
          break;
        case 3:
          key.vk = kVkDelete;
          break;
        case 4:
        case 8:
          key.vk = kVkEnd;
          break;
        case 5:
          key.vk = kVkPrior;
          break;
        case 6:
          key.vk = kVkNext;
          break;
        case 11:
        case 12:
        case 13:
        case 14:
        case 15:
          key.vk = static_cast<uint16_t>(kVkF1 + params[0] - 11);
          break;
        case 17:
        case 18:
        case 19:
        case 20:
        case 21:
          key.vk = static_cast<uint16_t>(kVkF1 + 5 + params[0] - 17);
          break;
        case 23:
        case 24:
          key.vk = static_cast<uint16_t>(kVkF1 + 10 + params[0] - 23);
          break;
        default:
          key.vk = 0;
          break;
      }
      break;
    default:
      break;  // the final letter decided it (0 when unknown)
  }
  // A sequence we do not know is still consumed whole, as no key.
  return j + 1 - i;
}

struct KeyQueue {
  std::mutex lock;
  std::deque<InputRecord> events;

  void Push(const Key& key) {
    InputRecord down;
    down.EventType = 1;
    down.KeyDown = true;
    down.RepeatCount = 1;
    down.VirtualKeyCode = key.vk;
    down.VirtualScanCode = ScanCodeOf(key.vk, key.ascii);
    down.AsciiChar = key.ascii;
    down.ControlKeyState = key.state;
    InputRecord up = down;
    up.KeyDown = false;
    events.push_back(down);
    events.push_back(up);
  }

  // Reads whatever the terminal has ready, without waiting, into events.
  void DrainLocked() {
    std::string data;
    char block[256];
    for (;;) {
      struct pollfd p = {0, POLLIN, 0};
      if (::poll(&p, 1, 0) <= 0 || (p.revents & POLLIN) == 0) break;
      ssize_t n = ::read(0, block, sizeof block);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      data.append(block, static_cast<size_t>(n));
      if (data.size() > 65536) break;
    }
    size_t i = 0;
    while (i < data.size()) {
      unsigned char c = static_cast<unsigned char>(data[i]);
      if (c == 27) {
        Key key;
        size_t used = DecodeEscape(data, i, key);
        if (used > 0) {
          if (key.vk != 0) Push(key);
          i += used;
          continue;
        }
      }
      Push(ByteKey(c));
      ++i;
    }
  }
};

KeyQueue& Queue() {
  static KeyQueue queue;
  return queue;
}

}  // namespace

intptr_t StdInputHandle() {
  if (fcntl(0, F_GETFD) == -1) return -1;  // errno says why (EBADF)
  return 0;
}

namespace posix {

int LocalPendingEvents() {
  if (!EnterRawMode()) {
    if (errno == 0) errno = ENOTTY;
    return -1;
  }
  KeyQueue& q = Queue();
  std::lock_guard<std::mutex> guard(q.lock);
  q.DrainLocked();
  return q.events.size() > INT_MAX ? INT_MAX : static_cast<int>(q.events.size());
}

bool LocalReadEvent(InputRecord& record) {
  if (!EnterRawMode()) return false;
  KeyQueue& q = Queue();
  std::lock_guard<std::mutex> guard(q.lock);
  if (q.events.empty()) q.DrainLocked();
  if (q.events.empty()) return false;  // never waits
  record = q.events.front();
  q.events.pop_front();
  return true;
}

bool LocalFlushInput() {
  if (!EnterRawMode()) return false;
  KeyQueue& q = Queue();
  std::lock_guard<std::mutex> guard(q.lock);
  tcflush(0, TCIFLUSH);
  q.DrainLocked();  // bytes that arrived between the flush and now
  q.events.clear();
  return true;
}

}  // namespace posix
}  // namespace zu::platform
