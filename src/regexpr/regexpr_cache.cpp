// The one-shot operations behind the script built-ins RegExpr and
// ReplaceRegExpr. Scripts call them with the same pattern on every line, so
// compiled programs are kept in the caller's cache (one per script run);
// since a program is immutable and a function of (pattern, modifiers) alone,
// results are the same as with a fresh TRegExpr.
#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "regexpr/program.h"
#include "regexpr/regexpr.h"

namespace zu {

using regexpr_internal::MatchScratch;
using regexpr_internal::MatchScratchDeleter;
using regexpr_internal::MatchSlots;
using regexpr_internal::TRegExprProgram;

namespace {

// Patterns remembered; the least recently used one makes room.
constexpr size_t kCacheEntries = 16;
// Longer patterns are compiled each time rather than kept.
constexpr size_t kMaxCachedPattern = 4096;

}  // namespace

struct TRegExprCache::Impl {
  // The program of `pattern`; compiles it (raising its errors) when absent.
  std::shared_ptr<const TRegExprProgram> Get(std::string_view pattern, int modifiers) {
    ++clock_;
    for (Entry& e : entries_) {
      if (e.Program && e.Modifiers == modifiers && e.Pattern == pattern) {
        e.Used = clock_;
        return e.Program;
      }
    }
    auto program = regexpr_internal::CompileProgram(pattern, modifiers);
    if (pattern.size() <= kMaxCachedPattern) {
      Entry* victim = &entries_[0];
      for (Entry& e : entries_)
        if (!e.Program || e.Used < victim->Used) victim = &e;
      victim->Pattern.assign(pattern);
      victim->Modifiers = modifiers;
      victim->Program = program;
      victim->Used = clock_;
    }
    return program;
  }

  MatchScratch& Scratch() {
    if (!scratch_) scratch_ = regexpr_internal::NewMatchScratch();
    return *scratch_;
  }

  struct Entry {
    std::string Pattern;
    int Modifiers = 0;
    std::shared_ptr<const TRegExprProgram> Program;
    unsigned long long Used = 0;
  };
  std::array<Entry, kCacheEntries> entries_;
  unsigned long long clock_ = 0;
  std::unique_ptr<MatchScratch, MatchScratchDeleter> scratch_;
};

TRegExprCache::TRegExprCache() : impl_(std::make_unique<Impl>()) {}
TRegExprCache::~TRegExprCache() = default;

namespace {

std::string_view UpToZero(std::string_view text) { return text.substr(0, text.find('\0')); }

// The program for a one-shot operation, with the errors a fresh object gives:
// an empty pattern leaves it without a program, so the search fails with 1003.
std::shared_ptr<const TRegExprProgram> ProgramFor(TRegExprCache::Impl& cache,
                                                  std::string_view pattern) {
  pattern = UpToZero(pattern);
  if (pattern.empty()) regexpr_internal::RaiseRegExprError(1003, 0);
  return cache.Get(pattern, kDefaultModifiers);
}

}  // namespace

bool RegExprMatch(TRegExprCache& cache, std::string_view pattern, std::string_view text) {
  auto program = ProgramFor(*cache.impl_, pattern);
  MatchSlots slots;
  return regexpr_internal::SearchProgram(*program, UpToZero(text), 0, slots,
                                         cache.impl_->Scratch());
}

std::string RegExprReplace(TRegExprCache& cache, std::string_view pattern, std::string_view text,
                           std::string_view replacement) {
  auto program = ProgramFor(*cache.impl_, pattern);
  std::string_view input = UpToZero(text);
  MatchScratch& scratch = cache.impl_->Scratch();
  std::string result;
  size_t previous = 0;
  MatchSlots slots;
  size_t start = 0;
  while (start <= input.size() &&
         regexpr_internal::SearchProgram(*program, input, start, slots, scratch)) {
    size_t matchStart = static_cast<size_t>(slots.Starts[0]);
    size_t matchEnd = static_cast<size_t>(slots.Ends[0]);
    result.append(text.substr(previous, matchStart - previous));
    result.append(replacement);
    previous = matchEnd;
    // The next search starts after the match, one further on after an empty one.
    start = matchEnd + (matchEnd == matchStart ? 1 : 0);
  }
  // From the full text: what follows a 0 byte is kept as it was.
  result.append(text.substr(previous));
  return result;
}

}  // namespace zu
