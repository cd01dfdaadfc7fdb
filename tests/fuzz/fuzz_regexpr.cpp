// Fuzz target: the regular expression compiler and matcher. The first byte
// sets the modifiers (i, r, s), the pattern runs up to the first NUL and the
// rest is the input searched: every match in turn, the groups, a literal
// replacement and the program listing.
#include "fuzz_util.h"
#include "regexpr/regexpr.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zu;
  if (size == 0) return 0;
  const uint8_t modifiers = data[0];
  const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
  const size_t nul = rest.find('\0');
  const std::string_view pattern = rest.substr(0, nul);
  const std::string_view input = nul == std::string_view::npos ? "" : rest.substr(nul + 1);
  fuzz::RunGuarded([&] {
    TRegExpr re;
    re.SetModifier(kModifierI, (modifiers & kModifierI) != 0);
    re.SetModifier(kModifierR, (modifiers & kModifierR) != 0);
    re.SetModifier(kModifierS, (modifiers & kModifierS) != 0);
    re.SetExpression(pattern);
    static_cast<void>(re.Dump());
    // Each ExecNext moves past the last match, so the walk ends; the bound
    // only keeps one input's work small.
    int found = 0;
    for (bool more = re.Exec(input); more && found < 10000; more = re.ExecNext()) {
      ++found;
      for (int n = 0; n <= 9; ++n) static_cast<void>(re.Match(n));
    }
    static_cast<void>(re.ReplaceAll(input, "<\\1>"));
  });
  return 0;
}
