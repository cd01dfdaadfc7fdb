// Starting programs with ShellExecuteExA (default verb, show state 5, the
// process handle kept) and waiting for them (WaitForSingleObject,
// GetExitCodeProcess).
#include <string>

#include "platform/win32/win32_api.h"

// After <windows.h>, which they build on.
#include <objbase.h>
#include <shellapi.h>

namespace zu::platform {
namespace {

// SEE_MASK_NOCLOSEPROCESS: keep the handle of the started process.
constexpr ULONG kKeepProcessHandle = 0x40;
// SW_SHOW: activate the window and show it in its current size.
constexpr int kShowNormally = 5;

}  // namespace

Process::~Process() {
  // Not waited for: the program runs on; only our handle goes.
  if (handle_ != 0) ::CloseHandle(win32::ToHandle(handle_));
}

Process::Process(Process&& other) noexcept : handle_(other.handle_) { other.handle_ = 0; }

Process& Process::operator=(Process&& other) noexcept {
  if (this != &other) {
    if (handle_ != 0) ::CloseHandle(win32::ToHandle(handle_));
    handle_ = other.handle_;
    other.handle_ = 0;
  }
  return *this;
}

int Process::Wait() {
  if (handle_ == 0) return -1;
  HANDLE h = win32::ToHandle(handle_);
  handle_ = 0;
  ::WaitForSingleObject(h, INFINITE);
  DWORD code = 0;
  const bool known = ::GetExitCodeProcess(h, &code) != 0;
  ::CloseHandle(h);
  return known ? static_cast<int>(code) : -1;
}

uint32_t CurrentProcessId() { return static_cast<uint32_t>(::GetCurrentProcessId()); }

Process StartProcess(const std::string& file, const std::string& parameters) {
  Process process;
  // Our own buffered output goes first, so it precedes the program's.
  FlushStdout();
  // The shell may hand the file to an extension that needs COM on this
  // thread.
  const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  SHELLEXECUTEINFOA info;
  ZeroMemory(&info, sizeof info);
  info.cbSize = sizeof info;
  info.fMask = kKeepProcessHandle;
  info.hwnd = nullptr;
  info.lpVerb = nullptr;
  info.lpFile = file.c_str();
  info.lpParameters = parameters.c_str();
  info.lpDirectory = nullptr;
  info.nShow = kShowNormally;
  const bool started = ::ShellExecuteExA(&info) != 0;
  const DWORD code = ::GetLastError();
  if (SUCCEEDED(com)) ::CoUninitialize();
  if (started && info.hProcess != nullptr) {
    process.handle_ = win32::FromHandle(info.hProcess);
  } else {
    ::SetLastError(code);
  }
  return process;
}

}  // namespace zu::platform
