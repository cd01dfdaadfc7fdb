// The value operations, comparison and the expression operator.
#include <gtest/gtest.h>

#include "values/script_value.h"
#include "values/value_test_util.h"

namespace zu {
namespace {

using namespace zu::testing;

ScriptValue Op(const ScriptValue& l, const char* op, const ScriptValue& r) {
  return ApplyOperator(l, op, r);
}

TEST(Operations, TextAndNumbersMix) {
  EXPECT_EQ("Text 12", Show(Op(T("1"), "+", T("2"))));
  EXPECT_EQ("Float 3", Show(Op(T("1"), "+", I(2))));
  EXPECT_EQ("Float 3", Show(Op(I(1), "+", T("2"))));
  EXPECT_EQ("Float -1", Show(Op(T("1"), "-", T("2"))));
  EXPECT_EQ("Integer 2", Show(Op(T("6"), "&", T("3"))));
  EXPECT_EQ("Float 6", Show(Op(T("2"), "*", T("3"))));
  EXPECT_FAILURE(Op(T("a"), "+", I(1)), kVariantError, "Invalid variant type conversion");
}

TEST(Operations, IntegerArithmeticOverflowsToFloat) {
  EXPECT_EQ("Integer 5", Show(Op(I(2), "+", I(3))));
  EXPECT_EQ("Float 2147483648", Show(Op(I(2147483647), "+", I(1))));
  EXPECT_EQ("Float -2147483649", Show(Op(I(-2147483647), "-", I(2))));
  EXPECT_EQ("Float 4294967296", Show(Op(I(65536), "*", I(65536))));
  EXPECT_EQ("Integer -2147483648", Show(Op(I(-2147483647), "-", I(1))));
  EXPECT_EQ("Float 3.5", Show(Op(I(7), "/", I(2))));
  EXPECT_EQ("Float 2", Show(Op(I(6), "/", I(3))));
  // Integer with Boolean stays integer: true is -1.
  EXPECT_EQ("Integer 4", Show(Op(I(5), "+", B(true))));
}

TEST(Operations, RemainderAndDivisionFailures) {
  EXPECT_EQ("Integer 1", Show(Op(I(7), "%", I(-3))));
  EXPECT_EQ("Integer -1", Show(Op(I(-7), "%", I(3))));
  EXPECT_EQ("Integer 0", Show(Op(I(INT32_MIN), "%", I(-1))));
  EXPECT_FAILURE(Op(I(5), "%", I(0)), kZeroDivide, "Division by zero");
  EXPECT_FAILURE(Op(I(5), "/", I(0)), kZeroDivide, "Floating point division by zero");
  EXPECT_FAILURE(Op(I(0), "/", I(0)), kInvalidOp, "Invalid floating point operation");
  EXPECT_FAILURE(Op(F(1e308), "*", F(10)), kOverflow, "Floating point overflow");
  EXPECT_FAILURE(Op(F(-1e308), "-", F(1e308)), kOverflow, "Floating point overflow");
  // Too small for a double: silently 0 or a denormal.
  EXPECT_EQ("Float 0", Show(Op(F(1e-308), "*", F(1e-308))));
}

TEST(Operations, ShiftsAndBitsUseIntegersRoundedHalfToEven) {
  EXPECT_EQ("Integer 2", Show(Op(I(1), "<<", I(33))));
  EXPECT_EQ("Integer 15", Show(Op(I(-1), ">>", I(28))));
  EXPECT_EQ("Integer -2147483648", Show(Op(I(1), "<<", I(31))));
  EXPECT_EQ("Integer 2", Show(Op(F(5.5), "&", I(3))));
  EXPECT_EQ("Integer 4", Show(Op(F(4.5), "&", I(7))));
  EXPECT_EQ("Integer 6", Show(Op(I(5), "^", I(3))));
  EXPECT_EQ("Integer 7", Show(Op(I(5), "|", I(3))));
  EXPECT_EQ("Integer 5", Show(Op(I(5), "&", B(true))));
  EXPECT_FAILURE(Op(F(3e9), "&", I(1)), kInvalidOp, "Invalid floating point operation");
}

TEST(Operations, Booleans) {
  EXPECT_EQ("Boolean 0", Show(Op(B(true), "&", B(false))));
  EXPECT_EQ("Boolean -1", Show(Op(B(true), "|", B(false))));
  EXPECT_EQ("Boolean -1", Show(Op(B(true), "^", B(false))));
  EXPECT_EQ("Float -2", Show(Op(B(true), "+", B(true))));
  EXPECT_EQ("Integer -1", Show(Op(B(true), "%", I(2))));
  // Text with a Boolean is handled as Boolean.
  EXPECT_EQ("Boolean -1", Show(Op(T("true"), "&", B(true))));
  EXPECT_EQ("Boolean 0", NotValue(B(true)).BoolPayload() == 0 ? "Boolean 0" : "wrong");
  EXPECT_EQ("Boolean -1", Show(NotValue(ScriptValue::BooleanPayload(0))));
  EXPECT_EQ("Boolean 0", Show(NotValue(ScriptValue::BooleanPayload(5))));
  EXPECT_EQ("Boolean 0", Show(NotValue(I(0))));
}

TEST(Operations, Dates) {
  EXPECT_EQ("DateTime 46363.75", Show(Op(D(46362.75), "+", I(1))));
  EXPECT_EQ("DateTime 46363.75", Show(Op(I(1), "+", D(46362.75))));
  EXPECT_EQ("Float 1.5", Show(Op(D(46364.25), "-", D(46362.75))));
  EXPECT_EQ("DateTime 46361.75", Show(Op(D(46362.75), "-", I(1))));
  EXPECT_EQ("Float 92725.5", Show(Op(D(46362.75), "*", I(2))));
  EXPECT_EQ("Integer 1", Show(Op(D(46363), "%", I(2))));
}

TEST(Operations, Comparison) {
  EXPECT_EQ("Boolean -1", Show(Op(T("B"), "<", T("a"))));
  EXPECT_EQ("Boolean -1", Show(Op(T("ab"), "<", T("abc"))));
  EXPECT_EQ("Boolean 0", Show(Op(T("10"), "<", I(9))));
  EXPECT_EQ("Boolean -1", Show(Op(T("10"), "<", T("9"))));
  EXPECT_EQ("Boolean -1", Show(Op(T("\x80"), ">", T("z"))));  // unsigned bytes
  EXPECT_EQ("Boolean -1", Show(Op(T(std::string("a\0b", 3)), ">", T("a"))));
  EXPECT_FAILURE(Op(T("x"), "==", I(1)), kVariantError, "Invalid variant type conversion");
  EXPECT_EQ("Boolean -1", Show(Op(B(true), "==", I(-1))));
  EXPECT_EQ("Boolean 0", Show(Op(B(true), "==", I(1))));
  EXPECT_EQ("Boolean -1", Show(Op(F(1.0), "==", I(1))));
  EXPECT_EQ("Boolean -1", Show(Op(B(false), "<", B(true))));
  EXPECT_EQ("Boolean -1", Show(Op(D(2), ">=", F(2))));
  EXPECT_EQ("Boolean -1", Show(Op(I(1), "<>", I(2))));
  EXPECT_EQ("Boolean -1", Show(Op(I(2), "<=", I(2))));
  EXPECT_EQ(-1, CompareValues(I(-5), F(-4.5)));
  EXPECT_FAILURE(CompareValues(E(), I(1)), kVariantError, "Invalid variant operation");
}

TEST(Operations, LogicalOperatorsCompareWithTrue) {
  EXPECT_EQ("Boolean 0", Show(Op(I(1), "||", I(0))));
  EXPECT_EQ("Boolean -1", Show(Op(B(true), "||", I(0))));
  EXPECT_EQ("Boolean -1", Show(Op(I(-1), "&&", I(-1))));
  EXPECT_EQ("Boolean 0", Show(Op(B(false), "&&", B(true))));
  EXPECT_EQ("Boolean -1", Show(Op(T("TRUE"), "||", B(false))));
  // The left operand decides before the right one is compared.
  EXPECT_EQ("Boolean -1", Show(Op(B(true), "||", T("junk"))));
  EXPECT_EQ("Boolean 0", Show(Op(B(false), "&&", T("junk"))));
  EXPECT_FAILURE(Op(T("junk"), "||", B(true)), kVariantError, "Invalid variant type conversion");
}

TEST(Operations, EmptyRuleAndUnknownOperators) {
  EXPECT_EQ("Integer 5", Show(Op(E(), "+", I(5))));
  EXPECT_EQ("Integer 0", Show(Op(E(), "==", I(0))));
  EXPECT_EQ("Boolean 0", Show(Op(E(), "&&", B(false))));
  EXPECT_EQ("Empty", Show(Op(E(), "==", E())));
  EXPECT_EQ("Text a", Show(Op(T("a"), "nonsense", E())));
  EXPECT_SCRIPT_ERROR(Op(I(1), "=", I(1)), nullptr, "Invalid operator \"=\"");
  EXPECT_SCRIPT_ERROR(Op(I(1), "!=", I(1)), nullptr, "Invalid operator \"!=\"");
  EXPECT_SCRIPT_ERROR(Op(I(1), "", I(1)), nullptr, "Invalid operator \"\"");
  // The operations themselves have no Empty rule.
  EXPECT_FAILURE(AddValues(E(), I(1)), kVariantError, "Invalid variant operation");
  EXPECT_FAILURE(ModValues(I(1), E()), kVariantError, "Invalid variant operation");
}

TEST(Operations, FloatArithmeticRoundsOnceFromExtendedPrecision) {
  EXPECT_EQ("Float 0.30000000000000004", Show(Op(F(0.1), "+", F(0.2))));
  EXPECT_EQ("Float 0.33333333333333331", Show(Op(I(1), "/", I(3))));
  // 2^53 + 1 is exact at extended precision and rounds to even once stored.
  EXPECT_EQ("Float 9007199254740992", Show(Op(F(9007199254740992.0), "+", I(1))));
}

TEST(Operations, FailedOperationLeavesOperandsUnchanged) {
  const ScriptValue l = T("abc"), r = I(2);
  EXPECT_THROW(Op(l, "*", r), EFailure);
  EXPECT_EQ("Text abc", Show(l));
  EXPECT_EQ("Integer 2", Show(r));
}

}  // namespace
}  // namespace zu
