#include "core/util/lines.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace rirerazo::util {
namespace {

using Lines = std::vector<std::string_view>;

TEST(LineEnds, AllThreeStylesGiveTheSameLines) {
  const Lines expected{"[Script]", "Host.Show", "", "end"};
  EXPECT_EQ(SplitLines("[Script]\r\nHost.Show\r\n\r\nend\r\n"), expected);
  EXPECT_EQ(SplitLines("[Script]\nHost.Show\n\nend\n"), expected);
  EXPECT_EQ(SplitLines("[Script]\rHost.Show\r\rend"), expected);
  EXPECT_EQ(SplitLines("[Script]\r\nHost.Show\n\rend"), expected);
  EXPECT_EQ(SplitLines(""), Lines{});
  EXPECT_EQ(SplitLines("a\r\r\nb"), (Lines{"a", "", "b"}));
  EXPECT_EQ(ToCrLf("a\nb\rc\r\nd\n\r"), "a\r\nb\r\nc\r\nd\r\n\r\n");
}

TEST(LineEnds, StreamReaderAgreesWithTheTextReader) {
  for (const std::string text : {"a\r\nb\nc\rd", "x\r\n\r\n", "\r", "no end", ""}) {
    std::istringstream in(text);
    std::vector<std::string> from_stream;
    for (std::string line; ReadLine(in, line);) from_stream.push_back(line);
    const Lines from_text = SplitLines(text);
    EXPECT_EQ(std::vector<std::string>(from_text.begin(), from_text.end()), from_stream);
  }
}

}  // namespace
}  // namespace rirerazo::util
