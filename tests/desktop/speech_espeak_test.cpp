// The espeak-ng engine: synthesis with words, bookmarks and mouths at their places in the
// sound, pacing by the sound's clock, thoughts in silence, cancelling, voice choice; and the
// runtime speaking through it end to end. Skips when the synthesiser's data is missing.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "desktop/audio/null_audio_output.h"
#include "desktop/speech/espeak_engine.h"
#include "runtime/speech_tags.h"
#include "support/media_bytes.h"
#include "support/scratch_folder.h"

namespace rirerazo::desktop {
namespace {

using runtime::ParseSpeechText;
using runtime::SpeechProgress;
using Kind = runtime::SpeechProgress::Kind;

// Plays on the null output's clock (the test's) and remembers what it was given.
class RecordingOutput : public AudioOutput {
 public:
  explicit RecordingOutput(const std::int64_t& now_ms)
      : null_(MakeNullAudioOutput([&now_ms] { return now_ms; })) {}

  std::unique_ptr<AudioStream> Play(std::vector<std::int16_t> samples, PcmFormat format,
                                    float volume) override {
    played_samples = samples.size();
    played_format = format;
    ++plays;
    return std::make_unique<Stream>(null_->Play(std::move(samples), format, volume), stops);
  }
  bool Audible() const override { return false; }

  int plays = 0;
  int stops = 0;
  std::size_t played_samples = 0;
  PcmFormat played_format;

 private:
  class Stream : public AudioStream {
   public:
    Stream(std::unique_ptr<AudioStream> inner, int& stops)
        : inner_(std::move(inner)), stops_(stops) {}
    std::int64_t PlayedMs() const override { return inner_->PlayedMs(); }
    std::int64_t DurationMs() const override { return inner_->DurationMs(); }
    bool Finished() const override { return inner_->Finished(); }
    void Stop() override {
      if (!inner_->Finished()) ++stops_;
      inner_->Stop();
    }

   private:
    std::unique_ptr<AudioStream> inner_;
    int& stops_;
  };
  std::unique_ptr<AudioOutput> null_;
};

class EspeakTest : public ::testing::Test {
 protected:
  void SetUp() override {
    engine_ = std::make_unique<EspeakEngine>(output_);
    if (!engine_->Ready()) GTEST_SKIP() << "espeak-ng or its voice data is not installed";
  }

  // Every report, each taken when the clock reaches the time the utterance asks for.
  std::vector<SpeechProgress> Drain(runtime::Utterance& utterance) {
    std::vector<SpeechProgress> reports;
    while (std::optional<std::int64_t> due = utterance.NextDueMs()) {
      now_ms_ = std::max(now_ms_, *due);
      SpeechProgress report;
      while (utterance.Poll(now_ms_, report)) {
        EXPECT_LE(report.at_ms, now_ms_) << "reported before its time";
        reports.push_back(report);
      }
    }
    return reports;
  }

