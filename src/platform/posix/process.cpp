// Starting programs the way ShellExecute does, without a shell: an
// executable file, or a name found on PATH, runs directly with its parameter
// text split by the Windows command-line rules; any other existing file is
// handed to xdg-open. Waiting is waitpid.
#include <spawn.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <mutex>
#include <string>
#include <vector>

#include "platform/platform.h"

extern char** environ;

namespace zu::platform {
namespace {

bool IsExecutableFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

// The full path of an executable name on PATH; empty when there is none.
std::string FindOnPath(const std::string& name) {
  const char* path = getenv("PATH");
  if (path == nullptr) return std::string();
  std::string list = path;
  size_t start = 0;
  for (;;) {
    size_t end = list.find(':', start);
    std::string candidate =
        list.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (candidate.empty()) candidate.push_back('.');  // an empty entry is the current directory
    candidate.push_back('/');
    candidate.append(name);
    if (IsExecutableFile(candidate)) return candidate;
    if (end == std::string::npos) return std::string();
    start = end + 1;
  }
}

// Children started without waiting that were still running when their
// Process went: each is collected once it has ended, at the next start, so
// a loop of starts leaves no zombies behind and cannot exhaust the process
// table. Only our own children are waited for, by their ids.
struct DetachedChildren {
  std::mutex lock;
  std::vector<pid_t> pids;

  void Reap() {
    std::lock_guard<std::mutex> guard(lock);
    std::erase_if(pids, [](pid_t pid) {
      const pid_t rc = ::waitpid(pid, nullptr, WNOHANG);
      return rc == pid || (rc < 0 && errno != EINTR);  // collected, or gone already
    });
  }
  void Add(pid_t pid) {
    std::lock_guard<std::mutex> guard(lock);
    pids.push_back(pid);
  }
};

DetachedChildren& Detached() {
  static DetachedChildren children;
  return children;
}

intptr_t Spawn(const std::string& program, const std::vector<std::string>& args) {
  std::vector<char*> argv;
  argv.reserve(args.size() + 1);
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  // Our own buffered output goes first, so it precedes the program's.
  FlushStdout();
  pid_t pid = 0;
  int rc = posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ);
  if (rc != 0) {
    errno = rc;
    return 0;
  }
  return static_cast<intptr_t>(pid);
}

}  // namespace

uint32_t CurrentProcessId() { return static_cast<uint32_t>(::getpid()); }

Process::~Process() {
  // Not waited for: the program runs on. One that has already ended is
  // collected now, one still running when it ends (see DetachedChildren).
  if (handle_ <= 0) return;
  const auto pid = static_cast<pid_t>(handle_);
  if (::waitpid(pid, nullptr, WNOHANG) == 0) Detached().Add(pid);
}

Process::Process(Process&& other) noexcept : handle_(other.handle_) { other.handle_ = 0; }

Process& Process::operator=(Process&& other) noexcept {
  if (this != &other) {
    Process dropped(std::move(*this));  // the replaced child is detached, not forgotten
    handle_ = other.handle_;
    other.handle_ = 0;
  }
  return *this;
}

int Process::Wait() {
  if (handle_ <= 0) return -1;
  int status = 0;
  pid_t rc;
  do {
    rc = ::waitpid(static_cast<pid_t>(handle_), &status, 0);
  } while (rc < 0 && errno == EINTR);
  handle_ = 0;
  return rc > 0 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

Process StartProcess(const std::string& file, const std::string& parameters) {
  Detached().Reap();
  Process process;
  if (file.empty()) {
    errno = ENOENT;
    return process;
  }
  std::string program;
  if (file.find('/') != std::string::npos) {
    if (IsExecutableFile(file)) program = file;
  } else if (IsExecutableFile(file)) {
    program = "./" + file;  // Windows looks in the current directory first
  } else {
    program = FindOnPath(file);
  }
  std::vector<std::string> args;
  if (!program.empty()) {
    args.push_back(file);
    for (std::string& a : SplitCommandLine(parameters)) args.push_back(std::move(a));
  } else {
    struct stat st {};
    if (::stat(file.c_str(), &st) != 0) return process;  // errno from stat
    // A document or a folder: its associated application opens it.
    program = FindOnPath("xdg-open");
    if (program.empty()) {
      errno = ENOENT;
      return process;
    }
    args = {"xdg-open", file};
  }
  process.handle_ = Spawn(program, args);
  return process;
}

}  // namespace zu::platform
