// Running a function on a thread with a stack of a given size (the
// interpreter's deep recursion needs more than the main thread may have).
#include <pthread.h>
#include <unistd.h>

#include <climits>
#include <exception>

#include "platform/platform.h"

namespace zu::platform {
namespace {

struct ThreadJob {
  void (*fn)(const void*);
  const void* context;
  std::exception_ptr error;
};

void* RunJob(void* arg) {
  auto* job = static_cast<ThreadJob*>(arg);
  try {
    job->fn(job->context);
  } catch (...) {
    job->error = std::current_exception();
  }
  return nullptr;
}

}  // namespace

void RunWithStack(size_t stackBytes, void (*fn)(const void*), const void* context) {
  ThreadJob job{fn, context, nullptr};
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
    fn(context);
    return;
  }
  pthread_join(thread, nullptr);
  if (job.error) std::rethrow_exception(job.error);
}

}  // namespace zu::platform
