// The program's command line: `rirerazo [options] [--] [script-path ...]`. Options start
// with "--" and come first; everything after them is joined with single blanks into the
// one command-line text that start-up reads.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace rirerazo::host {

struct Options {
  bool help = false;
  bool version = false;
  bool headless = false;    // chosen by itself when there is no display
  std::string trace_path;   // "" = no trace, "-" = standard output
  bool realtime = false;    // pace the headless host's virtual clock to the wall clock
  bool transcript = false;  // print "Host says: ..." lines to standard output
  std::string answer;       // how message boxes are answered ("" = the default rule)
  std::string input_path;   // the user-input script
  int screen_width_px = 1024;
  int screen_height_px = 768;
  std::optional<std::string> start_time;  // YYYY-MM-DDTHH:MM:SS
  std::uint32_t seed = 1;
  std::string pack_script;   // --pack SCRIPT
  std::string pack_output;   // -o PROGRAM
  std::string command_line;  // the text start-up reads
};

struct ParseResult {
  Options options;
  std::string error;  // non-empty: a one-line reason; exit status 2
};

ParseResult ParseOptions(const std::vector<std::string>& args);

// The text of --help.
std::string UsageText();

}  // namespace rirerazo::host
