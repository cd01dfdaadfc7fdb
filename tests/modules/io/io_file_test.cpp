// TFile through the module's entry points: modes, line and character
// reads, writes mixed with reads, Seek, the properties and every message.
#include <cmath>

#include "modules/io/io_module_fixture.h"
#include "platform/date_codec.h"

namespace zu::io_test {
namespace {

class TFile : public IoModuleTest {
 protected:
  void SetUp() override {
    IoModuleTest::SetUp();
    Create("TFILE", "f");
  }
  void Open(const std::string& path, int mode) {
    CallOk("f", "Open", {Txt(path.c_str()), Int(mode)});
  }
  std::string ReadString() { return TextOf(CallOk("f", "ReadString")); }
  bool Eof() { return BoolOf(Get("f", "EOF")); }
};

TEST_F(TFile, ReadStringLineRules) {
  Open(WriteFile("a.txt", "a\r\nb"), 0);
  EXPECT_EQ(ReadString(), "a");
  EXPECT_FALSE(Eof());
  EXPECT_EQ(ReadString(), "b");
  EXPECT_TRUE(Eof());
  EXPECT_EQ(ReadString(), "");
  EXPECT_TRUE(Eof());
  CallOk("f", "Close");

  Open(WriteFile("b.txt", "x\ry\n\n\r\nlast\n"), 0);
  EXPECT_EQ(ReadString(), "xy");
  EXPECT_EQ(ReadString(), "");
  EXPECT_EQ(ReadString(), "");
  EXPECT_EQ(ReadString(), "last");
  EXPECT_FALSE(Eof());  // the final LF ended the line; the next read finds the end
  EXPECT_EQ(ReadString(), "");
  EXPECT_TRUE(Eof());
}

TEST_F(TFile, LongLinesAndManyLinesCrossTheReadBuffer) {
  std::string big(200000, 'q');
  std::string text = big + "\r\n";
  for (int k = 0; k < 30000; ++k) text += "line " + std::to_string(k) + "\r\n";
  Open(WriteFile("big.txt", text), 0);
  EXPECT_EQ(ReadString(), big);
  int count = 0;
  std::string line;
  while (!Eof()) {
    line = ReadString();
    if (!line.empty()) {
      EXPECT_EQ(line, "line " + std::to_string(count++));
    }
  }
  EXPECT_EQ(count, 30000);
}

TEST_F(TFile, ReadCharAndEndOfFile) {
  Open(WriteFile("c.txt", "z\r"), 0);
  EXPECT_EQ(TextOf(CallOk("f", "ReadChar")), "z");
  EXPECT_EQ(TextOf(CallOk("f", "readchar")), "\r");
  EXPECT_FALSE(Eof());
  EXPECT_EQ(TextOf(CallOk("f", "ReadChar")), "");  // the NUL character, cut
  EXPECT_TRUE(Eof());
}

TEST_F(TFile, WritesAndSeeksFollowTheLogicalPosition) {
  std::string path = WriteFile("w.txt", "0123456789\nabc\n");
  Open(path, 2);
  EXPECT_EQ(TextOf(CallOk("f", "ReadChar")), "0");
  // The rest of the file was read ahead; the write still lands at 1.
  EXPECT_EQ(IntOf(CallOk("f", "WriteString", {Txt("XY")})), 2);
  EXPECT_EQ(ReadString(), "3456789");
  EXPECT_EQ(IntOf(CallOk("f", "Seek", {Int(0), Int(1)})), 11);
  EXPECT_EQ(IntOf(CallOk("f", "Seek", {Int(-2), Int(1)})), 9);
  EXPECT_EQ(ReadString(), "9");
  EXPECT_EQ(IntOf(CallOk("f", "Seek", {Int(0), Int(2)})), 15);
  EXPECT_EQ(IntOf(Get("f", "Size")), 15);
  EXPECT_EQ(IntOf(CallOk("f", "Seek", {Int(0), Int(0)})), 0);
  EXPECT_EQ(ReadString(), "0XY3456789");
  CallOk("f", "Close");
  EXPECT_EQ(ReadFile(path), "0XY3456789\nabc\n");
}

TEST_F(TFile, SeekErrors) {
  Open(WriteFile("s.txt", "abc"), 0);
  EXPECT_EQ(CallError("f", "Seek", {Int(-1), Int(0)}), "Seek error 22");
  EXPECT_EQ(CallError("f", "Seek", {Int(0), Int(7)}), "Seek error 22");
  EXPECT_EQ(IntOf(CallOk("f", "Seek", {Int(0), Int(1)})), 0);  // unmoved
}

TEST_F(TFile, WriteModeKeepsContentsAndCreatesMissingFiles) {
  std::string path = WriteFile("keep.txt", "abcdef");
  Open(path, 1);
  EXPECT_EQ(IntOf(CallOk("f", "WriteString", {Txt("XY")})), 2);
  // A write-only file cannot be read: the read delivers nothing.
  EXPECT_EQ(ReadString(), "");
  EXPECT_TRUE(Eof());
  CallOk("f", "Close");
  EXPECT_EQ(ReadFile(path), "XYcdef");

  std::string fresh = Dir() + "fresh.txt";
  Open(fresh, 1);
  EXPECT_EQ(IntOf(CallOk("f", "WriteString", {Txt("")})), 0);
  EXPECT_EQ(IntOf(CallOk("f", "WriteString", {Txt("new")})), 3);
  CallOk("f", "Close");
  EXPECT_EQ(ReadFile(fresh), "new");

  std::string both = Dir() + "both.txt";
  Open(both, 2 + 0x40);  // read and write, sharing 4
  CallOk("f", "WriteString", {Txt("hi\n")});
  CallOk("f", "Seek", {Int(0), Int(0)});
  EXPECT_EQ(ReadString(), "hi");
}

TEST_F(TFile, OpenFailures) {
  std::string missing = Dir() + "missing.txt";
  EXPECT_EQ(CallError("f", "Open", {Txt(missing.c_str()), Int(0)}),
            "Can't open file \"" + missing + "\". Error 2");
  // The failed name stays; the object is still closed.
  EXPECT_EQ(GetError("f", "FullName"), "File not opened");
  EXPECT_EQ(CallError("f", "Open", {Txt(Dir().c_str()), Int(0)}),
            "Can't open file \"" + Dir() + "\". Error 21");

  std::string path = WriteFile("o.txt", "x");
  Open(path, 0);
  EXPECT_EQ(CallError("f", "Open", {Txt("other"), Int(0)}), "File \"" + path + "\" already open");
  EXPECT_EQ(TextOf(Get("f", "FullName")), path);
}

TEST_F(TFile, NothingButOpenAndCloseWithoutAFile) {
  CallOk("f", "Close");  // closing a closed file is fine
  for (const char* fn : {"ReadString", "ReadChar"}) {
    EXPECT_EQ(CallError("f", fn), "File not opened");
  }
  EXPECT_EQ(CallError("f", "WriteString", {Txt("x")}), "File not opened");
  EXPECT_EQ(CallError("f", "Seek", {Int(0), Int(0)}), "File not opened");
  for (const char* prop : {"Name", "Path", "FullName", "EOF", "Size", "CreationTime",
                           "LastAccessTime", "LastWriteTime"}) {
    EXPECT_EQ(GetError("f", prop), "File not opened") << prop;
  }
}

TEST_F(TFile, NameParts) {
  std::string path = WriteFile("sub/name.ext", "");
  Open(path, 0);
  EXPECT_EQ(TextOf(Get("f", "Name")), "name.ext");
  EXPECT_EQ(TextOf(Get("f", "path")), Dir() + "sub/");
  EXPECT_EQ(TextOf(Get("f", "FULLNAME")), path);
  EXPECT_EQ(IntOf(Get("f", "Size")), 0);
  CallOk("f", "Close");
  EXPECT_EQ(GetError("f", "Name"), "File not opened");
}

TEST_F(TFile, TimesAreLocalDayCounts) {
  Open(WriteFile("t.txt", "x"), 0);
  double now = platform::CalendarToDays(platform::LocalNow());
  for (const char* prop : {"CreationTime", "LastAccessTime", "LastWriteTime"}) {
    ScriptValue v = Get("f", prop);
    ASSERT_EQ(v.Kind(), ValueKind::Float) << prop;
    EXPECT_LT(std::fabs(v.DoublePayload() - now), 60.0 / 86400) << prop;
  }
}

TEST_F(TFile, ToolkitMessages) {
  EXPECT_EQ(CallError("f", "open", {Txt("x")}), "Function \"open\" must have 2 arguments");
  EXPECT_EQ(CallError("f", "Rewind"), "Function \"Rewind\" not found in class \"TFILE\"");
  EXPECT_EQ(GetError("f", "Colour"), "Property \"Colour\" not found in class \"TFILE\"");
  EXPECT_EQ(SetError("f", "Size", Int(3)), "Property \"Size\" of class \"TFILE\" is read-only");
  EXPECT_EQ(SetError("f", "Colour", Int(3)), "Property \"Colour\" not found in class \"TFILE\"");
  Open(WriteFile("p.txt", ""), 0);
  EXPECT_EQ(GetError("f", "Name.Length"),
            "Property \"Name.Length\" of class \"TFILE\" is write-only");
  // Sixteen parts pass the split, seventeen do not.
  EXPECT_EQ(GetError("f", "Name.1.2.3.4.5.6.7.8.9.10.11.12.13.14.15"),
            "Property \"Name.1.2.3.4.5.6.7.8.9.10.11.12.13.14.15\" of class \"TFILE\" is "
            "write-only");
  EXPECT_EQ(GetError("f", "Name.1.2.3.4.5.6.7.8.9.10.11.12.13.14.15.16"), "Too much subproperties");
  EXPECT_EQ(GetError("f", "Name..x"), "Property \"Name..x\" of class \"TFILE\" is write-only");
}

}  // namespace
}  // namespace zu::io_test
