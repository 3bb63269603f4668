#include "core/interp/system_arguments.h"

#include "core/util/text.h"

namespace rirerazo {

namespace {

constexpr std::string_view kQuote = "\"";

std::string AfterFirstBlank(std::string_view line) {
  const auto blank = line.find(' ');
  return blank == std::string_view::npos ? std::string() : std::string(line.substr(blank + 1));
}

// Cuts `text` at its first comma into the parts before and after it, each trimmed and
// unquoted (one enclosing pair of quotes); `after` stays unset when there is no comma.
void CutAtComma(std::string_view text, std::string& before, std::optional<std::string>& after) {
  const auto comma = text.find(',');
  if (comma == std::string_view::npos) {
    before = util::UnQuote(text);
    return;
  }
  before = util::UnQuote(text.substr(0, comma));
  after = util::UnQuote(text.substr(comma + 1));
}

}  // namespace

std::string StatementArgument(std::string_view line) {
  return util::TrimChars(AfterFirstBlank(line), kQuote);
}

std::string ShellExCommand(std::string_view line, std::string_view keyword) {
  std::string command(util::Trim(line.substr(std::min(keyword.size(), line.size()))));
  if (command.starts_with('"')) command.erase(0, 1);
  if (command.ends_with('"')) command.pop_back();
  return util::ReplaceAll(command, "\"\"", "\"");
}

ReadAloudArguments ReadClipboardArguments(std::string_view line) {
  ReadAloudArguments arguments;
  std::optional<std::string> prefix;
  CutAtComma(StatementArgument(line), arguments.character, prefix);
  arguments.prefix = prefix.value_or("");
  return arguments;
}

std::optional<ReadAloudArguments> ReadTextFileArguments(std::string_view line) {
  if (line.find(',') == std::string_view::npos) return std::nullopt;
  ReadAloudArguments arguments;
  std::optional<std::string> rest;
  CutAtComma(StatementArgument(line), arguments.character, rest);
  std::optional<std::string> prefix;
  CutAtComma(rest.value_or(""), arguments.file, prefix);
  arguments.prefix = prefix.value_or("");
  return arguments;
}

}  // namespace rirerazo
