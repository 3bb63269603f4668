// Speech text as synthesiser markup, and the choice of voice for language ids and classic
// mode ids. No synthesiser needed.
#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "desktop/speech/private/espeak_voices.h"
#include "desktop/speech/private/ssml_builder.h"
#include "runtime/speech_tags.h"

namespace rirerazo::desktop {
namespace {

using runtime::ParseSpeechText;

std::string Markup(std::string_view text, SsmlVoice voice = {}) {
  return BuildSsml(ParseSpeechText(text), voice).markup;
}

// The byte offset of the `chars`-th Unicode character of UTF-8 `text`.
std::size_t ByteOffset(const std::string& text, std::uint32_t chars) {
  std::size_t i = 0;
  for (std::uint32_t seen = 0; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;
    if (seen++ == chars) return i;
  }
  return i;
}

TEST(SpeechMarkup, MapsTagsToElementsAndNeverSpeaksATag) {
  const std::string markup = Markup(
      "Hello \\mrk=5\\ there \\Pau=300\\ \\Emp\\ friend \\Map=\"Vorn\"=\"VORN\"\\ "
      "\\Chr=\"Whisper\"\\ "
      "bye \\Rst\\ now \\Pau=99999\\");
  EXPECT_EQ(markup.find('\\'), std::string::npos) << markup;
  const std::size_t mark = markup.find("<mark name=\"5\"/>");
  ASSERT_NE(mark, std::string::npos) << markup;
  EXPECT_LT(markup.find("Hello"), mark);
  EXPECT_GT(markup.find("there"), mark);
  EXPECT_NE(markup.find("<break time=\"300ms\"/>"), std::string::npos) << markup;
  EXPECT_NE(markup.find("<emphasis>friend</emphasis>"), std::string::npos) << markup;
  EXPECT_NE(markup.find("Vorn"), std::string::npos) << markup;
  EXPECT_EQ(markup.find("VORN"), std::string::npos) << "the shown form is not spoken";
  EXPECT_NE(markup.find("volume=\"40%\""), std::string::npos) << markup;
  EXPECT_GT(markup.find("</prosody>"), markup.find("bye")) << markup;
  EXPECT_LT(markup.find("</prosody>"), markup.find("now")) << "reset ends the whisper";
  EXPECT_NE(markup.find("<break time=\"65535ms\"/>"), std::string::npos) << "pauses are capped";
  EXPECT_EQ(markup.rfind("<speak>", 0), 0u);
  EXPECT_EQ(markup.substr(markup.size() - 8), "</speak>");
}

TEST(SpeechMarkup, ProsodyIsRelativeToTheVoiceAndNeverNests) {
  const std::string markup =
      Markup("a \\Spd=350\\ b \\Pit=60\\ c \\Vol=32768\\ d \\Spd=10\\ e", {175, 120});
  EXPECT_NE(markup.find("rate=\"200%\" pitch=\"100%\""), std::string::npos) << markup;
  EXPECT_NE(markup.find("rate=\"200%\" pitch=\"50%\" volume=\"100%\""), std::string::npos);
  EXPECT_NE(markup.find("volume=\"50%\""), std::string::npos) << markup;
  EXPECT_NE(markup.find("rate=\"28%\""), std::string::npos) << "50 words a minute at least";
  int depth = 0;
  for (std::size_t at = 0; (at = markup.find("prosody", at)) != std::string::npos; ++at) {
    depth += markup[at - 1] == '/' ? -1 : 1;
    EXPECT_LE(depth, 1) << markup;
  }
  EXPECT_EQ(depth, 0);
}

TEST(SpeechMarkup, EscapesTextAndControlCharacters) {
  EXPECT_EQ(EscapeXml("a<b>&\"'\x01\n"), "a&lt;b&gt;&amp;&quot;&apos; \n");
  const std::string markup = Markup("Tom & Jerry <mark name=\"1\"/>");
  EXPECT_NE(markup.find("Tom &amp; Jerry &lt;mark name=&quot;1&quot;/&gt;"), std::string::npos)
      << markup;
}

// The anchors say where each word item starts, in characters, so the synthesiser's word
// positions map back to items even after multi-byte letters and escaped text.
TEST(SpeechMarkup, WordAnchorsPointAtTheirWords) {
  const runtime::SpeechText text = ParseSpeechText("Grüße & \\mrk=3\\ <welt> \\Emp\\ zoë!");
  const SsmlText ssml = BuildSsml(text, {});
  ASSERT_EQ(ssml.words.size(), 4u);
  const char* expected[] = {"Grüße", "&amp;", "&lt;welt&gt;", "zoë!"};
  for (std::size_t i = 0; i < 4; ++i) {
    const SsmlText::WordAnchor& anchor = ssml.words[i];
    EXPECT_EQ(text.items[anchor.item].kind, runtime::SpeechItemKind::kWord);
    EXPECT_EQ(ssml.markup.compare(ByteOffset(ssml.markup, anchor.char_offset),
                                  std::strlen(expected[i]), expected[i]),
              0)
        << i << ": " << ssml.markup;
  }
}

TEST(SpeechVoices, ClassicModeIdsChooseAVoiceOfTheirLanguageAndSex) {
  EXPECT_EQ(ClassicModeVoice("{CA141FD0-AC7F-11D1-97A3-006008273000}"), "en-us+m1");
  EXPECT_EQ(ClassicModeVoice(" {ca141fd0-ac7f-11d1-97a3-006008273008} "), "en-us+f1");
  EXPECT_EQ(ClassicModeVoice("CA141FD0-AC7F-11D1-97A3-006008273009"), "en-us+f2");
  EXPECT_EQ(ClassicModeVoice("{3A1FB761-A92B-11d1-B17B-0020AFED142E}"), "de+m1");
  EXPECT_EQ(ClassicModeVoice("{8AA08CA0-A1AE-11d3-9BC5-00A0C967A2D1}"), "pt-br+f1");
  EXPECT_EQ(ClassicModeVoice("{00000000-0000-0000-0000-000000000000}"), std::nullopt);
  EXPECT_EQ(ClassicModeVoice("en-us"), std::nullopt);
  EXPECT_EQ(ClassicModeVoice(""), std::nullopt);
}

TEST(SpeechVoices, LanguageIdsChooseTheRegionalThenTheLanguageVoice) {
  const std::set<std::string> installed = {"en", "en-us", "de", "pt", "pt-br", "cmn", "es"};
  EXPECT_EQ(LanguageVoice(0x409, installed), "en-us");
  EXPECT_EQ(LanguageVoice(0x809, installed), "en");
  EXPECT_EQ(LanguageVoice(0x407, installed), "de");
  EXPECT_EQ(LanguageVoice(0x416, installed), "pt-br");
  EXPECT_EQ(LanguageVoice(0x816, installed), "pt");
  EXPECT_EQ(LanguageVoice(0x804, installed), "cmn");
  EXPECT_EQ(LanguageVoice(0x404, installed), "cmn");
  EXPECT_EQ(LanguageVoice(0xC0A, installed), "es");
  EXPECT_EQ(LanguageVoice(0x40C, installed), std::nullopt) << "no French voice installed";
  EXPECT_EQ(LanguageVoice(0x1234, installed), std::nullopt) << "unknown language id";
}

}  // namespace
}  // namespace rirerazo::desktop
