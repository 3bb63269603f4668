#include "host/options.h"

#include <charconv>
#include <optional>

namespace rirerazo::host {
namespace {

bool ParseScreen(const std::string& text, Options& options) {
  const size_t x = text.find_first_of("xX");
  if (x == std::string::npos) return false;
  int width = 0, height = 0;
  const char* begin = text.data();
  const auto w = std::from_chars(begin, begin + x, width);
  const auto h = std::from_chars(begin + x + 1, begin + text.size(), height);
  if (w.ec != std::errc() || w.ptr != begin + x || h.ec != std::errc() ||
      h.ptr != begin + text.size() || width <= 0 || height <= 0 || width > 32767 ||
      height > 32767) {
    return false;
  }
  options.screen_width_px = width;
  options.screen_height_px = height;
  return true;
}

bool ValidStartTime(const std::string& text) {
  // YYYY-MM-DDTHH:MM:SS, digits where digits belong.
  static const std::string shape = "dddd-dd-ddTdd:dd:dd";
  if (text.size() != shape.size()) return false;
  for (size_t i = 0; i < shape.size(); ++i) {
    const bool digit = text[i] >= '0' && text[i] <= '9';
    if (shape[i] == 'd' ? !digit : text[i] != shape[i]) return false;
  }
  return true;
}

bool ParseSeed(const std::string& text, std::uint32_t& seed) {
  const auto r = std::from_chars(text.data(), text.data() + text.size(), seed);
  return r.ec == std::errc() && r.ptr == text.data() + text.size();
}

bool ValidAnswer(const std::string& text) {
  static const char* kAnswers[] = {"ok", "cancel", "abort", "retry", "ignore", "yes", "no"};
  for (const char* answer : kAnswers) {
    if (text == answer) return true;
  }
  return false;
}

// One option of the command line: the parser and --help are both made from this table.
struct OptionRow {
  const char* name;
  const char* value;              // the value's placeholder; null for a flag
  std::vector<const char*> help;  // lines of --help
  bool headless_only;             // ignored when the player plays on the desktop
  // Takes the value (empty for a flag); returns why it is refused, or nothing.
  std::optional<std::string> (*apply)(const std::string& value, Options& options);
};

std::optional<std::string> Refused(const std::string& what, const std::string& value) {
  return what + ", not '" + value + "'";
}

const std::vector<OptionRow>& OptionTable() {
  static const std::vector<OptionRow> kRows = {
      {"--headless",
       nullptr,
       {"play without a display (chosen by itself when none)"},
       false,
       [](const std::string&, Options& o) -> std::optional<std::string> {
         o.headless = true;
         return {};
       }},
      {"--trace",
       "FILE",
       {"write the trace as JSON lines to FILE ('-' = stdout)"},
       false,
       [](const std::string& v, Options& o) -> std::optional<std::string> {
         o.trace_path = v;
         return {};
       }},
      {"--transcript",
       nullptr,
       {"print what the characters do as readable lines"},
       false,
       [](const std::string&, Options& o) -> std::optional<std::string> {
         o.transcript = true;
         return {};
       }},
      {"--realtime",
       nullptr,
       {"pace the headless clock to the wall clock"},
       true,
       [](const std::string&, Options& o) -> std::optional<std::string> {
         o.realtime = true;
         return {};
       }},
      {"--answer",
       "ANSWER",
       {"answer every message box with ok, cancel, abort,", "retry, ignore, yes or no"},
       true,
       [](const std::string& v, Options& o) -> std::optional<std::string> {
         if (!ValidAnswer(v)) {
           return Refused("--answer takes ok, cancel, abort, retry, ignore, yes or no", v);
         }
         o.answer = v;
         return {};
       }},
      {"--input",
       "FILE",
       {"user input to replay (commands, speech, clicks)"},
       true,
       [](const std::string& v, Options& o) -> std::optional<std::string> {
         o.input_path = v;
         return {};
       }},
      {"--screen",
       "WxH",
       {"the screen the headless host pretends to have", "(default 1024x768)"},
       true,
       [](const std::string& v, Options& o) -> std::optional<std::string> {
         if (!ParseScreen(v, o)) {
           return Refused("--screen takes WIDTHxHEIGHT in pixels, such as 1024x768", v);
         }
         return {};
       }},
      {"--start-time",
       "YYYY-MM-DDTHH:MM:SS",
       {"local date and time at which the headless clock starts"},
       true,
       [](const std::string& v, Options& o) -> std::optional<std::string> {
         if (!ValidStartTime(v)) return Refused("--start-time takes YYYY-MM-DDTHH:MM:SS", v);
         o.start_time = v;
         return {};
       }},
      {"--seed",
       "N",
       {"seed for animation branching (default 1)"},
       false,
       [](const std::string& v, Options& o) -> std::optional<std::string> {
         if (!ParseSeed(v, o.seed)) {
           return Refused("--seed takes a whole number from 0 to 4294967295", v);
         }
         return {};
       }},
      {"--pack",
       "SCRIPT",
       {"write a copy of the player that plays SCRIPT by itself", "(with -o PROGRAM)"},
       false,
       [](const std::string& v, Options& o) -> std::optional<std::string> {
         o.pack_script = v;
         return {};
       }},
      {"-o",
       "PROGRAM",
       {"the program file --pack writes"},
       false,
       [](const std::string& v, Options& o) -> std::optional<std::string> {
         o.pack_output = v;
         return {};
       }},
      {"--help",
       nullptr,
       {"show this help and exit"},
       false,
       [](const std::string&, Options& o) -> std::optional<std::string> {
         o.help = true;
         return {};
       }},
      {"--version",
       nullptr,
       {"show the version and exit"},
       false,
       [](const std::string&, Options& o) -> std::optional<std::string> {
         o.version = true;
         return {};
       }},
  };
  return kRows;
}

const OptionRow* FindOption(const std::string& name) {
  for (const OptionRow& row : OptionTable()) {
    if (name == row.name) return &row;
  }
  return nullptr;
}

// "  --name VALUE" padded to the help column; a longer one gets a line of its own.
void AppendOptionHelp(const OptionRow& row, std::string& text) {
  constexpr size_t kHelpColumn = 26;
  std::string head = std::string("  ") + row.name + (row.value ? std::string(" ") + row.value : "");
  if (head.size() + 2 > kHelpColumn) {
    text += head + "\n";
    head.clear();
  }
  for (const char* line : row.help) {
    head.resize(kHelpColumn, ' ');
    text += head + line + "\n";
    head.clear();
  }
}

// "a, b and c"
std::string JoinedAsList(const std::vector<std::string>& words) {
  std::string text;
  for (size_t i = 0; i < words.size(); ++i) {
    if (i > 0) text += i + 1 == words.size() ? " and " : ", ";
    text += words[i];
  }
  return text;
}

// Breaks `text` into lines of at most `width` characters at blanks.
std::string Wrapped(const std::string& text, size_t width) {
  std::string out, line;
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find(' ', at);
    if (end == std::string::npos) end = text.size();
    const std::string word = text.substr(at, end - at);
    if (!line.empty() && line.size() + 1 + word.size() > width) {
      out += line + "\n";
      line.clear();
    }
    line += (line.empty() ? "" : " ") + word;
    at = end + 1;
  }
  return out + line + "\n";
}

}  // namespace

