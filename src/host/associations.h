// File associations of the zus host: the -r and -u options register or
// remove the ".zus" open command and write or delete zus.bat.
#pragma once

#include <string>

namespace zu::host {

// The registry key that holds the open command.
inline constexpr const char* kAssociationKey = ".zus\\shell\\open\\command";
// The key removed by -u, with everything below it.
inline constexpr const char* kExtensionKey = ".zus";
inline constexpr const char* kBatchFileName = "zus.bat";

// programPath + " -w" + " \"%1\"" ... " \"%9\"".
std::string OpenCommand(const std::string& programPath);
// "@" + programPath + " \"%1\"" ... " \"%9\"" (no line end).
std::string BatchLine(const std::string& programPath);

// Registers the open command and writes zus.bat into windowsDir (when not
// empty; the folder is created when missing, an existing zus.bat is
// replaced). Returns the registration message, which carries every failure
// with its code (a zus.bat that cannot be written on a line of its own:
// "Write batch file \"PATH\" failed. Error CODE"); nothing is raised.
std::string RegisterAssociations(const std::string& programPath, const std::string& windowsDir);

// Removes the ".zus" key tree and deletes zus.bat from windowsDir when it is
// there. Returns the registration message.
std::string RemoveAssociations(const std::string& windowsDir);

}  // namespace zu::host
