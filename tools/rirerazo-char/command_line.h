// The command line of rirerazo-char, parsed into a request; kept apart from main() so tests
// can check every usage rule without starting a process.
#pragma once

#include <string>
#include <variant>
#include <vector>

namespace rirerazo::chartool {

enum class Command { kHelp, kVersion, kInfo, kExtract, kBuild };

struct Request {
  Command command = Command::kHelp;
  std::vector<std::string> operands;  // FILE for info; FILE DIR for extract; DIR for build
  std::string output;                 // build -o FILE
  bool composed_frames = false;       // extract --frames
  bool pcm_sounds = false;            // extract --pcm
  bool overwrite = false;             // extract --force
  bool raw_images = false;            // build --raw
};

// A usage mistake, reported with the usage hint and exit status 2.
struct UsageError {
  std::string message;
};

std::variant<Request, UsageError> ParseCommandLine(const std::vector<std::string>& args);

extern const char* const kUsageText;

}  // namespace rirerazo::chartool
