#include "core/util/text.h"

#include <cstdint>
#include <limits>

#include "core/util/ascii.h"

namespace rirerazo::util {

std::string_view LTrim(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  return first == std::string_view::npos ? std::string_view{} : text.substr(first);
}

std::string_view RTrim(std::string_view text) {
  const std::size_t last = text.find_last_not_of(' ');
  return last == std::string_view::npos ? std::string_view{} : text.substr(0, last + 1);
}

std::string_view Trim(std::string_view text) {
  return RTrim(LTrim(text));
}

std::string TrimChars(std::string_view text, std::string_view chars) {
  std::string_view rest = Trim(text);
  if (chars.empty()) return std::string(rest);
  while (StartsWithIgnoreCase(rest, chars)) rest.remove_prefix(chars.size());
  while (EndsWithIgnoreCase(rest, chars)) rest.remove_suffix(chars.size());
  return std::string(rest);
}

std::string UnQuote(std::string_view pstrText) {
  std::string_view rest = Trim(pstrText);
  if (!rest.empty() && rest.front() == kDoubleQuote) rest.remove_prefix(1);
  if (!rest.empty() && rest.back() == kDoubleQuote) rest.remove_suffix(1);
  return std::string(Trim(rest));
}

// The classic way marked each group of four quotes with a pair of NULs, collapsed the
// quote runs and then deleted every NUL pair, which also deleted NUL pairs that were in the
// text. Counting the runs gives the same quotes and leaves other bytes alone.
std::string FixQuotes(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    if (text[i] != kDoubleQuote) {
      out.push_back(text[i++]);
      continue;
    }
    std::size_t run = 0;
    while (i < text.size() && text[i] == kDoubleQuote) ++run, ++i;
    out.append(run < 4 ? 1 : run / 4 + 1, kDoubleQuote);
  }
  return out;
}

std::vector<std::string> ParseStringIntoArray(std::string_view text, std::string_view delimiter) {
  constexpr std::size_t kMaxItems = std::numeric_limits<std::int16_t>::max();
  std::vector<std::string> items;
  std::string_view rest = Trim(text);
  if (rest.empty()) return items;
  if (delimiter.empty()) return {std::string(rest)};
  for (std::size_t p = rest.find(delimiter);
       p != std::string_view::npos && items.size() < kMaxItems; p = rest.find(delimiter)) {
    items.emplace_back(Trim(rest.substr(0, p)));
    rest = Trim(rest.substr(p + delimiter.size()));
  }
  if (!rest.empty() && items.size() < kMaxItems) items.emplace_back(rest);
  return items;
}

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
  if (from.empty()) return std::string(text);
  std::string out;
  out.reserve(text.size());
  std::size_t pos = 0;
  for (std::size_t hit = text.find(from); hit != std::string_view::npos;
       hit = text.find(from, pos)) {
    out.append(text.substr(pos, hit - pos)).append(to);
    pos = hit + from.size();
  }
  out.append(text.substr(pos));
  return out;
}

}  // namespace rirerazo::util
