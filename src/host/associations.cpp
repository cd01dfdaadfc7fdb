// Registering and removing the ".zus" file association and zus.bat.
#include "host/associations.h"

#include "host/registry_tree.h"
#include "platform/platform.h"
#include "support/files.h"
#include "support/numbers.h"

namespace zu::host {

namespace {

std::string NineArguments() {
  std::string text;
  for (int n = 1; n <= 9; ++n) text += " \"%" + std::to_string(n) + "\"";
  return text;
}

void WriteBatchFile(const std::string& programPath, const std::string& windowsDir) {
  if (windowsDir.empty()) return;
  if (!platform::DirectoryExists(windowsDir)) platform::CreateDirectories(windowsDir);
  const std::string batch = windowsDir + kBatchFileName;
  // Appending to an existing file would leave two commands on one line (there
  // is no line end), so registering again starts the file afresh.
  if (platform::FileExists(batch)) platform::RemoveFile(batch);
  AppendText(batch, BatchLine(programPath));
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
  WriteBatchFile(programPath, windowsDir);
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
