// CParser: trimming and splitting rules, indexed reading, reuse, the failure box, big input.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/expr/c_parser.h"
#include "core/expr/failing_allocator.h"
#include "support/recording_services.h"

namespace rirerazo {
namespace {

using Fields = std::vector<std::string>;

Fields Split(const std::string& text, const std::string& delimiter) {
  CParser parser;
  parser.ParseIt(text, delimiter);
  Fields fields;
  for (std::int32_t i = 1; i <= parser.FieldCount(); ++i) fields.push_back(parser.Field(i));
  return fields;
}

TEST(CParser, FieldsAreTrimmedOfSpacesOnly) {
  EXPECT_EQ(Split("a , b", ","), (Fields{"a", "b"}));
  EXPECT_EQ(Split("  x  ,  y  ", ","), (Fields{"x", "y"}));
  EXPECT_EQ(Split("\tx\t, y\r\n", ","), (Fields{"\tx\t", "y\r\n"}));
  EXPECT_EQ(Split("  just one  ", ","), (Fields{"just one"}));
}

TEST(CParser, EmptyFieldsBetweenAndBeforeButNotAfter) {
  EXPECT_EQ(Split("a,,b", ","), (Fields{"a", "", "b"}));
  EXPECT_EQ(Split(",a", ","), (Fields{"", "a"}));
  EXPECT_EQ(Split("a,", ","), (Fields{"a"}));
  EXPECT_EQ(Split("a,,", ","), (Fields{"a", ""}));
  EXPECT_EQ(Split("a, ,", ","), (Fields{"a", ""}));
  EXPECT_EQ(Split(",", ","), (Fields{""}));
  EXPECT_EQ(Split("\"a,b\"", ","), (Fields{"\"a", "b\""}));
}

TEST(CParser, EmptyOrBlankTextGivesNoFields) {
  for (const char* text : {"", " ", "     "}) {
    CParser parser;
    parser.ParseIt(text, ",");
    EXPECT_EQ(parser.FieldCount(), 0) << '"' << text << '"';
    EXPECT_EQ(parser.Field(1), "");
  }
}

TEST(CParser, MultiCharacterDelimitersOfTheTextReader) {
  EXPECT_EQ(Split("one.  two.  three", ".  "), (Fields{"one", "two", "three"}));
  EXPECT_EQ(Split("one.     two.", ".  "), (Fields{"one", "two."}));
  EXPECT_EQ(Split("a\r\n\r\n\r\nb", "\r\n\r\n"), (Fields{"a", "\r\nb"}));
  EXPECT_EQ(Split("l1\r\n\r\nl3\r\n", "\r\n"), (Fields{"l1", "", "l3"}));
  EXPECT_EQ(Split("aXbxc", "X"), (Fields{"a", "bxc"}));
}

TEST(CParser, FieldOutsideTheRangeIsEmpty) {
  CParser parser;
  EXPECT_EQ(parser.FieldCount(), 0);
  EXPECT_EQ(parser.Field(1), "");
  parser.ParseIt("10, 20, 30", ",");
  ASSERT_EQ(parser.FieldCount(), 3);
  EXPECT_EQ(parser.Field(0), "");
  EXPECT_EQ(parser.Field(-1), "");
  EXPECT_EQ(parser.Field(3), "30");
  EXPECT_EQ(parser.Field(4), "");
}

TEST(CParser, EachParseReplacesTheLast) {
  CParser parser;
  parser.ParseIt("a,b,c", ",");
  parser.ParseIt("d;e", ";");
  EXPECT_EQ(parser.FieldCount(), 2);
  EXPECT_EQ(parser.Field(2), "e");
  EXPECT_EQ(parser.Field(3), "");
  parser.ParseIt("  ", ";");
  EXPECT_EQ(parser.FieldCount(), 0);
}

TEST(CParser, EmptyDelimiterGivesTheWholeTrimmedText) {
  EXPECT_EQ(Split(" a,b ", ""), (Fields{"a,b"}));
}

// Ten megabytes of short fields and of bare delimiters: linear time, no copy per field.
TEST(CParser, TenMegabytesSplitInOnePass) {
  std::string text;
  while (text.size() < (10u << 20)) text += "word , ";
  CParser parser;
  parser.ParseIt(text, ",");
  EXPECT_EQ(static_cast<std::size_t>(parser.FieldCount()), text.size() / 7);
  EXPECT_EQ(parser.Field(parser.FieldCount()), "word");
  parser.ParseIt(std::string(10u << 20, ','), ",");
  EXPECT_EQ(parser.FieldCount(), 10 << 20);
  EXPECT_EQ(parser.Field(12345), "");
}

TEST(CParser, ExhaustedMemoryShowsTheFailureAndLeavesNoFields) {
  testing::RecordingUi ui;
  CParser parser(ui);
  parser.ParseIt("a,b", ",");
  const std::string text = "x,y,z";
  {
    // Room for three fields needs a new allocation, which fails.
    test_support::FailingAllocator fail_next;
    parser.ParseIt(text, ",");
  }
  EXPECT_EQ(parser.FieldCount(), 0);
  EXPECT_EQ(parser.Field(1), "");
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].text, "7 : Out of memory");
  EXPECT_EQ(ui.boxes[0].title, "RIRERazo");
  EXPECT_EQ(ui.boxes[0].style, platform::mb::kOkOnly);
  parser.ParseIt(text, ",");
  EXPECT_EQ(parser.FieldCount(), 3);
}

}  // namespace
}  // namespace rirerazo
