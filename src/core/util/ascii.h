// Letter case the way scripts expect it: only the ASCII letters A-Z and a-z fold; every
// other byte (UTF-8 sequences, Windows-1252 letters) passes through unchanged, so
// upper-casing never damages text and comparisons never depend on a locale.
#pragma once

#include <string>
#include <string_view>

namespace rirerazo::util {

constexpr char AsciiUpper(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}
constexpr char AsciiLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

// The text with ASCII letters upper-cased (lower-cased).
std::string UCase(std::string_view text);
std::string LCase(std::string_view text);

// True when `a` and `b` are equal once ASCII letters are folded.
bool EqualsIgnoreCase(std::string_view a, std::string_view b) noexcept;
bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix);
bool EndsWithIgnoreCase(std::string_view text, std::string_view suffix);

// Hash and equality that ignore ASCII letter case, for unordered containers keyed by
// names that scripts may write in any case. Transparent, so a std::string_view can look up
// a std::string key.
struct FoldedHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view text) const noexcept;
};
struct FoldedEqual {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const noexcept {
    return EqualsIgnoreCase(a, b);
  }
};

}  // namespace rirerazo::util
