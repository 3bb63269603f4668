#include "core/interp/replace_text.h"

#include "core/util/ascii.h"

namespace rirerazo {
namespace {

std::size_t FindFrom(std::string_view text, std::string_view find, std::size_t from,
                     Compare compare) {
  if (compare == Compare::kExact) return text.find(find, from);
  return util::FindIgnoreCase(text, find, from);
}

}  // namespace

bool ReplaceText(std::string& text, std::string_view find, std::string_view replacement,
                 Compare compare) {
  if (find.empty()) return false;
  std::size_t hit = FindFrom(text, find, 0, compare);
  if (hit == std::string::npos) return false;
  std::string result;
  result.reserve(text.size());
  std::size_t done = 0;
  while (hit != std::string::npos) {
    result.append(text, done, hit - done);
    result.append(replacement);
    done = hit + find.size();
    hit = FindFrom(text, find, done, compare);
  }
  result.append(text, done, std::string::npos);
  text = std::move(result);
  return true;
}

}  // namespace rirerazo
