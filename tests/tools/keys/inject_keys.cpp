// inject_keys: a Windows test tool that runs a program on this process's
// console and, when the program's output shows a marker, writes key records
// into the console input buffer with WriteConsoleInputA, the way a user's
// key presses arrive. Used by the Python tests of the -w wait and of
// TKeyboard (under Wine inside a pseudo-terminal, which gives a console).
//
//   inject_keys MARKER KEYS [MARKER KEYS ...] -- PROGRAM [ARGUMENTS...]
//
// The program's standard output and error go through a pipe to this
// program's standard output; its standard input is the console. Each
// MARKER/KEYS pair is used once, in order: when the output seen so far
// holds MARKER (after the previous marker), KEYS are written, the records
// between two pauses or checks in one call. KEYS is a comma-separated list
// of:
//   c          a key with the character c (a letter, digit or punctuation):
//              a key-down and a key-up record
//   enter, esc, space, left
//              those keys, down and up
//   up:NAME    only the key-up record of the key NAME
//   mouse      a mouse event record
//   pause:N    wait N milliseconds
//   check      print "[waiting]" when the program still runs, else "[ended]"
// The exit code is the program's; 77 when there is no console to write to.
#include <windows.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Key {
  WORD vk;
  char ch;
};

bool KeyByName(const std::string& name, Key& key) {
  if (name == "enter")
    key = {VK_RETURN, '\r'};
  else if (name == "esc")
    key = {VK_ESCAPE, 27};
  else if (name == "space")
    key = {VK_SPACE, ' '};
  else if (name == "left")
    key = {VK_LEFT, 0};
  else if (name.size() == 1) {
    const SHORT scan = VkKeyScanA(name[0]);
    key = {static_cast<WORD>(scan == -1 ? 0 : (scan & 0xFF)), name[0]};
  } else {
    return false;
  }
  return true;
}

INPUT_RECORD KeyRecord(const Key& key, bool down) {
  INPUT_RECORD r;
  ZeroMemory(&r, sizeof r);
  r.EventType = KEY_EVENT;
  r.Event.KeyEvent.bKeyDown = down ? TRUE : FALSE;
  r.Event.KeyEvent.wRepeatCount = 1;
  r.Event.KeyEvent.wVirtualKeyCode = key.vk;
  r.Event.KeyEvent.wVirtualScanCode = static_cast<WORD>(MapVirtualKeyA(key.vk, MAPVK_VK_TO_VSC));
  r.Event.KeyEvent.uChar.AsciiChar = key.ch;
  return r;
}

void Say(const char* text) {
  DWORD n = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text, static_cast<DWORD>(strlen(text)), &n, nullptr);
}

// Writes the records gathered so far in one call, so that a program that
// sees the first of them finds the others queued already.
bool Write(HANDLE input, std::vector<INPUT_RECORD>& records) {
  DWORD written = 0;
  if (!records.empty() &&
      (!WriteConsoleInputA(input, records.data(), static_cast<DWORD>(records.size()), &written) ||
       written != records.size())) {
    fprintf(stderr, "inject_keys: WriteConsoleInputA failed, error %lu\n", GetLastError());
    return false;
  }
  records.clear();
  return true;
}

// Carries out one KEYS list.
bool Inject(HANDLE input, HANDLE child, const std::string& list) {
  std::vector<INPUT_RECORD> records;
  size_t start = 0;
  while (start <= list.size()) {
    size_t end = list.find(',', start);
    if (end == std::string::npos) end = list.size();
    const std::string token = list.substr(start, end - start);
    start = end + 1;
    if (token.empty()) continue;
    Key key;
    if (token.rfind("pause:", 0) == 0) {
      if (!Write(input, records)) return false;
      Sleep(static_cast<DWORD>(atoi(token.c_str() + 6)));
    } else if (token == "check") {
      if (!Write(input, records)) return false;
      Say(WaitForSingleObject(child, 0) == WAIT_TIMEOUT ? "[waiting]\r\n" : "[ended]\r\n");
    } else if (token == "mouse") {
      INPUT_RECORD r;
      ZeroMemory(&r, sizeof r);
      r.EventType = MOUSE_EVENT;
      r.Event.MouseEvent.dwMousePosition.X = 3;
      r.Event.MouseEvent.dwButtonState = FROM_LEFT_1ST_BUTTON_PRESSED;
      records.push_back(r);
    } else if (token.rfind("up:", 0) == 0 && KeyByName(token.substr(3), key)) {
      records.push_back(KeyRecord(key, false));
    } else if (KeyByName(token, key)) {
      records.push_back(KeyRecord(key, true));
      records.push_back(KeyRecord(key, false));
    } else {
      fprintf(stderr, "inject_keys: unknown key %s\n", token.c_str());
      return false;
    }
  }
  return Write(input, records);
}

// The command line of the program: its arguments quoted for CreateProcess.
std::string CommandLine(int argc, char** argv, int first) {
  std::string line;
  for (int i = first; i < argc; ++i) {
    if (!line.empty()) line += ' ';
    line += '"';
    line += argv[i];
    line += '"';
  }
  return line;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::pair<std::string, std::string>> steps;
  int i = 1;
  for (; i + 1 < argc && strcmp(argv[i], "--") != 0; i += 2)
    steps.emplace_back(argv[i], argv[i + 1]);
  if (i >= argc || strcmp(argv[i], "--") != 0 || i + 1 >= argc) {
    fprintf(stderr, "usage: inject_keys MARKER KEYS [MARKER KEYS...] -- PROGRAM [ARGS...]\n");
    return 2;
  }
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  HANDLE input =
      CreateFileA("CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  &inherit, OPEN_EXISTING, 0, nullptr);
  DWORD events = 0;
  if (input == INVALID_HANDLE_VALUE || !GetNumberOfConsoleInputEvents(input, &events)) {
    printf("no console (error %lu)\n", GetLastError());
    return 77;
  }
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return 2;
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA si;
  ZeroMemory(&si, sizeof si);
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = input;
  si.hStdOutput = writeEnd;
  si.hStdError = writeEnd;
  PROCESS_INFORMATION pi;
  std::string command = CommandLine(argc, argv, i + 1);
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si,
                      &pi)) {
    fprintf(stderr, "inject_keys: cannot start %s, error %lu\n", command.c_str(), GetLastError());
    return 2;
  }
  CloseHandle(writeEnd);
  std::string seen;
  size_t searchFrom = 0, step = 0;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got > 0) {
    DWORD n = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), buffer, got, &n, nullptr);
    seen.append(buffer, got);
    while (step < steps.size()) {
      const size_t at = seen.find(steps[step].first, searchFrom);
      if (at == std::string::npos) break;
      searchFrom = at + steps[step].first.size();
      if (!Inject(input, pi.hProcess, steps[step].second)) {
        TerminateProcess(pi.hProcess, 2);
        return 2;
      }
      ++step;
    }
  }
  WaitForSingleObject(pi.hProcess, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(pi.hProcess, &code);
  return static_cast<int>(code);
}
