// The entry points of io.zux: lists and buffers, last error, object
// creation rules, the module function and the crossing of values.
#include <cstring>

#include "modules/io/io_module_fixture.h"

namespace zu::io_test {
namespace {

class IoMain : public IoModuleTest {};

TEST_F(IoMain, ListsAndTheirBufferRules) {
  EXPECT_EQ(x_.GetVersion(), 256);
  const std::string classes = "TFILE\r\nTFILEFINDER\r\nTKEYBOARD\r\n";
  char buffer[64];
  EXPECT_EQ(x_.GetClassesList(nullptr, 100), 0);
  EXPECT_EQ(LastError(), "Pointer to buffer is null");
  EXPECT_EQ(x_.GetClassesList(buffer, 0), 0);
  EXPECT_EQ(LastError(), "Buffer size too small");
  EXPECT_EQ(x_.GetClassesList(buffer, classes.size() - 1), 0);
  // Exactly the text's length fits: size characters and the NUL.
  std::memset(buffer, 'x', sizeof buffer);
  ASSERT_EQ(x_.GetClassesList(buffer, classes.size()), -1);
  EXPECT_EQ(std::string(buffer), classes);
  EXPECT_EQ(buffer[classes.size() + 1], 'x');
  EXPECT_EQ(LastError(), "");  // success clears it

  EXPECT_EQ(x_.GetFunctionsList(nullptr, 100), 0);
  EXPECT_EQ(LastError(), "Pointer to buffer is null");
  EXPECT_EQ(x_.GetFunctionsList(buffer, 12), 0);
  EXPECT_EQ(LastError(), "Buffer size too small");
  ASSERT_EQ(x_.GetFunctionsList(buffer, 13), -1);
  EXPECT_STREQ(buffer, "DELETEFILE,1\r");
}

TEST_F(IoMain, InitTwiceListsTwiceDoneEmptiesAndReloadStartsEmpty) {
  ASSERT_EQ(x_.Init(), -1);
  char buffer[ZUSCRIPTX_BUFFER_BYTES];
  ASSERT_EQ(x_.GetClassesList(buffer, ZUSCRIPTX_BUFFER_SIZE), -1);
  EXPECT_STREQ(buffer,
               "TFILE\r\nTFILEFINDER\r\nTKEYBOARD\r\nTFILE\r\nTFILEFINDER\r\nTKEYBOARD\r\n");
  ASSERT_EQ(x_.GetFunctionsList(buffer, ZUSCRIPTX_BUFFER_SIZE), -1);
  EXPECT_STREQ(buffer, "DELETEFILE,1\rDELETEFILE,1\r");

  ASSERT_EQ(x_.Done(), -1);
  ASSERT_EQ(x_.GetClassesList(buffer, 0), -1);  // an empty list fits any buffer
  EXPECT_STREQ(buffer, "");
  EXPECT_EQ(CreateError("TFILE", "f"), "Class \"TFILE\" not defined");

  library_.Free();
  SetUp();
  Create("TFILE", "f");  // no object survived the unload
}

TEST_F(IoMain, LastErrorRules) {
  EXPECT_EQ(CreateError("TNOTHING", "f"), "Class \"TNOTHING\" not defined");
  EXPECT_EQ(x_.GetLastError(nullptr, 100), 0);
  EXPECT_EQ(LastError(), "Class \"TNOTHING\" not defined");  // unchanged, not cleared
  // A name the module does not list fails and leaves it alone too.
  ScriptValue unused;
  EXPECT_FALSE(Call(nullptr, "RemoveFile", {Txt("x")}, unused));
  EXPECT_EQ(LastError(), "Class \"TNOTHING\" not defined");

  char buffer[16];
  std::memset(buffer, 'x', sizeof buffer);
  ASSERT_EQ(x_.GetLastError(buffer, 10), -1);
  EXPECT_STREQ(buffer, "Buffer siz");
  EXPECT_EQ(buffer[11], 'x');
  EXPECT_EQ(LastError(), "Buffer size too small");  // replaced for good

  Create("TFILE", "f");
  EXPECT_EQ(CreateError("TFILE", "f"), "Object \"f\" already exists");
  CallOk("f", "Close");
  EXPECT_EQ(LastError(), "Object \"f\" already exists");  // methods leave it
  Create("TFILEFINDER", "g");
  EXPECT_EQ(LastError(), "");  // creating clears it
}

TEST_F(IoMain, CreateObjectAndLookupRules) {
  EXPECT_EQ(CreateError("tfile", "f"), "Error on create object \"f\"");
  Create("TFILE", "F");
  EXPECT_EQ(CreateError("TFILE", "f"), "Object \"f\" already exists");
  // The same name in another class is a separate object; calls by name
  // reach the first of them in the list, the older TFILE.
  Create("TKEYBOARD", "F");
  EXPECT_EQ(CallError("f", "Read"), "Function \"Read\" not found in class \"TFILE\"");
  EXPECT_EQ(CreateError("TKEYBOARD", "F"), "Object \"F\" already exists");
  // Names differing in case sort ordinally: "B" before "b" is found first,
  // also by a name that found another object before "B" was made.
  Create("TFILE", "b");
  EXPECT_EQ(CallError("b", "Read"), "Function \"Read\" not found in class \"TFILE\"");
  Create("TKEYBOARD", "B");
  EXPECT_EQ(CallError("b", "Open", {Txt("x"), Int(0)}),
            "Function \"Open\" not found in class \"TKEYBOARD\"");

  EXPECT_EQ(CallError("nobody", "Close"), "Object \"nobody\" not found");
  EXPECT_EQ(GetError("nobody", "EOF"), "Object \"nobody\" not found");
  EXPECT_EQ(SetError("nobody", "EOF", Int(1)), "Object \"nobody\" not found");
  EXPECT_EQ(GetError(nullptr, "EOF"), "Name of object not specified for property \"EOF\"");
  EXPECT_EQ(SetError(nullptr, "Recursive", Int(1)),
            "Name of object not specified for property \"Recursive\"");
  EXPECT_EQ(CallError(nullptr, "deletefile", {Txt("a"), Txt("b")}),
            "Function \"DELETEFILE\" must have 1 arguments");
}

// A method or property name is matched once per spelling and kept; every
// later use still gets the checks' answers.
TEST_F(IoMain, KeptNamesStillCheckEveryCall) {
  Create("TFILEFINDER", "ff");
  CallOk("ff", "FindClose");
  EXPECT_EQ(CallError("ff", "FindClose", {Int(1)}), "Function \"FindClose\" must have 0 arguments");
  CallOk("ff", "findCLOSE");
  EXPECT_FALSE(BoolOf(Get("ff", "Recursive")));
  TZuScriptXValue yes;
  ValueToXValue(Int(1), yes);
  ASSERT_EQ(x_.SetProperty("ff", "Recursive", &yes), -1);
  EXPECT_TRUE(BoolOf(Get("ff", "RECURSIVE")));
  Get("ff", "FileName");
  EXPECT_EQ(SetError("ff", "FileName", Int(1)),
            "Property \"FileName\" of class \"TFILEFINDER\" is read-only");
  EXPECT_EQ(GetError("ff", "Recursive.x"),
            "Property \"Recursive.x\" of class \"TFILEFINDER\" is write-only");
}

TEST_F(IoMain, ValuesCrossingTheBoundary) {
  // A file name record of kind 9 arrives as Empty: ToText gives "" and the
  // open fails on the empty name; a method without arguments never reads
  // the array.
  Create("TFILE", "f");
  TZuScriptXValue args[2];
  std::memset(args, 0, sizeof args);
  args[0].Kind = 9;
  args[1].Kind = xkInteger;
  TZuScriptXValue result;
  EXPECT_EQ(x_.CallFunction("f", "Open", 2, args, &result), 0);
  // ENOENT; ERROR_PATH_NOT_FOUND.
  const int emptyName = platform::ThisSystem() == platform::SystemFamily::Windows ? 3 : 2;
  EXPECT_EQ(LastError(), "Can't open file \"\". Error " + std::to_string(emptyName));
  EXPECT_EQ(x_.CallFunction("f", "Close", 0, nullptr, &result), -1);
  EXPECT_EQ(result.Kind, static_cast<uint32_t>(xkNone));
  // A mode text that is no number cannot become an Integer.
  std::string path = WriteFile("zeros.txt", std::string("ab\0cd\n", 6));
  EXPECT_EQ(CallError("f", "Open", {Txt(path.c_str()), Txt("read")}),
            "Invalid variant type conversion");
  // A text result holding a NUL is cut there.
  CallOk("f", "Open", {Txt(path.c_str()), Int(0)});
  ASSERT_EQ(x_.CallFunction("f", "ReadString", 0, nullptr, &result), -1);
  ASSERT_EQ(result.Kind, static_cast<uint32_t>(xkText));
  EXPECT_STREQ(result.Data.Text, "ab");
}

}  // namespace
}  // namespace zu::io_test