std::string UsageText() {
  std::string text =
      "Usage: rirerazo [options] [--] [script-path ...]\n"
      "Plays a character script (.vrn or .vrs). Without a script path the player asks\n"
      "for one, or plays the script carried inside its own program file.\n"
      "\n"
      "Options:\n";
  std::vector<std::string> headless_only;
  for (const OptionRow& row : OptionTable()) {
    AppendOptionHelp(row, text);
    if (row.headless_only) headless_only.push_back(row.name);
  }
  return text + "\n" +
         Wrapped("With a display the characters play on the desktop; " +
                     JoinedAsList(headless_only) + " apply to headless runs only.",
                 80);
}

ParseResult ParseOptions(const std::vector<std::string>& args) {
  ParseResult result;
  Options& o = result.options;
  size_t i = 0;
  for (; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--") {
      ++i;
      break;
    }
    if (arg.rfind("--", 0) != 0 && arg != "-o") break;
    const OptionRow* row = FindOption(arg);
    if (row == nullptr) {
      result.error = "unknown option '" + arg + "'";
      return result;
    }
    std::string value;
    if (row->value != nullptr) {
      if (i + 1 >= args.size()) {
        result.error = "option '" + arg + "' needs a value";
        return result;
      }
      value = args[++i];
    }
    if (auto refused = row->apply(value, o)) {
      result.error = *refused;
      return result;
    }
  }
  for (; i < args.size(); ++i) {
    if (!o.command_line.empty()) o.command_line += ' ';
    o.command_line += args[i];
  }
  if (!o.pack_script.empty() && o.pack_output.empty()) {
    result.error = "--pack needs -o PROGRAM";
  }
  return result;
}

}  // namespace rirerazo::host
