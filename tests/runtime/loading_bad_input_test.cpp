// Loading characters, finding their files, and input that is out of the ordinary.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "runtime/character_folders.h"
#include "runtime/runtime_test_support.h"

namespace rirerazo::runtime::testing {
namespace {

namespace fs = std::filesystem;

long ErrorNumber(const std::function<void()>& action) {
  try {
    action();
  } catch (const RuntimeError& error) {
    return error.Number();
  }
  return 0;
}

TEST(Load, FailuresLeaveTheRuntimeUnchanged) {
  Harness h;
  h.Load("Host");
  EXPECT_EQ(ErrorNumber([&] { h.runtime.Load("Other", "Missing.acs"); }), 53);
  std::ofstream(h.folder / "Broken.acs") << "junk";
  EXPECT_EQ(ErrorNumber([&] { h.runtime.Load("Other", "Broken.acs"); }), 321);
  EXPECT_EQ(ErrorNumber([&] { h.runtime.Load("HOST", "Demo.acs"); }), 5);  // id in use
  EXPECT_EQ(ErrorNumber([&] { h.runtime.Load("", "Demo.acs"); }), 5);
  EXPECT_EQ(h.runtime.CharacterIds(), std::vector<std::string>{"Host"});
  EXPECT_EQ(&h.runtime.Character("hOsT"), &h.runtime.Character("Host"));
  EXPECT_EQ(ErrorNumber([&] { h.runtime.Character("Guest"); }), 5);
}

TEST(Load, ReaderFailuresOfAnyKindBecomeRunTimeErrors) {
  Harness h;
  h.runtime.SetFileLoader(
      [](const std::string&) -> std::shared_ptr<const acs::Character> { throw std::bad_alloc(); });
  EXPECT_EQ(ErrorNumber([&] { h.runtime.Load("Host", "Demo.acs"); }), 75);
  h.runtime.SetFileLoader([](const std::string&) { return nullptr; });
  EXPECT_EQ(ErrorNumber([&] { h.runtime.Load("Host", "Demo.acs"); }), 75);
  EXPECT_TRUE(h.runtime.CharacterIds().empty());
}

TEST(CharacterFiles, FoldersInOrderBackslashesAndLetterCase) {
  Harness h;
  fs::path first = h.folder / "First";
  fs::path second = h.folder / "second";
  fs::create_directories(first / "Sub");
  fs::create_directories(second);
  std::ofstream(first / "Sub" / "merlin.acs") << "a";
  std::ofstream(second / "Merlin.acs") << "b";
  std::vector<std::string> folders = {first.string(), second.string()};
  EXPECT_EQ(FindCharacterFile("Merlin.acs", folders), (second / "Merlin.acs").string());
  EXPECT_EQ(FindCharacterFile("SUB\\MERLIN.ACS", folders), (first / "Sub" / "merlin.acs").string());
  EXPECT_EQ(FindCharacterFile((second / "MERLIN.acs").string(), {}),
            (second / "Merlin.acs").string());
  EXPECT_EQ(FindCharacterFile("C:\\WINDOWS\\MSAGENT\\CHARS\\MERLIN.ACS", folders), "");
  EXPECT_EQ(FindCharacterFile("Sub", folders), "");  // a folder is not a character file
  EXPECT_EQ(FindCharacterFile("", folders), "");
}

TEST(CharacterFiles, StandardFolders) {
  struct FakeSystem : platform::System {
    std::string ExecutablePath() const override { return "/opt/rirerazo/bin/rirerazo"; }
    std::string TempFolder() const override { return "/tmp"; }
    std::string Environment(const std::string& name) const override {
      return name == "RIRERAZO_CHARACTERS" ? "/a::/b" : "";
    }
    std::string HomeFolder() const override { return "/home/u"; }
  } system;
  EXPECT_EQ(
      StandardCharacterFolders(system, "/shows", "/usr"),
      (std::vector<std::string>{"/a", "/b", "/shows", "/home/u/.local/share/rirerazo/characters",
                                "/usr/share/rirerazo/characters", "/opt/rirerazo/bin"}));
}

TEST(BadInput, TenThousandQueuedRequestsPlayOutInOrder) {
  Harness h;
  auto& c = h.Load("C");
  std::vector<platform::AgentRequest> requests;
  for (int i = 0; i < 10000; ++i) requests.push_back(c.Play("Explain"));
  h.RunUntil(1000);
  c.StopAll();
  h.RunAll();
  std::vector<std::string> interrupted = h.log.With("interrupted");
  // Explain takes 200 ms, and 300 ms with the return before each later one: the fourth is
  // playing at 1000 ms.
  ASSERT_EQ(interrupted.size(), 10000u - 3u);
  EXPECT_EQ(interrupted.front(), "1000 complete 4 interrupted");
  EXPECT_EQ(interrupted.back(), "1000 complete 10000 interrupted");
}

TEST(BadInput, QueuesHaveACeiling) {
  RuntimeOptions options = Harness::QuietOptions();
  options.max_queued_requests = 100;
  Harness h(options);
  auto& c = h.Load("C");
  for (int i = 0; i < 100; ++i) c.Think("x");
  EXPECT_EQ(ErrorNumber([&] { c.Think("one too many"); }), 7);
}

TEST(BadInput, ExtremeCoordinatesAndSizes) {
  Harness h;
  auto& c = h.Load("C");
  c.SetWidth(32767);
  c.SetHeight(32767);
  c.MoveTo(32767, -32768, 0);
  c.GestureAt(-32768, 32767);
  h.RunAll();
  EXPECT_EQ(c.Left(), 32767);
  EXPECT_EQ(c.Top(), -32768);
  FrameState frame = h.runtime.Frame("C");
  EXPECT_EQ(std::int64_t(frame.left_px) + frame.width_px, 65534);
  c.MoveTo(-32768, 32767, 2147483647);  // a move of nearly 25 days: fine on the time line
  h.RunUntil(h.Now() + 1073741824);     // halfway
  EXPECT_NEAR(c.Left(), 0, 1);
}

}  // namespace
}  // namespace rirerazo::runtime::testing
