#include "core/app/carrier.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "support/file_bytes.h"
#include "support/scratch_folder.h"

namespace rirerazo {
namespace {

using testing::ReadBytes;
using testing::ScratchFolder;

// Program bytes without NUL that cannot contain the marker.
std::string ProgramBytes(std::size_t size) {
  std::string bytes;
  for (std::size_t i = 0; i < size; ++i) bytes += static_cast<char>('a' + i % 23);
  return bytes;
}

// A script text of about `size` bytes whose every line is different.
std::string ScriptText(std::size_t size) {
  std::string text = "[VORN Script]\r\nVersion=6.1\r\n[Script]\r\n";
  for (int line = 1; text.size() < size; ++line) {
    text += "Host.Speak line " + std::to_string(line) + "\r\n";
  }
  return text;
}

std::optional<std::string> Carried(const std::string& file_bytes) {
  std::istringstream exe(file_bytes);
  return ReadCarriedScript(exe);
}

TEST(CarrierMarker, IsTheTwentyEightByteMarkerLine) {
  EXPECT_EQ(CarrierMarker(), "\r\n[QUELLMARK_TECHNOLOGIES]\r\n");
  EXPECT_EQ(CarrierMarker().size(), kCarrierMarkerBytes);
}

TEST(ReadCarriedScript, FindsTheMarkerAtEveryPlaceAroundAWindowBoundary) {
  const std::string script = "[VORN Script]\r\nVersion=1\r\n";
  // Window 2 starts at 10213: markers starting from 10205 to 10245 lie before, across and
  // after the boundaries of windows 1 and 2 (window 1 ends at 10239).
  for (std::size_t at = 10205; at <= 10245; ++at) {
    std::optional<std::string> text = Carried(ProgramBytes(at) + CarrierMarker() + script);
    ASSERT_TRUE(text) << "marker at " << at;
    EXPECT_EQ(*text, script) << "marker at " << at;
  }
}

TEST(ReadCarriedScript, LongScriptsAreCopiedWithoutRepeatedOrMissingBytes) {
  for (std::size_t program : {0u, 100u, 10212u, 10230u, 30000u}) {
    for (std::size_t size : {10240u, 10241u, 25000u, 200000u}) {
      const std::string script = ScriptText(size);
      std::optional<std::string> text = Carried(ProgramBytes(program) + CarrierMarker() + script);
      ASSERT_TRUE(text);
      EXPECT_EQ(*text, script) << "program " << program << ", script " << size;
    }
  }
}

TEST(ReadCarriedScript, TextEndsAtTheFirstNulAndLosesOneClosingBlankLine) {
  const std::string program = ProgramBytes(5000);
  const std::string marker = CarrierMarker();
  EXPECT_EQ(Carried(program + marker + "A\r\n" + std::string(40000, '\0')), "A\r\n");
  EXPECT_EQ(Carried(program + marker + "A\r\n" + std::string(1, '\0') + "B"), "A\r\n");
  EXPECT_EQ(Carried(program + marker + "A\r\n\r\n"), "A\r\n");
  EXPECT_EQ(Carried(program + marker + "A\r\n\r\n\r\n"), "A\r\n\r\n");
  EXPECT_EQ(Carried(program + marker + "A\r\n\r\n" + std::string(3, '\0')), "A\r\n");
  EXPECT_EQ(Carried(program + marker + "A"), "A");
}

TEST(ReadCarriedScript, NoMarkerOrNothingBehindIt) {
  EXPECT_EQ(Carried(""), std::nullopt);
  EXPECT_EQ(Carried(ProgramBytes(50000)), std::nullopt);
  EXPECT_EQ(Carried("\r\n[quellmark_technologies]\r\nA"), std::nullopt);  // case counts
  EXPECT_EQ(Carried("\n[QUELLMARK_TECHNOLOGIES]\nA"), std::nullopt);      // CR LF counts
  EXPECT_EQ(Carried(ProgramBytes(10239) + CarrierMarker()), "");
  EXPECT_EQ(Carried(ProgramBytes(10) + CarrierMarker() + std::string(9, '\0')), "");
}

TEST(ReadCarriedScript, ASecondMarkerIsPartOfTheText) {
  const std::string tail = "A" + CarrierMarker() + "B";
  EXPECT_EQ(Carried(ProgramBytes(20) + CarrierMarker() + tail), tail);
}

// A player's side of FindScript that records what it was asked to do.
struct FindScriptProbe {
  explicit FindScriptProbe(const ScratchFolder& temp, std::string exe_path) {
    links.exe_path = std::move(exe_path);
    links.temp_dir = temp.Path() + "/";
    links.set_script_file = [this](const std::string& file) { script_file = file; };
    links.open_script_from_file = [this](const std::string& path) {
      opened.push_back(path);
      copies.push_back(ReadBytes(path));
      return loader_answer;
    };
    links.report_error = [this](const RuntimeError& error) { errors.push_back(error.Number()); };
  }
  FindScriptLinks links;
  std::string script_file;
  bool loader_answer = true;
  std::vector<std::string> opened;
  std::vector<std::string> copies;
  std::vector<long> errors;
};

TEST(FindScript, PlaysATemporaryCopyAndDeletesItAfterwards) {
  ScratchFolder temp;
  ScratchFolder programs;
  const std::string script = ScriptText(12000);
  std::string exe = programs.Write("show", ProgramBytes(9000) + CarrierMarker() + script + "\r\n");
  temp.Write("VORN0001.TMP", "someone else's");
  for (bool loader_answer : {true, false}) {
    FindScriptProbe probe(temp, exe);
    probe.loader_answer = loader_answer;
    EXPECT_EQ(FindScript(probe.links), loader_answer);
    ASSERT_EQ(probe.opened.size(), 1u);
    EXPECT_EQ(probe.opened[0], temp / "VORN0002.TMP");
    EXPECT_EQ(probe.copies[0], script + "\r\n");  // the blank line lost one CR LF
    EXPECT_EQ(probe.script_file, exe);
    EXPECT_FALSE(std::filesystem::exists(probe.opened[0]));
    EXPECT_EQ(ReadBytes(temp / "VORN0001.TMP"), "someone else's");
    EXPECT_TRUE(probe.errors.empty());
  }
}

TEST(FindScript, WithoutACarriedScriptNothingIsLoaded) {
  ScratchFolder temp;
  struct Case {
    std::string bytes;
    bool marker;
  };
  for (const Case& c :
       {Case{ProgramBytes(30000), false}, Case{ProgramBytes(30000) + CarrierMarker(), true},
        Case{ProgramBytes(300) + CarrierMarker() + std::string(5000, '\0'), true}}) {
    std::string exe = temp.Write("program", c.bytes);
    FindScriptProbe probe(temp, exe);
    EXPECT_FALSE(FindScript(probe.links));
    EXPECT_TRUE(probe.opened.empty());
    EXPECT_EQ(probe.script_file, c.marker ? exe : "");
    EXPECT_TRUE(probe.errors.empty());
    std::filesystem::remove(exe);
    EXPECT_TRUE(std::filesystem::is_empty(temp.Path()));
  }
}

TEST(FindScript, MissingProgramCarriesNothingAndAMissingTemporaryFolderIsReported) {
  ScratchFolder temp;
  FindScriptProbe missing(temp, temp / "no-such-program");
  EXPECT_FALSE(FindScript(missing.links));
  EXPECT_TRUE(missing.errors.empty());

  std::string exe = temp.Write("program", ProgramBytes(10) + CarrierMarker() + "A\r\n");
  FindScriptProbe no_temp(temp, exe);
  no_temp.links.temp_dir = temp / "missing/";
  EXPECT_FALSE(FindScript(no_temp.links));
  EXPECT_EQ(no_temp.errors, std::vector<long>{err::kPathFileAccessError});
  EXPECT_TRUE(no_temp.opened.empty());
}

}  // namespace
}  // namespace rirerazo
