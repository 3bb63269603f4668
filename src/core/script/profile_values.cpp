#include "core/script/profile_values.h"

#include "core/util/numbers.h"
#include "platform/runtime_error.h"

namespace rirerazo::script {

std::string PositiveFlag(std::string_view text) {
  try {
    return util::Val(text) > 0.0 ? "1" : "0";
  } catch (const RuntimeError&) {
    return "0";
  }
}

std::string ClampNumberText(std::string_view text, std::int32_t low, std::int32_t high) {
  double value = 0.0;
  try {
    value = util::Val(text);
  } catch (const RuntimeError&) {
    return {};
  }
  if (value < low) return std::to_string(low);
  if (value > high) return std::to_string(high);
  return std::string(text);
}

}  // namespace rirerazo::script
