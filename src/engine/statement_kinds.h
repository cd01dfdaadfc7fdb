// Statement kinds and their keywords, declared once: the kinds of the
// statement records, the keyword table of the loader and the kind names of
// the statement dump are all expanded from the list below.
#pragma once

#include <cstdint>

namespace zu {

// Bits of a keyword code above the kind in its low byte.
inline constexpr uint32_t kBlockBit = 0x100;         // a block must follow
inline constexpr uint32_t kExecutableBit = 0x10000;  // the statement becomes a record

// Every keyword kind, in the order the keyword table is searched:
// KIND(name, kind, bits) declares the kind and its keyword (the name);
// ALSO(text, name) adds another keyword for the same kind. Func, Include and
// Import are carried out while loading and leave no record; the block bit of
// Include is never consulted.
#define ZU_STATEMENT_KINDS(KIND, ALSO)        \
  KIND(Const, 1, kExecutableBit)              \
  KIND(Var, 2, kExecutableBit)                \
  KIND(Array, 3, kExecutableBit)              \
  KIND(If, 4, kExecutableBit | kBlockBit)     \
  KIND(Else, 5, kExecutableBit | kBlockBit)   \
  KIND(ElseIf, 6, kExecutableBit | kBlockBit) \
  KIND(For, 7, kExecutableBit | kBlockBit)    \
  KIND(While, 8, kExecutableBit | kBlockBit)  \
  KIND(Break, 9, kExecutableBit)              \
  KIND(Continue, 10, kExecutableBit)          \
  KIND(Read, 13, kExecutableBit)              \
  KIND(Write, 14, kExecutableBit)             \
  ALSO("Print", Write)                        \
  ALSO("?", Write)                            \
  KIND(Delete, 15, kExecutableBit)            \
  KIND(Exit, 11, kExecutableBit)              \
  KIND(Stop, 12, kExecutableBit)              \
  KIND(Func, 16, kBlockBit)                   \
  KIND(Include, 17, kBlockBit)                \
  KIND(Import, 18, 0)                         \
  KIND(Object, 19, kExecutableBit)

// For expansions that want one row per kind (the enum, the kind names).
#define ZU_STATEMENT_NO_ALSO(text, name)

// The kind of a statement record: 0 for an expression or assignment,
// otherwise the kind of its keyword (kStmtConst, kStmtIf, ...).
enum StatementKind : uint8_t {
  kStmtExpression = 0,
#define ZU_STATEMENT_ENUM(name, value, bits) kStmt##name = value,
  ZU_STATEMENT_KINDS(ZU_STATEMENT_ENUM, ZU_STATEMENT_NO_ALSO)
#undef ZU_STATEMENT_ENUM
};

// The keyword code of a kind: the kind with its block and executable bits.
constexpr uint32_t KeywordCode(uint8_t kind) {
  switch (kind) {
#define ZU_STATEMENT_CODE(name, value, bits) \
  case kStmt##name:                          \
    return (bits) | (value);
    ZU_STATEMENT_KINDS(ZU_STATEMENT_CODE, ZU_STATEMENT_NO_ALSO)
#undef ZU_STATEMENT_CODE
    default:
      return kind;
  }
}

}  // namespace zu
