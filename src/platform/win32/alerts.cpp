// The user alerts: the default message sound (MessageBeep) and the error
// message box (MessageBoxA without owner window).
#include <string>

#include "platform/win32/win32_api.h"

namespace zu::platform {

void Beep() { ::MessageBeep(0); }

void ShowMessage(const std::string& caption, const std::string& text) {
  // Output the script wrote before the failure is seen before the box.
  FlushStdout();
  ::MessageBoxA(nullptr, text.c_str(), caption.c_str(), MB_OK | MB_ICONERROR);
}

}  // namespace zu::platform
