// How the interpreter takes script lines and statement arguments apart. Pure functions of
// the text; positions are byte positions and "blank" means the space character only.
#pragma once

#include <string>
#include <string_view>

namespace rirerazo {

// The text without any blank.
std::string RemoveBlanks(std::string_view text);

// Takes the next line off `script` starting at `pos`: the text before the next CR LF (or
// the rest when there is none). Advances `pos` past the CR LF. A lone CR or LF stays
// inside the line.
std::string_view NextLine(std::string_view script, std::size_t& pos);

// A line that, without blanks and upper-cased, begins with "SETREQ=".
bool IsSetReqLine(std::string_view line);
// The statement a SETREQ= line carries: the text after its first "=", trimmed, with its
// first "(" made a blank and a final ")" dropped (then trimmed again):
// `SETREQ = Host.Speak("Hi")` gives `Host.Speak "Hi"`.
std::string SetReqStatement(std::string_view line);
// A line that, without blanks and upper-cased, is "WAITFORREQ".
bool IsWaitForReqLine(std::string_view line);

// The line from its (n+1)-th byte on; empty when the line is shorter.
std::string_view TailAfter(std::string_view line, std::size_t n);
// The text after the first "=", or the whole line when it has none.
std::string_view AfterEquals(std::string_view line);
// The text after the first blank, or the whole line when it has none.
std::string_view AfterFirstBlank(std::string_view line);

// True when `line` begins with `id` and a dot, letter case ignored.
bool AddressesCharacter(std::string_view line, std::string_view id);

}  // namespace rirerazo
