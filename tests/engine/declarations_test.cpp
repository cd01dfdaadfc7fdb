// Var, Const, Array and Object statements with their messages and limits.
#include <gtest/gtest.h>

#include "engine_test_util.h"

namespace zu {
namespace {

using testing::RunText;
using testing::VarText;

TEST(Declarations, VarAndConst) {
  auto out = RunText("Var a, b = 1, c = \"x,y\", d = 2 == 3, e == 4; Const k = 9;");
  ASSERT_FALSE(out.Failed) << out.Message;
  EXPECT_TRUE(out.Script->FindVar("a")->Value.IsEmpty());
  EXPECT_EQ("1", VarText(out, "b"));
  EXPECT_EQ("x,y", VarText(out, "c"));
  EXPECT_EQ("2", VarText(out, "d"));
  EXPECT_EQ("4", VarText(out, "e"));
  EXPECT_TRUE(out.Script->FindVar("k")->IsConstant);
  EXPECT_SCRIPT_ERROR("Var a;\nVar A;", "Variable or constant \"A\" already defined", 2, 1);
  EXPECT_SCRIPT_ERROR("Const c;", "Constant \"c\" must have initial expression", 1, 1);
  EXPECT_SCRIPT_ERROR("Const c = 1; c = 2;", "Value can't be assign to constant \"c\"", 1, 14);
  EXPECT_SCRIPT_ERROR("Var result;", "Variable or constant \"result\" already defined", 1, 1);
}

TEST(Declarations, ArraysAndInitializers) {
  auto out = RunText("n = 2; Array a[n + 1] = (1, 2, 3) junk, b[2] = (7), c[0];\nArray nothing;");
  ASSERT_FALSE(out.Failed) << out.Message;
  auto* a = out.Script->FindArray("a");
  ASSERT_NE(nullptr, a);
  EXPECT_EQ(3, a->Size);
  EXPECT_EQ("3", ToText(a->GetItem(2)));
  EXPECT_EQ("7", ToText(out.Script->FindArray("b")->GetItem(0)));
  EXPECT_TRUE(out.Script->FindArray("b")->GetItem(1).IsEmpty());
  EXPECT_EQ(0, out.Script->FindArray("c")->Size);
  EXPECT_EQ(nullptr, out.Script->FindArray("nothing"));
  out = RunText("Array s[3] = (1,,2, ,3);");
  EXPECT_EQ("2", ToText(out.Script->FindArray("s")->GetItem(1)));
  EXPECT_TRUE(out.Script->FindArray("s")->GetItem(2).IsEmpty());
}

TEST(Declarations, ArrayMessages) {
  EXPECT_SCRIPT_ERROR("Array a[3] = (1, 2, 3, 4);", "Index of array a is out of bounds", 1, 1);
  EXPECT_SCRIPT_ERROR("Array [3];", "Name of array expected", 1, 1);
  EXPECT_SCRIPT_ERROR("Array a-b[3];", "Invalid character \"-\" in array name", 1, 1);
  EXPECT_SCRIPT_ERROR("Array a[1]; Array A[2];", "Array \"A\" already exist", 1, 13);
  EXPECT_SCRIPT_ERROR("Array a[ ];", "Expected size expression of array \"a\"", 1, 1);
  EXPECT_SCRIPT_ERROR("Array a[1] b[2];", "Unexpected character: \"b\"", 1, 1);
  EXPECT_SCRIPT_ERROR("Array a[1] = 1, 2;", "Expected begin of initializators block: 1,", 1, 1);
  EXPECT_SCRIPT_ERROR("Array a[0-2];", "Size of array \"a\" is negative: -2", 1, 1);
}

TEST(Declarations, ObjectMessages) {
  EXPECT_SCRIPT_ERROR("Object : TFile;", "Object name expected: : TFile", 1, 1);
  EXPECT_SCRIPT_ERROR("Object f;", "Class name expected: f", 1, 1);
  EXPECT_SCRIPT_ERROR("Object f : ;", "Class name expected: f :", 1, 2);
  EXPECT_SCRIPT_ERROR("Object f : TNoSuch;", "Class \"TNoSuch\" not defined", 1, 1);
}

}  // namespace
}  // namespace zu
