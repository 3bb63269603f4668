// Line ends as scripts use them. Files saved on Windows end lines with CR LF, on Linux with
// LF and on old Macs with CR; every reader of script files accepts all three, so a script
// loads the same wherever it was saved. Text handed to the interpreter has CR LF only.
#pragma once

#include <cstddef>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

namespace rirerazo::util {

inline constexpr std::string_view kCrLf = "\r\n";

// Walks the lines of a text held in memory. A line ends at CR LF, a lone LF or a lone CR;
// the line end is not part of the line. A last line without a line end counts; a text that
// ends with a line end has no empty line after it ("a\r\n" is one line, "" is none).
// The reader views `text`, which must outlive it.
class LineReader {
 public:
  explicit LineReader(std::string_view text) : text_(text) {}

  // Stores the next line in `line` and returns true; false when no line is left.
  bool Next(std::string_view& line);

  // Byte position where the next line starts (the text's size at the end).
  std::size_t Position() const { return pos_; }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

// All lines of `text`, as views into it.
std::vector<std::string_view> SplitLines(std::string_view text);

// Reads one line from a stream with the same rules as LineReader; false at the end of the
// stream when nothing was read.
bool ReadLine(std::istream& in, std::string& line);

// The text with every line end (CR LF, LF or CR) written as CR LF.
std::string ToCrLf(std::string_view text);

}  // namespace rirerazo::util
