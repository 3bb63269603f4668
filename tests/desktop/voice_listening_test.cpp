// Listening sessions on the desktop with a fake voice module (a scripted listener and
// microphone): what opens and closes them (the script, the listening key, a phrase, the
// timeout, a microphone that goes away), which events the runtime raises, and what the
// listening tip says.
#include <gtest/gtest.h>

#include <deque>
#include <sstream>
#include <thread>

#include "desktop/character_test_support.h"
#include "desktop/host/voice_listening.h"
#include "desktop/voice_test_support.h"
#include "runtime/acs/acs_file.h"
#include "runtime/rate_model.h"

namespace rirerazo::desktop::testing {
namespace {

class ListeningTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(kRiraPath)) GTEST_SKIP() << "Rira.acs is not built";
    FakeVoice::Reset();
    runtime_.SetEventListener(&events_);
    runtime_.SetFileLoader([](const std::string& path) {
      return std::make_shared<const acs::Character>(acs::ReadCharacterFile(path));
    });
    runtime_.Load("Rira", kRiraPath);
    platform::AgentCharacter& rira = runtime_.Character("Rira");
    rira.SetCommandsVoice("Rira");
    rira.CommandsAdd("Weather", "Weather", "[what is the] weather");
    voice_.SetTipObserver([this](const ListeningTipState& tip) { tips_.push_back(tip); });
  }
  void TearDown() override { FakeVoice::Reset(); }

  // Serves the listening like the desktop loop, for `duration_ms` in steps.
  void RunFor(std::int64_t duration_ms) {
    const std::int64_t end_ms = clock_.now_ms + duration_ms;
    while (clock_.now_ms < end_ms) {
      clock_.now_ms += 10;
      runtime_.Advance(clock_.now_ms);
      std::optional<std::int64_t> due = voice_.NextDueMs();
      if (due && *due <= clock_.now_ms) voice_.Serve(clock_.now_ms);
    }
    runtime_.DeliverEvents();
  }
  // Serves the listening until the recogniser's loading thread is done and a session opens,
  // for at most a few seconds of real time.
  void RunUntilOpen() {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!voice_.Open() && std::chrono::steady_clock::now() < until) {
      RunFor(kListenPollMs);
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }
  // A recognition of `text` at `confidence`, accepted by the offered grammar `grammar`.
  runtime::Recognition Phrase(const std::string& text, std::int32_t confidence,
                              const std::string& grammar) {
    std::size_t index = 0;
    while (index < FakeVoice::grammars.size() && FakeVoice::grammars[index] != grammar) ++index;
    EXPECT_LT(index, FakeVoice::grammars.size()) << grammar << " was not offered";
    runtime::Recognition heard;
    heard.phrases.push_back({text, confidence, {index}});
    return heard;
  }

  SettableClock clock_;
  runtime::RateModelEngine engine_;
  runtime::CharacterRuntime runtime_{clock_, engine_, {}};
  ListenEvents events_;
  std::ostringstream err_;
  VoiceListening voice_{runtime_, clock_, err_, FakeVoice::Loader};
  std::vector<ListeningTipState> tips_;
};

TEST_F(ListeningTest, TheKeyOpensASessionThatItsReleaseCloses) {
  voice_.KeyPressed(clock_.now_ms);
  EXPECT_TRUE(voice_.Open());
  EXPECT_EQ(FakeVoice::microphones, 1);
  EXPECT_EQ(voice_.Tip(), (ListeningTipState{"Rira", "Listening\u2026", true}));
  EXPECT_EQ(FakeVoice::grammars, (std::vector<std::string>{"Rira", "[what is the] weather"}));
  RunFor(kListenTimeoutMs + 1000);
  EXPECT_TRUE(voice_.Open()) << "no time-out while the key is held";
  voice_.KeyReleased(clock_.now_ms);
  EXPECT_FALSE(voice_.Open());
  EXPECT_EQ(FakeVoice::finished_keeping_phrase, 1) << "a phrase being said is heard out";
  RunFor(100);
  EXPECT_EQ(events_.log, (std::vector<std::string>{"ListenStart Rira", "ListenComplete Rira"}));
  EXPECT_EQ(voice_.Tip().text, "Nothing heard");
  RunFor(kTipShownMs);
  EXPECT_EQ(voice_.Tip(), ListeningTipState{}) << "the tip goes after a while";
  EXPECT_TRUE(err_.str().empty()) << err_.str();
}

