// The registry under HKEY_CLASSES_ROOT, under a key of the test's own:
// creating, the default value (stored without its NUL), enumerating and
// deleting, with the registry's own error codes.
#include <gtest/gtest.h>

#include <string>

#include "platform/platform.h"

namespace zu::platform {
namespace {

const std::string kRoot = ".zus-platform-test";

class RegistryTest : public ::testing::Test {
 protected:
  void TearDown() override {
    RegistryDeleteKey(kRoot + "\\b\\c");
    RegistryDeleteKey(kRoot + "\\b");
    RegistryDeleteKey(kRoot + "\\a");
    RegistryDeleteKey(kRoot);
  }
};

TEST_F(RegistryTest, KeysValuesEnumerationAndDeletion) {
  EXPECT_EQ(RegistryOpenKey(kRoot), 2);  // ERROR_FILE_NOT_FOUND
  ASSERT_EQ(RegistryCreateKey(kRoot + "\\b\\c"), 0);
  ASSERT_EQ(RegistryCreateKey(kRoot + "\\a"), 0);
  ASSERT_EQ(RegistrySetDefaultValue(kRoot + "\\b\\c", "zus \"%1\""), 0);
  std::string value;
  ASSERT_EQ(RegistryGetDefaultValue(kRoot + "\\b\\c", value), 0);
  EXPECT_EQ(value, "zus \"%1\"");

  std::string name;
  EXPECT_EQ(RegistryEnumKey(kRoot, 0, name), 0);
  EXPECT_EQ(name, "a");
  EXPECT_EQ(RegistryEnumKey(kRoot, 1, name), 0);
  EXPECT_EQ(name, "b");
  EXPECT_EQ(RegistryEnumKey(kRoot, 2, name), 259);  // ERROR_NO_MORE_ITEMS

  EXPECT_NE(RegistryDeleteKey(kRoot + "\\b"), 0);  // it has a subkey
  EXPECT_EQ(RegistryDeleteKey(kRoot + "\\b\\c"), 0);
  EXPECT_EQ(RegistryDeleteKey(kRoot + "\\b"), 0);
  EXPECT_EQ(RegistryOpenKey(kRoot + "\\b"), 2);
}

}  // namespace
}  // namespace zu::platform
