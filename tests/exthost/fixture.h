// Shared setup of the extension host's unit tests: paths of the test
// modules, the module's mode and call log (environment variables read by
// testmod.zux).
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "common/expect_error.h"
#include "engine/exthost/ext_entities.h"
#include "platform/platform.h"
#include "test_env.h"

namespace zu::testing {

class ExtHostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetEnv("ZUS_TESTMOD_MODE", nullptr);
    log_ = std::filesystem::temp_directory_path() /
           ("zus-exthost-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
            "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".log");
    std::filesystem::remove(log_);
    SetEnv("ZUS_TESTMOD_LOG", log_.string().c_str());
  }
  void TearDown() override {
    SetEnv("ZUS_TESTMOD_MODE", nullptr);
    SetEnv("ZUS_TESTMOD_LOG", nullptr);
    std::filesystem::remove(log_);
  }

  // Full path of a built test module.
  static std::string ModulePath(const std::string& file) {
    return std::string(ZU_BIN_DIR) + "/" + file;
  }
  static void SetMode(const char* mode) { SetEnv("ZUS_TESTMOD_MODE", mode); }
  // The lines "init" / "done" the module wrote so far.
  std::string CallLog() const {
    std::ifstream in(log_);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  static std::string MissingMessage(const std::string& entry, const std::string& file) {
    return "Can't get address of function \"" + entry + "\" in extension module \"" +
           ModulePath(file) + "\". Error 127";
  }

 private:
  std::filesystem::path log_;
};

}  // namespace zu::testing
