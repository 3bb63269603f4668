#include "command_line.h"

#include <map>

namespace rirerazo::chartool {

const char* const kUsageText =
    "Usage: rirerazo-char COMMAND [options] ARGUMENTS\n"
    "Inspects, unpacks and builds character files (.acs).\n"
    "\n"
    "Commands:\n"
    "  info FILE           summarise a character file\n"
    "  extract FILE DIR    unpack a character into a folder: character.json (the manifest),\n"
    "                      images/*.png and sounds/*.wav\n"
    "      --frames        also write every frame composed, as frames/ANIMATION/NNNN.png\n"
    "      --pcm           write sounds decoded to 16-bit PCM instead of as stored\n"
    "      --force         replace a character already unpacked into DIR\n"
    "  build DIR -o FILE   build a character file from a folder made by extract or by hand\n"
    "      --raw           store images uncompressed (larger files)\n"
    "\n"
    "Options:\n"
    "  -h, --help          show this help and exit\n"
    "      --version       show the version and exit\n"
    "\n"
    "Exit status: 0 on success, 1 when the work failed (unreadable or invalid input,\n"
    "a file that cannot be written), 2 when the command line is wrong.\n";

namespace {

struct CommandShape {
  Command command;
  std::size_t operands;
};

const std::map<std::string, CommandShape> kCommands = {
    {"info", {Command::kInfo, 1}},
    {"extract", {Command::kExtract, 2}},
    {"build", {Command::kBuild, 1}},
};

// Applies one option to the request; false when the command does not take it.
bool ApplyOption(const std::string& option, Request& r) {
  const bool extract = r.command == Command::kExtract;
  if (extract && option == "--frames") return r.composed_frames = true;
  if (extract && option == "--pcm") return r.pcm_sounds = true;
  if (extract && option == "--force") return r.overwrite = true;
  if (r.command == Command::kBuild && option == "--raw") return r.raw_images = true;
  return false;
}

}  // namespace

std::variant<Request, UsageError> ParseCommandLine(const std::vector<std::string>& args) {
  Request r;
  if (args.empty()) return UsageError{"no command given"};
  for (const std::string& arg : args) {
    if (arg == "-h" || arg == "--help" || arg == "help") return Request{};
    if (arg == "--version") {
      r.command = Command::kVersion;
      return r;
    }
  }
  const auto shape = kCommands.find(args[0]);
  if (shape == kCommands.end()) return UsageError{"unknown command '" + args[0] + "'"};
  r.command = shape->second.command;
  bool only_operands = false;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (only_operands || arg.size() < 2 || arg[0] != '-') {
      r.operands.push_back(arg);
    } else if (arg == "--") {
      only_operands = true;
    } else if (r.command == Command::kBuild && (arg == "-o" || arg == "--output")) {
      if (++i == args.size()) return UsageError{"'" + arg + "' needs a file name"};
      r.output = args[i];
    } else if (!ApplyOption(arg, r)) {
      return UsageError{"'" + args[0] + "' has no option '" + arg + "'"};
    }
  }
  if (r.operands.size() != shape->second.operands) {
    return UsageError{"'" + args[0] + "' takes " + std::to_string(shape->second.operands) +
                      (shape->second.operands == 1 ? " argument" : " arguments")};
  }
  if (r.command == Command::kBuild && r.output.empty()) {
    return UsageError{"'build' needs the output file: -o FILE"};
  }
  return r;
}

}  // namespace rirerazo::chartool
