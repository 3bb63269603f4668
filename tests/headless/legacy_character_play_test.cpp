// An older-generation character file played end to end in the headless host: a script shows
// ALIEN.ACS, plays each of its animations once, speaks and hides, and the trace shows it.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "headless/headless_host.h"
#include "runtime/acs/acs_file.h"
#include "support/scratch_folder.h"

namespace rirerazo::headless {
namespace {

const std::string kAlien = std::string(RIRERAZO_SHARED_DIR) + "/characters/ALIEN.ACS";

// Animations that loop back to their first frame for ever: the platform plays them until it
// is told to stop, so a script that plays them holds its queue; they are left out here.
bool LoopsForEver(const acs::Animation& animation) {
  for (const acs::Frame& frame : animation.frames) {
    for (const acs::Branch& branch : frame.branches) {
      if (branch.probability_percent == 100) return true;
    }
  }
  return false;
}

std::vector<std::string> TraceOf(const std::string& script, int& status) {
  testing::ScratchFolder folder;
  host::Options options;
  options.headless = true;
  options.trace_path = "-";
  options.start_time = "2026-12-07T15:05:00";
  options.command_line = folder.Write("alien.vrn", script);
  std::ostringstream out, err;
  status = RunHeadless(options, "rirerazo", out, err);
  std::vector<std::string> lines;
  std::istringstream in(out.str());
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  EXPECT_EQ(err.str(), "");
  return lines;
}

int FindLine(const std::vector<std::string>& lines, const std::vector<std::string>& pieces,
             int from = 0) {
  for (int i = from; i < static_cast<int>(lines.size()); ++i) {
    bool all = true;
    for (const auto& piece : pieces) all = all && lines[i].find(piece) != std::string::npos;
    if (all) return i;
  }
  return -1;
}

TEST(LegacyCharacterPlay, AlienShowsPlaysEveryAnimationSpeaksAndHides) {
  if (!std::filesystem::exists(kAlien)) GTEST_SKIP() << "no character file at " << kAlien;
  const acs::Character alien = acs::ReadCharacterFile(kAlien);
  std::string script = "[VORN Script]\r\nVersion=1\r\n[Characters]\r\nAlien=" + kAlien +
                       "\r\n[Script]\r\nAlien.Show\r\n";
  std::vector<std::string> played;
  for (const acs::Animation& animation : alien.animations) {
    if (LoopsForEver(animation)) continue;
    script += "Alien.Play " + animation.name + "\r\n";
    played.push_back(animation.name);
  }
  script += "Alien.Speak Greetings from an older world.\r\nAlien.Hide\r\n";
  int status = -1;
  const std::vector<std::string> lines = TraceOf(script, status);
  EXPECT_EQ(status, host::kExitNormal);
  EXPECT_EQ(played.size(), 62u);
  int at = FindLine(lines, {R"("op":"Show")", R"("char":"Alien")"});
  ASSERT_GE(at, 0) << "the character was not shown";
  for (const std::string& name : played) {
    const int next = FindLine(lines, {R"("op":"Play")", "\"" + name + "\""}, at);
    ASSERT_GT(next, at) << name << " was not played in order";
    at = next;
  }
  const int speak = FindLine(lines, {R"("op":"Speak")", "Greetings from an older world."}, at);
  EXPECT_GT(speak, at);
  EXPECT_GT(FindLine(lines, {R"("op":"Hide")", R"("char":"Alien")"}, speak), speak);
  EXPECT_EQ(FindLine(lines, {R"("kind":"error")"}), -1);
}

}  // namespace
}  // namespace rirerazo::headless
