#include "core/interp/replace_text.h"

#include <algorithm>

namespace rirerazo {
namespace {

char FoldAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

std::size_t FindFrom(std::string_view text, std::string_view find, std::size_t from,
                     Compare compare) {
  if (compare == Compare::kExact) return text.find(find, from);
  return FindIgnoreAsciiCase(text, find, from);
}

}  // namespace

std::size_t FindIgnoreAsciiCase(std::string_view text, std::string_view find,
                                std::size_t from) {
  if (find.empty()) return from <= text.size() ? from : std::string_view::npos;
  if (from >= text.size() || text.size() - from < find.size()) return std::string_view::npos;
  const char first = FoldAscii(find.front());
  const std::size_t last_start = text.size() - find.size();
  for (std::size_t i = from; i <= last_start; ++i) {
    if (FoldAscii(text[i]) != first) continue;
    if (std::equal(find.begin() + 1, find.end(), text.begin() + static_cast<long>(i) + 1,
                   [](char a, char b) { return FoldAscii(a) == FoldAscii(b); })) {
      return i;
    }
  }
  return std::string_view::npos;
}

bool ReplaceAll(std::string& text, std::string_view find, std::string_view replacement,
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
