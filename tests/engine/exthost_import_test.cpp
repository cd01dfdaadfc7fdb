// Import of extension modules: finding the file, loading, starting and
// stopping the module, reading its lists and the duplicate checks, against
// the misbehaving test module testmod.zux and its variants.
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "exthost/fixture.h"

namespace zu::testing {
namespace {

class ExtImport : public ExtHostTest {};

TEST_F(ExtImport, RegistersClassesAndFunctionsAndStopsModuleWithScript) {
  {
    TZuScript script("main", nullptr);
    const std::string path = ModulePath("testmod.zux");
    script.ImportModule(path);
    ASSERT_EQ(script.ModuleList.Count(), 1);
    auto* module = static_cast<TZuScriptExtModule*>(script.ModuleList.Get(0));
    EXPECT_EQ(module->FilePath, path);

    ASSERT_EQ(script.ClassList.Count(), 2);
    EXPECT_EQ(script.ClassList.Get(0)->Name, "TCOUNTER");
    EXPECT_EQ(script.ClassList.Get(1)->Name, "TOTHER");
    EXPECT_NE(script.FindClass("tCounter"), nullptr);

    ASSERT_EQ(script.ExtFuncList.Count(), 5);
    EXPECT_EQ(script.FindExtFunc("ECHO")->ArgCount, 1);
    EXPECT_EQ(CallLog(), "init\n");
  }
  EXPECT_EQ(CallLog(), "init\ndone\n");
}

TEST_F(ExtImport, SameFileUnderTwoNamesStartsTwiceAndClashesOnFirstClass) {
  {
    TZuScript script("main", nullptr);
    script.ImportModule(ModulePath("testmod.zux"));
    const std::string other = std::string(ZU_BIN_DIR) + "/./testmod.zux";
    EXPECT_SCRIPT_ERROR(
        script.ImportModule(other), &script,
        "Class \"TCOUNTER\" exporting by extension module \"" + other + "\" already exists");
    // The second module stays registered and is released with the script.
    EXPECT_EQ(script.ModuleList.Count(), 2);
    EXPECT_EQ(script.ClassList.Count(), 2);
  }
  EXPECT_EQ(CallLog(), "init\ninit\ndone\ndone\n");
}

TEST_F(ExtImport, OwnerListsAreNotConsulted) {
  TZuScript main("main", nullptr);
  main.ImportModule(ModulePath("testmod.zux"));
  {
    TZuScript function("f", &main);
    function.ImportModule(ModulePath("testmod.zux"));
    EXPECT_EQ(function.ClassList.Count(), 2);
    EXPECT_EQ(function.ExtFuncList.Count(), 5);
  }
  EXPECT_EQ(CallLog(), "init\ninit\ndone\n");
}

TEST_F(ExtImport, ModuleFileSearch) {
  TZuScript script("main", nullptr);
  // A bare name is found beside the program (the test program's folder).
  EXPECT_EQ(FindModuleFile(script, "testmod.zux"), platform::ProgramDirectory() + "testmod.zux");
  // A name with a directory is also tried below the program's folder.
  EXPECT_EQ(FindModuleFile(script, "testsub/testmod_sub.zux"),
            platform::ProgramDirectory() + "testsub/testmod_sub.zux");
  // Found nowhere: the name as written, left to the loader.
  EXPECT_EQ(FindModuleFile(script, "nowhere/missing.zux"), "nowhere/missing.zux");

  script.ImportModule("testsub/testmod_sub.zux");
  auto* module = static_cast<TZuScriptExtModule*>(script.ModuleList.Get(0));
  EXPECT_EQ(module->Name, "testsub/testmod_sub.zux");
  EXPECT_EQ(module->FilePath, platform::ProgramDirectory() + "testsub/testmod_sub.zux");
}

// Files the loader refuses with the Windows loader's codes. A truncated or
// damaged module is checked before it is mapped: mapping it would end the
// process with SIGBUS at the first touch of a page past the file's end.
TEST_F(ExtImport, FilesThatAreNoLibrary) {
  if (platform::ThisSystem() == platform::SystemFamily::Windows)
    GTEST_SKIP() << "the cases cut an ELF image; Windows' own loader checks its files";
  std::ifstream in(ModulePath("testmod.zux"), std::ios::binary);
  const std::string image((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_GT(image.size(), 4096u);
  // Field offsets of a 64-bit ELF file: the header's e_machine, e_phoff and
  // e_phnum; a program header's p_type, p_offset and p_filesz.
  auto get = [&](size_t at, size_t width) {
    uint64_t v = 0;
    std::memcpy(&v, image.data() + at, width);
    return v;
  };
  auto set = [](std::string bytes, size_t at, uint64_t value, size_t width) {
    std::memcpy(bytes.data() + at, &value, width);
    return bytes;
  };
  const size_t phoff = get(32, 8), phnum = get(56, 2);
  size_t lastLoad = 0;  // the program header of the last PT_LOAD segment
  for (size_t k = 0; k < phnum; ++k) {
    if (get(phoff + k * 56, 4) == 1) lastLoad = phoff + k * 56;
  }
  ASSERT_NE(lastLoad, 0u);
  const size_t segmentEnd = get(lastLoad + 8, 8) + get(lastLoad + 32, 8);

  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() /
      ("zus-badlib-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir / "folder.zux");
  struct Case {
    const char* name;
    std::string bytes;  // written to the file; "-" writes none
    int code;
  };
  const Case cases[] = {
      {"missing.zux", "-", 126},
      {"folder.zux", "-", 5},
      {"text.zux", "not a library\n", 193},
      {"empty.zux", "", 193},
      {"header_only.zux", image.substr(0, 64), 193},
      {"cut_in_half.zux", image.substr(0, image.size() / 2), 193},
      {"cut_in_segments.zux", image.substr(0, segmentEnd - 1), 193},
      {"cut_in_sections.zux", image.substr(0, image.size() - 1), 193},
      {"other_machine.zux", set(image, 18, 0xB7 ^ get(18, 2), 2), 193},
      {"headers_past_end.zux", set(image, 32, image.size(), 8), 193},
      {"segment_past_end.zux", set(image, lastLoad + 32, image.size(), 8), 193},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = (dir / c.name).string();
    if (c.bytes != "-") std::ofstream(path, std::ios::binary) << c.bytes;
    TZuScript script("main", nullptr);
    EXPECT_SCRIPT_ERROR(
        script.ImportModule(path), &script,
        "Can't load extension module \"" + path + "\". Error " + std::to_string(c.code));
    EXPECT_EQ(script.ModuleList.Count(), 0);
  }
  std::filesystem::remove_all(dir);
}

TEST_F(ExtImport, LastErrorWithoutItsEntryPoint) {
  TZuScript script("main", nullptr);
  const std::string path = ModulePath("testmod.zux");
  // The entry point is mandatory at load, so a loaded module always has it;
  // without it the error cannot be fetched at all.
  script.ImportModule(path);
  auto* module = static_cast<TZuScriptExtModule*>(script.ModuleList.Get(0));
  module->GetLastErrorEntry = nullptr;
  EXPECT_SCRIPT_ERROR(
      module->RaiseLastError(), &script,
      "Function \"ZuScriptGetLastError\" not found in extension module \"" + path + "\"");
}

TEST_F(ExtImport, MissingEntryPoints) {
  struct Case {
    const char* file;
    const char* entry;
    int classes;  // classes registered before the failure
  };
  const Case cases[] = {
      {"testmod_noversion.zux", "ZuScriptXGetVersion", 0},
      {"testmod_nolasterror.zux", "ZuScriptXGetLastError", 0},
      {"testmod_noinit.zux", "ZuScriptXInit", 0},
      {"testmod_noclasses.zux", "ZuScriptXGetClassesList", 0},
      {"testmod_nofunctions.zux", "ZuScriptXGetFunctionsList", 2},
      {"testmod_nocreate.zux", "ZuScriptXCreateObject", 0},
      {"testmod_nocall.zux", "ZuScriptXCallFunction", 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    TZuScript script("main", nullptr);
    EXPECT_SCRIPT_ERROR(script.ImportModule(ModulePath(c.file)), &script,
                        MissingMessage(c.entry, c.file));
    EXPECT_EQ(script.ClassList.Count(), c.classes);
  }
}

TEST_F(ExtImport, StartAndStopAreLogged) {
  // A failure after a successful start leaves the module registered; it is
  // stopped when the script goes.
  {
    TZuScript script("main", nullptr);
    EXPECT_SCRIPT_ERROR(script.ImportModule(ModulePath("testmod_nocreate.zux")), &script,
                        MissingMessage("ZuScriptXCreateObject", "testmod_nocreate.zux"));
    EXPECT_EQ(script.ModuleList.Count(), 1);
    EXPECT_EQ(CallLog(), "init\n");
  }
  EXPECT_EQ(CallLog(), "init\ndone\n");
  // Without ZuScriptXDone the module is simply unloaded.
  {
    TZuScript script("main", nullptr);
    script.ImportModule(ModulePath("testmod_nodone.zux"));
  }
  EXPECT_EQ(CallLog(), "init\ndone\ninit\n");
  // Missing Init: the half-built module is still stopped.
  {
    TZuScript script("main", nullptr);
    EXPECT_SCRIPT_ERROR(script.ImportModule(ModulePath("testmod_noinit.zux")), &script,
                        MissingMessage("ZuScriptXInit", "testmod_noinit.zux"));
  }
  EXPECT_EQ(CallLog(), "init\ndone\ninit\ndone\n");
}

TEST_F(ExtImport, ListParsing) {
  {
    SetMode("blankclass");
    TZuScript script("main", nullptr);
    script.ImportModule(ModulePath("testmod.zux"));
    ASSERT_EQ(script.ClassList.Count(), 3);
    EXPECT_EQ(script.ClassList.Get(0)->Name, "");
    EXPECT_EQ(script.ClassList.Get(1)->Name, "TA");
    EXPECT_EQ(script.ClassList.Get(2)->Name, "TB");
  }
  {
    // All 4096 characters used and no NUL written: the host stops at its
    // own buffer's end.
    SetMode("unterminated");
    TZuScript script("main", nullptr);
    script.ImportModule(ModulePath("testmod.zux"));
    ASSERT_EQ(script.ClassList.Count(), 1);
    EXPECT_EQ(script.ClassList.Get(0)->Name.size(), 4096u);
    ASSERT_EQ(script.ExtFuncList.Count(), 1);
    EXPECT_EQ(script.ExtFuncList.Get(0)->Name.size(), 4096u);
  }
}

TEST_F(ExtImport, ListFailuresAndClashes) {
  const std::string path = ModulePath("testmod.zux");
  struct Case {
    const char* mode;
    std::string message;
    int classes;
    int functions;
  };
  const Case cases[] = {
      {"longfuncs", "Buffer size too small", 2, 0},
      {"classesfail", "No classes today", 0, 0},
      {"funcsfail", "No functions today", 2, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    SetMode(c.mode);
    TZuScript script("main", nullptr);
    EXPECT_SCRIPT_ERROR(script.ImportModule(path), &script, c.message);
    EXPECT_EQ(script.ModuleList.Count(), 1);
    EXPECT_EQ(script.ClassList.Count(), c.classes);
    EXPECT_EQ(script.ExtFuncList.Count(), c.functions);
  }
}

}  // namespace
}  // namespace zu::testing
