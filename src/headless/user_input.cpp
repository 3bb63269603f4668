#include "headless/user_input.h"

#include <array>
#include <charconv>

#include "platform/runtime_error.h"
#include "platform/tray.h"
#include "runtime/character_data.h"

namespace rirerazo::headless {

namespace {

constexpr std::int64_t kMaxTimeMs = 1'000'000'000'000;  // about 31 years

struct Token {
  std::string text;
  bool quoted = false;
};

struct ActionName {
  std::string_view name;
  InputAction action;
};

constexpr std::array<ActionName, 11> kActions = {{
    {"choose", InputAction::kChoose},
    {"say", InputAction::kSay},
    {"hear", InputAction::kHear},
    {"click", InputAction::kClick},
    {"drag", InputAction::kDrag},
    {"show", InputAction::kShow},
    {"hide", InputAction::kHide},
    {"tray", InputAction::kTray},
    {"backdrop", InputAction::kBackdropClose},
    {"dialog", InputAction::kDialog},
    {"clipboard", InputAction::kClipboard},
}};

std::vector<Token> Tokenize(std::string_view line, int line_number) {
  std::vector<Token> tokens;
  std::size_t i = 0;
  while (i < line.size()) {
    if (line[i] == ' ' || line[i] == '\t') {
      ++i;
      continue;
    }
    Token token;
    if (line[i] != '"') {
      while (i < line.size() && line[i] != ' ' && line[i] != '\t') token.text.push_back(line[i++]);
      tokens.push_back(std::move(token));
      continue;
    }
    token.quoted = true;
    for (++i;; ++i) {
      if (i >= line.size()) throw InputScriptError(line_number, "a quoted argument is not closed");
      if (line[i] != '"') {
        token.text.push_back(line[i]);
      } else if (i + 1 < line.size() && line[i + 1] == '"') {
        token.text.push_back('"');
        ++i;
      } else {
        ++i;
        break;
      }
    }
    tokens.push_back(std::move(token));
  }
  return tokens;
}

std::optional<std::int64_t> ParseUnsigned(std::string_view digits) {
  std::int64_t value = 0;
  if (digits.empty()) return std::nullopt;
  auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (error != std::errc() || end != digits.data() + digits.size() || value < 0) {
    return std::nullopt;
  }
  return value;
}

// "1500", "1500ms", "1.5s"; nullopt when malformed or beyond the largest time.
std::optional<std::int64_t> ParseDuration(std::string_view text) {
  bool seconds = false;
  if (text.ends_with("ms")) {
    text.remove_suffix(2);
  } else if (text.ends_with("s")) {
    text.remove_suffix(1);
    seconds = true;
  }
  std::size_t dot = text.find('.');
  if (!seconds && dot != std::string_view::npos) return std::nullopt;
  std::string_view whole = text.substr(0, dot);
  std::string fraction(dot == std::string_view::npos ? "" : text.substr(dot + 1));
  if (fraction.size() > 3) return std::nullopt;
  std::optional<std::int64_t> units = ParseUnsigned(whole);
  if (!units || *units > kMaxTimeMs) return std::nullopt;
  if (!seconds) return units;
  fraction.resize(3, '0');
  std::optional<std::int64_t> millis = ParseUnsigned(fraction);
  if (!millis) return std::nullopt;
  std::int64_t total = *units * 1000 + *millis;
  if (total > kMaxTimeMs) return std::nullopt;
  return total;
}

std::int32_t ParseInt(const Token& token, std::int32_t low, std::int32_t high, const char* what,
                      int line) {
  std::int32_t value = 0;
  const std::string& text = token.text;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < low ||
      value > high) {
    throw InputScriptError(line, std::string(what) + " \"" + text +
                                     "\" is not a whole number from " + std::to_string(low) +
                                     " to " + std::to_string(high));
  }
  return value;
}

std::int32_t ParseConfidence(const Token& token, int line) {
  return ParseInt(token, -100, 100, "the confidence", line);
}

std::int32_t ParseCoordinate(const Token& token, int line) {
  return ParseInt(token, -1'000'000, 1'000'000, "the coordinate", line);
}

// Checks the number of arguments after the action word.
void ExpectArguments(const std::vector<Token>& args, std::size_t low, std::size_t high,
                     const char* usage, int line) {
  if (args.size() < low || args.size() > high) {
    throw InputScriptError(line, std::string("expected: ") + usage);
  }
}

void ParseChoose(const std::vector<Token>& args, InputItem& item) {
  ExpectArguments(args, 2, 7,
                  "choose <character> <command> [<confidence> [<alt1> <confidence> "
                  "[<alt2> [<confidence>]]]]",
                  item.line);
  if (args.size() == 4) throw InputScriptError(item.line, "an alternative needs a confidence");
  item.character = args[0].text;
  platform::UserInput& input = item.command;
  input.name = args[1].text;
  if (args.size() > 2) input.confidence = ParseConfidence(args[2], item.line);
  if (args.size() > 4) {
    input.alt1_name = args[3].text;
    input.alt1_confidence = ParseConfidence(args[4], item.line);
  }
  if (args.size() > 5) input.alt2_name = args[5].text;
  if (args.size() > 6) input.alt2_confidence = ParseConfidence(args[6], item.line);
}

struct TrayGesture {
  std::string_view name;
  std::array<int, 4> messages;  // zeros end the list
};

// Mouse gestures on the tray icon, as the messages the icon reports for them.
constexpr std::array<TrayGesture, 4> kTrayGestures = {{
    {"right-click", {platform::tray_mouse::kRightDown, platform::tray_mouse::kRightUp}},
    {"left-click", {platform::tray_mouse::kLeftDown, platform::tray_mouse::kLeftUp}},
    {"double-click",
     {platform::tray_mouse::kLeftDown, platform::tray_mouse::kLeftUp,
      platform::tray_mouse::kLeftDoubleClick, platform::tray_mouse::kLeftUp}},
    {"move", {platform::tray_mouse::kMove}},
}};

// An unquoted gesture name or "#<n>"; anything else (and anything quoted) is a caption.
void ParseTray(const Token& arg, InputItem& item) {
  item.text = arg.text;
  if (arg.quoted) return;
  for (const TrayGesture& gesture : kTrayGestures) {
    if (!runtime::EqualsIgnoreCase(gesture.name, arg.text)) continue;
    for (int message : gesture.messages) {
      if (message != 0) item.tray_mouse.push_back(message);
    }
    return;
  }
  if (arg.text.starts_with('#')) {
    item.position =
        ParseInt(Token{arg.text.substr(1), false}, 1, 1000, "the item position", item.line);
  }
}

void ParseArguments(const std::vector<Token>& args, InputItem& item) {
  const int line = item.line;
  switch (item.action) {
    case InputAction::kChoose:
      return ParseChoose(args, item);
    case InputAction::kSay:
      ExpectArguments(args, 2, 3, "say <character> <phrase> [<confidence>]", line);
      item.character = args[0].text;
      item.text = args[1].text;
      if (args.size() > 2) item.confidence = ParseConfidence(args[2], line);
      return;
    case InputAction::kHear:
      ExpectArguments(args, 2, 2, "hear <character> <file.wav>", line);
      item.character = args[0].text;
      item.text = args[1].text;
      return;
    case InputAction::kClick:
      ExpectArguments(args, 1, 3, "click <character> [<x> <y>]", line);
      if (args.size() == 2) throw InputScriptError(line, "a click needs both x and y, or neither");
      item.character = args[0].text;
      if (args.size() == 3) {
        item.x = ParseCoordinate(args[1], line);
        item.y = ParseCoordinate(args[2], line);
      }
      return;
    case InputAction::kDrag:
      ExpectArguments(args, 3, 3, "drag <character> <x> <y>", line);
      item.character = args[0].text;
      item.x = ParseCoordinate(args[1], line);
      item.y = ParseCoordinate(args[2], line);
      return;
    case InputAction::kShow:
    case InputAction::kHide:
      ExpectArguments(args, 1, 1, "show|hide <character>", line);
      item.character = args[0].text;
      return;
    case InputAction::kTray:
      ExpectArguments(args, 1, 1, "tray <caption> | tray #<n> | tray right-click", line);
      return ParseTray(args[0], item);
    case InputAction::kClipboard:
      ExpectArguments(args, 1, 1, "clipboard <text>", line);
      item.text = args[0].text;
      return;
    case InputAction::kBackdropClose:
      ExpectArguments(args, 1, 1, "backdrop close", line);
      if (args[0].text != "close") throw InputScriptError(line, "expected: backdrop close");
      return;
    case InputAction::kDialog:
      ExpectArguments(args, 1, 1, "dialog <path> | dialog cancel", line);
      item.cancel = !args[0].quoted && args[0].text == "cancel";
      item.text = args[0].text;
      return;
  }
}

InputItem ParseLine(const std::vector<Token>& tokens, int line, std::int64_t previous_ms) {
  InputItem item;
  item.line = line;
  std::string_view time = tokens[0].text;
  bool relative = time.starts_with('+');
  if (relative) time.remove_prefix(1);
  std::optional<std::int64_t> at = ParseDuration(time);
  if (!at) throw InputScriptError(line, "\"" + tokens[0].text + "\" is not a time");
  item.at_ms = relative ? previous_ms + *at : *at;
  if (item.at_ms < previous_ms) {
    throw InputScriptError(
        line, "the time " + std::to_string(item.at_ms) + " ms comes before the previous line's");
  }
  if (tokens.size() < 2) throw InputScriptError(line, "an action is missing after the time");
  const ActionName* action = nullptr;
  for (const ActionName& entry : kActions) {
    if (runtime::EqualsIgnoreCase(entry.name, tokens[1].text)) action = &entry;
  }
  if (!action) throw InputScriptError(line, "unknown action \"" + tokens[1].text + "\"");
  item.action = action->action;
  ParseArguments(std::vector<Token>(tokens.begin() + 2, tokens.end()), item);
  return item;
}

}  // namespace