TEST_F(ListeningTest, APhraseStillBeingSaidAtTheReleaseRunsItsCommand) {
  voice_.KeyPressed(clock_.now_ms);
  RunFor(500);
  FakeVoice::in_progress = Phrase("what is the weather", 70, "[what is the] weather");
  voice_.KeyReleased(clock_.now_ms);
  RunFor(100);
  ASSERT_EQ(events_.commands.size(), 1u);
  EXPECT_EQ(events_.commands[0].name, "Weather");
  EXPECT_EQ(events_.commands[0].confidence, 70);
  EXPECT_EQ(events_.log.back(), "Command Rira");
  EXPECT_EQ(voice_.Tip().text, "\u201cwhat is the weather\u201d");
  EXPECT_FALSE(voice_.Tip().listening);
}

TEST_F(ListeningTest, AScriptSessionEndsWithAPhraseOrAfterTheTimeout) {
  runtime_.Character("Rira").Listen(true);
  RunFor(100);
  ASSERT_TRUE(voice_.Open()) << "Listen True opens the microphone";
  FakeVoice::Report(Phrase("weather", -55, "[what is the] weather"));
  RunFor(100);
  EXPECT_FALSE(voice_.Open());
  ASSERT_EQ(events_.commands.size(), 1u);
  EXPECT_EQ(events_.commands[0].confidence, -55) << "the player decides what is too unsure";
  EXPECT_EQ(voice_.Tip().text, "Not understood");

  events_.log.clear();
  runtime_.Character("Rira").Listen(true);
  RunFor(kListenTimeoutMs - 200);
  EXPECT_TRUE(voice_.Open());
  RunFor(400);
  EXPECT_FALSE(voice_.Open());
  EXPECT_EQ(events_.log, (std::vector<std::string>{"ListenStart Rira", "ListenComplete Rira"}));
  EXPECT_EQ(voice_.Tip().text, "Nothing heard");

  // The script's Listen False closes the microphone and takes the tip away.
  runtime_.Character("Rira").Listen(true);
  RunFor(100);
  ASSERT_TRUE(voice_.Open());
  runtime_.Character("Rira").Listen(false);
  RunFor(100);
  EXPECT_FALSE(voice_.Open());
  EXPECT_EQ(voice_.Tip(), ListeningTipState{});
  EXPECT_EQ(FakeVoice::open_listeners, 0);
}

TEST_F(ListeningTest, TheKeyHeldDuringAScriptSessionLiftsItsTimeout) {
  runtime_.Character("Rira").Listen(true);
  RunFor(100);
  voice_.KeyPressed(clock_.now_ms);
  EXPECT_EQ(FakeVoice::microphones, 1) << "the open session goes on";
  RunFor(kListenTimeoutMs + 500);
  EXPECT_TRUE(voice_.Open());
  voice_.KeyReleased(clock_.now_ms);
  RunFor(100);
  EXPECT_FALSE(voice_.Open());
  EXPECT_FALSE(runtime_.Listening("Rira"));
}

TEST_F(ListeningTest, AMicrophoneThatGoesAwayEndsTheSessionAndVoiceInput) {
  runtime_.Character("Rira").Listen(true);
  RunFor(100);
  FakeVoice::ReportGone();
  RunFor(100);
  EXPECT_FALSE(voice_.Open());
  EXPECT_FALSE(runtime_.Listening("Rira"));
  EXPECT_NE(err_.str().find("the microphone went away"), std::string::npos) << err_.str();
  runtime_.Character("Rira").Listen(true);
  RunFor(100);
  EXPECT_FALSE(voice_.Open()) << "voice input stays off";
  EXPECT_EQ(FakeVoice::microphones, 1);
}

