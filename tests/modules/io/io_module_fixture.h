// Test fixture that loads io.zux from the build folder, binds its ten entry
// points and offers calls in script terms (ScriptValue in, ScriptValue or
// the module's error text out). Each test gets a freshly loaded module.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "values/script_value.h"
#include "values/xvalue.h"
#include "zuscriptx.h"

namespace zu::io_test {

// The entry points of one loaded module.
struct Entries {
  TZuScriptXGetVersion GetVersion = nullptr;
  TZuScriptXInit Init = nullptr;
  TZuScriptXDone Done = nullptr;
  TZuScriptXGetClassesList GetClassesList = nullptr;
  TZuScriptXGetFunctionsList GetFunctionsList = nullptr;
  TZuScriptXCreateObject CreateObject = nullptr;
  TZuScriptXCallFunction CallFunction = nullptr;
  TZuScriptXGetProperty GetProperty = nullptr;
  TZuScriptXSetProperty SetProperty = nullptr;
  TZuScriptXGetLastError GetLastError = nullptr;
};

class IoModuleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    library_ = platform::Library::Load(ZU_BIN_DIR "/io.zux");
    ASSERT_TRUE(library_.IsLoaded()) << "io.zux not loadable, error " << platform::LastError();
    Bind(x_.GetVersion, "ZuScriptXGetVersion");
    Bind(x_.Init, "ZuScriptXInit");
    Bind(x_.Done, "ZuScriptXDone");
    Bind(x_.GetClassesList, "ZuScriptXGetClassesList");
    Bind(x_.GetFunctionsList, "ZuScriptXGetFunctionsList");
    Bind(x_.CreateObject, "ZuScriptXCreateObject");
    Bind(x_.CallFunction, "ZuScriptXCallFunction");
    Bind(x_.GetProperty, "ZuScriptXGetProperty");
    Bind(x_.SetProperty, "ZuScriptXSetProperty");
    Bind(x_.GetLastError, "ZuScriptXGetLastError");
    ASSERT_EQ(x_.Init(), -1);
  }

  void TearDown() override {
    if (x_.Done != nullptr) {
      EXPECT_EQ(x_.Done(), -1);
    }
    library_.Free();
    if (!dir_.empty()) {
      std::error_code ignored;
      std::filesystem::remove_all(dir_, ignored);
    }
  }

  template <class F>
  void Bind(F& entry, const char* name) {
    entry = reinterpret_cast<F>(library_.Symbol(name));
    ASSERT_NE(entry, nullptr) << name;
  }

  std::string LastError() {
    std::vector<char> buffer(ZUSCRIPTX_BUFFER_BYTES, '\x7f');
    EXPECT_EQ(x_.GetLastError(buffer.data(), ZUSCRIPTX_BUFFER_SIZE), -1);
    return buffer.data();
  }

  void Create(const char* className, const char* objectName) {
    ASSERT_EQ(x_.CreateObject(className, objectName), -1) << LastError();
  }
  std::string CreateError(const char* className, const char* objectName) {
    EXPECT_EQ(x_.CreateObject(className, objectName), 0);
    return LastError();
  }

  // Calls a method (object given) or a module function (object null).
  bool Call(const char* object, const char* function, const std::vector<ScriptValue>& args,
            ScriptValue& result) {
    std::vector<TZuScriptXValue> records(args.size() + 1);
    for (size_t k = 0; k < args.size(); ++k) ValueToXValue(args[k], records[k]);
    TZuScriptXValue out;
    if (x_.CallFunction(object, function, static_cast<int32_t>(args.size()), records.data(),
                        &out) == 0)
      return false;
    result = XValueToValue(out);
    return true;
  }
  ScriptValue CallOk(const char* object, const char* function,
                     const std::vector<ScriptValue>& args = {}) {
    ScriptValue result;
    EXPECT_TRUE(Call(object, function, args, result)) << function << ": " << LastError();
    return result;
  }
  std::string CallError(const char* object, const char* function,
                        const std::vector<ScriptValue>& args = {}) {
    ScriptValue result;
    EXPECT_FALSE(Call(object, function, args, result)) << function;
    return LastError();
  }

  ScriptValue Get(const char* object, const char* property) {
    TZuScriptXValue out;
    EXPECT_EQ(x_.GetProperty(object, property, &out), -1) << property << ": " << LastError();
    return XValueToValue(out);
  }
  std::string GetError(const char* object, const char* property) {
    TZuScriptXValue out;
    EXPECT_EQ(x_.GetProperty(object, property, &out), 0) << property;
    return LastError();
  }
  std::string SetError(const char* object, const char* property, const ScriptValue& v) {
    TZuScriptXValue in;
    ValueToXValue(v, in);
    EXPECT_EQ(x_.SetProperty(object, property, &in), 0) << property;
    return LastError();
  }

  // A fresh empty folder for this test, removed afterwards; ends with '/'.
  std::string Dir() {
    if (dir_.empty()) {
      static std::atomic<int> counter{0};
      auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
      dir_ = std::filesystem::temp_directory_path() /
             ("zus-io-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
      std::filesystem::create_directories(dir_);
    }
    return dir_.string() + "/";
  }
  std::string WriteFile(const std::string& name, const std::string& bytes) {
    std::string path = Dir() + name;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }
  static std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  platform::Library library_;
  Entries x_;
  std::filesystem::path dir_;
};

inline ScriptValue Txt(const char* s) { return ScriptValue::Text(s); }
inline ScriptValue Int(int32_t v) { return ScriptValue::Integer(v); }
// The value of a Text / Integer / Boolean result, with its kind checked.
inline std::string TextOf(const ScriptValue& v) {
  EXPECT_EQ(v.Kind(), ValueKind::Text);
  return std::string(v.TextPayload());
}
inline int32_t IntOf(const ScriptValue& v) {
  EXPECT_EQ(v.Kind(), ValueKind::Integer);
  return v.IntegerPayload();
}
inline bool BoolOf(const ScriptValue& v) {
  EXPECT_EQ(v.Kind(), ValueKind::Boolean);
  return v.BoolPayload() != 0;
}

}  // namespace zu::io_test
