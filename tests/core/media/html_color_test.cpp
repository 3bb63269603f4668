#include "core/media/html_color.h"

#include <gtest/gtest.h>

namespace rirerazo::media {
namespace {

TEST(ParseColorText, WrittenFormsOfTheSameColour) {
  for (const char* red : {"#FF0000", "ff0000", "&HFF0000", "#&hff0000"}) {
    const ParsedColor color = ParseColorText(red);
    EXPECT_TRUE(color.valid) << red;
    EXPECT_EQ(color.bgr, 0x0000FFu) << red;
  }
  EXPECT_EQ(ParseColorText("00FF00").bgr, 0x00FF00u);
  EXPECT_EQ(ParseColorText("#0000FF").bgr, 0xFF0000u);
  EXPECT_EQ(ParseColorText("#123456").bgr, 0x563412u);
}

TEST(ParseColorText, ShortAndLongTexts) {
  EXPECT_EQ(ParseColorText("F00").bgr, 0x000F00u) << "padded in front: green 15";
  EXPECT_EQ(ParseColorText("").bgr, 0u);
  EXPECT_TRUE(ParseColorText("").valid);
  EXPECT_EQ(ParseColorText("#").bgr, 0u);
  EXPECT_EQ(ParseColorText("11223344").bgr, 0x442211u) << "the digits between are dropped";
  EXPECT_EQ(ParseColorText("&H&HFF").valid, false) << "only one &H is removed";
}

TEST(ParseColorText, InvalidTextsAreBlackWithTheSwappedTextQuoted) {
  const ParsedColor bad = ParseColorText("#12345G");
  EXPECT_FALSE(bad.valid);
  EXPECT_EQ(bad.bgr, 0u);
  EXPECT_EQ(bad.swapped, "5G3412");
  EXPECT_EQ(InvalidColorMessage(bad),
            "'5G3412' is an invalid color.\r\n\r\nColors are specified using HTML format like "
            "#FF0000 for Red and #0000FF for Blue, etc.");
  EXPECT_FALSE(ParseColorText("#GG0000").valid);
  EXPECT_FALSE(ParseColorText("red").valid);
  EXPECT_FALSE(ParseColorText("#FF 000").valid);
}

}  // namespace
}  // namespace rirerazo::media
