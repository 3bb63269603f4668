// CStack: order, the empty-stack rule, growth in steps of ten and the 16-bit count.
#include <gtest/gtest.h>

#include <string>

#include "core/expr/c_stack.h"
#include "platform/runtime_error.h"

namespace rirerazo {
namespace {

using Variant = CStack::Variant;

TEST(CStack, EmptyStackGivesEmptyVariantAndStaysEmpty) {
  CStack stack;
  EXPECT_TRUE(std::holds_alternative<std::monostate>(stack.Pop()));
  EXPECT_TRUE(std::holds_alternative<std::monostate>(stack.GetPopValue()));
  EXPECT_EQ(stack.StackSize(), 0);
  stack.Push(1.0);
  EXPECT_EQ(stack.StackSize(), 1);
}

TEST(CStack, LastInFirstOutWithMixedValues) {
  CStack stack;
  stack.Push(1.5);
  stack.Push(std::string("("));
  stack.Push(-2.0);
  EXPECT_EQ(stack.GetPopValue(), Variant(-2.0));
  EXPECT_EQ(stack.StackSize(), 3);
  EXPECT_EQ(stack.Pop(), Variant(-2.0));
  EXPECT_EQ(stack.Pop(), Variant(std::string("(")));
  EXPECT_EQ(stack.Pop(), Variant(1.5));
  EXPECT_EQ(stack.StackSize(), 0);
}

TEST(CStack, CapacityGrowsTenSlotsAtATime) {
  CStack stack;
  EXPECT_EQ(stack.Capacity(), 0);
  stack.Push(1.0);
  EXPECT_EQ(stack.Capacity(), 10);
  for (int i = 2; i <= 10; ++i) stack.Push(1.0);
  EXPECT_EQ(stack.Capacity(), 10);
  stack.Push(1.0);
  EXPECT_EQ(stack.Capacity(), 20);
  stack.Pop();
  stack.Push(1.0);
  EXPECT_EQ(stack.Capacity(), 20);
}

// Ten-slot steps would pass 32,767 at the last step; the stack stops at the count's range
// with an overflow error instead of wrapping.
TEST(CStack, FullStackRaisesOverflowAndKeepsItsItems) {
  CStack stack;
  for (int i = 0; i < CStack::kMaxItems; ++i) stack.Push(static_cast<double>(i));
  EXPECT_EQ(stack.StackSize(), CStack::kMaxItems);
  EXPECT_EQ(stack.Capacity(), CStack::kMaxItems);
  try {
    stack.Push(0.5);
    FAIL() << "push on a full stack succeeded";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Number(), err::kOverflow);
  }
  EXPECT_EQ(stack.StackSize(), CStack::kMaxItems);
  EXPECT_EQ(stack.Pop(), Variant(static_cast<double>(CStack::kMaxItems - 1)));
}

}  // namespace
}  // namespace rirerazo
