// Speech tags and the speaking-rate model.
#include <gtest/gtest.h>

#include "runtime/language_tags.h"
#include "runtime/rate_model.h"
#include "runtime/speech_tags.h"

namespace rirerazo::runtime {
namespace {

std::vector<std::string> Words(const SpeechText& text) {
  std::vector<std::string> words;
  for (const SpeechItem& item : text.items) {
    if (item.kind == SpeechItemKind::kWord) words.emplace_back(text.Word(item));
  }
  return words;
}

std::vector<std::int32_t> Marks(const SpeechText& text) {
  std::vector<std::int32_t> marks;
  for (const SpeechItem& item : text.items) {
    if (item.kind == SpeechItemKind::kMark) marks.push_back(item.value);
  }
  return marks;
}

TEST(SpeechTags, BalloonNeverShowsATag) {
  SpeechText text = ParseSpeechText(
      "\\Spd=200\\Hello \\mrk=5\\there\\Pau=300\\, \\Emp\\friend\\Pit=120\\\\Vol=65535\\ "
      "\\Chr=\"Whisper\"\\now\\Rst\\ \\Ctx=\"Address\"\\ok");
  EXPECT_EQ(text.shown, "Hello there, friend now ok");
  EXPECT_EQ(text.spoken, text.shown);
  EXPECT_EQ(Words(text), (std::vector<std::string>{"Hello", "there", ",", "friend", "now", "ok"}));
  EXPECT_EQ(Marks(text), std::vector<std::int32_t>{5});
}

TEST(SpeechTags, ItemsKeepTheOrderOfTheText) {
  SpeechText text = ParseSpeechText("a \\mrk=1\\ b \\Pau=20\\\\mrk=2\\");
  std::vector<SpeechItemKind> kinds;
  for (const SpeechItem& item : text.items) kinds.push_back(item.kind);
  using K = SpeechItemKind;
  EXPECT_EQ(kinds, (std::vector<K>{K::kWord, K::kMark, K::kWord, K::kPause, K::kMark}));
}

TEST(SpeechTags, MapSaysOneTextAndShowsAnother) {
  SpeechText text = ParseSpeechText("Hi \\Map=\"Vorn\"=\"VORN\"\\ here");
  EXPECT_EQ(text.shown, "Hi VORN here");
  EXPECT_EQ(text.spoken, "Hi Vorn here");
  // The spoken word reveals the whole shown form.
  ASSERT_EQ(text.items.size(), 3u);
  EXPECT_EQ(text.shown.substr(0, text.items[1].shown_end), "Hi VORN");

  SpeechText two = ParseSpeechText("\\Map=\"one two\"=\"1 2\"\\");
  EXPECT_EQ(Words(two), (std::vector<std::string>{"one", "two"}));
  EXPECT_EQ(two.items[0].shown_end, 3u);
}

TEST(SpeechTags, NamesIgnoreCaseAndBadValuesAreDropped) {
  EXPECT_EQ(Marks(ParseSpeechText("\\MRK=9\\\\Mrk=-3\\\\mrk=+4\\")),
            (std::vector<std::int32_t>{9, -3, 4}));
  SpeechText bad = ParseSpeechText("a\\mrk=x\\b\\mrk=99999999999\\c\\Map=\"x\"\\d");
  EXPECT_TRUE(Marks(bad).empty());
  EXPECT_EQ(bad.shown, "abcd");
}

TEST(SpeechTags, BackslashesThatAreNotTagsStayText) {
  EXPECT_EQ(ParseSpeechText("C:\\Shows\\a.wav").shown, "C:\\Shows\\a.wav");
  EXPECT_EQ(ParseSpeechText("a \\\\ b").shown, "a \\ b");
  EXPECT_EQ(ParseSpeechText("open \\mrk=5 never closed").shown, "open \\mrk=5 never closed");
  EXPECT_EQ(ParseSpeechText("trailing \\").shown, "trailing \\");
  // A quoted backslash does not close a tag.
  EXPECT_EQ(ParseSpeechText("\\Map=\"a\\b\"=\"c\"\\!").shown, "c!");
}

TEST(SpeechTags, LstAloneRepeatsTheLastSpeech) {
  EXPECT_TRUE(ParseSpeechText(" \\Lst\\ ").repeat_last);
  EXPECT_FALSE(ParseSpeechText("again \\Lst\\").repeat_last);
  EXPECT_FALSE(ParseSpeechText("\\Lst\\\\mrk=1\\").repeat_last);
}

TEST(SpeechTags, OneMegabyteIsParsedWithoutTrouble) {
  std::string big;
  while (big.size() < (1u << 20)) big += "word \\mrk=1\\ ";
  SpeechText text = ParseSpeechText(big);
  EXPECT_EQ(Words(text).size(), big.size() / 13);
  EXPECT_EQ(text.shown.find('\\'), std::string::npos);
  std::string unbroken(1u << 20, 'x');
  EXPECT_EQ(Words(ParseSpeechText(unbroken)).size(), 1u);
}

// At 160 words per minute one base is 375 ms; a word of n letters takes (n + 3) / 8 base.
TEST(RateModel, WordsPausesAndMarks) {
  std::vector<SpeechProgress> plan =
      PlanSpeech(ParseSpeechText("Hi, everyone. \\mrk=3\\\\Pau=100\\Go!"), 160);
  using K = SpeechProgress::Kind;
  ASSERT_EQ(plan.size(), 5u);
  EXPECT_EQ(plan[0].kind, K::kWord);
  EXPECT_EQ(plan[0].at_ms, 0);
  EXPECT_EQ(plan[1].at_ms, 234 + 150);        // "Hi," 2 letters, then a comma pause
  EXPECT_EQ(plan[2].kind, K::kMark);          // after "everyone." and its full stop
  EXPECT_EQ(plan[2].at_ms, 384 + 515 + 375);  // 8 letters: 375 * 11 / 8
  EXPECT_EQ(plan[2].mark, 3);
  EXPECT_EQ(plan[3].at_ms, 1274 + 100);  // the pause before "Go!"
  EXPECT_EQ(plan[4].kind, K::kEnd);
  EXPECT_EQ(plan[4].at_ms, 1374 + 234);  // no pause after the last word
}

TEST(RateModel, SpeedEmphasisAndReset) {
  auto end = [](const char* text, int wpm) {
    return PlanSpeech(ParseSpeechText(text), wpm).back().at_ms;
  };
  EXPECT_EQ(end("hello", 160), 375);
  EXPECT_EQ(end("\\Spd=320\\hello", 160), 187);
  EXPECT_EQ(end("\\Emp\\hello", 160), 468);
  EXPECT_EQ(end("\\Spd=320\\\\Rst\\hello", 160), 375);
  EXPECT_EQ(end("\\Spd=1\\hello", 160), end("hello", kMinWordsPerMinute));  // clamped
  EXPECT_EQ(end("\\Pau=-5\\\\Pau=99999999\\", 160), kMaxPauseMs);
  EXPECT_EQ(end("", 160), 0);
  EXPECT_EQ(end(std::string(5000, 'x').c_str(), 160), 375 * 27 / 8);  // letters capped
}

TEST(RateModel, LanguagesItsVoicesSpeak) {
  RateModelEngine engine;
  for (std::int32_t id : {0x409, 0x809, 0x407, 0x40C, 0x410, 0x40A, 0x413, 0x416, 0x411}) {
    EXPECT_TRUE(engine.ServesLanguage(id)) << std::hex << id;
  }
  EXPECT_TRUE(engine.ServesLanguage(0x0C0A));    // Spanish, modern sort
  EXPECT_FALSE(engine.ServesLanguage(0x419));    // known language, no voice
  EXPECT_FALSE(engine.ServesLanguage(0x12345));  // not a language
  EXPECT_EQ(LanguageTag(0x416), "pt-BR");
}

}  // namespace
}  // namespace rirerazo::runtime
