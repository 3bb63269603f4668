#include "host/carrier_packer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "core/app/carrier.h"
#include "platform/runtime_error.h"
#include "support/file_bytes.h"
#include "support/scratch_folder.h"

namespace rirerazo::host {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::ScratchFolder;

const std::string kScript = "[VORN Script]\r\nVersion=1\r\n[Script]\r\nHost.Speak Hi\r\n";

std::optional<std::string> CarriedBy(const fs::path& program) {
  std::ifstream in(program, std::ios::binary);
  return ReadCarriedScript(in);
}

// The error PackCarrier raises, or an empty description when it raised none.
std::string PackError(const std::string& program, const std::string& script,
                      const std::string& output) {
  try {
    PackCarrier(program, script, output);
  } catch (const RuntimeError& error) {
    return error.Description();
  }
  return "";
}

TEST(PackCarrier, AppendsMarkerAndScriptToAnExecutableCopy) {
  ScratchFolder dir;
  std::string long_script = kScript;
  while (long_script.size() < 30000) long_script += "Host.Play Wave\r\n";
  const std::string program = dir.Write("player", std::string(25000, 'p'));
  const std::string script = dir.Write("show.vrn", long_script);
  const std::string output = dir / "show";
  PackCarrier(program, script, output);
  EXPECT_EQ(ReadBytes(output), std::string(25000, 'p') + CarrierMarker() + long_script);
  EXPECT_EQ(CarriedBy(output), long_script);
  EXPECT_NE(fs::status(output).permissions() & fs::perms::owner_exec, fs::perms::none);
  EXPECT_FALSE(fs::exists(output + ".partial"));
}

TEST(PackCarrier, PackingACarrierAgainReplacesItsScript) {
  ScratchFolder dir;
  const std::string program = dir.Write("player", "PROGRAM");
  const std::string first = dir.Write("a.vrn", kScript + "Host.Speak first\r\n");
  const std::string second = dir.Write("b.vrn", kScript + "Host.Speak second\r\n");
  const std::string carrier = dir / "a";
  PackCarrier(program, first, carrier);
  PackCarrier(carrier, second, dir / "b");
  EXPECT_EQ(ReadBytes(dir / "b"), "PROGRAM" + CarrierMarker() + ReadBytes(second));
}

TEST(PackCarrier, RefusesCarriersThatCouldNotPlay) {
  ScratchFolder dir;
  const std::string program = dir.Write("player", "PROGRAM");
  const std::string good = dir.Write("good.vrn", kScript);
  const std::string out = dir / "out";
  struct Case {
    std::string script, output, complaint;
  };
  for (const Case& c :
       {Case{dir.Write("empty.vrn", ""), out, "is empty"},
        Case{dir.Write("nul.vrn", kScript + std::string(1, '\0') + "x"), out, "NUL"},
        Case{dir.Write("notes.txt", "Host.Speak Hi\r\n"), out, "not a script file"},
        Case{dir / "missing.vrn", out, "cannot read the script"},
        Case{good, dir / "RIRERAZO", "another name"},
        Case{good, dir / "darezaz.bin", "another name"},
        Case{good, dir / "no-such-dir/show", "cannot write"}}) {
    EXPECT_NE(PackError(program, c.script, c.output).find(c.complaint), std::string::npos)
        << c.script << " -> " << c.output << ": " << PackError(program, c.script, c.output);
    EXPECT_FALSE(fs::exists(c.output));
  }
  EXPECT_NE(PackError(dir / "gone", good, out).find("cannot read the program"), std::string::npos);
}

TEST(RunPacker, PacksTheRunningProgram) {
  ScratchFolder dir;
  const std::string script = dir.Write("show.vrn", kScript);
  const std::string output = dir / "show";
  ASSERT_EQ(RunPacker(script, output), 0);
  std::string self = ReadBytes("/proc/self/exe");
  std::string packed = ReadBytes(output);
  EXPECT_EQ(packed.substr(0, self.size()), self);
  EXPECT_EQ(CarriedBy(output), kScript);
  EXPECT_EQ(RunPacker(dir / "missing.vrn", output), 1);
  EXPECT_EQ(RunPacker(script, "/proc/self/exe"), 1);
}

// Every renamed copy of the player would otherwise play something from its own code.
TEST(CarrierMarker, IsInNeitherThePlayerNorTheTests) {
  EXPECT_EQ(CarriedBy("/proc/self/exe"), std::nullopt);
  EXPECT_EQ(ReadBytes("/proc/self/exe").find(CarrierMarker()), std::string::npos);
  const fs::path player = fs::path(RIRERAZO_BINARY_DIR) / "src" / "rirerazo";
  if (!fs::exists(player)) GTEST_SKIP() << "the player is not built at " << player;
  EXPECT_EQ(ReadBytes(player).find(CarrierMarker()), std::string::npos);
  EXPECT_EQ(CarriedBy(player), std::nullopt);
}

}  // namespace
}  // namespace rirerazo::host