// Without the module (or a microphone) the key still raises the listening events, and the
// reason is said once.
TEST_F(ListeningTest, WithoutVoiceInputTheKeyStillRaisesItsEvents) {
  FakeVoice::module_present = false;
  for (int i = 0; i < 2; ++i) {
    voice_.KeyPressed(clock_.now_ms);
    EXPECT_FALSE(voice_.Open());
    EXPECT_EQ(voice_.Tip().text, "Voice input is unavailable");
    RunFor(100);
    voice_.KeyReleased(clock_.now_ms);
    RunFor(100);
  }
  EXPECT_EQ(events_.log, (std::vector<std::string>{"ListenStart Rira", "ListenComplete Rira",
                                                   "ListenStart Rira", "ListenComplete Rira"}));
  EXPECT_EQ(err_.str(), "rirerazo: voice input is unavailable: no module here\n");
  EXPECT_EQ(FakeVoice::loads, 1);
}

TEST_F(ListeningTest, TheModuleIsLoadedOnlyWhenSomethingListens) {
  RunFor(500);
  EXPECT_EQ(FakeVoice::loads, 0);
  voice_.KeyPressed(clock_.now_ms);
  EXPECT_EQ(FakeVoice::loads, 1);
  voice_.KeyReleased(clock_.now_ms);
  voice_.KeyPressed(clock_.now_ms);
  voice_.KeyReleased(clock_.now_ms);
  EXPECT_EQ(FakeVoice::loads, 1);
  EXPECT_EQ(FakeVoice::microphones, 2) << "the microphone is open only while listening";
  EXPECT_EQ(FakeVoice::open_listeners, 0);
}

// Commands none of whose words the dictionary has: nothing can be heard, and the player is
// not kept busy asking again on every turn of its loop.
TEST_F(ListeningTest, WithNothingToListenForTheMicrophoneStaysClosed) {
  FakeVoice::offerable = false;
  runtime_.Character("Rira").Listen(true);
  RunFor(3000);
  EXPECT_FALSE(voice_.Open());
  EXPECT_EQ(FakeVoice::microphones, 0);
  EXPECT_GE(FakeVoice::grammar_sets, 2) << "tried again later";
  EXPECT_LE(FakeVoice::grammar_sets, 4);
  FakeVoice::offerable = true;
  RunFor(1000);
  EXPECT_TRUE(voice_.Open()) << "once the grammars can be offered";
}

// A first load of the recogniser takes seconds: the player carries on meanwhile, with the
// microphone already open, and the session starts on that microphone once the load is done.
// Let go before then, the key ends listening as ever.
TEST_F(ListeningTest, ASlowRecognizerLoadDoesNotHoldThePlayer) {
  FakeVoice::hold_recognizer = true;
  voice_.KeyPressed(clock_.now_ms);
  EXPECT_FALSE(voice_.Open());
  EXPECT_EQ(voice_.Tip(), (ListeningTipState{"Rira", "Listening\u2026", true}));
  EXPECT_EQ(FakeVoice::microphones, 1);
  voice_.KeyReleased(clock_.now_ms);
  RunFor(100);
  EXPECT_EQ(events_.log, (std::vector<std::string>{"ListenStart Rira", "ListenComplete Rira"}));
  EXPECT_EQ(voice_.Tip().text, "Nothing heard");

  voice_.KeyPressed(clock_.now_ms);
  RunFor(500);
  EXPECT_FALSE(voice_.Open());
  EXPECT_EQ(FakeVoice::microphones, 2);
  FakeVoice::hold_recognizer = false;
  RunUntilOpen();
  EXPECT_TRUE(voice_.Open());
  EXPECT_EQ(FakeVoice::microphones, 2) << "the session listens on the microphone opened before";
  EXPECT_EQ(FakeVoice::grammars, (std::vector<std::string>{"Rira", "[what is the] weather"}));
  EXPECT_EQ(FakeVoice::loads, 1);
}

TEST_F(ListeningTest, AListenerUnloadedMidSessionEndsIt) {
  voice_.KeyPressed(clock_.now_ms);
  runtime_.Unload("Rira");
  RunFor(100);
  EXPECT_FALSE(voice_.Open());
  voice_.KeyReleased(clock_.now_ms);  // nobody left to stop listening
  EXPECT_EQ(voice_.Tip(), ListeningTipState{});
}

}  // namespace
}  // namespace rirerazo::desktop::testing
