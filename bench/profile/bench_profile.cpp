// Reads a generated script file the way the loader does: the version and the script, then
// for bookmarks and commands the key list, one GetProfile per key and one
// GetProfileSection per script section. The file has 2,000 bookmark sections and 2,000
// command keys (each with its command script section).
//
// Run: build-release/bench/profile/bench_profile
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "core/app/error_report.h"
#include "core/script/profile_reader.h"
#include "core/util/text.h"

namespace {

using rirerazo::script::ProfileReader;

constexpr int kBookmarks = 2000;
constexpr int kCommands = 2000;

class SilentReporter : public rirerazo::app::ErrorReporter {
 public:
  rirerazo::app::ReportOutcome ReportError(std::string_view, std::string_view,
                                           const rirerazo::RuntimeError&) override {
    return rirerazo::app::ReportOutcome::kContinue;
  }
};

std::string GeneratedScript() {
  std::string text = "[VORN Script]\r\nVersion=6.1\r\n\r\n[Characters]\r\nHost=Rira.acs\r\n";
  text += "[Script]\r\nHost.Show\r\nHost.Speak \"Hello\"\r\n\r\n[Bookmarks]\r\n";
  for (int i = 1; i <= kBookmarks; ++i) text += std::to_string(i) + "=\r\n";
  text += "[Commands]\r\nMenuName=Demo\r\n";
  for (int i = 1; i <= kCommands; ++i) {
    text += "Command" + std::to_string(i) + "=Caption " + std::to_string(i) + "|~|say " +
            std::to_string(i) + "\r\n";
  }
  for (int i = 1; i <= kBookmarks; ++i) {
    text += "[BookmarkScript:" + std::to_string(i) + "]\r\nHost.Play \"Wave\"\r\n";
    text += "Host.Speak \"Bookmark " + std::to_string(i) + "\"\r\n\r\n";
  }
  for (int i = 1; i <= kCommands; ++i) {
    text += "[CommandScript:Command" + std::to_string(i) + "]\r\nHost.Speak \"Command " +
            std::to_string(i) + "\"\r\n";
  }
  return text;
}

// The generated file, written once and removed when the program ends.
struct ScriptFile {
  std::string path;
  ScriptFile() : path((std::filesystem::temp_directory_path() / "bench-profile.vrn").string()) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << GeneratedScript();
  }
  ~ScriptFile() { std::filesystem::remove(path); }
};

const std::string& ScriptPath() {
  static const ScriptFile file;
  return file.path;
}

// Every call the loader makes for the file; `reader_for_call` gives the reader each call
// uses. Returns the bytes received, so nothing is optimised away.
template <class ReaderForCall>
std::size_t ReadLikeTheLoader(const std::string& path, ReaderForCall reader_for_call) {
  const std::string nul(1, '\0');
  std::size_t bytes = reader_for_call().GetProfile(path, "VORN Script", "Version", "").size();
  bytes += reader_for_call().GetProfileSection(path, "Script").size();
  const auto bookmarks =
      rirerazo::util::ParseStringIntoArray(reader_for_call().GetProfile(path, "Bookmarks"), nul);
  for (const std::string& key : bookmarks) {
    bytes += reader_for_call().GetProfileSection(path, "BookmarkScript:" + key).size();
  }
  const auto commands =
      rirerazo::util::ParseStringIntoArray(reader_for_call().GetProfile(path, "Commands"), nul);
  bytes += reader_for_call().GetProfile(path, "Commands", "MenuName", "").size();
  for (const std::string& key : commands) {
    bytes += reader_for_call().GetProfile(path, "Commands", key, "").size();
    bytes += reader_for_call().GetProfileSection(path, "CommandScript:" + key).size();
  }
  return bytes;
}

// One reader for the whole load, as the Player holds it: the file is parsed once.
void BM_LoadFromParsedForm(benchmark::State& state) {
  const std::string& path = ScriptPath();
  SilentReporter errors;
  for (auto _ : state) {
    ProfileReader reader(errors);
    benchmark::DoNotOptimize(ReadLikeTheLoader(path, [&]() -> ProfileReader& { return reader; }));
    if (reader.ParseCount() != 1) state.SkipWithError("file parsed more than once");
  }
}
BENCHMARK(BM_LoadFromParsedForm)->Unit(benchmark::kMillisecond);

// The same inside a ProfileReader::Batch: the file is checked against the disk once.
void BM_LoadInOneBatch(benchmark::State& state) {
  const std::string& path = ScriptPath();
  SilentReporter errors;
  for (auto _ : state) {
    ProfileReader reader(errors);
    ProfileReader::Batch batch(reader);
    benchmark::DoNotOptimize(ReadLikeTheLoader(path, [&]() -> ProfileReader& { return reader; }));
  }
}
BENCHMARK(BM_LoadInOneBatch)->Unit(benchmark::kMillisecond);

// The first call alone: reading and parsing the file.
void BM_FirstCallParsesTheFile(benchmark::State& state) {
  const std::string& path = ScriptPath();
  SilentReporter errors;
  for (auto _ : state) {
    ProfileReader reader(errors);
    benchmark::DoNotOptimize(reader.GetProfile(path, "VORN Script", "Version", ""));
  }
}
BENCHMARK(BM_FirstCallParsesTheFile)->Unit(benchmark::kMillisecond);

// A fresh reader for every call: the file is read and parsed again each time.
void BM_LoadRereadingPerCall(benchmark::State& state) {
  const std::string& path = ScriptPath();
  SilentReporter errors;
  for (auto _ : state) {
    std::unique_ptr<ProfileReader> reader;
    benchmark::DoNotOptimize(ReadLikeTheLoader(path, [&]() -> ProfileReader& {
      reader = std::make_unique<ProfileReader>(errors);
      return *reader;
    }));
  }
}
BENCHMARK(BM_LoadRereadingPerCall)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
