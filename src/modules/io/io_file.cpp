// TFile: open modes, line and character reads through a read-ahead buffer,
// writes, Seek and the file's names, size and times.
#include "modules/io/io_file.h"

#include <cstdint>
#include <cstring>
#include <limits>

#include "platform/date_codec.h"
#include "platform/path_names.h"

namespace zu::io {

namespace {

// Sharing part of a mode: values 0 and 1 share nothing; values above 4 are
// taken as no sharing too (the safe reading of an undefined value).
platform::FileShare ShareOfMode(int32_t mode) {
  switch ((static_cast<uint32_t>(mode) & 0xF0) >> 4) {
    case 2:
      return platform::FileShare::Read;
    case 3:
      return platform::FileShare::Write;
    case 4:
      return platform::FileShare::ReadWrite;
    default:
      return platform::FileShare::None;
  }
}

// Access part of a mode; the undefined value 3 is taken as read and write.
platform::FileAccess AccessOfMode(int32_t mode) {
  switch (mode & 3) {
    case 0:
      return platform::FileAccess::Read;
    case 1:
      return platform::FileAccess::Write;
    default:
      return platform::FileAccess::ReadWrite;
  }
}

}  // namespace

double FileTimeToDays(const platform::FileTime& t) {
  return platform::CalendarToDays(platform::FileTimeToLocal(t));
}

// The functions, registered in this order; every one but Open and Close
// needs an open file.
const TZuScriptX_File::Method TZuScriptX_File::kMethods[] = {
    {"Open", 2,
     [](TZuScriptX_File& f, const Values& values, ScriptValue&) { return f.Open(values); }},
    {"Close", 0,
     [](TZuScriptX_File& f, const Values&, ScriptValue&) {
       f.Close();
       return true;
     }},
    {"Seek", 2,
     [](TZuScriptX_File& f, const Values& values, ScriptValue& result) {
       return f.RequireOpen() && f.Seek(values, result);
     }},
    {"ReadString", 0,
     [](TZuScriptX_File& f, const Values&, ScriptValue&) {
       if (!f.RequireOpen()) return false;
       TextResult(f.ReadString());
       return true;
     }},
    {"ReadChar", 0,
     [](TZuScriptX_File& f, const Values&, ScriptValue& result) {
       if (!f.RequireOpen()) return false;
       result = ScriptValue::Text(f.ReadChar());
       return true;
     }},
    {"WriteString", 1,
     [](TZuScriptX_File& f, const Values& values, ScriptValue& result) {
       if (!f.RequireOpen()) return false;
       result = ScriptValue::Integer(f.WriteString(ToText(values[0])));
       return true;
     }},
};

template <platform::FileTime platform::FileInfo::*Time>
bool TZuScriptX_File::InfoTime(TZuScriptX_File& file, ScriptValue& value) {
  platform::FileInfo info;
  if (!file.Info(info)) return false;
  value = ScriptValue::Float(FileTimeToDays(info.*Time));
  return true;
}

// The properties, all read-only; Size and the times come from the
// platform's file information, fetched for each read.
const TZuScriptX_File::Property TZuScriptX_File::kProperties[] = {
    {"CreationTime", InfoTime<&platform::FileInfo::Creation>, nullptr},
    {"EOF",
     [](TZuScriptX_File& f, ScriptValue& value) {
       value = ScriptValue::Boolean(f.EndOfFile);
       return true;
     },
     nullptr},
    {"LastAccessTime", InfoTime<&platform::FileInfo::LastAccess>, nullptr},
    {"LastWriteTime", InfoTime<&platform::FileInfo::LastWrite>, nullptr},
    {"Name",
     [](TZuScriptX_File& f, ScriptValue& value) {
       value = ScriptValue::Text(platform::ExtractFileName(f.FileName));
       return true;
     },
     nullptr},
    {"Path",
     [](TZuScriptX_File& f, ScriptValue& value) {
       value = ScriptValue::Text(platform::ExtractFilePath(f.FileName));
       return true;
     },
     nullptr},
    {"FullName",
     [](TZuScriptX_File& f, ScriptValue& value) {
       value = ScriptValue::Text(f.FileName);
       return true;
     },
     nullptr},
    {"Size",
     [](TZuScriptX_File& f, ScriptValue& value) {
       platform::FileInfo info;
       if (!f.Info(info)) return false;
       value = ScriptValue::Integer(static_cast<int32_t>(static_cast<uint32_t>(info.Size)));
       return true;
     },
     nullptr},
};

TZuScriptX_File::TZuScriptX_File(std::string className, std::string objectName)
    : TZuScriptX_TableObject(std::move(className), std::move(objectName), kMethods, kProperties) {}

TZuScriptX_File::~TZuScriptX_File() = default;  // file_ closes itself

bool TZuScriptX_File::RequireOpen() { return file_.IsOpen() || Fail("File not opened"); }

bool TZuScriptX_File::Open(const std::vector<ScriptValue>& values) {
  if (file_.IsOpen()) return Fail("File \"" + FileName + "\" already open");
  FileName = ToText(values[0]);
  int32_t mode = ToInteger(values[1]);
  EndOfFile = false;
  bufferPos_ = bufferLen_ = 0;
  if (platform::DirectoryExists(FileName)) {
    // Opening a directory fails, as it does on Windows; POSIX would open it
    // and then fail every read and write.
    platform::SetLastError(platform::ErrorCode(platform::ErrorKind::IsDirectory));
  } else if (AccessOfMode(mode) == platform::FileAccess::Read) {
    file_ = platform::File::Open(FileName, platform::FileAccess::Read, ShareOfMode(mode),
                                 platform::FileDisposition::OpenExisting);
  } else if (platform::FileExists(FileName)) {
    file_ = platform::File::Open(FileName, AccessOfMode(mode), ShareOfMode(mode),
                                 platform::FileDisposition::OpenExisting);
  } else {
    file_ =
        platform::File::Open(FileName, platform::FileAccess::ReadWrite, platform::FileShare::None,
                             platform::FileDisposition::CreateAlways);
  }
  if (!file_.IsOpen()) {
    return Fail("Can't open file \"" + FileName + "\". Error " +
                std::to_string(platform::LastError()));
  }
  return true;
}

void TZuScriptX_File::Close() {
  if (!file_.IsOpen()) return;
  file_.Close();
  FileName.clear();
  EndOfFile = false;
  bufferPos_ = bufferLen_ = 0;
}

bool TZuScriptX_File::DropReadAhead() {
  size_t ahead = bufferLen_ - bufferPos_;
  bufferPos_ = bufferLen_ = 0;
  if (ahead == 0) return true;
  return file_.Seek(-static_cast<int64_t>(ahead), 1) >= 0;
}

bool TZuScriptX_File::Seek(const std::vector<ScriptValue>& values, ScriptValue& result) {
  int32_t offset = ToInteger(values[0]);
  int32_t origin = ToInteger(values[1]);
  DropReadAhead();
  if (origin < 0 || origin > 2) {
    platform::SetLastError(platform::ErrorCode(platform::ErrorKind::InvalidArgument));
    return Fail("Seek error " + std::to_string(platform::LastError()));
  }
  int64_t before = file_.Seek(0, 1);
  int64_t position = file_.Seek(offset, origin);
  if (position < 0) return Fail("Seek error " + std::to_string(platform::LastError()));
  if (position > std::numeric_limits<int32_t>::max()) {
    // Positions of 2 GiB and more do not fit the script's Integer: refuse
    // them and leave the position where it was.
    if (before >= 0) file_.Seek(before, 0);
    platform::SetLastError(platform::ErrorCode(platform::ErrorKind::Overflow));
    return Fail("Seek error " + std::to_string(platform::LastError()));
  }
  result = ScriptValue::Integer(static_cast<int32_t>(position));
  return true;
}

int TZuScriptX_File::NextByte() {
  if (bufferPos_ == bufferLen_) {
    if (!buffer_) buffer_ = std::make_unique<char[]>(kBufferSize);
    bufferPos_ = bufferLen_ = 0;
    long got = file_.Read(buffer_.get(), kBufferSize);
    if (got <= 0) return -1;
    bufferLen_ = static_cast<size_t>(got);
  }
  return static_cast<unsigned char>(buffer_[bufferPos_++]);
}

std::string_view TZuScriptX_File::ReadString() {
  // The usual line lies whole in the buffer and holds no CR: it is handed
  // out as a view of the buffer, without being copied here.
  if (bufferPos_ < bufferLen_) {
    const char* start = buffer_.get() + bufferPos_;
    const size_t available = bufferLen_ - bufferPos_;
    const void* lf = std::memchr(start, '\n', available);
    if (lf != nullptr) {
      const size_t take = static_cast<size_t>(static_cast<const char*>(lf) - start);
      if (std::memchr(start, '\r', take) == nullptr) {
        bufferPos_ += take + 1;
        return std::string_view(start, take);
      }
    }
  }
  line_.clear();
  for (;;) {
    if (bufferPos_ == bufferLen_) {
      int c = NextByte();  // refills the buffer
      if (c < 0) {
        EndOfFile = true;
        break;
      }
      --bufferPos_;
    }
    // Take everything up to the next LF in one step, copying the runs
    // between CR bytes (which are dropped wherever they stand) whole.
    const char* start = buffer_.get() + bufferPos_;
    size_t available = bufferLen_ - bufferPos_;
    const void* lf = std::memchr(start, '\n', available);
    size_t take =
        lf != nullptr ? static_cast<size_t>(static_cast<const char*>(lf) - start) : available;
    for (const char *run = start, *end = start + take; run != end;) {
      const void* cr = std::memchr(run, '\r', static_cast<size_t>(end - run));
      if (cr == nullptr) {
        line_.append(run, static_cast<size_t>(end - run));
        break;
      }
      line_.append(run, static_cast<size_t>(static_cast<const char*>(cr) - run));
      run = static_cast<const char*>(cr) + 1;
    }
    bufferPos_ += take;
    if (lf != nullptr) {
      ++bufferPos_;
      break;
    }
  }
  return line_;
}

std::string TZuScriptX_File::ReadChar() {
  int c = NextByte();
  if (c < 0) {
    EndOfFile = true;
    c = 0;
  }
  return std::string(1, static_cast<char>(c));
}

int32_t TZuScriptX_File::WriteString(const std::string& text) {
  DropReadAhead();
  long written = file_.Write(text.data(), text.size());
  if (written < 0) return -1;
  return static_cast<int32_t>(written);
}

bool TZuScriptX_File::Info(platform::FileInfo& info) {
  if (file_.Info(info)) return true;
  return Fail("Can't get file info. Error " + std::to_string(platform::LastError()));
}

bool TZuScriptX_File::GetProperty(const std::string& name, ScriptValue& value) {
  bool passed = false;
  const Property* property = LookUpProperty(name, passed);
  if (!passed) return false;
  return RequireOpen() && ReadProperty(name, property, value);
}

}  // namespace zu::io
