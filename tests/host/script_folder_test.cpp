// The folder a host derives from the command line, where a script's characters are found.
#include "host/script_folder.h"

#include <gtest/gtest.h>

namespace rirerazo::host {
namespace {

TEST(ScriptFolder, IsTheFolderTheCommandLineNamesOrTheCurrentOne) {
  const struct {
    const char* command_line;
    const char* folder;
  } cases[] = {
      {"show.vrn", "."},  // a bare name: the current folder
      {"./show.vrn", "."},
      {"../shows/show.vrn", "../shows"},
      {"/home/ann/shows/show.vrn", "/home/ann/shows"},
      {"/show.vrn", "/"},                     // the root keeps its separator
      {"my shows/big show.vrn", "my shows"},  // blanks belong to the names
      {"big show.vrn", "."},
      {"\"/home/ann/my shows/show.vrn\"", "/home/ann/my shows"},  // quotes as start-up drops them
      {"  show.vrn  ", "."},
      {"C:\\Shows\\show.vrn", "C:\\Shows"},  // a Windows path keeps its folder part
      {"", ""},                              // no script named
      {"   ", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ScriptFolder(c.command_line), c.folder) << "'" << c.command_line << "'";
  }
}

TEST(ScriptFolder, InstallPrefixIsTheFolderAboveTheProgramsOwn) {
  EXPECT_EQ(InstallPrefix("/usr/local/bin/rirerazo"), "/usr/local");
  EXPECT_EQ(InstallPrefix("/bin/rirerazo"), "/");
  EXPECT_EQ(InstallPrefix("rirerazo"), "");
}

}  // namespace
}  // namespace rirerazo::host
