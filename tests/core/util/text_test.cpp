#include "core/util/text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/util/ascii.h"

namespace rirerazo::util {
namespace {

using Items = std::vector<std::string>;

TEST(AsciiCase, FoldsOnlyAsciiLetters) {
  EXPECT_EQ(UCase("abc-xyz_19"), "ABC-XYZ_19");
  EXPECT_EQ(LCase("ABC"), "abc");
  EXPECT_EQ(UCase("\xc3\xa9t\xe9"), "\xc3\xa9T\xe9");  // UTF-8 and Windows-1252 bytes untouched
  EXPECT_TRUE(EqualsIgnoreCase("Characters", "CHARACTERS"));
  EXPECT_FALSE(EqualsIgnoreCase("\xe9", "\xc9"));
  EXPECT_FALSE(EqualsIgnoreCase("ab", "abc"));
  EXPECT_TRUE(StartsWithIgnoreCase("Host.Speak", "HOST."));
  EXPECT_EQ(FindIgnoreCase("say HostLeftX now", "hostleftx"), 4u);
  EXPECT_EQ(FindIgnoreCase("abc", "abcd"), std::string_view::npos);
  EXPECT_EQ(FindIgnoreCase("abc", "", 3), 3u);
}

TEST(TrimChars, RemovesBlanksThenEveryCopyAtBothEnds) {
  EXPECT_EQ(TrimChars(" \"abc\" ", "\""), "abc");
  EXPECT_EQ(TrimChars("\"\"abc\"\"", "\""), "abc");
  EXPECT_EQ(TrimChars("\"", "\""), "");
  EXPECT_EQ(TrimChars("\" abc \"", "\""), " abc ");  // blanks uncovered stay
  EXPECT_EQ(TrimChars("ABxab", "ab"), "x");
  EXPECT_EQ(TrimChars("\r\nline\r\n\r\n", "\r\n"), "line");
  EXPECT_EQ(TrimChars("aba", "ab"), "a");
  EXPECT_EQ(TrimChars("  x  ", ""), "x");
}

TEST(UnQuote, DropsOneQuoteAtEachEnd) {
  EXPECT_EQ(UnQuote("\""), "");
  EXPECT_EQ(UnQuote("  \"Hello there\"  "), "Hello there");
  EXPECT_EQ(UnQuote("\"\"twice\"\""), "\"twice\"");
  EXPECT_EQ(UnQuote("\" padded \""), "padded");
  EXPECT_EQ(UnQuote("open\""), "open");
  EXPECT_EQ(UnQuote(""), "");
}

TEST(Quotes, RemoveDoubleQuotesKeepsTheLastOfEachRun) {
  EXPECT_EQ(RemoveDoubleQuotes("say \"\"hi\"\" now"), "say \"hi\" now");
  EXPECT_EQ(RemoveDoubleQuotes("a\"\"\"b"), "a\"b");
  EXPECT_EQ(RemoveDoubleQuotes("end\""), "end\"");
  EXPECT_EQ(RemoveDoubleQuotes("it''s"), "it''s");
}

TEST(Quotes, FixQuotesTurnsFourIntoTwoAndOtherRunsIntoOne) {
  EXPECT_EQ(FixQuotes("\"\"\"\""), "\"\"");
  EXPECT_EQ(FixQuotes("\"\"\"\"\""), "\"\"");
  EXPECT_EQ(FixQuotes("\"\""), "\"");
  EXPECT_EQ(FixQuotes("\"\"\""), "\"");
  EXPECT_EQ(FixQuotes(std::string(8, '"')), "\"\"\"");
  EXPECT_EQ(FixQuotes("He said \"\"\"\"hi\"\"\"\""), "He said \"\"hi\"\"");
  const std::string nuls("a\0\0b", 4);
  EXPECT_EQ(FixQuotes(nuls), nuls);  // NUL bytes in the text are kept
}

TEST(ParseStringIntoArray, SplitsKeyLists) {
  EXPECT_EQ(ParseStringIntoArray(std::string("A\0BC\0", 5), std::string(1, '\0')),
            (Items{"A", "BC"}));
  EXPECT_EQ(ParseStringIntoArray(" a , b ,, c ", ","), (Items{"a", "b", "", "c"}));
  EXPECT_EQ(ParseStringIntoArray("a||b||", "||"), (Items{"a", "b"}));
  EXPECT_EQ(ParseStringIntoArray("single", ","), (Items{"single"}));
  EXPECT_EQ(ParseStringIntoArray("a,,", ","), (Items{"a", ""}));
}

TEST(ParseStringIntoArray, EmptyAndDegenerateInput) {
  EXPECT_TRUE(ParseStringIntoArray("", ",").empty());
  EXPECT_TRUE(ParseStringIntoArray("   ", ",").empty());
  EXPECT_EQ(ParseStringIntoArray(",", ","), (Items{""}));
  EXPECT_EQ(ParseStringIntoArray("a,b", ""), (Items{"a,b"}));
  EXPECT_EQ(ParseStringIntoArray("Aa", "a"), (Items{"A"}));  // case-sensitive
  EXPECT_EQ(ParseStringIntoArray("\"x,y\",z", ","), (Items{"\"x", "y\"", "z"}));
}

TEST(ParseStringIntoArray, StopsAtTheSixteenBitCount) {
  std::string text;
  for (int i = 0; i < 40000; ++i) text += "k,";
  const Items items = ParseStringIntoArray(text, ",");
  EXPECT_EQ(items.size(), 32767u);
}

TEST(ReplaceAll, ReplacesWithoutOverlap) {
  EXPECT_EQ(ReplaceAll("aaaa", "aa", "b"), "bb");
  EXPECT_EQ(ReplaceAll("x", "", "y"), "x");
  EXPECT_EQ(ReplaceAll("a  &  b", "  ", " "), "a & b");
}

}  // namespace
}  // namespace rirerazo::util
