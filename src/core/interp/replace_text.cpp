#include "core/interp/replace_text.h"

#include <algorithm>

#include "core/util/ascii.h"

namespace rirerazo {
namespace {

bool FoldedMatchAt(std::string_view text, std::size_t at, std::string_view find) {
  for (std::size_t k = 1; k < find.size(); ++k) {
    if (util::AsciiUpper(text[at + k]) != util::AsciiUpper(find[k])) return false;
  }
  return true;
}

// Case-folded search: candidates for the first letter are found with two byte searches
// (one per letter case), which the library does many bytes at a time.
std::size_t FindFolded(std::string_view text, std::string_view find, std::size_t from) {
  if (from > text.size() || find.size() > text.size() - from) return std::string_view::npos;
  const std::size_t last = text.size() - find.size();
  const char upper = util::AsciiUpper(find.front());
  const char lower = util::AsciiLower(find.front());
  std::size_t next_upper = text.find(upper, from);
  std::size_t next_lower = upper == lower ? std::string_view::npos : text.find(lower, from);
  for (;;) {
    const std::size_t at = std::min(next_upper, next_lower);
    if (at == std::string_view::npos || at > last) return std::string_view::npos;
    if (FoldedMatchAt(text, at, find)) return at;
    if (at == next_upper) {
      next_upper = text.find(upper, at + 1);
    } else {
      next_lower = text.find(lower, at + 1);
    }
  }
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
