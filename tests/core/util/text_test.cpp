#include "core/util/text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/util/ascii.h"

namespace rirerazo::util {
namespace {

using Items = std::vector<std::string>;

TEST(AsciiCase, FoldsOnlyAsciiLetters) {
  EXPECT_EQ(UCase("abc-xyz_19 \xc3\xa9t\xe9"), "ABC-XYZ_19 \xc3\xa9T\xe9");
  EXPECT_FALSE(EqualsIgnoreCase("\xe9", "\xc9"));
  EXPECT_TRUE(EqualsIgnoreCase("Characters", "CHARACTERS"));
}

TEST(TrimChars, RemovesBlanksThenEveryCopyAtBothEnds) {
  EXPECT_EQ(TrimChars(" \"abc\" ", "\""), "abc");
  EXPECT_EQ(TrimChars("\"\"abc\"\"", "\""), "abc");
  EXPECT_EQ(TrimChars("\"", "\""), "");
  EXPECT_EQ(TrimChars("\" abc \"", "\""), " abc ");  // blanks uncovered stay
  EXPECT_EQ(TrimChars("ABxab", "ab"), "x");
  EXPECT_EQ(TrimChars("\r\nline\r\n\r\n", "\r\n"), "line");
  EXPECT_EQ(TrimChars("  x  ", ""), "x");
}

TEST(UnQuote, DropsOneQuoteAtEachEnd) {
  EXPECT_EQ(UnQuote("\""), "");
  EXPECT_EQ(UnQuote("\"\"twice\"\""), "\"twice\"");
  EXPECT_EQ(UnQuote("  \" padded \"  "), "padded");
  EXPECT_EQ(UnQuote("open\""), "open");
}

TEST(Quotes, RunsOfDoubleQuotes) {
  EXPECT_EQ(FixQuotes("\"\"\"\""), "\"\"");
  EXPECT_EQ(FixQuotes("\"\"\"\"\""), "\"\"");
  EXPECT_EQ(FixQuotes("\"\""), "\"");
  EXPECT_EQ(FixQuotes(std::string(8, '"')), "\"\"\"");
  const std::string nuls("a\0\0b", 4);
  EXPECT_EQ(FixQuotes(nuls), nuls);  // NUL bytes in the text are kept
}

TEST(ParseStringIntoArray, SplitsKeyListsAndTrimsItems) {
  EXPECT_EQ(ParseStringIntoArray(std::string("A\0BC\0", 5), std::string(1, '\0')),
            (Items{"A", "BC"}));
  EXPECT_EQ(ParseStringIntoArray(" a , b ,, c ", ","), (Items{"a", "b", "", "c"}));
  EXPECT_EQ(ParseStringIntoArray("a,,", ","), (Items{"a", ""}));
  EXPECT_EQ(ParseStringIntoArray("Aa", "a"), (Items{"A"}));  // case-sensitive
  EXPECT_EQ(ParseStringIntoArray("\"x,y\",z", ","), (Items{"\"x", "y\"", "z"}));
  EXPECT_TRUE(ParseStringIntoArray("   ", ",").empty());
  EXPECT_EQ(ParseStringIntoArray("a,b", ""), (Items{"a,b"}));
  std::string many;
  for (int i = 0; i < 40000; ++i) many += "k,";
  EXPECT_EQ(ParseStringIntoArray(many, ",").size(), 32767u);  // a 16-bit count
}

}  // namespace
}  // namespace rirerazo::util
