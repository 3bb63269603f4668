// The character runtime speaking through the desktop's engines on a test clock: bookmarks
// raised in order as the (silent) sound reaches them, and the mouth following the shapes an
// engine reports instead of the word-by-word mouths.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>

#include "desktop/audio/null_audio_output.h"
#include "desktop/speech/espeak_engine.h"
#include "desktop/speech/private/timed_utterance.h"
#include "platform/clock.h"
#include "runtime/character_runtime.h"

namespace rirerazo::desktop {
namespace {

const std::string kMerlin = std::string(RIRERAZO_SHARED_DIR) + "/characters/Merlin.acs";

class TestClock : public platform::Clock {
 public:
  std::int64_t NowMs() const override { return now_ms; }
  platform::LocalDateTime LocalNow() const override { return {}; }
  std::int64_t now_ms = 0;
};

class EventRecorder : public platform::AgentEvents {
 public:
  explicit EventRecorder(const TestClock& clock) : clock_(clock) {}
  void OnBookmark(std::int32_t id) override { bookmarks.push_back({id, clock_.now_ms}); }
  void OnRequestComplete(platform::AgentRequest request) override {
    completed[request.id] = clock_.now_ms;
  }
  void OnCommand(const platform::UserInput&) override {}
  void OnShow(const std::string&, platform::VisibilityCause) override {}
  void OnHide(const std::string&, platform::VisibilityCause) override {}

  std::vector<std::pair<std::int32_t, std::int64_t>> bookmarks;
  std::map<std::int32_t, std::int64_t> completed;

 private:
  const TestClock& clock_;
};

// A runtime with Merlin loaded, on the test clock, driven the way a host's loop does.
class SpeakingRuntime {
 public:
  SpeakingRuntime(TestClock& clock, runtime::SpeechEngine& engine)
      : clock_(clock), runtime_(clock_, engine, Options()), events_(clock_) {
    runtime_.SetEventListener(&events_);
    runtime_.Load("M", kMerlin);
  }

  platform::AgentCharacter& Merlin() { return runtime_.Character("M"); }
  // Runs until nothing is due, noting the mouth shape after every step.
  void RunAll(std::set<int>* mouths = nullptr) {
    for (int steps = 0; steps < 100000; ++steps) {
      runtime_.DeliverEvents();
      std::optional<std::int64_t> due = runtime_.NextDueMs();
      if (!due || *due > 600000) return;
      clock_.now_ms = std::max(clock_.now_ms, *due);
      runtime_.Advance(clock_.now_ms);
      if (mouths) mouths->insert(runtime_.Frame("M").mouth_shape);
    }
  }

  TestClock& clock_;
  runtime::CharacterRuntime runtime_;
  EventRecorder events_;

 private:
  static runtime::RuntimeOptions Options() {
    runtime::RuntimeOptions options;
    options.idle_enabled = false;
    return options;
  }
};

TEST(SpeechThroughRuntime, BookmarksAreRaisedInOrderAsSpeechReachesThem) {
  if (!std::filesystem::exists(kMerlin)) GTEST_SKIP() << "Merlin.acs is not available";
  TestClock clock;
  // The (silent) sound plays on the runtime's clock.
  auto output = MakeNullAudioOutput([&clock] { return clock.now_ms; });
  EspeakEngine engine(*output);
  if (!engine.Ready()) GTEST_SKIP() << "espeak-ng or its voice data is not installed";
  SpeakingRuntime h(clock, engine);
  h.Merlin().Show();
  platform::AgentRequest speech =
      h.Merlin().Speak("First words \\mrk=11\\ then more \\mrk=22\\ and the end.", std::nullopt);
  std::set<int> mouths;
  h.RunAll(&mouths);
  ASSERT_EQ(h.events_.bookmarks.size(), 2u);
  EXPECT_EQ(h.events_.bookmarks[0].first, 11);
  EXPECT_EQ(h.events_.bookmarks[1].first, 22);
  EXPECT_LT(h.events_.bookmarks[0].second, h.events_.bookmarks[1].second);
  ASSERT_TRUE(h.events_.completed.count(speech.id));
  EXPECT_GT(h.events_.completed[speech.id], h.events_.bookmarks[1].second);
  EXPECT_GE(mouths.size(), 4u) << "the mouth moved through the engine's shapes";
}

// An engine that reports fixed mouths: 4, then 1, then closed.
class MouthEngine : public runtime::SpeechEngine {
 public:
  bool ServesLanguage(std::int32_t) const override { return true; }
  std::unique_ptr<runtime::Utterance> Speak(const runtime::SpeechText&,
                                            const runtime::VoiceSettings&, bool) override {
    using K = runtime::SpeechProgress::Kind;
    return std::make_unique<TimedUtterance>(
        std::vector<runtime::SpeechProgress>{{K::kWord, 0, 0, 0, 0},
                                             {K::kMouth, 0, 0, 0, 4},
                                             {K::kMouth, 100, 0, 0, 1},
                                             {K::kWord, 200, 1, 0, 0},
                                             {K::kMouth, 200, 0, 0, 0},
                                             {K::kEnd, 300, 0, 0, 0}},
        nullptr);
  }
};

TEST(SpeechThroughRuntime, MouthFollowsTheEnginesShapes) {
  if (!std::filesystem::exists(kMerlin)) GTEST_SKIP() << "Merlin.acs is not available";
  TestClock clock;
  MouthEngine engine;
  SpeakingRuntime h(clock, engine);
  h.Merlin().Show();
  h.RunAll();
  h.Merlin().Speak("Two words", std::nullopt);
  std::set<int> mouths;
  h.RunAll(&mouths);
  EXPECT_EQ(mouths, (std::set<int>{-1, 0, 1, 4}));
}

}  // namespace
}  // namespace rirerazo::desktop
