// The file-backed registry store: keys as directories, default values,
// enumeration order, deletion rules and refused key names.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/platform.h"
#include "platform/platform_test_util.h"
#include "test_env.h"

namespace zu::platform {
namespace {

// Points the store at a scratch directory for the life of a test.
class RegistryTest : public ::testing::Test {
 protected:
  RegistryTest() : dir_("registry"), store_("XDG_DATA_HOME", dir_.Path()) {}
  zu::testing::ScratchDir dir_;
  zu::testing::ScopedEnv store_;
};

TEST_F(RegistryTest, KeysAreDirectoriesAndDefaultValueIsAtFile) {
  EXPECT_EQ(WindowsDirectory(), dir_.Path() + "zus/");
  EXPECT_EQ(RegistryOpenKey(".zus\\shell\\open\\command"), 2);
  ASSERT_EQ(RegistryCreateKey(".zus\\shell\\open\\command"), 0);
  EXPECT_EQ(RegistryOpenKey(".zus\\shell\\open\\command"), 0);
  ASSERT_EQ(RegistrySetDefaultValue(".zus\\shell\\open\\command", "zus \"%1\" %*"), 0);
  std::string stored = dir_.Path() + "zus/registry/.zus/shell/open/command/@";
  EXPECT_EQ(zu::testing::ScratchDir::Content(stored), "zus \"%1\" %*");
  std::string value;
  EXPECT_EQ(RegistryGetDefaultValue(".ZUS\\Shell\\OPEN\\command", value), 0);  // any case
  EXPECT_EQ(value, "zus \"%1\" %*");
  EXPECT_EQ(RegistryGetDefaultValue(".zus\\shell", value), 2);  // key without a value
  EXPECT_EQ(RegistrySetDefaultValue("missing", "x"), 2);
}

TEST_F(RegistryTest, EnumerationIsAlphabeticalAndEnds) {
  ASSERT_EQ(RegistryCreateKey("k\\beta"), 0);
  ASSERT_EQ(RegistryCreateKey("k\\Alpha"), 0);
  ASSERT_EQ(RegistryCreateKey("k\\gamma"), 0);
  ASSERT_EQ(RegistrySetDefaultValue("k", "v"), 0);  // the value file is no subkey
  std::string name;
  EXPECT_EQ(RegistryEnumKey("k", 0, name), 0);
  EXPECT_EQ(name, "Alpha");
  EXPECT_EQ(RegistryEnumKey("k", 1, name), 0);
  EXPECT_EQ(name, "beta");
  EXPECT_EQ(RegistryEnumKey("k", 2, name), 0);
  EXPECT_EQ(name, "gamma");
  EXPECT_EQ(RegistryEnumKey("k", 3, name), 259);
  EXPECT_EQ(RegistryEnumKey("nokey", 0, name), 2);
}

TEST_F(RegistryTest, DeleteRefusesKeysWithSubkeys) {
  ASSERT_EQ(RegistryCreateKey("a\\b"), 0);
  ASSERT_EQ(RegistrySetDefaultValue("a\\b", "x"), 0);
  EXPECT_EQ(RegistryDeleteKey("a"), 5);
  EXPECT_EQ(RegistryDeleteKey("a\\b"), 0);
  EXPECT_EQ(RegistryDeleteKey("a"), 0);
  EXPECT_EQ(RegistryOpenKey("a"), 2);
  EXPECT_EQ(RegistryDeleteKey("a"), 2);
}

TEST_F(RegistryTest, NamesThatCouldLeaveTheStoreAreRefused) {
  EXPECT_EQ(RegistryCreateKey("..\\escape"), 87);
  EXPECT_EQ(RegistryCreateKey("a/b"), 87);
  EXPECT_EQ(RegistryCreateKey("a\\\\b"), 87);
  EXPECT_EQ(RegistryCreateKey("@"), 87);
  EXPECT_FALSE(std::filesystem::exists(dir_.Path() + "zus/escape"));
}

}  // namespace
}  // namespace zu::platform
