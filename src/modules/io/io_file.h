// TFile: byte-oriented access to one file at a time (class "TFILE").
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "modules/io/zuscriptx_tools.h"
#include "platform/platform.h"

namespace zu::io {

// Day count in local time (days since 1899-12-30, time as the fraction) of
// a UTC file time; the value the time properties hand to scripts.
double FileTimeToDays(const platform::FileTime& t);

// The script class TFile. Reads go through a private buffer so that line
// and character reads do not cost one system call per byte; the file's
// logical position is the one scripts see in Seek, WriteString and EOF.
class TZuScriptX_File : public TZuScriptX_TableObject<TZuScriptX_File> {
 public:
  TZuScriptX_File(std::string className, std::string objectName);
  ~TZuScriptX_File() override;

  // Every property describes the open file: with none open, any name the
  // base check accepts fails with "File not opened", dotted paths included.
  bool GetProperty(const std::string& name, ScriptValue& value) override;

 private:
  static constexpr size_t kBufferSize = 64 * 1024;
  static const Method kMethods[];
  static const Property kProperties[];

  // False with "File not opened" when no file is open; every method but
  // Open and Close and every property require one.
  bool RequireOpen();

  bool Open(const std::vector<ScriptValue>& values);
  void Close();
  bool Seek(const std::vector<ScriptValue>& values, ScriptValue& result);
  // The next line, valid until the next operation on the file.
  std::string_view ReadString();
  std::string ReadChar();
  int32_t WriteString(const std::string& text);
  // The platform's information on the open file, for Size and the times;
  // false with "Can't get file info. Error CODE".
  bool Info(platform::FileInfo& info);
  // The getter of one time of the file information, for the property table.
  template <platform::FileTime platform::FileInfo::*Time>
  static bool InfoTime(TZuScriptX_File& file, ScriptValue& value);
  // The next byte, or -1 at the end of the file (or when reading fails).
  int NextByte();
  // Moves the system position back to the logical one and drops what was
  // read ahead; done before every operation other than a read.
  bool DropReadAhead();

  platform::File file_;  // closed: Handle -1
  std::string FileName;
  bool EndOfFile = false;
  std::unique_ptr<char[]> buffer_;
  size_t bufferPos_ = 0;
  size_t bufferLen_ = 0;
  std::string line_;  // a line that spans refills or holds CR bytes
};

}  // namespace zu::io
