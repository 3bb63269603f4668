// End to end from the command line: the headless program plays a script whose input script
// has `hear` lines; the recordings go through the voice module's recogniser and the command
// heard runs its script.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/scratch_folder.h"
#include "voice/spoken_phrases.h"

namespace rirerazo::voice::testing {
namespace {

const std::string kBuild = RIRERAZO_BINARY_DIR;

constexpr const char* kScript =
    "[VORN Script]\r\nVersion=1.0\r\n\r\n[Characters]\r\nHost=Rira.acs\r\n\r\n"
    "[Commands]\r\nWeather=Weather|~|what is the weather [like] [today]\r\n"
    "Joke=Joke|~|tell me a joke\r\nJest=Jest|~|[please] tell me a joke\r\n\r\n"
    "[CommandScript:Weather]\r\nHost.Speak \"Sunny all day.\"\r\n\r\n"
    "[CommandScript:Joke]\r\nHost.Speak \"A joke.\"\r\n\r\n"
    "[CommandScript:Jest]\r\nHost.Speak \"A jest.\"\r\n\r\n"
    "[Script]\r\nHost.Show\r\nHost.Listen True\r\n";

std::string ReadAll(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(HeadlessHear, ARecordingHeardRunsItsCommandAndATooCloseCallRunsNothing) {
  if (!SpeechToolsPresent()) GTEST_SKIP() << "espeak-ng or sox is not installed";
  if (!std::filesystem::exists(kBuild + "/src/rirerazo-voice.so") ||
      !std::filesystem::exists(kBuild + "/src/Rira.acs")) {
    GTEST_SKIP() << "the voice module or the demo character is not built";
  }
  rirerazo::testing::ScratchFolder folder;
  std::filesystem::copy_file(Spoken("what is the weather like today"), folder / "weather.wav");
  std::filesystem::copy_file(Spoken("tell me a joke"), folder / "joke.wav");
  std::string script = folder.Write("voice.vrn", kScript);
  std::string input =
      folder.Write("voice.input",
                   "1s hear Host weather.wav\n+4s hear Host joke.wav\n+4s choose Host VORNClose\n");
  std::string command = "RIRERAZO_CHARACTERS='" + kBuild + "/src' '" + kBuild +
                        "/src/rirerazo' --headless --trace '" + (folder / "trace.jsonl") +
                        "' --input '" + input + "' '" + script + "' 2>'" + (folder / "err.txt") +
                        "'";
  ASSERT_EQ(std::system(command.c_str()), 0) << ReadAll(folder / "err.txt");
  std::string trace = ReadAll(folder / "trace.jsonl");
  std::size_t weather = trace.find(R"("event":"Command","char":"Host","name":"Weather")");
  ASSERT_NE(weather, std::string::npos) << trace;
  EXPECT_NE(trace.find("Sunny all day.", weather), std::string::npos);
  // The two jokes share a phrase: equal confidences, which the player refuses.
  std::size_t joke = trace.find(R"("name":"Joke")", weather);
  ASSERT_NE(joke, std::string::npos);
  EXPECT_NE(trace.find(R"("alt1":"Jest")", joke), std::string::npos);
  EXPECT_EQ(trace.find("A joke.", joke), std::string::npos);
  EXPECT_EQ(trace.find("A jest.", joke), std::string::npos);
  EXPECT_NE(trace.find(R"("event":"ListenComplete")"), std::string::npos);
}

TEST(HeadlessHear, AMissingRecordingIsReportedWithItsLine) {
  if (!std::filesystem::exists(kBuild + "/src/rirerazo-voice.so")) {
    GTEST_SKIP() << "the voice module is not built";
  }
  rirerazo::testing::ScratchFolder folder;
  std::string script = folder.Write("voice.vrn", kScript);
  std::string input =
      folder.Write("voice.input", "1s hear Host nowhere.wav\n+1s choose Host VORNClose\n");
  std::string command = "RIRERAZO_CHARACTERS='" + kBuild + "/src' '" + kBuild +
                        "/src/rirerazo' --headless --input '" + input + "' '" + script + "' 2>'" +
                        (folder / "err.txt") + "'";
  std::system(command.c_str());
  std::string errors = ReadAll(folder / "err.txt");
  EXPECT_NE(errors.find("voice.input:1: "), std::string::npos) << errors;
  EXPECT_NE(errors.find("nowhere.wav: cannot be read"), std::string::npos) << errors;
}

}  // namespace
}  // namespace rirerazo::voice::testing
