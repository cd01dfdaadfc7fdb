// ReadTextFile, ReadWholeFile and AppendText: blocks cut at NUL, the end-of-file marks,
// standard output and the input/output error messages.
#include "support/files.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/platform.h"
#include "platform/platform_test_util.h"
#include "support/errors.h"

namespace zu {
namespace {

class FilesTest : public ::testing::Test {
 protected:
  std::string PathOf(const std::string& name) { return dir_.Path() + name; }
  std::string Write(const std::string& name, const std::string& content) {
    return dir_.File(name, content);
  }
  static std::string Read(const std::string& path) {
    return zu::testing::ScratchDir::Content(path);
  }
  // The EInOutError message AppendText raises, or "" when it raises none.
  static std::string AppendError(const std::string& path, const std::string& text) {
    try {
      AppendText(path, text);
    } catch (const EFailure& e) {
      EXPECT_EQ(e.Kind(), "EInOutError");
      return e.what();
    }
    return "";
  }
  zu::testing::ScratchDir dir_{"support_files"};
};

TEST_F(FilesTest, ReadTextFileCutsEachBlockAtItsFirstNul) {
  std::string block1 = std::string(100, 'a') + '\0' + std::string(923, 'b');  // 1024 bytes
  std::string path = Write("zeros.txt", block1 + "tail");  // "nul.*" is a device on Windows
  EXPECT_EQ(ReadTextFile(path), std::string(100, 'a') + "tail");
  EXPECT_EQ(ReadTextFile(Write("plain.txt", "x\r\ny")), "x\r\ny");
  EXPECT_EQ(ReadTextFile(Write("exact.txt", std::string(2048, 'z'))), std::string(2048, 'z'));
  EXPECT_EQ(ReadTextFile(PathOf("missing.txt")), "");
  EXPECT_EQ(ReadTextFile(dir_.Path()), "");  // a directory reads as nothing
}

TEST_F(FilesTest, ReadWholeFileKeepsEveryByteOrGivesTheErrorCode) {
  const std::string content = std::string(100, 'a') + '\0' + std::string(70000, 'b') + '\0';
  std::string text = "old";
  EXPECT_EQ(ReadWholeFile(Write("inner_zeros.txt", content), text), 0);
  EXPECT_EQ(text, content);
  EXPECT_EQ(ReadWholeFile(PathOf("missing.txt"), text), 2);
  EXPECT_EQ(text, "");
  EXPECT_NE(ReadWholeFile(dir_.Path(), text), 0);
#ifndef _WIN32
  // A file that states no size, as the kernel's files do, is read to its end.
  EXPECT_EQ(ReadWholeFile("/proc/self/status", text), 0);
  EXPECT_NE(text.find("Pid:"), std::string::npos);
#endif
}

TEST_F(FilesTest, AppendTextCreatesAndAppends) {
  std::string path = PathOf("new.txt");
  AppendText(path, "one");
  AppendText(path, "");
  AppendText(path, "two\r\n");
  EXPECT_EQ(Read(path), "onetwo\r\n");
}

TEST_F(FilesTest, AppendTextDropsOnlyTheEndOfFileMarksThatEndTheFile) {
  const struct {
    std::string before, after;
  } cases[] = {
      {std::string("text\x1A\x1A", 6), "text+"},
      // A mark followed by data is data: nothing after it is lost.
      {std::string("text\x1Ajunk", 9), std::string("text\x1Ajunk+", 10)},
      {std::string("a\x1A\0b\0\x1A", 6), std::string("a\x1A\0b\0+", 6)},
      {std::string(200, 'b') + "\x1A", std::string(200, 'b') + "+"},
      {std::string(300, '\x1A'), std::string(172, '\x1A') + "+"},  // the last 128 bytes only
  };
  for (const auto& c : cases) {
    const std::string path = Write("eof.txt", c.before);
    AppendText(path, "+");
    EXPECT_EQ(Read(path), c.after) << c.before.size();
  }
}

TEST_F(FilesTest, AppendTextToStandardOutput) {
  ::testing::internal::CaptureStdout();
  AppendText("", "hi");
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "hi");
}

TEST_F(FilesTest, AppendTextFailuresNameTheCause) {
  const bool windows = platform::ThisSystem() == platform::SystemFamily::Windows;
  // A missing folder is ENOENT on POSIX, ERROR_PATH_NOT_FOUND (3) on Windows,
  // which the runtime reports as an invalid file name.
  EXPECT_EQ(AppendError(PathOf("no/such/dir.txt"), "x"),
            windows ? "Invalid filename" : "File not found");
  EXPECT_EQ(AppendError(dir_.Path(), "x"), "File access denied");
  if (!windows) {
    EXPECT_EQ(AppendError(PathOf(std::string(300, 'n')), "x"), "Invalid filename");
  }
  if (std::filesystem::exists("/dev/full")) {
    EXPECT_EQ(AppendError("/dev/full", "x"), "Disk full");
  }
  EXPECT_EQ(AppendError(PathOf("ok.txt"), "x"), "");
}

}  // namespace
}  // namespace zu
