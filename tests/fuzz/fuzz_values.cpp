// Fuzz target: literals, the strict number parsers, the escape decoder and
// the coercion service, and the operators on the values they give. The
// first byte picks the operation, the rest is its text (two texts are cut
// at the first byte 0xFF).
#include <cstring>

#include "fuzz_util.h"
#include "support/numbers.h"
#include "support/text_utils.h"
#include "values/script_value.h"

namespace {

using zu::ScriptValue;

constexpr int kBases[] = {2, 8, 10, 16};
constexpr const char* kOperators[] = {"+", "-",  "*", "/",  "%",  "&",  "|",  "^",  "<<", ">>",
                                      ">", ">=", "<", "<=", "==", "<>", "||", "&&", "=>"};

// Every conversion of a value, each of which may fail on its own.
void ConvertAll(const ScriptValue& v) {
  using namespace zu;
  const auto attempt = [](auto&& fn) {
    try {
      fn();
    } catch (const EFailure&) {
    }
  };
  attempt([&] { static_cast<void>(ToInteger(v)); });
  attempt([&] { static_cast<void>(ToFloat(v)); });
  attempt([&] { static_cast<void>(ToBoolean(v)); });
  attempt([&] { static_cast<void>(ToText(v)); });
  attempt([&] {
    // A day count the service gives must format back and read again.
    const double days = ToDateTime(v);
    static_cast<void>(ToText(ScriptValue::DateTime(days)));
  });
}

// A value made from text: a literal when it is one, else the text itself.
ScriptValue ValueOf(std::string_view text) {
  if (zu::IsLiteralText(text)) return zu::LiteralValue(text);
  return ScriptValue::Text(std::string(text));
}

template <class T>
T Payload(std::string_view text) {
  T value{};
  std::memcpy(&value, text.data(), std::min(sizeof value, text.size()));
  return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zu;
  if (size == 0) return 0;
  const uint8_t choice = data[0];
  const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
  fuzz::RunGuarded([&] {
    switch (choice % 7) {
      case 0:
        if (IsLiteralText(text)) ConvertAll(LiteralValue(text));
        break;
      case 1:
        static_cast<void>(ParseNumber(text));
        break;
      case 2:
        static_cast<void>(ParseInteger(text));
        break;
      case 3:
        ConvertAll(ScriptValue::Text(std::string(text)));
        break;
      case 4:
        ConvertAll(ScriptValue::Float(Payload<double>(text)));
        ConvertAll(ScriptValue::DateTime(Payload<double>(text)));
        ConvertAll(ScriptValue::Integer(Payload<int32_t>(text)));
        ConvertAll(ScriptValue::Boolean(Payload<int16_t>(text) != 0));
        break;
      case 5: {
        const size_t cut = text.find('\xFF');
        const std::string_view left = text.substr(0, cut);
        const std::string_view right = cut == std::string_view::npos ? "" : text.substr(cut + 1);
        const char* op = kOperators[(choice / 7) % std::size(kOperators)];
        ConvertAll(ApplyOperator(ValueOf(left), op, ValueOf(right)));
        break;
      }
      default:
        static_cast<void>(DecodeEscapes(text));
        static_cast<void>(TextToInt(text, kBases[(choice / 7) % std::size(kBases)]));
        static_cast<void>(TextToFraction(text));
        break;
    }
  });
  return 0;
}
