// TFile through the module's entry points: what the golden scripts under
// tests/scripts/io do not reach — line reads across the read buffer, writes
// mixed with read-ahead, open failures, and the property-path limits.
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

TEST_F(TFile, LineAndCharacterReads) {
  // A final LF ends the line; only the next read finds the end.
  Open(WriteFile("b.txt", "last\n"), 0);
  EXPECT_EQ(ReadString(), "last");
  EXPECT_FALSE(Eof());
  EXPECT_EQ(ReadString(), "");
  EXPECT_TRUE(Eof());
  CallOk("f", "Close");
  // CR bytes are dropped wherever they stand, LF ends the line.
  Open(WriteFile("cr.txt", "\ra\r\rbc\r\n\r\nd\r"), 0);
  EXPECT_EQ(ReadString(), "abc");
  EXPECT_EQ(ReadString(), "");
  EXPECT_EQ(ReadString(), "d");
  EXPECT_TRUE(Eof());
  CallOk("f", "Close");
  // ReadChar keeps a CR; at the end it gives the NUL character, cut.
  Open(WriteFile("c.txt", "z\r"), 0);
  EXPECT_EQ(TextOf(CallOk("f", "ReadChar")), "z");
  EXPECT_EQ(TextOf(CallOk("f", "ReadChar")), "\r");
  EXPECT_FALSE(Eof());
  EXPECT_EQ(TextOf(CallOk("f", "ReadChar")), "");
  EXPECT_TRUE(Eof());
}

TEST_F(TFile, LongLinesAndManyLinesCrossTheReadBuffer) {
  std::string big(200000, 'q');
  std::string text = big + "\r\n";
  for (int k = 0; k < 3000; ++k) text += "line " + std::to_string(k) + "\r\n";
  Open(WriteFile("big.txt", text), 0);
  EXPECT_EQ(ReadString(), big);
  int count = 0;
  while (!Eof()) {
    std::string line = ReadString();
    if (!line.empty()) {
      EXPECT_EQ(line, "line " + std::to_string(count++));
    }
  }
  EXPECT_EQ(count, 3000);
}

TEST_F(TFile, WritesAndSeeksFollowTheLogicalPosition) {
  std::string path = WriteFile("w.txt", "0123456789\nabc\n");
  Open(path, 2);
  EXPECT_EQ(TextOf(CallOk("f", "ReadChar")), "0");
  // The rest of the file was read ahead; the write still lands at 1.
  EXPECT_EQ(IntOf(CallOk("f", "WriteString", {Txt("XY")})), 2);
  EXPECT_EQ(ReadString(), "3456789");
  EXPECT_EQ(IntOf(CallOk("f", "Seek", {Int(-2), Int(1)})), 9);
  EXPECT_EQ(ReadString(), "9");
  EXPECT_EQ(IntOf(CallOk("f", "Seek", {Int(0), Int(0)})), 0);
  EXPECT_EQ(ReadString(), "0XY3456789");
  // A bad origin is refused and leaves the position alone.
  EXPECT_EQ(
      CallError("f", "Seek", {Int(0), Int(7)}),
      "Seek error " + std::to_string(platform::ErrorCode(platform::ErrorKind::InvalidArgument)));
  EXPECT_EQ(IntOf(CallOk("f", "Seek", {Int(0), Int(1)})), 11);
  CallOk("f", "Close");
  EXPECT_EQ(ReadFile(path), "0XY3456789\nabc\n");
}

TEST_F(TFile, WriteOnlyReadsNothingAndModeFlagsAreMasked) {
  std::string path = WriteFile("keep.txt", "abcdef");
  Open(path, 1);
  EXPECT_EQ(IntOf(CallOk("f", "WriteString", {Txt("")})), 0);
  EXPECT_EQ(ReadString(), "");
  EXPECT_TRUE(Eof());
  CallOk("f", "Close");
  EXPECT_EQ(ReadFile(path), "abcdef");
  Open(Dir() + "both.txt", 2 + 0x40);  // read and write, sharing 4
  CallOk("f", "WriteString", {Txt("hi\n")});
  CallOk("f", "Seek", {Int(0), Int(0)});
  EXPECT_EQ(ReadString(), "hi");
}

TEST_F(TFile, OpenFailuresAndTheClosedState) {
  std::string missing = Dir() + "missing.txt";
  EXPECT_EQ(CallError("f", "Open", {Txt(missing.c_str()), Int(0)}),
            "Can't open file \"" + missing + "\". Error 2");
  EXPECT_EQ(CallError("f", "Open", {Txt(Dir().c_str()), Int(0)}),
            "Can't open file \"" + Dir() + "\". Error " +
                std::to_string(platform::ErrorCode(platform::ErrorKind::IsDirectory)));
  EXPECT_EQ(CallError("f", "WriteString", {Txt("x")}), "File not opened");
  EXPECT_EQ(CallError("f", "Seek", {Int(0), Int(0)}), "File not opened");
  // Every property needs the open file, checked before the name is looked
  // at: a dotted path fails the same way.
  EXPECT_EQ(GetError("f", "Size.Low"), "File not opened");
  std::string path = WriteFile("o.txt", "x");
  Open(path, 0);
  EXPECT_EQ(CallError("f", "Open", {Txt("other"), Int(0)}), "File \"" + path + "\" already open");
  EXPECT_EQ(TextOf(Get("f", "fullname")), path);
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

TEST_F(TFile, PropertyPathLimits) {
  EXPECT_EQ(SetError("f", "Colour", Int(3)), "Property \"Colour\" not found in class \"TFILE\"");
  Open(WriteFile("p.txt", ""), 0);
  // Sixteen parts pass the split, seventeen do not.
  EXPECT_EQ(GetError("f", "Name.1.2.3.4.5.6.7.8.9.10.11.12.13.14.15"),
            "Property \"Name.1.2.3.4.5.6.7.8.9.10.11.12.13.14.15\" of class \"TFILE\" is "
            "write-only");
  EXPECT_EQ(GetError("f", "Name.1.2.3.4.5.6.7.8.9.10.11.12.13.14.15.16"), "Too much subproperties");
  EXPECT_EQ(GetError("f", "Name..x"), "Property \"Name..x\" of class \"TFILE\" is write-only");
}

}  // namespace
}  // namespace zu::io_test
