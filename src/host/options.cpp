#include "host/options.h"

#include <charconv>
#include <functional>
#include <map>

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
  options.screen_given = true;
  return true;
}

bool ParseFps(const std::string& text, int& fps) {
  const auto r = std::from_chars(text.data(), text.data() + text.size(), fps);
  return r.ec == std::errc() && r.ptr == text.data() + text.size() && fps >= 1 && fps <= 120;
}

// Seconds, with up to three decimals: "30", "12.5".
bool ParseDuration(const std::string& text, std::optional<std::int64_t>& duration_ms) {
  const size_t dot = text.find('.');
  const std::string whole = text.substr(0, dot);
  std::string fraction = dot == std::string::npos ? "" : text.substr(dot + 1);
  if (whole.empty() || fraction.size() > 3 || (dot != std::string::npos && fraction.empty())) {
    return false;
  }
  std::int64_t seconds = 0, thousandths = 0;
  const auto w = std::from_chars(whole.data(), whole.data() + whole.size(), seconds);
  if (w.ec != std::errc() || w.ptr != whole.data() + whole.size() || seconds > 86'400) return false;
  fraction.resize(3, '0');
  const auto f = std::from_chars(fraction.data(), fraction.data() + 3, thousandths);
  if (f.ec != std::errc() || f.ptr != fraction.data() + 3) return false;
  duration_ms = seconds * 1000 + thousandths;
  return *duration_ms > 0;
}

bool ParseStartTime(const std::string& text) {
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

}  // namespace

std::string UsageText() {
  return "Usage: rirerazo [options] [--] [script-path ...]\n"
         "Plays a character script (.vrn or .vrs). Without a script path the player asks\n"
         "for one, or plays the script carried inside its own program file.\n"
         "\n"
         "Options:\n"
         "  --headless              play without a display (chosen by itself when none)\n"
         "  --trace FILE            write the trace as JSON lines to FILE ('-' = stdout)\n"
         "  --transcript            print what the characters do as readable lines\n"
         "  --realtime              pace the headless clock to the wall clock\n"
         "  --answer ANSWER         answer every message box with ok, cancel, abort,\n"
         "                          retry, ignore, yes or no\n"
         "  --input FILE            user input to replay (commands, speech, clicks)\n"
         "  --screen WxH            the screen the headless host pretends to have\n"
         "                          (default 1024x768)\n"
         "  --start-time YYYY-MM-DDTHH:MM:SS\n"
         "                          local date and time at which the headless clock starts\n"
         "  --seed N                seed for animation branching (default 1)\n"
         "  --render OUT.mp4|OUT.webm\n"
         "                          play on the virtual clock and write every frame and\n"
         "                          its sound to a video file (default screen 1280x720)\n"
         "  --fps N                 frames per second of the video (default 25)\n"
         "  --background FILE       picture behind everything in the video\n"
         "  --duration SECONDS      the video's greatest length\n"
         "  --quiet                 no progress line while rendering\n"
         "  --pack SCRIPT -o PROGRAM\n"
         "                          write a copy of the player that plays SCRIPT by itself\n"
         "  --help                  show this help and exit\n"
         "  --version               show the version and exit\n"
         "\n"
         "With a display the characters play on the desktop; --realtime, --answer,\n"
         "--input, --screen and --start-time apply to headless runs only.\n";
}

ParseResult ParseOptions(const std::vector<std::string>& args) {
  ParseResult result;
  Options& o = result.options;
  size_t i = 0;
  auto value = [&](const std::string& name, std::string& out) {
    if (i + 1 >= args.size()) {
      result.error = "option '" + name + "' needs a value";
      return false;
    }
    out = args[++i];
    return true;
  };
  for (; i < args.size(); ++i) {
    const std::string& arg = args[i];
    std::string text;
    if (arg == "--") {
      ++i;
      break;
    }
    if (arg.rfind("--", 0) != 0 && arg != "-o") break;
    if (arg == "--help") {
      o.help = true;
    } else if (arg == "--version") {
      o.version = true;
    } else if (arg == "--headless") {
      o.headless = true;
    } else if (arg == "--realtime") {
      o.realtime = true;
    } else if (arg == "--transcript") {
      o.transcript = true;
    } else if (arg == "--trace") {
      if (!value(arg, o.trace_path)) return result;
    } else if (arg == "--input") {
      if (!value(arg, o.input_path)) return result;
    } else if (arg == "--render") {
      if (!value(arg, o.render_path)) return result;
    } else if (arg == "--background") {
      if (!value(arg, o.background_path)) return result;
    } else if (arg == "--quiet") {
      o.quiet = true;
    } else if (arg == "--fps") {
      if (!value(arg, text)) return result;
      if (!ParseFps(text, o.frames_per_second)) {
        result.error = "--fps takes a whole number from 1 to 120, not '" + text + "'";
        return result;
      }
    } else if (arg == "--duration") {
      if (!value(arg, text)) return result;
      if (!ParseDuration(text, o.duration_ms)) {
        result.error = "--duration takes a number of seconds such as 30 or 12.5, not '" +
                       text + "'";
        return result;
      }
    } else if (arg == "--pack") {
      if (!value(arg, o.pack_script)) return result;
    } else if (arg == "-o") {
      if (!value(arg, o.pack_output)) return result;
    } else if (arg == "--answer") {
      if (!value(arg, o.answer)) return result;
      if (!ValidAnswer(o.answer)) {
        result.error = "--answer takes ok, cancel, abort, retry, ignore, yes or no, not '" +
                       o.answer + "'";
        return result;
      }
    } else if (arg == "--screen") {
      if (!value(arg, text)) return result;
      if (!ParseScreen(text, o)) {
        result.error = "--screen takes WIDTHxHEIGHT in pixels, such as 1024x768, not '" +
                       text + "'";
        return result;
      }
    } else if (arg == "--start-time") {
      if (!value(arg, text)) return result;
      if (!ParseStartTime(text)) {
        result.error = "--start-time takes YYYY-MM-DDTHH:MM:SS, not '" + text + "'";
        return result;
      }
      o.start_time = text;
    } else if (arg == "--seed") {
      if (!value(arg, text)) return result;
      if (!ParseSeed(text, o.seed)) {
        result.error = "--seed takes a whole number from 0 to 4294967295, not '" + text + "'";
        return result;
      }
    } else {
      result.error = "unknown option '" + arg + "'";
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
