// The registry under HKEY_CLASSES_ROOT: RegCreateKeyExA, RegOpenKeyExA,
// RegSetValueExA, RegEnumKeyExA, RegDeleteKeyA. Results are the registry
// calls' own error codes.
#include <string>

#include "platform/win32/win32_api.h"

namespace zu::platform {
namespace {

// All access rights (KEY_ALL_ACCESS, 0xF003F).
constexpr REGSAM kAllAccess = KEY_ALL_ACCESS;
// Subkey names have at most 255 characters.
constexpr DWORD kKeyNameBuffer = 256;

// An open key, closed by the destructor.
class Key {
 public:
  Key() = default;
  ~Key() {
    if (key_ != nullptr) ::RegCloseKey(key_);
  }
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;
  LONG Open(const std::string& path, REGSAM access) {
    return ::RegOpenKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, access, &key_);
  }
  HKEY get() const { return key_; }
  HKEY* out() { return &key_; }

 private:
  HKEY key_ = nullptr;
};

}  // namespace

int RegistryCreateKey(const std::string& path) {
  Key key;
  char noClass[] = "";
  return static_cast<int>(::RegCreateKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, noClass,
                                            REG_OPTION_NON_VOLATILE, kAllAccess, nullptr, key.out(),
                                            nullptr));
}

int RegistryOpenKey(const std::string& path) {
  Key key;
  return static_cast<int>(key.Open(path, kAllAccess));
}

int RegistrySetDefaultValue(const std::string& path, const std::string& value) {
  Key key;
  if (LONG rc = key.Open(path, kAllAccess); rc != ERROR_SUCCESS) return static_cast<int>(rc);
  // The data is the text without its terminating NUL.
  return static_cast<int>(::RegSetValueExA(key.get(), nullptr, 0, REG_SZ,
                                           reinterpret_cast<const BYTE*>(value.data()),
                                           static_cast<DWORD>(value.size())));
}

int RegistryEnumKey(const std::string& path, uint32_t index, std::string& name) {
  Key key;
  if (LONG rc = key.Open(path, kAllAccess); rc != ERROR_SUCCESS) return static_cast<int>(rc);
  char buffer[kKeyNameBuffer];
  DWORD length = kKeyNameBuffer;
  const LONG rc =
      ::RegEnumKeyExA(key.get(), index, buffer, &length, nullptr, nullptr, nullptr, nullptr);
  if (rc == ERROR_SUCCESS) name.assign(buffer, length);
  return static_cast<int>(rc);
}

int RegistryDeleteKey(const std::string& path) {
  return static_cast<int>(::RegDeleteKeyA(HKEY_CLASSES_ROOT, path.c_str()));
}

int RegistryGetDefaultValue(const std::string& path, std::string& value) {
  Key key;
  if (LONG rc = key.Open(path, KEY_QUERY_VALUE); rc != ERROR_SUCCESS) return static_cast<int>(rc);
  DWORD type = 0;
  DWORD size = 0;
  LONG rc = ::RegQueryValueExA(key.get(), nullptr, nullptr, &type, nullptr, &size);
  if (rc != ERROR_SUCCESS) return static_cast<int>(rc);
  std::string data(size, '\0');
  rc = ::RegQueryValueExA(key.get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                          &size);
  if (rc != ERROR_SUCCESS) return static_cast<int>(rc);
  data.resize(size);
  // A stored terminating NUL is no part of the text.
  while (!data.empty() && data.back() == '\0') data.pop_back();
  value = data;
  return 0;
}

}  // namespace zu::platform
