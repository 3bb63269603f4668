// Where file mode looks for the script the command line names.
#include "core/app/named_script.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace rirerazo {
namespace {

namespace fs = std::filesystem;

TEST(NamedScript, TextIsTrimmedOfBlanksAndQuotes) {
  EXPECT_EQ(NamedScriptText("  \"my script.vrn\"  "), "my script.vrn");
  EXPECT_EQ(NamedScriptText("\"\"a.vrn\""), "a.vrn");
  EXPECT_EQ(NamedScriptText("\"a.vrn\" extra"), "a.vrn\" extra");
  EXPECT_EQ(NamedScriptText(""), "");
}

TEST(NamedScript, FoundAsWrittenThenInTheProgramFolder) {
  const fs::path folder = fs::temp_directory_path() / "rirerazo-named-script";
  fs::create_directories(folder / "app");
  std::ofstream(folder / "here.vrn") << "x";
  std::ofstream(folder / "app" / "there.vrn") << "x";
  const std::string app = (folder / "app").string() + "/";
  const std::string here = (folder / "here.vrn").string();
  EXPECT_EQ(FindNamedScript(here, app), here);
  EXPECT_EQ(FindNamedScript("there.vrn", app), app + "there.vrn");
  EXPECT_EQ(FindNamedScript("nowhere.vrn", app), "");
  fs::remove_all(folder);
}

}  // namespace
}  // namespace rirerazo
