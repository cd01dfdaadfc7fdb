// Deleting a registry key with all its subkeys.
#include "host/registry_tree.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/platform.h"
#include "platform/platform_test_util.h"
#include "test_env.h"

namespace zu::host {
namespace {

TEST(DeleteKeyTree, RemovesNestedKeysAndReportsMissingOnes) {
  // The POSIX store lives under XDG_DATA_HOME; a Windows build uses the
  // registry of its own Wine prefix or test machine, under keys of its own.
  zu::testing::ScratchDir dir("registry_tree");
  zu::testing::ScopedEnv store("XDG_DATA_HOME", dir.Path());
  const std::string root = ".zus-tree-test";
  const std::string sibling = ".zus-tree-test-sibling";

  ASSERT_EQ(platform::RegistryCreateKey(root + "\\shell\\open\\command"), 0);
  ASSERT_EQ(platform::RegistryCreateKey(root + "\\shell\\edit"), 0);
  ASSERT_EQ(platform::RegistryCreateKey(sibling), 0);
  ASSERT_EQ(platform::RegistrySetDefaultValue(root + "\\shell\\open\\command", "zus %1"), 0);
  ASSERT_EQ(platform::RegistrySetDefaultValue(root, "ZuScript"), 0);
  EXPECT_EQ(DeleteKeyTree(root), 0);
  EXPECT_EQ(platform::RegistryOpenKey(root), 2);
  EXPECT_EQ(platform::RegistryOpenKey(sibling), 0);  // siblings stay
  EXPECT_EQ(DeleteKeyTree(root), 2);
  EXPECT_EQ(DeleteKeyTree(sibling), 0);
}

}  // namespace
}  // namespace zu::host
