#include "core/interp/char_statements.h"

#include <string>

#include "core/agent/char_actions.h"
#include "core/agent/characters.h"
#include "core/app/player.h"
#include "core/expr/c_parser.h"
#include "core/interp/line_rules.h"
#include "core/interp/substitutions.h"
#include "core/util/numbers.h"
#include "core/util/text.h"

namespace rirerazo {
namespace {

constexpr const char* kQuote = "\"";

// The line after the addressed id and the keyword.
std::string_view ArgumentTail(const Statement& statement) {
  return TailAfter(statement.line, statement.char_id.size() + statement.keyword.size());
}

std::string Unquoted(std::string_view text) {
  return util::TrimChars(std::string(text), kQuote);
}

// A coordinate expression evaluated and rounded to the nearest 32-bit integer.
std::int32_t Coordinate(Player& player, const std::string& expression) {
  return util::RoundToInt32(ParseOption(player, expression));
}

}  // namespace

void ShowStatement(Player& player, const Statement&) {
  CharShow(player);
}

void HideStatement(Player& player, const Statement&) {
  CharHide(player);
}

void SpeakStatement(Player& player, const Statement& statement) {
  CharSpeak(player, util::FixQuotes(Unquoted(ArgumentTail(statement))), "");
}

void ThinkStatement(Player& player, const Statement& statement) {
  CharThink(player, util::FixQuotes(Unquoted(ArgumentTail(statement))));
}

void PlayStatement(Player& player, const Statement& statement) {
  CharPlay(player, Unquoted(ArgumentTail(statement)));
}

void MoveToStatement(Player& player, const Statement& statement) {
  const std::string tail(ArgumentTail(statement));
  if (tail.find(',') == std::string::npos) return;
  CParser parser(player.ui());
  parser.ParseIt(tail, ",");
  const std::int32_t x = Coordinate(player, parser.Field(1));
  const std::int32_t y = Coordinate(player, parser.Field(2));
  std::int32_t speed = -1;
  if (parser.FieldCount() > 2) speed = Coordinate(player, parser.Field(3));
  CharMoveTo(player, x, y, speed);
}

void GestureAtStatement(Player& player, const Statement& statement) {
  const std::string_view tail = ArgumentTail(statement);
  const std::size_t comma = tail.find(',');
  if (comma == std::string_view::npos) return;
  const std::int32_t x = Coordinate(player, std::string(tail.substr(0, comma)));
  const std::int32_t y = Coordinate(player, std::string(tail.substr(comma + 1)));
  CharGestureAt(player, x, y);
}

void BalloonFontNameStatement(Player& player, const Statement& statement) {
  CharBalloonFontName(player, Unquoted(AfterEquals(statement.line)));
}

void BalloonFontSizeStatement(Player& player, const Statement& statement) {
  CharBalloonFontSize(player, Unquoted(AfterEquals(statement.line)));
}

void BalloonStyleStatement(Player& player, const Statement& statement) {
  CharBalloonStyle(player, Unquoted(AfterEquals(statement.line)));
}

void TTSModeIDStatement(Player& player, const Statement& statement) {
  CharTTSModeID(player, Unquoted(AfterEquals(statement.line)));
}

void ListenStatement(Player& player, const Statement& statement) {
  CharListen(player, std::string(AfterFirstBlank(statement.line)));
}

void WidthStatement(Player& player, const Statement& statement) {
  CharWidth(player, std::string(util::Trim(AfterEquals(statement.line))));
}

void HeightStatement(Player& player, const Statement& statement) {
  CharHeight(player, std::string(util::Trim(AfterEquals(statement.line))));
}

}  // namespace rirerazo