std::vector<InputItem> ParseUserInput(std::string_view text) {
  std::vector<InputItem> items;
  std::int64_t previous_ms = 0;
  int line_number = 0;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    ++line_number;
    if (line.ends_with('\r')) line.remove_suffix(1);
    std::vector<Token> tokens = Tokenize(line, line_number);
    if (tokens.empty() || (!tokens[0].quoted && tokens[0].text.starts_with('#'))) continue;
    items.push_back(ParseLine(tokens, line_number, previous_ms));
    previous_ms = items.back().at_ms;
  }
  return items;
}

void UserInputHost::HearRecording(const std::string&, const std::string&) {
  throw RuntimeError(err::kInvalidProcedureCall, "the host takes no recordings");
}

UserInputFeeder::UserInputFeeder(std::vector<InputItem> items, runtime::CharacterRuntime& runtime,
                                 UserInputHost* host, ErrorHandler on_error)
    : items_(std::move(items)), runtime_(runtime), host_(host), on_error_(std::move(on_error)) {}

std::optional<std::int64_t> UserInputFeeder::NextDueMs() const {
  if (next_ >= items_.size()) return std::nullopt;
  return items_[next_].at_ms;
}

// Items are taken one at a time, so an action whose handler yields (a nested DoEvents) does
// not see itself again.
bool UserInputFeeder::Serve(std::int64_t now_ms) {
  bool served = false;
  while (next_ < items_.size() && items_[next_].at_ms <= now_ms) {
    const InputItem& item = items_[next_++];
    served = true;
    try {
      Apply(item);
    } catch (const RuntimeError& error) {
      if (on_error_) on_error_(item.line, error.Description());
    }
  }
  return served;
}

