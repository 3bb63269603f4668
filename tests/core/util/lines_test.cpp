#include "core/util/lines.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace rirerazo::util {
namespace {

using Lines = std::vector<std::string_view>;

std::vector<std::string> StreamLines(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> lines;
  std::string line;
  while (ReadLine(in, line)) lines.push_back(line);
  return lines;
}

TEST(LineEnds, AllThreeStylesGiveTheSameLines) {
  const Lines expected{"[Script]", "Host.Speak \"Hi\"", "", "end"};
  EXPECT_EQ(SplitLines("[Script]\r\nHost.Speak \"Hi\"\r\n\r\nend\r\n"), expected);
  EXPECT_EQ(SplitLines("[Script]\nHost.Speak \"Hi\"\n\nend\n"), expected);
  EXPECT_EQ(SplitLines("[Script]\rHost.Speak \"Hi\"\r\rend\r"), expected);
  EXPECT_EQ(SplitLines("[Script]\r\nHost.Speak \"Hi\"\n\rend"), expected);
}

TEST(LineEnds, EdgesOfTheText) {
  EXPECT_EQ(SplitLines(""), Lines{});
  EXPECT_EQ(SplitLines("a"), Lines{"a"});
  EXPECT_EQ(SplitLines("\r\n"), Lines{""});
  EXPECT_EQ(SplitLines("\n\r"), (Lines{"", ""}));  // LF then a lone CR: two line ends
  EXPECT_EQ(SplitLines("a\r\r\nb"), (Lines{"a", "", "b"}));
  EXPECT_EQ(SplitLines(std::string_view("a\0b\nc", 5)), (Lines{std::string_view("a\0b", 3), "c"}));
}

TEST(LineEnds, StreamReaderAgreesWithTheTextReader) {
  for (const std::string text : {"a\r\nb\nc\rd", "x\r\n\r\n", "\r", "no end", ""}) {
    const std::vector<std::string> from_stream = StreamLines(text);
    const Lines from_text = SplitLines(text);
    ASSERT_EQ(from_stream.size(), from_text.size()) << text;
    for (std::size_t i = 0; i < from_text.size(); ++i) EXPECT_EQ(from_stream[i], from_text[i]);
  }
}

TEST(LineEnds, ToCrLfWritesEveryLineEndAsCrLf) {
  EXPECT_EQ(ToCrLf("a\nb\rc\r\nd"), "a\r\nb\r\nc\r\nd");
  EXPECT_EQ(ToCrLf("\n\r"), "\r\n\r\n");
  EXPECT_EQ(ToCrLf("\r\n"), "\r\n");
}

}  // namespace
}  // namespace rirerazo::util
