#include "core/interp/replace_text.h"

#include "core/util/ascii.h"

namespace rirerazo {
namespace {

// Case-folded search that skips quickly to candidates for the first letter.
std::size_t FindFolded(std::string_view text, std::string_view find, std::size_t from) {
  if (from > text.size() || find.size() > text.size() - from) return std::string_view::npos;
  const char upper = util::AsciiUpper(find.front());
  const char lower = util::AsciiLower(find.front());
  const std::size_t last = text.size() - find.size();
  for (std::size_t i = from; i <= last; ++i) {
    if (text[i] != upper && text[i] != lower) continue;
    std::size_t k = 1;
    while (k < find.size() && util::AsciiUpper(text[i + k]) == util::AsciiUpper(find[k])) ++k;
    if (k == find.size()) return i;
  }
  return std::string_view::npos;
}

}  // namespace

std::size_t FindText(std::string_view text, std::string_view find, std::size_t from,
                     Compare compare) {
  if (find.empty()) return std::string_view::npos;
  if (compare == Compare::kExact) return text.find(find, from);
  return FindFolded(text, find, from);
}

bool ReplaceText(std::string& text, std::string_view find, std::string_view replacement,
                 Compare compare) {
  std::size_t hit = FindText(text, find, 0, compare);
  if (hit == std::string::npos) return false;
  std::string result;
  result.reserve(text.size());
  std::size_t done = 0;
  while (hit != std::string::npos) {
    result.append(text, done, hit - done);
    result.append(replacement);
    done = hit + find.size();
    hit = FindText(text, find, done, compare);
  }
  result.append(text, done, std::string::npos);
  text = std::move(result);
  return true;
}

}  // namespace rirerazo
