#include "core/agent/speech_text.h"

#include <gtest/gtest.h>

namespace rirerazo {
namespace {

TEST(SplitSpeech, SoundFileAfterTheText) {
  SpeechParts parts = SplitSpeech("Hello there\", \"hi.wav", "");
  EXPECT_EQ(parts.text, "Hello there");
  EXPECT_EQ(parts.sound, "hi.wav");
  EXPECT_TRUE(parts.sound_given);
  parts = SplitSpeech(" Hello \" , \" hi.wav \" ", "");
  EXPECT_EQ(parts.text, "Hello");
  EXPECT_EQ(parts.sound, "hi.wav");
}

TEST(SplitSpeech, SoundWithoutText) {
  const SpeechParts parts = SplitSpeech(",\"hi.wav", "");
  EXPECT_EQ(parts.text, "");
  EXPECT_EQ(parts.sound, "hi.wav");
}

TEST(SplitSpeech, WithoutTheSeparatorEverythingStaysAsPassed) {
  const SpeechParts parts = SplitSpeech("  He said \"no\", really ", "keep.wav");
  EXPECT_EQ(parts.text, "  He said \"no\", really ");
  EXPECT_EQ(parts.sound, "keep.wav");
  EXPECT_FALSE(parts.sound_given);
}

TEST(PlayerName, TaggedOnlyWhereItStandsAlone) {
  const std::string tag = "\\Map=\"Vorn\"=\"VORN\"\\";
  EXPECT_EQ(TagPlayerName("VORN rocks"), tag + " rocks");
  EXPECT_EQ(TagPlayerName("I like VORN"), "I like " + tag);
  EXPECT_EQ(TagPlayerName("I like VORN."), "I like " + tag + ".");
  EXPECT_EQ(TagPlayerName("a VORN b"), "a " + tag + " b");
  // Once tagged, every occurrence is, inside longer words too.
  EXPECT_EQ(TagPlayerName("VORNS and VORN!"), tag + "S and " + tag + "!");
  EXPECT_EQ(TagPlayerName("the VORNS are"), "the VORNS are");
  EXPECT_EQ(TagPlayerName("I like Vorn"), "I like Vorn");
  EXPECT_EQ(TagPlayerName("VORN"), tag);
}

}  // namespace
}  // namespace rirerazo
