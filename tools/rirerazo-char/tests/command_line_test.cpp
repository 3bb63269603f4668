// The command line of rirerazo-char: what each command accepts, and the usage errors that
// must end with exit status 2 instead of doing something else.
#include <gtest/gtest.h>

#include "command_line.h"

namespace rirerazo::chartool {
namespace {

Request Parsed(std::vector<std::string> args) {
  auto result = ParseCommandLine(args);
  if (auto* error = std::get_if<UsageError>(&result)) {
    ADD_FAILURE() << "usage error: " << error->message;
    return {};
  }
  return std::get<Request>(result);
}

std::string UsageMistake(std::vector<std::string> args) {
  auto result = ParseCommandLine(args);
  if (auto* error = std::get_if<UsageError>(&result)) return error->message;
  ADD_FAILURE() << "accepted a wrong command line";
  return {};
}

TEST(CharToolCommandLine, CommandsTakeTheirOperandsAndOptions) {
  EXPECT_EQ(Parsed({"info", "a.acs"}).command, Command::kInfo);
  const Request extract = Parsed({"extract", "--frames", "a.acs", "out", "--pcm", "--force"});
  EXPECT_EQ(extract.operands, (std::vector<std::string>{"a.acs", "out"}));
  EXPECT_TRUE(extract.composed_frames && extract.pcm_sounds && extract.overwrite);
  const Request build = Parsed({"build", "dir", "-o", "x.acs", "--raw"});
  EXPECT_EQ(build.output, "x.acs");
  EXPECT_TRUE(build.raw_images);
  EXPECT_EQ(Parsed({"build", "--output", "x.acs", "--", "-odd-dir"}).operands[0], "-odd-dir");
}

TEST(CharToolCommandLine, HelpAndVersionWinAnywhere) {
  EXPECT_EQ(Parsed({"--help"}).command, Command::kHelp);
  EXPECT_EQ(Parsed({"build", "-h"}).command, Command::kHelp);
  EXPECT_EQ(Parsed({"--version"}).command, Command::kVersion);
}

TEST(CharToolCommandLine, MistakesAreNamed) {
  EXPECT_EQ(UsageMistake({}), "no command given");
  EXPECT_EQ(UsageMistake({"pack", "x"}), "unknown command 'pack'");
  EXPECT_EQ(UsageMistake({"info"}), "'info' takes 1 argument");
  EXPECT_EQ(UsageMistake({"extract", "a.acs"}), "'extract' takes 2 arguments");
  EXPECT_EQ(UsageMistake({"build", "dir"}), "'build' needs the output file: -o FILE");
  EXPECT_EQ(UsageMistake({"build", "dir", "-o"}), "'-o' needs a file name");
  EXPECT_EQ(UsageMistake({"info", "a.acs", "--raw"}), "'info' has no option '--raw'");
  EXPECT_EQ(UsageMistake({"extract", "a", "b", "-o", "c"}), "'extract' has no option '-o'");
}

}  // namespace
}  // namespace rirerazo::chartool
