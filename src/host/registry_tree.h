// Deleting a registry key with all its subkeys.
#pragma once

#include <string>

namespace zu::host {

// Deletes path (under HKEY_CLASSES_ROOT) and everything below it; 0 on
// success, else the platform's error code (2 for a missing key).
int DeleteKeyTree(const std::string& path);

}  // namespace zu::host
