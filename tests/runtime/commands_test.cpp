// Commands: the menu and voice grammar of a character, and what choosing or saying one raises.
#include <gtest/gtest.h>

#include "runtime/commands.h"
#include "runtime/runtime_test_support.h"

namespace rirerazo::runtime::testing {
namespace {

using Lines = std::vector<std::string>;

TEST(VoiceGrammar, WordsOptionsAlternativesAndWildcards) {
  struct Case {
    const char* grammar;
    const char* phrase;
    bool matches;
  };
  const Case cases[] = {
      {"open file", "Open FILE", true},
      {"open file", "open the file", false},
      {"[please] open [the] file", "please open file", true},
      {"[please] open [the] file", "open the file!", true},
      {"(show | display) [the] (menu | list)", "display list", true},
      {"(show | display) [the] (menu | list)", "show the", false},
      {"stop | halt | quit", "halt", true},
      {"tell me ... joke", "tell me a really good joke", true},
      {"tell me ... joke", "tell me joke", true},
      {"tell me ... joke", "tell me a joke please", false},
      {"Greet, friend.", "greet friend", true},
      {"[a [b [c]]] d", "a b d", true},
      {"(unclosed", "unclosed", false},
      {"", "anything", false},
      {"word", "", false},
  };
  for (const Case& test : cases) {
    EXPECT_EQ(VoiceGrammarMatches(test.grammar, test.phrase), test.matches)
        << test.grammar << " / " << test.phrase;
  }
}

TEST(VoiceGrammar, DeepNestingLongPhrasesAndPunctuationFloodsNeverMatchOrCrash) {
  std::string deep(100, '[');
  deep += "x" + std::string(100, ']');
  EXPECT_FALSE(VoiceGrammarMatches(deep, "x"));
  std::string phrase;
  for (std::size_t i = 0; i <= kMaxPhraseWords; ++i) phrase += "w ";
  EXPECT_FALSE(VoiceGrammarMatches("...", phrase));
  EXPECT_FALSE(VoiceGrammarMatches(std::string(1 << 20, '!'), "go"));
}

TEST(CommandSet, NamesAreUniqueIgnoringCase) {
  CommandSet commands;
  commands.Add("Greet", "&Greet", "hello");
  EXPECT_THROW(commands.Add("GREET", "Again", ""), RuntimeError);
  EXPECT_THROW(commands.Add("", "Nameless", ""), RuntimeError);
  EXPECT_EQ(commands.Count(), 1);
  EXPECT_EQ(commands.Find("greet")->caption, "&Greet");
  commands.RemoveAll();
  EXPECT_EQ(commands.Count(), 0);
}

class CommandInput : public ::testing::Test {
 protected:
  void SetUp() override {
    c = &h.Load("Host");
    c->SetCommandsCaption("RIRERazo - Host");
    c->SetCommandsVoice("Host");
    c->CommandsAdd("Greet", "Greet me", "[please] (greet | hello)");
    c->CommandsAdd("Wave", "Wave", "hello [there]");
    c->CommandsAdd("VORNClose", "Close", "");
  }
  Harness h;
  platform::AgentCharacter* c = nullptr;
};

TEST_F(CommandInput, ChoosingFromTheMenuRaisesCommandWhenThePlayerYields) {
  EXPECT_EQ(c->CommandsCount(), 3);
  EXPECT_EQ(c->CommandCaption("greet"), "Greet me");
  EXPECT_THROW(c->CommandCaption("Nope"), RuntimeError);
  platform::UserInput input;
  input.name = "VORNClose";
  input.confidence = 99;
  h.runtime.ChooseCommand("host", input);
  EXPECT_TRUE(h.log.lines.empty());
  h.RunUntil(0);
  EXPECT_EQ(h.log.lines, Lines{"0 command Host VORNClose 99"});
  input.name = "Unknown";
  EXPECT_THROW(h.runtime.ChooseCommand("Host", input), RuntimeError);
}

// "hello" fits two grammars: reported as the first with the second as an alternative of the
// same confidence, so the player can see it is ambiguous.
TEST_F(CommandInput, SpokenPhrasesMatchTheGrammarsAndEndListening) {
  c->Listen(true);
  c->Listen(true);  // already listening: nothing new
  h.RunUntil(10);
  h.runtime.Hear("Host", "please greet", 80);
  h.RunUntil(20);
  h.runtime.Hear("Host", "hello", 70);  // push-to-talk: a session of its own
  h.runtime.Hear("Host", "sing a song", 90);
  h.RunUntil(30);
  c->Listen(false);  // not listening any more: nothing
  h.RunUntil(40);
  EXPECT_EQ(h.log.lines,
            (Lines{"0 listen-start Host", "10 listen-end Host", "10 command Host Greet 80",
                   "20 listen-start Host", "20 listen-end Host", "20 command Host Greet 70 Wave",
                   "20 listen-start Host", "20 listen-end Host", "20 command Host  90"}));
  EXPECT_TRUE(h.runtime.AwaitsUserInput());  // commands are offered
}

TEST_F(CommandInput, ClicksAndDragsReportPositionsAndMoveTheCharacter) {
  h.runtime.Drag("Host", 400, 300);
  h.runtime.Click("Host", 450, 350);
  h.RunUntil(0);
  EXPECT_EQ(h.log.lines, (Lines{"0 drag Host 400 300", "0 click Host 450 350"}));
  EXPECT_EQ(c->Left(), 400);
  EXPECT_EQ(c->Top(), 300);
}

TEST_F(CommandInput, ShowingAndHidingFromTheCharactersOwnMenuIsTheUsers) {
  h.runtime.UserShow("Host");
  h.runtime.UserShow("Host");
  h.runtime.UserHide("host");
  h.RunUntil(0);
  EXPECT_EQ(h.log.lines, (Lines{"0 show Host user", "0 hide Host user"}));
}

}  // namespace
}  // namespace rirerazo::runtime::testing
