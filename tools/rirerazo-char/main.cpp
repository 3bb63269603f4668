// rirerazo-char: the authoring tool for character files. See command_line.cpp for usage.
#include <cstdio>
#include <filesystem>
#include <iostream>

#include "command_line.h"
#include "info.h"
#include "manifest.h"
#include "platform/runtime_error.h"
#include "runtime/acs/writer/acs_writer.h"
#include "version.h"

namespace {

namespace acs = rirerazo::acs;
namespace tool = rirerazo::chartool;

void Build(const tool::Request& r) {
  const acs::Character character = tool::LoadCharacterFolder(r.operands[0]);
  for (const std::string& warning : tool::AuthoringWarnings(character)) {
    std::fprintf(stderr, "rirerazo-char: warning: %s\n", warning.c_str());
  }
  acs::WriteOptions options;
  if (r.raw_images) options.pixels = options.regions = acs::Storage::kRaw;
  acs::WriteCharacterFile(character, r.output, options);
}

void Run(const tool::Request& r) {
  switch (r.command) {
    case tool::Command::kHelp:
      std::fputs(tool::kUsageText, stdout);
      return;
    case tool::Command::kVersion:
      std::printf("rirerazo-char %s\n", rirerazo::kVersionText);
      return;
    case tool::Command::kInfo:
      tool::PrintInfo(acs::ReadCharacterFile(r.operands[0]),
                      std::filesystem::file_size(r.operands[0]), std::cout);
      return;
    case tool::Command::kExtract:
      tool::ExtractCharacter(acs::ReadCharacterFile(r.operands[0]), r.operands[1],
                             {r.composed_frames, r.pcm_sounds, r.overwrite});
      return;
    case tool::Command::kBuild:
      Build(r);
      return;
  }
}

}  // namespace

int main(int argc, char** argv) {
  const auto parsed = tool::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  if (const auto* usage = std::get_if<tool::UsageError>(&parsed)) {
    std::fprintf(stderr, "rirerazo-char: %s\nTry 'rirerazo-char --help'.\n",
                 usage->message.c_str());
    return 2;
  }
  try {
    Run(std::get<tool::Request>(parsed));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "rirerazo-char: %s\n", e.what());
    return 1;
  }
  return std::cout.flush() ? 0 : 1;
}