  std::int64_t now_ms_ = 0;
  RecordingOutput output_{now_ms_};
  std::unique_ptr<EspeakEngine> engine_;
  runtime::VoiceSettings voice_;
};

std::vector<SpeechProgress> OfKind(const std::vector<SpeechProgress>& reports, Kind kind) {
  std::vector<SpeechProgress> out;
  std::copy_if(reports.begin(), reports.end(), std::back_inserter(out),
               [kind](const SpeechProgress& r) { return r.kind == kind; });
  return out;
}

TEST_F(EspeakTest, ReportsWordsAndMarksInOrderWithinTheSound) {
  const auto text = ParseSpeechText("Hello there \\mrk=1\\ my good friend, \\mrk=2\\ goodbye now");
  auto utterance = engine_->Speak(text, voice_, false);
  ASSERT_EQ(output_.plays, 1);
  EXPECT_EQ(output_.played_format.channels, 1);
  const std::int64_t sound_ms =
      std::int64_t(output_.played_samples) * 1000 / output_.played_format.sample_rate_hz;
  const std::vector<SpeechProgress> reports = Drain(*utterance);
  ASSERT_FALSE(reports.empty());
  EXPECT_EQ(reports.back().kind, Kind::kEnd);
  EXPECT_NEAR(double(reports.back().at_ms), double(sound_ms), 1.0);
  EXPECT_TRUE(std::is_sorted(reports.begin(), reports.end(),
                             [](auto& a, auto& b) { return a.at_ms < b.at_ms; }));

  // Words and marks: each item once, in item order; words at distinct, rising times.
  std::vector<std::uint32_t> items;
  std::vector<std::int64_t> word_ms;
  for (const SpeechProgress& r : reports) {
    if (r.kind == Kind::kWord || r.kind == Kind::kMark) items.push_back(r.item);
    if (r.kind == Kind::kWord) word_ms.push_back(r.at_ms);
  }
  std::vector<std::uint32_t> expected(text.items.size());
  for (std::uint32_t i = 0; i < expected.size(); ++i) expected[i] = i;
  EXPECT_EQ(items, expected);
  ASSERT_EQ(word_ms.size(), 7u);
  for (std::size_t i = 1; i < word_ms.size(); ++i) EXPECT_GT(word_ms[i], word_ms[i - 1]) << i;

  const auto marks = OfKind(reports, Kind::kMark);
  ASSERT_EQ(marks.size(), 2u);
  EXPECT_EQ(marks[0].mark, 1);
  EXPECT_GT(marks[0].at_ms, word_ms[1]) << "after \"there\" has begun";
  EXPECT_LE(marks[0].at_ms, word_ms[2]) << "by the time \"my\" begins";
  EXPECT_EQ(marks[1].mark, 2);
  EXPECT_GT(marks[1].at_ms, word_ms[4]);
  EXPECT_LE(marks[1].at_ms, word_ms[5]);
}

TEST_F(EspeakTest, ReportsMouthShapesAsTheSoundsChange) {
  auto utterance = engine_->Speak(ParseSpeechText("Open wide, I am speaking."), voice_, false);
  const auto mouths = OfKind(Drain(*utterance), Kind::kMouth);
  std::set<int> shapes;
  for (const SpeechProgress& m : mouths) {
    EXPECT_LE(m.mouth, 6);
    shapes.insert(m.mouth);
  }
  EXPECT_GE(shapes.size(), 4u);
  for (std::size_t i = 1; i < mouths.size(); ++i) EXPECT_NE(mouths[i].mouth, mouths[i - 1].mouth);
}

TEST_F(EspeakTest, ThinkingIsSilentButPacedAndCancelStopsTheSound) {
  auto thought = engine_->Speak(ParseSpeechText("quietly thinking aloud"), voice_, true);
  EXPECT_EQ(output_.plays, 0);
  const auto reports = Drain(*thought);
  EXPECT_EQ(OfKind(reports, Kind::kWord).size(), 3u);
  EXPECT_GT(reports.back().at_ms, 300);

  auto spoken = engine_->Speak(ParseSpeechText("this will be cut short"), voice_, false);
  spoken->Cancel();
  EXPECT_EQ(output_.stops, 1);
  EXPECT_FALSE(spoken->NextDueMs());
  SpeechProgress report;
  EXPECT_FALSE(spoken->Poll(100000, report));
}

TEST_F(EspeakTest, BookmarkAloneIsReachedAtOnceWithoutSound) {
  auto utterance = engine_->Speak(ParseSpeechText("\\mrk=111111111\\"), voice_, false);
  EXPECT_EQ(output_.plays, 0);
  const auto reports = Drain(*utterance);
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_EQ(reports[0].kind, Kind::kMark);
  EXPECT_EQ(reports[0].mark, 111111111);
  EXPECT_EQ(reports[1].kind, Kind::kEnd);
  EXPECT_EQ(reports[1].at_ms, 0);
}

TEST_F(EspeakTest, MarkupCharactersAreSpokenAsText) {
  auto utterance =
      engine_->Speak(ParseSpeechText("a < b & c \"quoted\" <mark name='9'/> done"), voice_, false);
  const auto reports = Drain(*utterance);
  EXPECT_EQ(OfKind(reports, Kind::kWord).size(), 9u);
  EXPECT_TRUE(OfKind(reports, Kind::kMark).empty()) << "text never becomes a bookmark";

  // Escaped text is longer in the markup than in speech; words after it still map to
  // themselves, each at its own time.
  const auto words =
      OfKind(Drain(*engine_->Speak(ParseSpeechText("Tom & Jerry <x> were here"), voice_, true)),
             Kind::kWord);
  ASSERT_EQ(words.size(), 6u);
  for (std::size_t i = 1; i < words.size(); ++i) EXPECT_GT(words[i].at_ms, words[i - 1].at_ms);
}

TEST_F(EspeakTest, RateSettingAndSpeedTagChangeTheLength) {
  const auto text = ParseSpeechText("one two three four five six seven eight nine ten");
  const auto fast_tagged =
      ParseSpeechText("\\Spd=300\\ one two three four five six seven eight nine ten");
  auto length_ms = [&](const runtime::SpeechText& t, std::int32_t wpm) {
    voice_.words_per_minute = wpm;
    return Drain(*engine_->Speak(t, voice_, true)).back().at_ms;
  };
  const std::int64_t slow = length_ms(text, 100);
  EXPECT_GT(slow, 18 * length_ms(text, 300) / 10);
  EXPECT_GT(slow, 15 * length_ms(fast_tagged, 100) / 10);
}

// Speak with a sound file: the recording plays instead of a voice, and the speech (with its
// bookmark) ends when the recording does, even where the file cannot be decoded.
TEST_F(EspeakTest, ARecordingIsPlayedInsteadOfAVoice) {
  testing::ScratchFolder folder;
  const testing::Bytes wave = testing::WaveFile(400);
  const std::string path = folder.Write("line.wav", testing::AsText(wave));
  const auto text = ParseSpeechText("Recorded \\mrk=5\\ line");
  auto utterance = engine_->SpeakRecording(text, path, 400);
  EXPECT_EQ(output_.plays, 1);
  const std::vector<SpeechProgress> reports = Drain(*utterance);
  ASSERT_FALSE(reports.empty());
  EXPECT_TRUE(std::any_of(reports.begin(), reports.end(), [](const SpeechProgress& r) {
    return r.kind == Kind::kMark && r.mark == 5;
  }));
  EXPECT_EQ(reports.back().kind, Kind::kEnd);
  EXPECT_EQ(reports.back().at_ms, 400);

  auto broken = engine_->SpeakRecording(text, folder / "missing.wav", 300);
  EXPECT_EQ(output_.plays, 1);
  EXPECT_EQ(Drain(*broken).back().at_ms, 300);
}

TEST_F(EspeakTest, ChoosesVoicesByModeIdThenLanguage) {
  EXPECT_TRUE(engine_->ServesLanguage(0x409));
  EXPECT_TRUE(engine_->ServesLanguage(0x407));
  EXPECT_FALSE(engine_->ServesLanguage(0x1234));
  EXPECT_EQ(engine_->VoiceFor({0x409, "{CA141FD0-AC7F-11D1-97A3-006008273008}", 0, 0}), "en-us+f1");
  EXPECT_EQ(engine_->VoiceFor({0x409, "de+f3", 0, 0}), "de+f3");
  EXPECT_EQ(engine_->VoiceFor({0x407, "", 0, 0}), "de");
  EXPECT_EQ(engine_->VoiceFor({0x409, "{12345678-0000-0000-0000-000000000000}", 0, 0}), "en-us");
  EXPECT_EQ(engine_->VoiceFor({0x1234, "", 0, 0}), "");
}

}  // namespace
}  // namespace rirerazo::desktop
