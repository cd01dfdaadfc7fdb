// Small services: sleeping, the beep, the error message box, the clocks and
// running a function on a thread with a stack of a given size.
#include <fcntl.h>
#include <pthread.h>
#include <sys/time.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <exception>
#include <string>

#include "platform/platform.h"

namespace zu::platform {
namespace {

CalendarTime FromTm(const struct tm& tm, long nanoseconds) {
  CalendarTime out;
  out.Year = tm.tm_year + 1900;
  out.Month = tm.tm_mon + 1;
  out.Day = tm.tm_mday;
  out.Hour = tm.tm_hour;
  out.Minute = tm.tm_min;
  // A leap second (60) is folded into the last regular second.
  out.Second = tm.tm_sec > 59 ? 59 : tm.tm_sec;
  out.Millisecond = static_cast<int>(nanoseconds / 1000000);
  out.DayOfWeek = tm.tm_wday;
  return out;
}

struct ThreadJob {
  const std::function<void()>* fn;
  std::exception_ptr error;
};

void* RunJob(void* arg) {
  auto* job = static_cast<ThreadJob*>(arg);
  try {
    (*job->fn)();
  } catch (...) {
    job->error = std::current_exception();
  }
  return nullptr;
}

}  // namespace

void Sleep(uint32_t milliseconds) {
  if (milliseconds == 0xFFFFFFFFu) {
    for (;;) pause();  // INFINITE: only a signal ends the process
  }
  struct timespec ts;
  ts.tv_sec = static_cast<time_t>(milliseconds / 1000);
  ts.tv_nsec = static_cast<long>(milliseconds % 1000) * 1000000L;
  while (nanosleep(&ts, &ts) != 0 && errno == EINTR) {
  }
}

void Beep() {
  // The controlling terminal, never standard output: a beep must not end up
  // in redirected script output.
  int fd = ::open("/dev/tty", O_WRONLY | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return;
  ssize_t n;
  do {
    n = ::write(fd, "\a", 1);
  } while (n < 0 && errno == EINTR);
  ::close(fd);
}

void ShowMessage(const std::string& caption, const std::string& text) {
  // No windowing system to ask: one line on standard error, which never
  // blocks and never mixes with the script's output.
  WriteStderr(caption + ": " + text + "\n");
}

CalendarTime LocalNow() {
  struct timespec ts {};
  clock_gettime(CLOCK_REALTIME, &ts);
  tzset();
  struct tm tm {};
  localtime_r(&ts.tv_sec, &tm);
  return FromTm(tm, ts.tv_nsec);
}

CalendarTime UtcNow() {
  struct timespec ts {};
  clock_gettime(CLOCK_REALTIME, &ts);
  struct tm tm {};
  gmtime_r(&ts.tv_sec, &tm);
  return FromTm(tm, ts.tv_nsec);
}

void RunWithStack(size_t stackBytes, const std::function<void()>& fn) {
  ThreadJob job{&fn, nullptr};
  pthread_attr_t attr;
  bool threaded = false;
  pthread_t thread;
  if (pthread_attr_init(&attr) == 0) {
    size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    const size_t minimum = static_cast<size_t>(PTHREAD_STACK_MIN);
    size_t size = stackBytes < minimum ? minimum : stackBytes;
    size = (size + page - 1) / page * page;
    if (pthread_attr_setstacksize(&attr, size) == 0 &&
        pthread_create(&thread, &attr, RunJob, &job) == 0) {
      threaded = true;
    }
    pthread_attr_destroy(&attr);
  }
  if (!threaded) {
    // No thread to be had: run here with the stack we have rather than not
    // at all.
    fn();
    return;
  }
  pthread_join(thread, nullptr);
  if (job.error) std::rethrow_exception(job.error);
}

}  // namespace zu::platform
