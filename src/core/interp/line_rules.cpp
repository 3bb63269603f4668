#include "core/interp/line_rules.h"

#include "core/util/ascii.h"
#include "core/util/text.h"

namespace rirerazo {
namespace {

// The text without blanks, upper-cased, compared with `keyword` (already upper case) as a
// prefix or as the whole text, without building a copy.
bool BlanklessMatches(std::string_view text, std::string_view keyword, bool whole) {
  std::size_t k = 0;
  for (char c : text) {
    if (c == ' ') continue;
    if (k == keyword.size()) return !whole;
    if (util::AsciiUpper(c) != keyword[k]) return false;
    ++k;
  }
  return k == keyword.size();
}

}  // namespace

std::string RemoveBlanks(std::string_view text) {
  std::string result;
  result.reserve(text.size());
  for (char c : text) {
    if (c != ' ') result += c;
  }
  return result;
}

std::string_view NextLine(std::string_view script, std::size_t& pos) {
  const std::size_t end = script.find("\r\n", pos);
  std::string_view line;
  if (end == std::string_view::npos) {
    line = script.substr(pos);
    pos = script.size();
  } else {
    line = script.substr(pos, end - pos);
    pos = end + 2;
  }
  return line;
}

bool IsSetReqLine(std::string_view line) {
  return BlanklessMatches(line, "SETREQ=", false);
}

std::string SetReqStatement(std::string_view line) {
  std::string statement(util::Trim(AfterEquals(line)));
  const std::size_t paren = statement.find('(');
  if (paren != std::string::npos) statement[paren] = ' ';
  if (!statement.empty() && statement.back() == ')') {
    statement.pop_back();
    statement = std::string(util::Trim(statement));
  }
  return statement;
}

bool IsWaitForReqLine(std::string_view line) {
  return BlanklessMatches(line, "WAITFORREQ", true);
}

std::string_view TailAfter(std::string_view line, std::size_t n) {
  return n < line.size() ? line.substr(n) : std::string_view{};
}

std::string_view AfterEquals(std::string_view line) {
  const std::size_t equals = line.find('=');
  return equals == std::string_view::npos ? line : line.substr(equals + 1);
}

std::string_view AfterFirstBlank(std::string_view line) {
  const std::size_t blank = line.find(' ');
  return blank == std::string_view::npos ? line : line.substr(blank + 1);
}

bool AddressesCharacter(std::string_view line, std::string_view id) {
  return line.size() > id.size() && line[id.size()] == '.' && util::StartsWithIgnoreCase(line, id);
}

}  // namespace rirerazo
