// The header lines that start script sections. A line is one when its first byte is "["
// and its last byte "]", untrimmed: the loader's section reader and the script checker
// both go by this rule.
#pragma once

#include <string_view>
#include <vector>

namespace rirerazo::script {

bool IsRawSectionHeader(std::string_view line);

// A header line of a file and its 1-based line number.
struct HeaderLine {
  int number = 0;
  std::string_view text;
};

// Every header line of `bytes` (a whole file; a leading byte-order mark is skipped), in file
// order. Lines end at CR LF, LF or CR.
std::vector<HeaderLine> RawSectionHeaders(std::string_view bytes);

}  // namespace rirerazo::script
