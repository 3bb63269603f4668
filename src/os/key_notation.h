// The classic key notation of the keystroke sender, parsed into single keystrokes:
//   +x ^x %x   x with Shift, Ctrl, Alt (they combine: ^+x)
//   ~          Enter
//   {ENTER}    a named key; {TAB 3} repeats it; {+} {^} {%} {~} {(} {)} {{} {}} {[} {]}
//              quote a character ({a 5} repeats it)
//   +(abc)     a modifier held over a group; groups nest up to 32 deep
// Every other character stands for itself; text that is not valid UTF-8 is read as
// Windows-1252, as elsewhere at the edges of the player.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace rirerazo::os {

namespace key_modifier {
inline constexpr unsigned kShift = 1;
inline constexpr unsigned kControl = 2;
inline constexpr unsigned kAlt = 4;
}  // namespace key_modifier

struct KeyStroke {
  std::string name;          // canonical key name ("ENTER", "F5"), or empty for a character
  char32_t character = 0;    // the character typed when `name` is empty
  std::uint32_t keysym = 0;  // the X keysym of the key or character
  unsigned modifiers = 0;    // key_modifier bits held while it is pressed
  friend bool operator==(const KeyStroke&, const KeyStroke&) = default;
};

// Parses `text`. Throws RuntimeError 5 ("Invalid procedure call or argument") for an
// unknown key name, an unbalanced brace or parenthesis, a modifier with nothing after it,
// a repeat count above 10000, or groups nested deeper than 32.
std::vector<KeyStroke> ParseKeyNotation(const std::string& text);

}  // namespace rirerazo::os