void UserInputFeeder::Apply(const InputItem& item) {
  auto need_host = [&]() -> UserInputHost& {
    if (!host_) throw RuntimeError(err::kInvalidProcedureCall, "the host takes no such input");
    return *host_;
  };
  switch (item.action) {
    case InputAction::kChoose:
      return runtime_.ChooseCommand(item.character, item.command);
    case InputAction::kSay:
      runtime_.Hear(item.character, item.text, item.confidence);
      if (host_) host_->Said(item.character, item.text, item.confidence);
      return;
    case InputAction::kHear:
      return need_host().HearRecording(item.character, item.text);
    case InputAction::kClick: {
      platform::AgentCharacter& character = runtime_.Character(item.character);
      int x = item.x ? *item.x : character.Left() + character.Width() / 2;
      int y = item.y ? *item.y : character.Top() + character.Height() / 2;
      return runtime_.Click(item.character, x, y);
    }
    case InputAction::kDrag:
      return runtime_.Drag(item.character, *item.x, *item.y);
    case InputAction::kShow:
      return runtime_.UserShow(item.character);
    case InputAction::kHide:
      return runtime_.UserHide(item.character);
    case InputAction::kTray:
      if (!item.tray_mouse.empty()) return need_host().TrayMouse(item.tray_mouse);
      return need_host().ChooseTrayItem(item.text, item.position);
    case InputAction::kBackdropClose:
      return need_host().CloseBackdrop();
    case InputAction::kDialog:
      return need_host().AnswerFileDialog(item.cancel ? std::nullopt
                                                      : std::optional<std::string>(item.text));
    case InputAction::kClipboard:
      return need_host().SetClipboardText(item.text);
  }
}

}  // namespace rirerazo::headless
