// Splitting a command line into the words of a program's argument vector.
#pragma once

#include <string>
#include <vector>

namespace rirerazo::os {

// Splits `line` like a command line: blanks and tabs separate words; a double quote starts
// or ends a quoted part, inside which blanks belong to the word; inside a quoted part two
// double quotes in a row stand for one literal quote. Quotes may start in the middle of a
// word (a"b c"d is one word, ab cd). Backslashes are ordinary characters, so paths written
// with them pass through unchanged. An unclosed quote runs to the end of the line.
std::vector<std::string> SplitCommandLine(const std::string& line);

// Where `program` would be found for starting: itself when it contains '/', otherwise the
// first executable regular file of that name in the folders of `search_path` (a
// ':'-separated list; an empty entry is the current folder). Empty when none is found.
std::string FindProgram(const std::string& program, const std::string& search_path);

}  // namespace rirerazo::os
