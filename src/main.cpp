// rirerazo: plays character scripts. Parses the command line, picks a host and runs it.
#include <cstdio>
#include <string>
#include <string_view>

#include "version.h"

namespace {

constexpr std::string_view kUsage =
    "Usage: rirerazo [options] [--] [script-path ...]\n"
    "Plays a character script (.vrn or .vrs).\n"
    "\n"
    "Options:\n"
    "  --help       show this help and exit\n"
    "  --version    show the version and exit\n";

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    std::string_view arg = argv[i];
    if (arg == "--help") {
      std::fputs(kUsage.data(), stdout);
      return 0;
    }
    if (arg == "--version") {
      std::printf("rirerazo %s\n", rirerazo::kVersionText);
      return 0;
    }
    if (arg == "--") break;
    if (arg.starts_with("--")) {
      std::fprintf(stderr, "rirerazo: unknown option '%s'\nTry 'rirerazo --help'.\n", argv[i]);
      return 2;
    }
  }
  std::fputs("rirerazo: playing scripts is not built yet; this build has the foundation only.\n",
             stderr);
  return 1;
}
