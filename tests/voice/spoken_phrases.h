// Spoken test phrases: synthesised with espeak-ng and resampled to 16 kHz mono with sox, at
// test time, into a folder shared by the tests of one process. A test skips when either tool
// is missing.
#pragma once

#include <cstdlib>
#include <map>
#include <memory>
#include <sstream>
#include <string>

#include "support/scratch_folder.h"

namespace rirerazo::voice::testing {

inline bool SpeechToolsPresent() {
  return std::system("command -v espeak-ng >/dev/null 2>&1 && command -v sox >/dev/null 2>&1") == 0;
}

// The path of a 16 kHz mono recording of `text`; empty when synthesis failed.
inline std::string Spoken(const std::string& text) {
  static rirerazo::testing::ScratchFolder folder;
  static std::map<std::string, std::string> made;
  if (auto found = made.find(text); found != made.end()) return found->second;
  std::string base = folder / std::to_string(made.size());
  std::ostringstream command;
  // The text goes through a file, so no quoting of it reaches the shell.
  folder.Write(std::to_string(made.size()) + ".txt", text);
  command << "espeak-ng -v en-us -f '" << base << ".txt' -w '" << base << ".raw.wav' && sox '"
          << base << ".raw.wav' -r 16000 -c 1 -b 16 '" << base << ".wav'";
  std::string path = std::system(command.str().c_str()) == 0 ? base + ".wav" : "";
  made[text] = path;
  return path;
}

}  // namespace rirerazo::voice::testing
