// Registering and removing the ".zus" file association and zus.bat.
#include "host/associations.h"

#include "host/registry_tree.h"
#include "platform/platform.h"
#include "support/numbers.h"

namespace zu::host {

namespace {

std::string NineArguments() {
  std::string text;
  for (int n = 1; n <= 9; ++n) text += " \"%" + std::to_string(n) + "\"";
  return text;
}

// Writes zus.bat afresh (appending to an existing one would leave two
// commands on one line, there being no line end). The text goes to a file
// of this process's own and is renamed over zus.bat, so concurrent runs
// never mix their writes and a run that dies halfway leaves no partial file.
// Returns 0 or the platform's error code.
int WriteBatchFile(const std::string& programPath, const std::string& windowsDir) {
  if (!platform::DirectoryExists(windowsDir) && !platform::CreateDirectories(windowsDir))
    return platform::LastError();
  const std::string batch = windowsDir + kBatchFileName;
  const std::string temp = batch + "." + std::to_string(platform::CurrentProcessId()) + ".tmp";
  const std::string line = BatchLine(programPath);
  platform::File file =
      platform::File::Open(temp, platform::FileAccess::Write, platform::FileShare::None,
                           platform::FileDisposition::CreateAlways);
  bool ok = file.IsOpen() && file.Write(line.data(), line.size()) == static_cast<long>(line.size());
  ok = file.Close() && ok;
  if (ok && platform::RenameFile(temp, batch)) return 0;
  const int code = platform::LastError();
  platform::RemoveFile(temp);
  return code != 0 ? code : platform::ErrorCode(platform::ErrorKind::AccessDenied);
}

// The line added to the registration message when zus.bat could not be
// written: every failure of -r ends up in the message, none ends the run.
std::string BatchFailure(const std::string& windowsDir, int code) {
  return "\r\nWrite batch file \"" + windowsDir + kBatchFileName + "\" failed. Error " +
         IntToText(code);
}

}  // namespace

std::string OpenCommand(const std::string& programPath) {
  return programPath + " -w" + NineArguments();
}

std::string BatchLine(const std::string& programPath) {
  return "@" + programPath + NineArguments();
}

std::string RegisterAssociations(const std::string& programPath, const std::string& windowsDir) {
  std::string message;
  // The registry calls answer their error code themselves; the thread's last
  // error is not set by them on every platform, so the answer is reported.
  const int openCode = platform::RegistryCreateKey(kAssociationKey);
  if (openCode != 0) {
    message = "Open registry key failed. Error " + IntToText(openCode);
  } else {
    message = "Register file associations: ";
    const int setCode =
        platform::RegistrySetDefaultValue(kAssociationKey, OpenCommand(programPath));
    message += setCode == 0 ? std::string("successful") : "failed. Error " + IntToText(setCode);
  }
  if (!windowsDir.empty()) {
    if (const int code = WriteBatchFile(programPath, windowsDir); code != 0)
      message += BatchFailure(windowsDir, code);
  }
  return message;
}

std::string RemoveAssociations(const std::string& windowsDir) {
  std::string message = "Remove file associations: ";
  message += DeleteKeyTree(kExtensionKey) == 0 ? "successful" : "failed";
  if (!windowsDir.empty()) {
    const std::string batch = windowsDir + kBatchFileName;
    if (platform::FileExists(batch)) platform::RemoveFile(batch);  // a failure is not reported
  }
  return message;
}

}  // namespace zu::host
