// rirerazo-lint: checks character scripts before they play.
//   rirerazo-lint [--characters FOLDERS] SCRIPT...
// Prints one finding per line (FILE:LINE: warning|error: message) and exits with 0 when
// every script is clean, 1 for warnings only and 2 for errors or a wrong command line.
#include <iostream>
#include <string>
#include <vector>

#include "host/script_folder.h"
#include "os/posix_system.h"
#include "runtime/character_folders.h"
#include "script_checker.h"
#include "version.h"

namespace {

constexpr const char* kUsage =
    "Usage: rirerazo-lint [options] SCRIPT...\n"
    "Checks character scripts (.vrn, .vrs) the way the player reads and plays them.\n"
    "Prints FILE:LINE: warning|error: message for each finding.\n"
    "\n"
    "Options:\n"
    "  --characters FOLDERS  also look for character files in these ':'-separated folders\n"
    "  -h, --help            show this help and exit\n"
    "      --version         show the version and exit\n"
    "\n"
    "Exit status: 0 when the scripts are clean, 1 for warnings only, 2 for errors or a\n"
    "wrong command line.\n";

// The folders the player searches for a script named `script` on its command line, run
// from the folder this program is in (the player is installed beside it), with `extra`
// folders first.
std::vector<std::string> CharacterFolders(const std::string& script, const std::string& extra) {
  const rirerazo::os::PosixSystem system;
  std::vector<std::string> folders;
  std::size_t start = 0;
  while (start < extra.size()) {
    std::size_t end = extra.find(':', start);
    if (end == std::string::npos) end = extra.size();
    if (end > start) folders.push_back(extra.substr(start, end - start));
    start = end + 1;
  }
  for (std::string& folder : rirerazo::runtime::StandardCharacterFolders(
           system, rirerazo::host::ScriptFolder(script),
           rirerazo::host::InstallPrefix(system.ExecutablePath()))) {
    folders.push_back(std::move(folder));
  }
  return folders;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> scripts;
  std::string extra_folders;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "-h" || arg == "--help") {
      std::cout << kUsage;
      return 0;
    }
    if (arg == "--version") {
      std::cout << "rirerazo-lint " << rirerazo::kVersionText << "\n";
      return 0;
    }
    if (arg == "--characters" && i + 1 < argc) {
      extra_folders = argv[++i];
    } else if (arg == "--") {
      scripts.insert(scripts.end(), argv + i + 1, argv + argc);
      break;
    } else if (arg.starts_with("-") && arg.size() > 1) {
      std::cerr << "rirerazo-lint: unknown option '" << arg << "'\nTry 'rirerazo-lint --help'.\n";
      return 2;
    } else {
      scripts.push_back(arg);
    }
  }
  if (scripts.empty()) {
    std::cerr << "rirerazo-lint: no script given\nTry 'rirerazo-lint --help'.\n";
    return 2;
  }
  std::vector<rirerazo::lint::Finding> all;
  for (const std::string& script : scripts) {
    rirerazo::lint::ScriptChecker checker(CharacterFolders(script, extra_folders));
    for (rirerazo::lint::Finding& finding : checker.Check(script)) {
      std::cout << rirerazo::lint::FormatFinding(finding) << '\n';
      all.push_back(std::move(finding));
    }
  }
  return rirerazo::lint::ExitStatus(all);
}
