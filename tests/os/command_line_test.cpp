#include "os/command_line.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/scratch_folder.h"

namespace rirerazo::os {
namespace {

using Words = std::vector<std::string>;

TEST(SplitCommandLine, BlanksSeparateAndQuotesGroup) {
  EXPECT_EQ(SplitCommandLine("  notepad.exe   a\tb  "), (Words{"notepad.exe", "a", "b"}));
  EXPECT_EQ(SplitCommandLine(R"("C:\Program Files\Tool\tool.exe" /quiet)"),
            (Words{R"(C:\Program Files\Tool\tool.exe)", "/quiet"}));
  EXPECT_EQ(SplitCommandLine(R"(a"b c"d e)"), (Words{"ab cd", "e"}));
  EXPECT_EQ(SplitCommandLine(""), Words{});
  EXPECT_EQ(SplitCommandLine("   "), Words{});
}

TEST(SplitCommandLine, QuotesEdgeCases) {
  EXPECT_EQ(SplitCommandLine(R"(say "he said ""hi""")"), (Words{"say", R"(he said "hi")"}));
  EXPECT_EQ(SplitCommandLine(R"(x "" y)"), (Words{"x", "", "y"}));
  EXPECT_EQ(SplitCommandLine(R"(open "unclosed name)"), (Words{"open", "unclosed name"}));
  EXPECT_EQ(SplitCommandLine(R"(back\slash "a\"b)"), (Words{R"(back\slash)", R"(a\b)"}));
}

TEST(FindProgram, SearchesEachFolderInOrder) {
  testing::ScratchFolder first, second;
  const std::string tool = second.Write("tool", "#!/bin/sh\n");
  chmod(tool.c_str(), 0755);
  first.Write("tool", "not executable");
  const std::string path = first.Path() + ":" + second.Path();
  EXPECT_EQ(FindProgram("tool", path), tool);
  EXPECT_EQ(FindProgram("missing", path), "");
  EXPECT_EQ(FindProgram(tool, ""), tool);
  EXPECT_EQ(FindProgram((first / "tool"), path), "") << "a path is not searched";
  EXPECT_EQ(FindProgram("", path), "");
  EXPECT_EQ(FindProgram(".", second.Path()), "") << "folders are not programs";
}

}  // namespace
}  // namespace rirerazo::os
