// Line numbers of a parsed script file, as tools that point authors at a line need them.
#include <gtest/gtest.h>

#include <string>

#include "core/script/profile_data.h"

namespace rirerazo::script {
namespace {

TEST(ProfileDataLines, SectionLinesCarryTheirNumbersWhateverTheLineEnds) {
  // A byte-order mark, CR LF, a lone LF and a lone CR; the section appears twice.
  const ProfileData data("\xEF\xBB\xBF[Script]\r\nA\r\n\r\nB\n[Other]\rx=1\r[script]\nC");
  const auto lines = data.NumberedSectionLines("SCRIPT");
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0].number, 2);
  EXPECT_EQ(lines[0].text, "A");
  EXPECT_EQ(lines[1].number, 3);
  EXPECT_EQ(lines[1].text, "");
  EXPECT_EQ(lines[2].number, 4);
  EXPECT_EQ(lines[2].text, "B");
  EXPECT_EQ(lines[3].number, 8);
  EXPECT_EQ(lines[3].text, "C");
  EXPECT_TRUE(data.NumberedSectionLines("Missing").empty());
}

TEST(ProfileDataLines, KeysAndValuesPointAtTheirLines) {
  const ProfileData data("[VORN Script]\nVersion=1\n\n[Characters]\n; who\nHost = Rira.acs\n");
  const auto* names = data.KeyNames("Characters");
  ASSERT_NE(names, nullptr);
  ASSERT_EQ(names->size(), 1u);
  EXPECT_EQ(data.LineOf(names->front()), 6);
  EXPECT_EQ(data.LineOf(*data.Value("Characters", "host")), 6);
  EXPECT_EQ(data.LineOf(*data.Value("VORN Script", "Version")), 2);
  const std::string elsewhere = "Version";
  EXPECT_EQ(data.LineOf(elsewhere), 0);
}

TEST(ProfileDataLines, AHeaderOnTheLastLineHasNoLines) {
  const ProfileData data("[VORN Script]\nVersion=1\n[Script]");
  EXPECT_TRUE(data.NumberedSectionLines("Script").empty());
}

}  // namespace
}  // namespace rirerazo::script
