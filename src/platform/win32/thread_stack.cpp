// Running a function on a thread with a stack of a given size (the
// interpreter's deep recursion needs more than the main thread's megabyte).
#include <process.h>

#include <exception>

#include "platform/win32/win32_api.h"

namespace zu::platform {
namespace {

struct ThreadJob {
  void (*fn)(const void*);
  const void* context;
  std::exception_ptr error;
};

unsigned __stdcall RunJob(void* arg) {
  auto* job = static_cast<ThreadJob*>(arg);
  try {
    job->fn(job->context);
  } catch (...) {
    job->error = std::current_exception();
  }
  return 0;
}

}  // namespace

void RunWithStack(size_t stackBytes, void (*fn)(const void*), const void* context) {
  ThreadJob job{fn, context, nullptr};
  // The size is a reservation of address space; pages are committed as the
  // stack grows. _beginthreadex sets up the C runtime for the thread.
  const uintptr_t thread = ::_beginthreadex(nullptr, static_cast<unsigned>(stackBytes), RunJob,
                                            &job, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
  if (thread == 0) {
    // No thread to be had: run here with the stack we have rather than not
    // at all.
    fn(context);
    return;
  }
  HANDLE h = reinterpret_cast<HANDLE>(thread);
  ::WaitForSingleObject(h, INFINITE);
  ::CloseHandle(h);
  if (job.error) std::rethrow_exception(job.error);
}

}  // namespace zu::platform
