#include "core/expr/c_stack.h"

#include <algorithm>
#include <utility>

#include "platform/runtime_error.h"

namespace rirerazo {

namespace {
constexpr int kGrowthSlots = 10;
}  // namespace

void CStack::Push(Variant value) {
  if (items_.size() >= static_cast<std::size_t>(kMaxItems)) {
    throw RuntimeError{err::kOverflow, "Overflow"};
  }
  if (static_cast<int>(items_.size()) >= capacity_) {
    capacity_ = static_cast<std::int16_t>(std::min<int>(capacity_ + kGrowthSlots, kMaxItems));
    // The first ten slots come in one allocation, which is all a typical expression needs;
    // beyond that, doubling keeps deep stacks linear.
    const auto wanted = static_cast<std::size_t>(capacity_);
    if (items_.capacity() < wanted) items_.reserve(std::max(wanted, 2 * items_.capacity()));
  }
  items_.push_back(std::move(value));
}

CStack::Variant CStack::Pop() {
  if (items_.empty()) return {};
  Variant top = std::move(items_.back());
  items_.pop_back();
  return top;
}

CStack::Variant CStack::GetPopValue() const {
  if (items_.empty()) return {};
  return items_.back();
}

}  // namespace rirerazo
