// Built-ins on texts: positions, substrings, words, case, replacing,
// trimming, padding and the two path splitters.
#include <cstdint>
#include <limits>
#include <string>

#include "engine/builtins/builtin_ops.h"
#include "engine/script.h"
#include "platform/path_names.h"
#include "platform/platform.h"
#include "support/text_utils.h"

namespace zu {
namespace {

ScriptValue TextResult(std::string_view s) { return ScriptValue::Text(s); }

// Lengths and positions are Integers; a text can in principle be longer than
// the Integer range, so they are capped instead of wrapping.
ScriptValue SizeResult(size_t n) {
  constexpr auto kMax = static_cast<size_t>(std::numeric_limits<int32_t>::max());
  return ScriptValue::Integer(static_cast<int32_t>(n > kMax ? kMax : n));
}

// Shared by StrPad and StrLPad. An empty pad text has no character to pad
// with, so the text comes back unchanged.
ScriptValue Pad(const BuiltinArgs& args, bool inFront) {
  const TextOf s(args[0]);
  const int32_t length = ToInteger(args[1]);
  const TextOf pad(args[2]);
  if (pad.View().empty() || length < 0 || s.View().size() >= static_cast<size_t>(length)) {
    // Unchanged: a Text argument is handed back as it is.
    return args[0].Kind() == ValueKind::Text ? args[0] : TextResult(s.View());
  }
  return TextResult(inFront ? PadLeft(s.View(), length, pad.View()[0])
                            : PadRight(s.View(), length, pad.View()[0]));
}

}  // namespace

ScriptValue BuiltinStrPos(TZuScript&, const BuiltinArgs& args) {
  const TextOf s(args[0]);
  const TextOf sub(args[1]);
  if (s.View().empty() || sub.View().empty()) return ScriptValue::Integer(0);
  const size_t at = s.View().find(sub.View());
  return at == std::string_view::npos ? ScriptValue::Integer(0) : SizeResult(at + 1);
}

// A start below 1 counts as 1 without reducing the count.
ScriptValue BuiltinSubstr(TZuScript&, const BuiltinArgs& args) {
  // A view of the text: reading one character of a long text costs no copy
  // of it.
  const TextOf text(args[0]);
  const std::string_view s = text.View();
  int64_t start = ToInteger(args[1]);
  const int32_t count = ToInteger(args[2]);
  if (start < 1) start = 1;
  if (s.empty() || count < 0 || start > static_cast<int64_t>(s.size())) return TextResult("");
  return TextResult(s.substr(static_cast<size_t>(start - 1), static_cast<size_t>(count)));
}

ScriptValue BuiltinStrWord(TZuScript&, const BuiltinArgs& args) {
  const int32_t n = ToInteger(args[0]);
  const TextOf s(args[1]);
  const TextOf delimiters(args[2]);
  if (n < 1) return TextResult("");
  return TextResult(FieldView(n, s.View(), delimiters.View()));
}

ScriptValue BuiltinStrLen(TZuScript&, const BuiltinArgs& args) {
  return SizeResult(TextOf(args[0]).View().size());
}

ScriptValue BuiltinStrUpper(TZuScript&, const BuiltinArgs& args) {
  return TextResult(platform::UpperText(ToText(args[0])));
}

ScriptValue BuiltinStrLower(TZuScript&, const BuiltinArgs& args) {
  return TextResult(platform::LowerText(ToText(args[0])));
}

ScriptValue BuiltinStrRepl(TZuScript&, const BuiltinArgs& args) {
  const TextOf s(args[0]);
  const TextOf old(args[1]);
  const TextOf replacement(args[2]);
  return TextResult(ReplaceAllText(s.View(), old.View(), replacement.View()));
}

ScriptValue BuiltinTrim(TZuScript&, const BuiltinArgs& args) {
  return TextResult(TrimView(TextOf(args[0]).View()));
}

ScriptValue BuiltinStrPad(TZuScript&, const BuiltinArgs& args) {
  return Pad(args, false);
}

ScriptValue BuiltinStrLPad(TZuScript&, const BuiltinArgs& args) {
  return Pad(args, true);
}

ScriptValue BuiltinExtractFilePath(TZuScript&, const BuiltinArgs& args) {
  return TextResult(platform::ExtractFilePath(ToText(args[0])));
}

ScriptValue BuiltinExtractFileName(TZuScript&, const BuiltinArgs& args) {
  return TextResult(platform::ExtractFileName(ToText(args[0])));
}

}  // namespace zu
