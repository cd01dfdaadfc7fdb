// Fuzz target: the module boundary. Either one arbitrary value record is
// read with XValueToValue (a text record points at the rest of the input,
// since no reader can check a pointer) and written back, or the bytes are
// a sequence of calls of the io module's entry points with names from its
// own lists or from the input and argument records of every kind. Texts
// that could name a path outside the scratch folder lose their '/' and
// "..", so files are created, read, searched and deleted there only.
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_util.h"
#include "values/xvalue.h"
#include "zuscriptx.h"

namespace {

constexpr const char* kClasses[] = {"TFILE", "TFILEFINDER", "TKEYBOARD", "tfile", "TNONE"};
constexpr const char* kMembers[] = {
    "Open",           "Close",          "Seek",           "ReadString",
    "ReadChar",       "WriteString",    "FindFirst",      "FindNext",
    "FindClose",      "Read",           "Flush",          "EOF",
    "Name",           "Path",           "FullName",       "Size",
    "CreationTime",   "LastAccessTime", "LastWriteTime",  "Recursive",
    "FileAttributes", "FileSize",       "FileName",       "KeyDown",
    "AsciiChar",      "RepeatCount",    "VirtualKeyCode", "CtrlState",
    "DELETEFILE",     "Position"};
constexpr const char* kObjects[] = {"f", "g", "F"};

// Reads the input from the front; past its end every read gives zeros.
class Reader {
 public:
  Reader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  bool Done() const { return pos_ >= size_; }
  uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
  template <class T>
  T Raw() {
    T value{};
    const size_t n = std::min(sizeof value, size_ - std::min(pos_, size_));
    std::memcpy(&value, data_ + std::min(pos_, size_), n);
    pos_ += sizeof value;
    return value;
  }
  // A text of up to 31 bytes, made safe to use as a file name here.
  std::string Text() {
    std::string text;
    for (uint8_t n = Byte() % 32; n > 0 && !Done(); --n) {
      char c = static_cast<char>(Byte());
      if (c == '/' || c == '\0' || (c == '.' && !text.empty() && text.back() == '.')) c = '_';
      text += c;
    }
    return text;
  }
  std::string Name(const char* const* table, size_t count) {
    const uint8_t pick = Byte();
    return pick < 224 ? table[pick % count] : Text();
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

// Argument records and the texts they point to (kept until the call ends).
struct Arguments {
  std::vector<TZuScriptXValue> records;
  std::vector<std::string> texts;

  void Fill(Reader& in) {
    const int count = in.Byte() % 70;  // a few beyond the 64 the module takes
    texts.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
      TZuScriptXValue x{};
      x.Kind = in.Byte() % 7;
      if (x.Kind == xkText) {
        texts.push_back(in.Text());
        x.Data.Text = texts.back().c_str();
      } else {
        x.Data.Float = in.Raw<double>();
      }
      records.push_back(x);
    }
  }
};

void FuzzRecord(const uint8_t* data, size_t size) {
  TZuScriptXValue x{};
  std::memcpy(&x, data, std::min(sizeof x, size));
  const std::string text =
      size > sizeof x ? std::string(reinterpret_cast<const char*>(data) + sizeof x, size - sizeof x)
                      : std::string();
  if (x.Kind == xkText) x.Data.Text = (x.Data.Bytes[0] & 1) ? text.c_str() : nullptr;
  const zu::ScriptValue value = zu::XValueToValue(x);
  TZuScriptXValue back{};
  zu::ValueToXValue(value, back);
  static_cast<void>(zu::XValueToValue(back));
}

void FuzzCalls(Reader& in) {
  ZuScriptXInit();
  char buffer[ZUSCRIPTX_BUFFER_BYTES];
  ZuScriptXGetClassesList(buffer, ZUSCRIPTX_BUFFER_SIZE);
  ZuScriptXGetFunctionsList(buffer, ZUSCRIPTX_BUFFER_SIZE);
  for (int step = 0; step < 64 && !in.Done(); ++step) {
    const uint8_t op = in.Byte();
    TZuScriptXValue result{};
    const std::string object = in.Name(kObjects, std::size(kObjects));
    const std::string member = in.Name(kMembers, std::size(kMembers));
    switch (op % 6) {
      case 0:
        ZuScriptXCreateObject(in.Name(kClasses, std::size(kClasses)).c_str(), object.c_str());
        break;
      case 1:
      case 2: {
        Arguments args;
        args.Fill(in);
        const int32_t count = static_cast<int32_t>(args.records.size());
        ZuScriptXCallFunction(op % 6 == 1 ? object.c_str() : nullptr, member.c_str(), count,
                              args.records.data(), &result);
        break;
      }
      case 3:
        if (ZuScriptXGetProperty(object.c_str(), member.c_str(), &result))
          static_cast<void>(zu::XValueToValue(result));
        break;
      case 4: {
        Arguments args;
        args.Fill(in);
        if (!args.records.empty())
          ZuScriptXSetProperty(object.c_str(), member.c_str(), &args.records[0]);
        break;
      }
      default:
        ZuScriptXGetLastError(buffer, in.Byte() % 64);
        break;
    }
  }
  ZuScriptXDone();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  zu::fuzz::EnterScratchFolder();
  if (size == 0) return 0;
  if (data[0] & 1) {
    FuzzRecord(data + 1, size - 1);
  } else {
    Reader in(data + 1, size - 1);
    FuzzCalls(in);
  }
  return 0;
}
