// Deleting a registry key with all its subkeys.
#include "host/registry_tree.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/platform.h"
#include "platform/platform_test_util.h"

namespace zu::host {
namespace {

TEST(DeleteKeyTree, RemovesNestedKeysAndReportsMissingOnes) {
  zu::testing::ScratchDir dir("registry_tree");
  const char* old = getenv("XDG_DATA_HOME");
  std::string saved = old ? old : "";
  setenv("XDG_DATA_HOME", dir.Path().c_str(), 1);

  ASSERT_EQ(platform::RegistryCreateKey(".zus\\shell\\open\\command"), 0);
  ASSERT_EQ(platform::RegistryCreateKey(".zus\\shell\\edit"), 0);
  ASSERT_EQ(platform::RegistryCreateKey(".other"), 0);
  ASSERT_EQ(platform::RegistrySetDefaultValue(".zus\\shell\\open\\command", "zus %1"), 0);
  ASSERT_EQ(platform::RegistrySetDefaultValue(".zus", "ZuScript"), 0);
  EXPECT_EQ(DeleteKeyTree(".zus"), 0);
  EXPECT_EQ(platform::RegistryOpenKey(".zus"), 2);
  EXPECT_EQ(platform::RegistryOpenKey(".other"), 0);  // siblings stay
  EXPECT_EQ(DeleteKeyTree(".zus"), 2);
  EXPECT_EQ(DeleteKeyTree("a\\..\\.other"), 87);  // refused name, nothing deleted
  EXPECT_EQ(platform::RegistryOpenKey(".other"), 0);

  if (old) {
    setenv("XDG_DATA_HOME", saved.c_str(), 1);
  } else {
    unsetenv("XDG_DATA_HOME");
  }
}

}  // namespace
}  // namespace zu::host
