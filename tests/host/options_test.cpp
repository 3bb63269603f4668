#include <gtest/gtest.h>

#include "host/options.h"

namespace rirerazo::host {
namespace {

TEST(Options, ScriptWordsAfterOptionsJoinWithSingleBlanks) {
  const auto r = ParseOptions({"--headless", "--trace", "-", "My", "Show.vrn"});
  ASSERT_EQ(r.error, "");
  EXPECT_TRUE(r.options.headless);
  EXPECT_EQ(r.options.trace_path, "-");
  EXPECT_EQ(r.options.command_line, "My Show.vrn");
}

TEST(Options, DoubleDashEndsOptions) {
  const auto r = ParseOptions({"--", "--headless"});
  ASSERT_EQ(r.error, "");
  EXPECT_FALSE(r.options.headless);
  EXPECT_EQ(r.options.command_line, "--headless");
}

TEST(Options, OptionsAfterTheScriptBelongToTheScriptPath) {
  const auto r = ParseOptions({"a.vrn", "--headless"});
  EXPECT_EQ(r.options.command_line, "a.vrn --headless");
  EXPECT_FALSE(r.options.headless);
}

TEST(Options, ValuesAreChecked) {
  EXPECT_EQ(ParseOptions({"--screen", "800x600"}).options.screen_width_px, 800);
  EXPECT_NE(ParseOptions({"--screen", "800"}).error, "");
  EXPECT_NE(ParseOptions({"--screen", "0x600"}).error, "");
  EXPECT_NE(ParseOptions({"--start-time", "2026-1-1T00:00:00"}).error, "");
  EXPECT_EQ(ParseOptions({"--start-time", "2026-01-31T23:59:00"}).error, "");
  EXPECT_NE(ParseOptions({"--seed", "-1"}).error, "");
  EXPECT_NE(ParseOptions({"--answer", "maybe"}).error, "");
  EXPECT_NE(ParseOptions({"--trace"}).error, "");
  EXPECT_NE(ParseOptions({"--pack", "a.vrn"}).error, "");
}

TEST(Options, UnknownOptionIsAnError) {
  EXPECT_EQ(ParseOptions({"--bogus"}).error, "unknown option '--bogus'");
}

}  // namespace
}  // namespace rirerazo::host
