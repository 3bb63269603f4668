// CStack: the small last-in-first-out container of variant values that the expression
// evaluator uses twice, once for operators while converting to postfix and once for
// values while evaluating. Items are numbered from 1; the top item is the one at index
// StackSize(). Not thread-safe; each stack belongs to the stage that created it.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace rirerazo {

class CStack {
 public:
  // An empty variant (monostate), a number or a text.
  using Variant = std::variant<std::monostate, double, std::string>;

  // The count is a 16-bit signed number, so a stack holds at most this many items.
  static constexpr std::int16_t kMaxItems = INT16_MAX;

  // Places a copy of `value` on top. Raises RuntimeError 6 "Overflow" when the stack
  // already holds kMaxItems items; the stack is then unchanged.
  void Push(Variant value);

  // Removes and returns the top item; an empty stack returns an empty variant and stays
  // as it is, without reporting anything.
  Variant Pop();

  // Returns a copy of the top item without removing it; empty variant when empty.
  Variant GetPopValue() const;

  std::int16_t StackSize() const { return static_cast<std::int16_t>(items_.size()); }

  // Slots reserved so far: 0 at first, then grown ten at a time (10, 20, 30, ...) whenever
  // a push needs one more, never beyond kMaxItems. The memory underneath is reserved at
  // least ten slots ahead and otherwise doubles, so a deep stack costs linear time rather
  // than a copy every ten pushes.
  std::int16_t Capacity() const { return capacity_; }

 private:
  std::vector<Variant> items_;
  std::int16_t capacity_ = 0;
};

}  // namespace rirerazo
