// The expression tokenizer: character classes, quote and parenthesis groups.
#include "engine/evaluator/tokenizer.h"

#include <array>

#include "engine/evaluator/compiled.h"
#include "engine/script.h"
#include "platform/platform.h"

namespace zu {

namespace {

enum CharClass : uint8_t { kSkipped, kOperand, kOperator, kInvalid };

constexpr std::array<uint8_t, 256> MakeClassTable() {
  std::array<uint8_t, 256> t{};
  for (int c = 0; c < 256; ++c) {
    uint8_t k = kInvalid;
    if (c <= 32 || c == '{' || c == '}') {
      k = kSkipped;
    } else if (c == '#' || c == '.' || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') ||
               (c >= 'a' && c <= 'z') || c == '_' || c == '[' || c == ']' || c >= 128 || c == '"' ||
               c == '\'' || c == '(') {
      k = kOperand;
    } else if (c == '%' || c == '&' || c == '*' || c == '+' || c == '-' || c == '/' || c == '<' ||
               c == '=' || c == '>' || c == '^' || c == '|') {
      k = kOperator;
    }
    t[static_cast<size_t>(c)] = k;
  }
  return t;
}

constexpr std::array<uint8_t, 256> kClasses = MakeClassTable();

}  // namespace

std::string_view TokenList::Get(size_t index) const {
  const Span& s = At(index);
  return s.Owned ? std::string_view(scratch_).substr(s.Begin, s.Length)
                 : text_.substr(s.Begin, s.Length);
}

void TokenList::Reset(std::string_view text) {
  text_ = text;
  count_ = 0;
  more_.clear();
  scratch_.clear();
}

void TokenList::Append(size_t i, bool newToken) {
  if (newToken || count_ == 0) {
    if (count_ >= kInline) more_.emplace_back();
    Span& s = At(count_++);
    s = Span{static_cast<uint32_t>(i), 1, false};
    return;
  }
  Span& s = At(count_ - 1);
  if (!s.Owned) {
    if (s.Begin + s.Length == i) {
      ++s.Length;
      return;
    }
    // A dropped character inside the token: from here on it is a copy.
    const auto begin = static_cast<uint32_t>(scratch_.size());
    scratch_.append(text_.substr(s.Begin, s.Length));
    s.Begin = begin;
    s.Owned = true;
  }
  scratch_ += text_[i];
  ++s.Length;
}

void TokenList::AppendRange(size_t from, size_t to) {
  if (from >= to) return;
  Span& s = At(count_ - 1);
  if (!s.Owned && s.Begin + s.Length == from) {
    s.Length += static_cast<uint32_t>(to - from);
    return;
  }
  for (size_t i = from; i < to; ++i) Append(i, false);
}

void TokenizeExpression(std::string_view text, TokenList& tokens, const TZuSourceText* source,
                        size_t base) {
  tokens.Reset(text);
  const char decimalSeparator = platform::Locale().DecimalSeparator;
  uint8_t previous = kOperand;
  bool any = false;
  size_t i = 0;
  const size_t len = text.size();
  while (i < len) {
    const auto c = static_cast<unsigned char>(text[i]);
    uint8_t cls = kClasses[c];
    if (cls == kSkipped) {
      ++i;
      continue;
    }
    if (cls == kInvalid) {
      if (static_cast<char>(c) != decimalSeparator)
        throw EZuScriptError(nullptr, std::string("Invalid character \"") + static_cast<char>(c) +
                                          "\" in expression \"" + std::string(text) + "\"");
      cls = kOperand;
    }
    tokens.Append(i, any && cls != previous);
    any = true;
    previous = cls;
    ++i;
    if (c == '"' || c == '\'') {
      // A quote group runs to the next unescaped copy of its quote: a
      // backslash escapes it, two backslashes do not.
      const size_t open = i - 1;
      while (i < len) {
        tokens.Append(i, false);
        const bool closes =
            text[i] == static_cast<char>(c) &&
            !(i - 1 > open && text[i - 1] == '\\' && !(i - 2 > open && text[i - 2] == '\\'));
        ++i;
        if (closes) break;
      }
    } else if (c == '(') {
      // Quotes inside a parenthesis group are not tracked.
      if (source != nullptr) {
        // The group ends at the matching ")", or with the text.
        const size_t close = source->MatchingClose(base + i - 1);
        const size_t end = close == std::string_view::npos || close - base >= len ? len : close - base + 1;
        tokens.AppendRange(i, end);
        i = end;
        continue;
      }
      int depth = 0;
      while (i < len) {
        tokens.Append(i, false);
        const char g = text[i++];
        if (g == '(') {
          ++depth;
        } else if (g == ')') {
          if (depth == 0) break;
          --depth;
        }
      }
    }
  }
}

std::vector<std::string> TZuScript::Tokenize(std::string_view text) {
  TokenList tokens;
  TokenizeExpression(text, tokens);
  std::vector<std::string> result;
  result.reserve(tokens.Count());
  for (size_t k = 0; k < tokens.Count(); ++k) result.emplace_back(tokens.Get(k));
  return result;
}

}  // namespace zu
