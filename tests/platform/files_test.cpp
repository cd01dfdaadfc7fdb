// The file service: dispositions, reading, writing, seeking, information,
// existence tests and the directory listing.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>

#include "platform/platform.h"
#include "platform/platform_test_util.h"

namespace zu::platform {
namespace {

using zu::testing::ScratchDir;

TEST(Files, OpenExistingOnMissingFileFailsWithCode2) {
  ScratchDir dir("files_missing");
  SetLastError(0);
  File f = File::Open(dir.Path() + "nope.txt", FileAccess::Read, FileShare::ReadWrite,
                      FileDisposition::OpenExisting);
  EXPECT_FALSE(f.IsOpen());
  EXPECT_EQ(f.Handle(), -1);
  EXPECT_EQ(LastError(), 2);
  EXPECT_EQ(f.Read(nullptr, 0), -1);
  EXPECT_FALSE(FileExists(dir.Path() + "nope.txt"));
}

TEST(Files, DispositionsCreateTruncateAndKeep) {
  ScratchDir dir("files_disp");
  std::string path = dir.File("a.txt", "old content");
  {
    File f = File::Open(path, FileAccess::ReadWrite, FileShare::None, FileDisposition::OpenAlways);
    ASSERT_TRUE(f.IsOpen());
    char buf[3];
    EXPECT_EQ(f.Read(buf, 3), 3);
    EXPECT_EQ(std::string(buf, 3), "old");
  }
  EXPECT_EQ(ScratchDir::Content(path), "old content");  // OpenAlways keeps the data
  {
    File f = File::Open(path, FileAccess::Write, FileShare::None, FileDisposition::CreateAlways);
    ASSERT_TRUE(f.IsOpen());
    EXPECT_EQ(f.Write("new", 3), 3);
  }
  EXPECT_EQ(ScratchDir::Content(path), "new");
  std::string created = dir.Path() + "created.txt";
  {
    File f = File::Open(created, FileAccess::Write, FileShare::Read, FileDisposition::OpenAlways);
    ASSERT_TRUE(f.IsOpen());
  }
  EXPECT_TRUE(FileExists(created));
  EXPECT_EQ(std::filesystem::file_size(created), 0u);
}

TEST(Files, SeekTruncateAndInfo) {
  ScratchDir dir("files_seek");
  std::string path = dir.File("s.bin", "0123456789");
  File f =
      File::Open(path, FileAccess::ReadWrite, FileShare::ReadWrite, FileDisposition::OpenExisting);
  ASSERT_TRUE(f.IsOpen());
  EXPECT_EQ(f.Seek(0, 2), 10);
  EXPECT_EQ(f.Seek(-4, 1), 6);
  char buf[8] = {};
  EXPECT_EQ(f.Read(buf, 8), 4);
  EXPECT_EQ(std::string(buf, 4), "6789");
  EXPECT_EQ(f.Read(buf, 8), 0);  // end of file
  EXPECT_EQ(f.Seek(0, 7), -1);   // no such origin
  EXPECT_TRUE(f.Truncate(5));
  FileInfo info;
  ASSERT_TRUE(f.Info(info));
  EXPECT_EQ(info.Size, 5u);
  EXPECT_EQ(info.Attributes, kAttrArchive);
  EXPECT_GT(info.LastWrite.Seconds, 0);
  EXPECT_GT(info.Creation.Seconds, 0);
  EXPECT_TRUE(f.Close());
  EXPECT_FALSE(f.IsOpen());
}

TEST(Files, MoveTransfersOwnership) {
  ScratchDir dir("files_move");
  std::string path = dir.File("m.txt", "x");
  File a = File::Open(path, FileAccess::Read, FileShare::Read, FileDisposition::OpenExisting);
  ASSERT_TRUE(a.IsOpen());
  File b = std::move(a);
  EXPECT_FALSE(a.IsOpen());
  EXPECT_TRUE(b.IsOpen());
  char c;
  EXPECT_EQ(b.Read(&c, 1), 1);
}

TEST(Files, DirectoryIsNoFile) {
  ScratchDir dir("files_dir");
  File f = File::Open(dir.Path(), FileAccess::Read, FileShare::Read, FileDisposition::OpenExisting);
  EXPECT_FALSE(f.IsOpen());
  EXPECT_FALSE(FileExists(dir.Path()));
  EXPECT_TRUE(DirectoryExists(dir.Path()));
  EXPECT_FALSE(RemoveFile(dir.Path() + "missing"));
  EXPECT_EQ(LastError(), 2);
  std::string deep = dir.Path() + "a/b/c";
  EXPECT_TRUE(CreateDirectories(deep));
  EXPECT_TRUE(DirectoryExists(deep));
  EXPECT_TRUE(CreateDirectories(deep));  // existing is fine
}

TEST(DirSearch, ListsEntriesWithAttributesButNoDotEntries) {
  ScratchDir dir("dirsearch");
  dir.File("plain.txt", "abc");
  dir.File(".hidden", "");
  std::string ro = dir.File("readonly.txt", "");
  std::filesystem::create_directory(dir.Path() + "sub");
  std::filesystem::permissions(
      ro, std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
  std::map<std::string, DirEntry> seen;
  DirSearch search;
  DirEntry e;
  ASSERT_TRUE(search.Start(dir.Path(), e));
  do {
    // The kind is there before the entry is described.
    EXPECT_EQ(e.Attributes & kAttrDirectory, e.Name == "sub" ? kAttrDirectory : 0u) << e.Name;
    search.Describe(e);
    EXPECT_TRUE(e.Described);
    seen[e.Name] = e;
  } while (search.Next(e));
  ASSERT_EQ(seen.size(), 4u);
  EXPECT_EQ(seen.count("."), 0u);
  EXPECT_EQ(seen.count(".."), 0u);
  EXPECT_EQ(seen["plain.txt"].Attributes, kAttrArchive);
  EXPECT_EQ(seen["plain.txt"].Size, 3u);
  EXPECT_EQ(seen[".hidden"].Attributes, kAttrArchive | kAttrHidden);
  EXPECT_EQ(seen["sub"].Attributes, kAttrDirectory);
  // On POSIX the read-only bit follows what the user may do, and root may
  // write anything; on Windows it is the file's own attribute.
  bool mayWrite =
      ThisSystem() == SystemFamily::Posix &&
      File::Open(ro, FileAccess::Write, FileShare::None, FileDisposition::OpenExisting).IsOpen();
  EXPECT_EQ(seen["readonly.txt"].Attributes,
            mayWrite ? kAttrArchive : kAttrArchive | kAttrReadOnly);
  EXPECT_GT(seen["plain.txt"].LastWrite.Seconds, 0);
}

// A link carries 1024 and the kind of what it points to; one that points
// nowhere is a file.
TEST(DirSearch, SymbolicLinksCarryTheReparseBit) {
  if (ThisSystem() == SystemFamily::Windows)
    GTEST_SKIP() << "a link needs a privilege on Windows; the system sets the bit itself";
  ScratchDir dir("dirsearch_links");
  dir.File("target.txt", "12345");
  std::filesystem::create_directory(dir.Path() + "folder");
  std::filesystem::create_symlink("target.txt", dir.Path() + "to_file");
  std::filesystem::create_directory_symlink("folder", dir.Path() + "to_folder");
  std::filesystem::create_symlink("nowhere", dir.Path() + "dangling");
  std::map<std::string, DirEntry> seen;
  DirSearch search;
  DirEntry e;
  ASSERT_TRUE(search.Start(dir.Path(), e));
  do {
    seen[e.Name] = e;
  } while (search.Next(e));
  ASSERT_EQ(seen.size(), 5u);
  EXPECT_EQ(seen["to_file"].Attributes, kAttrArchive | kAttrReparsePoint);
  EXPECT_EQ(seen["to_file"].Size, 5u);
  EXPECT_EQ(seen["to_folder"].Attributes, kAttrDirectory | kAttrReparsePoint);
  EXPECT_EQ(seen["dangling"].Attributes, kAttrArchive | kAttrReparsePoint);
  EXPECT_EQ(seen["folder"].Attributes, kAttrDirectory);
}

TEST(DirSearch, EmptyOrMissingDirectoryGivesNothing) {
  ScratchDir dir("dirsearch_empty");
  DirSearch search;
  DirEntry e;
  EXPECT_FALSE(search.Start(dir.Path(), e));
  EXPECT_FALSE(search.IsOpen());
  EXPECT_FALSE(search.Start(dir.Path() + "missing/", e));
  // The system's code for a missing directory: ENOENT, ERROR_PATH_NOT_FOUND.
  EXPECT_EQ(LastError(), ThisSystem() == SystemFamily::Windows ? 3 : 2);
  EXPECT_FALSE(search.Next(e));
}

}  // namespace
}  // namespace zu::platform
