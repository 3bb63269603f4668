#include "core/interp/statement_tables.h"

#include <gtest/gtest.h>

#include "core/interp/char_statements.h"
#include "core/interp/system_handlers.h"

namespace rirerazo {
namespace {

StatementHandler CharHandler(std::string_view upper_line, std::string_view upper_id) {
  const CharStatementRow* row = MatchCharStatement(upper_line, upper_id);
  return row == nullptr ? nullptr : row->handler;
}

StatementHandler SystemHandler(std::string_view upper_line, std::string_view* keyword = nullptr) {
  std::string_view matched;
  const SystemStatementRow* row = MatchSystemStatement(upper_line, matched);
  if (keyword != nullptr) *keyword = matched;
  return row == nullptr ? nullptr : row->handler;
}

TEST(CharStatementTable, KeywordsAreFoundAnywhereInTableOrder) {
  // .HIDE is tested before .SPEAK, wherever it stands.
  EXPECT_EQ(CharHandler("HOST.SPEAK PLEASE SAY HOST.HIDE NOW", "HOST"), &HideStatement);
  EXPECT_EQ(CharHandler("HOST.SPEAK HELLO", "HOST"), &SpeakStatement);
  // .MOVETO contains no earlier keyword; .BALLOON.FONTNAME comes before .WIDTH.
  EXPECT_EQ(CharHandler("HOST.MOVETO 1, 2", "HOST"), &MoveToStatement);
  EXPECT_EQ(CharHandler("HOST.BALLOON.FONTSIZE=HOST.WIDTH", "HOST"), &BalloonFontSizeStatement);
  // The keyword must follow the addressed id itself.
  EXPECT_EQ(CharHandler("HOST.SPEAK GUEST.HIDE", "HOST"), &SpeakStatement);
  EXPECT_EQ(CharHandler("HOST.STOP", "HOST"), nullptr);
  EXPECT_EQ(CharHandler("HOST.BLINK", "HOST"), nullptr);
}

TEST(SystemStatementTable, PrefixEqualsAndContainsTests) {
  EXPECT_EQ(SystemHandler("STOPWAVEFORM"), &StopMediaStatement);
  EXPECT_EQ(SystemHandler("PLAYWAVE"), nullptr);  // the keyword includes its blank
  EXPECT_EQ(SystemHandler("BGSHOW"), &BgShowStatement);
  EXPECT_EQ(SystemHandler("BGSHOW NOW"), nullptr);
  EXPECT_EQ(SystemHandler("VORN.CLOSE"), &VornCloseStatement);
  EXPECT_EQ(SystemHandler("VORN.CLOSE NOW"), nullptr);
  EXPECT_EQ(SystemHandler("AGENTCONTROL.PROPERTYSHEET.VISIBLE = TRUE"), &PropertySheetStatement);
  EXPECT_EQ(SystemHandler("REM AGENTCONTROL.PROPERTY SHEET.VISIBLE=TRUE"), &PropertySheetStatement);
  EXPECT_EQ(SystemHandler("GUEST.SPEAK HI"), nullptr);
  EXPECT_EQ(SystemHandler("' A REMARK"), nullptr);
}

TEST(SystemStatementTable, ReportsWhichOfTheShellKeywordsMatched) {
  std::string_view keyword;
  EXPECT_EQ(SystemHandler("RUN NOTEPAD", &keyword), &ShellExStatement);
  EXPECT_EQ(keyword, "RUN ");
  EXPECT_EQ(SystemHandler("OPEN README.TXT", &keyword), &ShellExStatement);
  EXPECT_EQ(keyword, "OPEN ");
  EXPECT_EQ(SystemHandler("SHELLEX X", &keyword), &ShellExStatement);
  EXPECT_EQ(keyword, "SHELLEX ");
  EXPECT_EQ(SystemHandler("PLAYSCRIPT other.vrn", &keyword), &PlayScriptStatement);
  EXPECT_EQ(keyword, "PLAYSCRIPT ");
}

}  // namespace
}  // namespace rirerazo
