// Deleting a registry key together with everything below it.
#include "host/registry_tree.h"

#include <string>
#include <vector>

#include "platform/platform.h"

namespace zu::host {
namespace {

// Limits of one level: the subkeys looked at, and the length of a name.
constexpr uint32_t kMaxSubKeys = 1000;
constexpr size_t kMaxKeyName = 255;

}  // namespace

int DeleteKeyTree(const std::string& path) {
  if (int rc = platform::RegistryOpenKey(path); rc != 0) return rc;
  // The names are collected first: deleting while enumerating would shift
  // the indexes.
  std::vector<std::string> names;
  for (uint32_t i = 0; i < kMaxSubKeys; ++i) {
    std::string name;
    if (platform::RegistryEnumKey(path, i, name) != 0) break;
    if (name.size() > kMaxKeyName) break;
    names.push_back(name);
  }
  for (const std::string& name : names) {
    std::string child = path.empty() ? name : path + "\\" + name;
    if (int rc = DeleteKeyTree(child); rc != 0) return rc;
  }
  return platform::RegistryDeleteKey(path);
}

}  // namespace zu::host
