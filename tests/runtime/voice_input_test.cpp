// Speech input on the runtime's side: the recogniser's grammar built from voice grammars,
// and which character and command a recognition selects.
#include <gtest/gtest.h>

#include <set>

#include "runtime/runtime_test_support.h"
#include "runtime/voice_commands.h"
#include "runtime/voice_jsgf.h"

namespace rirerazo::runtime::testing {
namespace {

using Lines = std::vector<std::string>;

WordLookup Dictionary(std::set<std::string> words) {
  return [words](const std::string& word) { return words.count(word) > 0; };
}

TEST(VoiceJsgf, OneRulePerDistinctGrammarWithOptionsAlternativesAndAnyWords) {
  JsgfGrammar jsgf = BuildJsgf(
      {"[Please] (open | show) the file", "Host", "[please] (open | show) the file",
       "tell me ... joke"},
      Dictionary({"please", "open", "show", "the", "file", "host", "tell", "me", "joke"}));
  EXPECT_EQ(jsgf.text,
            "#JSGF V1.0;\ngrammar commands;\npublic <phrase> = <g0> | <g1> | <g2>;\n"
            "<g0> = [please] (open | show) the file;\n<g1> = host;\n<g2> = tell me <any>* joke;\n"
            "<any> = file | host | joke | me | open | please | show | tell | the;\n");
  ASSERT_EQ(jsgf.grammars.size(), 4u);
  EXPECT_EQ(GrammarsAccepting(jsgf, "show the file"), (std::vector<std::size_t>{0, 2}));
  EXPECT_EQ(GrammarsAccepting(jsgf, "tell me the joke"), (std::vector<std::size_t>{3}));
  EXPECT_TRUE(GrammarsAccepting(jsgf, "show file").empty());
}

// The missing word is left out of what is listened for and of what the heard phrase is
// matched against, so the phrase without it still selects the command.
TEST(VoiceJsgf, WordsTheDictionaryLacksAreLeftOutAndListedOnce) {
  JsgfGrammar jsgf =
      BuildJsgf({"open the zorblax zorblax file", "(zorblax | qux) now", "zorblax [qux]",
                 "... zorblax", "(unclosed", "caf\xc3\xa9 open", "open+close"},
                Dictionary({"open", "the", "file", "now", "café", "open+close"}));
  const auto& g = jsgf.grammars;
  EXPECT_EQ(g[0].missing_words, Lines{"zorblax"});
  EXPECT_EQ(g[1].missing_words, (Lines{"zorblax", "qux"}));
  EXPECT_TRUE(g[0].tree && g[1].tree);
  EXPECT_FALSE(g[2].tree) << "no word left: not offered";
  EXPECT_FALSE(g[3].tree) << "only 'any words' left: not offered";
  EXPECT_TRUE(g[4].malformed);
  EXPECT_FALSE(g[4].tree);
  EXPECT_EQ(g[5].missing_words, Lines{"caf\xc3\xa9"}) << "not plain ASCII";
  EXPECT_EQ(g[6].missing_words, Lines{"open+close"}) << "a JSGF operator inside";
  EXPECT_NE(jsgf.text.find("<g0> = open the file;"), std::string::npos);
  EXPECT_NE(jsgf.text.find("<g1> = now;"), std::string::npos) << jsgf.text;
  EXPECT_EQ(GrammarsAccepting(jsgf, "open the file"), (std::vector<std::size_t>{0}));
}

TEST(VoiceJsgf, NothingOfferableGivesNoGrammarText) {
  EXPECT_TRUE(BuildJsgf({"xyzzy", "", "..."}, Dictionary({})).text.empty());
  EXPECT_TRUE(BuildJsgf({}, Dictionary({"a"})).text.empty());
}

class VoiceDecisionTest : public ::testing::Test {
 protected:
  VoiceGrammarSet offered{{"host", "greet", "open file", "genie", "greet", "open files"},
                          {{"Host", ""},
                           {"Host", "Greet"},
                           {"Host", "Open"},
                           {"Genie", ""},
                           {"Genie", "Greet"},
                           {"Genie", "OpenAll"}}};
  Recognition Heard(std::vector<HeardPhrase> phrases) { return Recognition{phrases, 900}; }
};

TEST_F(VoiceDecisionTest, TheListenersOwnCommandComesFirstAndAlternativesAreOtherNames) {
  VoiceDecision d = DecideVoiceInput(
      offered, Heard({{"greet", 70, {1, 4}}, {"open file", 55, {2}}, {"open files", 40, {5}}}),
      "genie");
  EXPECT_EQ(d.character_id, "Genie");
  EXPECT_EQ(d.input.character_id, "Genie");
  EXPECT_EQ(d.input.name, "Greet");
  EXPECT_EQ(d.input.confidence, 70);
  EXPECT_EQ(d.input.voice, "greet");
  EXPECT_EQ(d.input.alt1_name, "Open");
  EXPECT_EQ(d.input.alt1_confidence, 55);
  EXPECT_EQ(d.input.alt2_name, "OpenAll");
  EXPECT_EQ(d.input.alt2_confidence, 40);
}

TEST_F(VoiceDecisionTest, ANameSelectsItsCharacterAndNothingHeardIsAnEmptyName) {
  VoiceDecision named = DecideVoiceInput(offered, Heard({{"genie", 60, {3}}}), "Host");
  EXPECT_EQ(named.character_id, "Genie");
  EXPECT_EQ(named.input.name, "");
  EXPECT_EQ(named.input.confidence, 60);
  VoiceDecision nothing = DecideVoiceInput(offered, Heard({}), "Host");
  EXPECT_EQ(nothing.character_id, "Host");
  EXPECT_EQ(nothing.input.name, "");
  EXPECT_EQ(nothing.input.confidence, -100);
  EXPECT_EQ(nothing.input.alt1_name, "");
  VoiceDecision stale = DecideVoiceInput(offered, Heard({{"gone", 50, {17}}}), "Host");
  EXPECT_EQ(stale.input.name, "") << "an index beyond the set selects nothing";
}

// The runtime's side of a session: the listener's session ends; the Command is raised by
// the character the phrase selected.
TEST(HearRecognized, EndsTheListenersSessionAndRaisesCommandForTheSelectedCharacter) {
  Harness h;
  platform::AgentCharacter& host = h.Load("Host");
  platform::AgentCharacter& genie = h.Load("Genie");
  host.SetCommandsVoice("Host");
  genie.SetCommandsVoice("Genie");
  for (platform::AgentCharacter* c : {&host, &genie}) {
    c->CommandsAdd("Greet", "Greet", "[please] greet");
    c->CommandsAdd("VORNClose", "Close", "");
  }
  VoiceGrammarSet offered = h.runtime.VoiceGrammars();
  EXPECT_EQ(offered.grammars, (Lines{"Host", "[please] greet", "Genie", "[please] greet"}));
  host.Listen(true);
  EXPECT_TRUE(h.runtime.Listening("Host"));
  h.runtime.HearRecognized("Host", offered, Recognition{{{"please greet", 64, {1, 3}}}, 800});
  EXPECT_FALSE(h.runtime.Listening("Host"));
  h.runtime.HearRecognized("Host", offered, Recognition{{{"genie", 50, {2}}}, 500});
  h.RunUntil(0);
  EXPECT_EQ(h.log.lines,
            (Lines{"0 listen-start Host", "0 listen-end Host", "0 command Host Greet 64",
                   "0 listen-start Host", "0 listen-end Host", "0 command Genie  50"}));
}

}  // namespace
}  // namespace rirerazo::runtime::testing
