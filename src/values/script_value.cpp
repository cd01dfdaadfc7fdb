// Construction of script values and their conversions: the direct cases are
// computed here, the others go through the platform's coercion service.
#include "values/script_value.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <new>

#include "platform/platform.h"
#include "support/errors.h"

namespace zu {

ScriptValue ScriptValue::Float(double v) {
  ScriptValue r;
  r.kind_ = ValueKind::Float;
  r.payload_.real = v;
  return r;
}

ScriptValue ScriptValue::DateTime(double days) {
  ScriptValue r;
  r.kind_ = ValueKind::DateTime;
  r.payload_.real = days;
  return r;
}

namespace {

// The longest text a value holds (its length is 32 bits).
constexpr size_t kMaxTextLength = UINT32_MAX;

TextStorage* NewStorage(size_t capacity) {
  if (capacity > kMaxTextLength) throw std::bad_alloc();
  void* block = ::operator new(sizeof(TextStorage) + capacity + 1);
  auto* storage = static_cast<TextStorage*>(block);
  storage->Refs = 1;
  storage->Used = 0;
  storage->Capacity = capacity;
  storage->Chars()[0] = '\0';
  return storage;
}

}  // namespace

void ScriptValue::FreeStorage(TextStorage* storage) noexcept { ::operator delete(storage); }

namespace {

// The 256 texts of one character, shared by every value that holds one:
// Substr(t, i, 1), Chr and the digits of Str make them by the hundred
// thousand. Their count of references starts so high that it never drops
// to zero, so they are never freed; they are full (Used == Capacity), so
// nothing is ever appended to them in place.
struct SingleCharStorage {
  TextStorage Header;
  char Chars[2];
};
static_assert(offsetof(SingleCharStorage, Chars) == sizeof(TextStorage));

constexpr uint32_t kPinnedRefs = uint32_t{1} << 31;

SingleCharStorage* MakeSingleChars() {
  static SingleCharStorage table[256];
  for (int c = 0; c < 256; ++c) {
    table[c].Header = TextStorage{kPinnedRefs, 1, 1};
    table[c].Chars[0] = static_cast<char>(c);
    table[c].Chars[1] = '\0';
  }
  return table;
}

TextStorage* SingleChar(unsigned char c) {
  static SingleCharStorage* const table = MakeSingleChars();
  return &table[c].Header;
}

}  // namespace

ScriptValue ScriptValue::Text(std::string_view v) {
  ScriptValue r;
  r.kind_ = ValueKind::Text;
  if (v.empty()) return r;
  if (v.size() == 1) {
    r.payload_.text = SingleChar(static_cast<unsigned char>(v[0]));
    r.length_ = 1;
    return r;
  }
  TextStorage* storage = NewStorage(v.size());
  std::memcpy(storage->Chars(), v.data(), v.size());
  storage->Used = v.size();
  storage->Chars()[v.size()] = '\0';
  r.payload_.text = storage;
  r.length_ = static_cast<uint32_t>(v.size());
  return r;
}

ScriptValue ScriptValue::Concatenate(const ScriptValue& left, const ScriptValue& right) {
  if (right.length_ == 0) return left;
  if (left.length_ == 0) return right;
  const size_t length = size_t{left.length_} + right.length_;
  if (length > kMaxTextLength) throw std::bad_alloc();
  TextStorage* storage = left.payload_.text;
  ScriptValue r;
  r.kind_ = ValueKind::Text;
  r.length_ = static_cast<uint32_t>(length);
  if (storage->Used == left.length_ && storage->Capacity - storage->Used >= right.length_) {
    // Nothing reads past its own length, so the bytes after Used are free:
    // X = X + e in a loop costs only the appended bytes. The right text may
    // be a view of the same storage; it lies below Used, apart from the
    // bytes written here.
    std::memcpy(storage->Chars() + storage->Used, right.payload_.text->Chars(), right.length_);
    storage->Used = length;
    storage->Chars()[length] = '\0';
    ++storage->Refs;
    r.payload_.text = storage;
    return r;
  }
  // A text whose left part ended at its storage's end is probably being
  // built up: leave room so that the next appends happen in place (growth
  // by half keeps building a text linear).
  const bool growing = storage->Used == left.length_;
  const size_t capacity =
      growing ? std::min(kMaxTextLength, std::max<size_t>(length + length / 2, 32)) : length;
  TextStorage* joined = NewStorage(capacity);
  std::memcpy(joined->Chars(), storage->Chars(), left.length_);
  std::memcpy(joined->Chars() + left.length_, right.payload_.text->Chars(), right.length_);
  joined->Used = length;
  joined->Chars()[length] = '\0';
  r.payload_.text = joined;
  return r;
}

const char* ScriptValue::TextCStr() const {
  if (payload_.text == nullptr) return "";
  char* chars = payload_.text->Chars();
  if (chars[length_] == '\0') return chars;
  // A shorter view of a storage that grew after it: this value takes a
  // copy of its own, which ends with a NUL. The text is the same, so the
  // value stays what it was.
  auto* self = const_cast<ScriptValue*>(this);
  ScriptValue copy = Text(TextPayload());
  std::swap(self->payload_, copy.payload_);
  return payload_.text->Chars();
}

namespace {

platform::Variant ToVariant(const ScriptValue& v) {
  platform::Variant out;
  out.Kind = static_cast<uint16_t>(v.Kind());
  switch (v.Kind()) {
    case ValueKind::Integer:
      out.Int = v.IntegerPayload();
      break;
    case ValueKind::Float:
    case ValueKind::DateTime:
      out.Double = v.DoublePayload();
      break;
    case ValueKind::Boolean:
      out.Bool = v.BoolPayload();
      break;
    case ValueKind::Text:
      out.Text = std::string(v.TextPayload());
      break;
    case ValueKind::Empty:
      break;
  }
  return out;
}

platform::Variant Coerce(const ScriptValue& v, ValueKind target) {
  platform::Variant out;
  if (!platform::ChangeType(ToVariant(v), static_cast<uint16_t>(target), out))
    throw EFailure(kVariantError, "Invalid variant type conversion");
  return out;
}

}  // namespace

int32_t ToInteger(const ScriptValue& v) {
  switch (v.Kind()) {
    case ValueKind::Integer:
      return v.IntegerPayload();
    case ValueKind::Float: {
      // Ties to even; the range is checked on the rounded value.
      const double d = v.DoublePayload();
      double r = std::floor(d);
      const double diff = d - r;
      if (diff > 0.5 || (diff == 0.5 && std::fmod(r, 2.0) != 0)) r += 1;
      if (!(r >= -2147483648.0 && r <= 2147483647.0))
        throw EFailure(kInvalidOp, "Invalid floating point operation");
      return static_cast<int32_t>(r);
    }
    default:
      return Coerce(v, ValueKind::Integer).Int;
  }
}

double ToFloat(const ScriptValue& v) {
  switch (v.Kind()) {
    case ValueKind::Float:
    case ValueKind::DateTime:
      return v.DoublePayload();
    case ValueKind::Integer:
      return v.IntegerPayload();
    default:
      return Coerce(v, ValueKind::Float).Double;
  }
}

bool CoerceToBoolean(const ScriptValue& v) {
  if (v.Kind() == ValueKind::Boolean) return v.BoolPayload() != 0;
  return Coerce(v, ValueKind::Boolean).Bool != 0;
}

std::string ToText(const ScriptValue& v) {
  switch (v.Kind()) {
    case ValueKind::Text:
      return std::string(v.TextPayload());
    case ValueKind::Integer: {
      // Every Print of a number comes here: plain decimal digits, which is
      // what the coercion service writes for an Integer.
      char buf[16];
      const auto res = std::to_chars(buf, buf + sizeof buf, v.IntegerPayload());
      return std::string(buf, res.ptr);
    }
    default:
      return std::move(Coerce(v, ValueKind::Text).Text);
  }
}

double ToDateTime(const ScriptValue& v) {
  if (v.Kind() == ValueKind::DateTime) return v.DoublePayload();
  return Coerce(v, ValueKind::DateTime).Double;
}

ScriptValue NotValue(const ScriptValue& v) {
  if (v.Kind() != ValueKind::Boolean) return ScriptValue::Boolean(false);
  return ScriptValue::Boolean(v.BoolPayload() == 0);
}

}  // namespace zu
