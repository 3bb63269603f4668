// The recogniser on synthesised speech: command phrases of three scripts' grammars, speech
// outside them, similar commands, missing dictionary words and a character's name.
#include <gtest/gtest.h>

#include <sstream>

#include "runtime/voice_commands.h"
#include "voice/pocketsphinx_recognizer.h"
#include "voice/spoken_phrases.h"
#include "voice/wave_file.h"
#include "voice_module.h"

namespace rirerazo::voice::testing {
namespace {

struct ScriptCommands {
  std::vector<std::string> names;
  std::vector<std::string> grammars;
};

// The commands of three scripts: a desk assistant, a storyteller and a presenter.
const ScriptCommands kAssistant{
    {"Open", "Weather", "Time", "Music", "Stop", "Mail", "Lights"},
    {"[please] open [the] (calendar | diary)", "what is the weather [like] [today]",
     "what time is it", "(play | start) [some] music", "stop the music",
     "check [my] (email | mail)", "turn (on | off) the lights"}};
const ScriptCommands kStoryteller{
    {"Story", "Joke", "Again", "Louder", "Sing", "Dance", "Goodbye"},
    {"tell me a story", "tell me a joke", "[say it] again", "speak louder", "sing [me] a song",
     "(dance | do a dance)", "(goodbye | good night)"}};
const ScriptCommands kPresenter{
    {"Next", "Previous", "First", "Pause", "Resume", "Questions", "Thanks"},
    {"next slide", "(previous | last) slide", "go to the (first | beginning)", "pause [the] show",
     "(resume | continue) [the] show", "any questions", "thank you [very much]"}};

class Recognizer : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!SpeechToolsPresent()) return;
    std::string error;
    recognizer_ = PocketsphinxRecognizer::Create(InstalledModel(), diagnostics_, &error).release();
  }
  static void TearDownTestSuite() {
    delete recognizer_;
    recognizer_ = nullptr;
  }
  void SetUp() override {
    if (!SpeechToolsPresent()) GTEST_SKIP() << "espeak-ng or sox is not installed";
    if (!recognizer_) GTEST_SKIP() << "the speech model is not installed";
    diagnostics_.str("");
  }

  // The grammars of a script's commands, with the character's name in front as its group.
  static runtime::VoiceGrammarSet Offer(const ScriptCommands& script) {
    runtime::VoiceGrammarSet set{{"Rira"}, {{"Rira", ""}}};
    for (std::size_t i = 0; i < script.names.size(); ++i) {
      set.grammars.push_back(script.grammars[i]);
      set.targets.push_back({"Rira", script.names[i]});
    }
    return set;
  }

  static platform::UserInput Hear(const runtime::VoiceGrammarSet& offered,
                                  const std::string& phrase) {
    recognizer_->SetGrammars(offered.grammars);
    std::string path = Spoken(phrase);
    EXPECT_FALSE(path.empty()) << "could not synthesise " << phrase;
    std::string error;
    std::optional<std::vector<std::int16_t>> samples = ReadSpeechWave(path, &error);
    if (!samples) {
      ADD_FAILURE() << error;
      return {};
    }
    recognizer_->StartUtterance();
    for (std::size_t at = 0; at < samples->size(); at += 1600) {
      recognizer_->Feed(samples->data() + at, std::min<std::size_t>(1600, samples->size() - at));
    }
    return runtime::DecideVoiceInput(offered, recognizer_->EndUtterance(), "Rira").input;
  }

  static PocketsphinxRecognizer* recognizer_;
  static std::ostringstream diagnostics_;
};

PocketsphinxRecognizer* Recognizer::recognizer_ = nullptr;
std::ostringstream Recognizer::diagnostics_;

TEST_F(Recognizer, CommandPhrasesOfThreeScriptsSelectTheirCommands) {
  struct Case {
    const ScriptCommands* script;
    const char* phrase;
    const char* command;
  };
  const Case cases[] = {
      {&kAssistant, "please open the calendar", "Open"},
      {&kAssistant, "open diary", "Open"},
      {&kAssistant, "what is the weather like today", "Weather"},
      {&kAssistant, "what time is it", "Time"},
      {&kAssistant, "start some music", "Music"},
      {&kAssistant, "stop the music", "Stop"},
      {&kAssistant, "check my email", "Mail"},
      {&kAssistant, "turn off the lights", "Lights"},
      {&kStoryteller, "tell me a story", "Story"},
      {&kStoryteller, "tell me a joke", "Joke"},
      {&kStoryteller, "say it again", "Again"},
      {&kStoryteller, "speak louder", "Louder"},
      {&kStoryteller, "sing me a song", "Sing"},
      {&kStoryteller, "do a dance", "Dance"},
      {&kStoryteller, "good night", "Goodbye"},
      {&kPresenter, "next slide", "Next"},
      {&kPresenter, "previous slide", "Previous"},
      {&kPresenter, "last slide", "Previous"},
      {&kPresenter, "go to the beginning", "First"},
      {&kPresenter, "pause the show", "Pause"},
      {&kPresenter, "continue the show", "Resume"},
      {&kPresenter, "any questions", "Questions"},
      {&kPresenter, "thank you very much", "Thanks"},
  };
  for (const Case& test : cases) {
    platform::UserInput heard = Hear(Offer(*test.script), test.phrase);
    EXPECT_EQ(heard.name, test.command) << test.phrase << " heard as \"" << heard.voice << "\"";
    EXPECT_GT(heard.confidence, -40) << test.phrase << " heard as \"" << heard.voice << "\"";
  }
}

