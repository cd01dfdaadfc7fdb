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
  // A cached program stays in its entry until the next Get; one too long to
  // keep is handed to `uncached`, which holds it for the caller.
  const TRegExprProgram& Get(std::string_view pattern, int modifiers,
                             std::shared_ptr<const TRegExprProgram>& uncached) {
    ++clock_;
    // The entry of the previous call first: a script's loop asks for the
    // same pattern again and again.
    if (Matches(entries_[last_], pattern, modifiers)) {
      entries_[last_].Used = clock_;
      return *entries_[last_].Program;
    }
    for (size_t k = 0; k < entries_.size(); ++k) {
      if (Matches(entries_[k], pattern, modifiers)) {
        entries_[k].Used = clock_;
        last_ = k;
        return *entries_[k].Program;
      }
    }
    auto program = regexpr_internal::CompileProgram(pattern, modifiers);
    if (pattern.size() > kMaxCachedPattern) {
      uncached = std::move(program);
      return *uncached;
    }
    size_t victim = 0;
    for (size_t k = 0; k < entries_.size(); ++k)
      if (!entries_[k].Program || entries_[k].Used < entries_[victim].Used) victim = k;
    Entry& e = entries_[victim];
    e.Pattern.assign(pattern);
    e.Modifiers = modifiers;
    e.Program = std::move(program);
    e.Used = clock_;
    last_ = victim;
    return *e.Program;
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
  static bool Matches(const Entry& e, std::string_view pattern, int modifiers) {
    return e.Program && e.Modifiers == modifiers && e.Pattern == pattern;
  }

  std::array<Entry, kCacheEntries> entries_;
  size_t last_ = 0;
  unsigned long long clock_ = 0;
  std::unique_ptr<MatchScratch, MatchScratchDeleter> scratch_;
};

TRegExprCache::TRegExprCache() : impl_(std::make_unique<Impl>()) {}
TRegExprCache::~TRegExprCache() = default;

namespace {

std::string_view UpToZero(std::string_view text) { return text.substr(0, text.find('\0')); }

// The program for a one-shot operation, with the errors a fresh object gives:
// an empty pattern leaves it without a program, so the search fails with 1003.
const TRegExprProgram& ProgramFor(TRegExprCache::Impl& cache, std::string_view pattern,
                                  std::shared_ptr<const TRegExprProgram>& uncached) {
  pattern = UpToZero(pattern);
  if (pattern.empty()) regexpr_internal::RaiseRegExprError(1003, 0);
  return cache.Get(pattern, kDefaultModifiers, uncached);
}

}  // namespace

bool RegExprMatch(TRegExprCache& cache, std::string_view pattern, std::string_view text) {
  std::shared_ptr<const TRegExprProgram> uncached;
  const TRegExprProgram& program = ProgramFor(*cache.impl_, pattern, uncached);
  MatchSlots slots;
  return regexpr_internal::SearchProgram(program, UpToZero(text), 0, slots,
                                         cache.impl_->Scratch());
}

std::string RegExprReplace(TRegExprCache& cache, std::string_view pattern, std::string_view text,
                           std::string_view replacement) {
  std::shared_ptr<const TRegExprProgram> uncached;
  const TRegExprProgram& program = ProgramFor(*cache.impl_, pattern, uncached);
  std::string_view input = UpToZero(text);
  MatchScratch& scratch = cache.impl_->Scratch();
  std::string result;
  size_t previous = 0;
  MatchSlots slots;
  size_t start = 0;
  while (start <= input.size() &&
         regexpr_internal::SearchProgram(program, input, start, slots, scratch)) {
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