TEST_F(Recognizer, SpeechOutsideTheGrammarsScoresAtMinusFortyOrBelow) {
  for (const char* sentence :
       {"the weather is lovely today in paris", "good morning everybody",
        "my cat likes to sleep on the sofa", "can you recommend a restaurant nearby",
        "i would like a cup of coffee", "this is a test of the microphone"}) {
    platform::UserInput heard = Hear(Offer(kAssistant), sentence);
    EXPECT_TRUE(heard.name.empty() || heard.confidence <= -40)
        << sentence << " heard as \"" << heard.voice << "\" (" << heard.name << ", "
        << heard.confidence << ")";
  }
}

// Sentences that begin with a command's words and go on: the grammar path takes the command
// and passes the rest off as silence.
TEST_F(Recognizer, SentencesThatOnlyBeginLikeACommandScoreAtMinusFortyOrBelow) {
  struct Case {
    const ScriptCommands* script;
    const char* sentence;
  };
  const Case cases[] = {
      {&kAssistant, "what is the capital of france"},
      {&kAssistant, "what is the weather going to be like next week"},
      {&kAssistant, "please open the calendar for tomorrow morning"},
      {&kAssistant, "check my email and then make some tea"},
      {&kAssistant, "turn off the lights in the kitchen please"},
      {&kStoryteller, "tell me about your day"},
      {&kStoryteller, "sing along with the radio"},
      {&kStoryteller, "goodbye and thanks for all the fish"},
      {&kStoryteller, "tell me a joke about a horse"},
      {&kPresenter, "next time we should meet earlier"},
      {&kPresenter, "thank you for coming to my talk"},
      {&kPresenter, "next slide please if you would"},
  };
  for (const Case& test : cases) {
    platform::UserInput heard = Hear(Offer(*test.script), test.sentence);
    EXPECT_TRUE(heard.name.empty() || heard.confidence <= -40)
        << test.sentence << " heard as \"" << heard.voice << "\" (" << heard.name << ", "
        << heard.confidence << ")";
  }
}

// Two commands that differ in one word: the one said wins, the other is its alternative,
// scored lower; never the other way round.
TEST_F(Recognizer, SimilarCommandsComeWithTheOtherAsALowerAlternative) {
  runtime::VoiceGrammarSet offered = Offer(kStoryteller);
  platform::UserInput joke = Hear(offered, "tell me a joke");
  EXPECT_EQ(joke.name, "Joke");
  platform::UserInput story = Hear(offered, "tell me a story");
  EXPECT_EQ(story.name, "Story");
  for (const platform::UserInput* input : {&joke, &story}) {
    if (input->alt1_name.empty()) continue;
    EXPECT_NE(input->alt1_name, input->name);
    EXPECT_LE(input->alt1_confidence, input->confidence);
  }
}

// The same phrase in two commands' grammars: both are reported with one confidence, which
// the player's filter refuses as too close to call.
TEST_F(Recognizer, APhraseTwoCommandsShareIsReportedWithBothAtOneConfidence) {
  runtime::VoiceGrammarSet offered{{"tell me a joke", "[please] tell me a joke"},
                                   {{"Rira", "Joke"}, {"Rira", "Jest"}}};
  platform::UserInput heard = Hear(offered, "tell me a joke");
  EXPECT_EQ(heard.name, "Joke");
  EXPECT_EQ(heard.alt1_name, "Jest");
  EXPECT_EQ(heard.alt1_confidence, heard.confidence);
}

TEST_F(Recognizer, AWordMissingFromTheDictionaryIsReportedOnceAndLeftOut) {
  runtime::VoiceGrammarSet offered{{"open the flurbotron calendar", "flurbotron"},
                                   {{"Rira", "Open"}, {"Rira", "Odd"}}};
  platform::UserInput heard = Hear(offered, "open the calendar");
  EXPECT_EQ(heard.name, "Open");
  std::string said = diagnostics_.str();
  EXPECT_NE(said.find("\"open the flurbotron calendar\""), std::string::npos) << said;
  EXPECT_NE(said.find("flurbotron); they are left out"), std::string::npos) << said;
  EXPECT_NE(said.find("\"flurbotron\" has words"), std::string::npos) << said;
  EXPECT_NE(said.find("it cannot be spoken"), std::string::npos) << said;
  diagnostics_.str("");
  Hear(offered, "open the calendar");
  EXPECT_EQ(diagnostics_.str(), "") << "reported once";
}

TEST_F(Recognizer, TheCharactersNameSelectsItsGroup) {
  runtime::VoiceGrammarSet offered = Offer(kPresenter);
  offered.grammars.push_back("Genie");
  offered.targets.push_back({"Genie", ""});
  runtime::VoiceDecision decision =
      runtime::DecideVoiceInput(offered, {}, "Rira");  // nothing heard: the listener
  EXPECT_EQ(decision.character_id, "Rira");
  recognizer_->SetGrammars(offered.grammars);
  platform::UserInput heard = Hear(offered, "genie");
  EXPECT_EQ(heard.character_id, "Genie");
  EXPECT_EQ(heard.name, "");
  EXPECT_GT(heard.confidence, -40) << heard.voice;
}

TEST_F(Recognizer, NoGrammarOfferedHearsNothing) {
  EXPECT_FALSE(recognizer_->SetGrammars({"xyzzyq plugh"}));
  recognizer_->StartUtterance();
  std::vector<std::int16_t> noise(16000, 300);
  recognizer_->Feed(noise.data(), noise.size());
  EXPECT_TRUE(recognizer_->EndUtterance().phrases.empty());
}

}  // namespace
}  // namespace rirerazo::voice::testing
