#include "core/interp/statement_tables.h"

#include "core/interp/char_statements.h"
#include "core/interp/line_rules.h"
#include "core/interp/system_handlers.h"

namespace rirerazo {
namespace {

// Order matters: the first row whose keyword follows the id anywhere in the line wins.
constexpr CharStatementRow kCharStatements[] = {
    {".SHOW", ShowStatement},
    // Found anywhere and tested before .SPEAK: `Host.Speak Please say Host.Hide now` hides.
    {".HIDE", HideStatement},
    {".SPEAK", SpeakStatement},
    {".THINK", ThinkStatement},
    {".PLAY", PlayStatement},
    {".MOVETO", MoveToStatement},
    {".GESTUREAT", GestureAtStatement},
    {".BALLOON.FONTNAME", BalloonFontNameStatement},
    {".BALLOON.FONTSIZE", BalloonFontSizeStatement},
    {".BALLOON.STYLE", BalloonStyleStatement},
    {".TTSMODEID", TTSModeIDStatement},
    {".LISTEN", ListenStatement},
    {".WIDTH", WidthStatement},
    {".HEIGHT", HeightStatement},
};

using enum KeywordTest;

constexpr SystemStatementRow kSystemStatements[] = {
    // Blanks anywhere are ignored: `AgentControl.PropertySheet.Visible = True` matches.
    {{"AGENTCONTROL.PROPERTYSHEET.VISIBLE=TRUE"}, kContainsWithoutBlanks, PropertySheetStatement},
    {{"SHELLEX ", "RUN ", "OPEN "}, kPrefix, ShellExStatement},
    {{"BGCOLOR "}, kPrefix, BgColorStatement},
    {{"BGIMAGE "}, kPrefix, BgImageStatement},
    {{"PLAYWAVE "}, kPrefix, PlayWaveStatement},
    // No blank in the keyword: STOPWAVEFORM stops the wave player too.
    {{"STOPWAVE"}, kPrefix, StopMediaStatement},
    {{"PLAYMIDI "}, kPrefix, PlayMidiStatement},
    {{"STOPMIDI"}, kPrefix, StopMediaStatement},
    {{"PLAYAVI "}, kPrefix, PlayAviStatement},
    {{"STOPAVI"}, kPrefix, StopMediaStatement},
    // The whole line must be the keyword: `BGSHOW now` does nothing.
    {{"BGSHOW"}, kEquals, BgShowStatement},
    {{"BGHIDE"}, kEquals, BgHideStatement},
    {{"SENDKEYS "}, kPrefix, SendKeysStatement},
    {{"CLOSEAPP "}, kPrefix, CloseAppStatement},
    {{"VORN.CLOSE"}, kEquals, VornCloseStatement},
    {{"READCLIPBOARD "}, kPrefix, ReadClipboardStatement},
    {{"READTEXTFILE "}, kPrefix, ReadTextFileStatement},
    {{"PLAYSCRIPT "}, kPrefix, PlayScriptStatement},
};

bool Holds(KeywordTest test, std::string_view upper_line, std::string_view keyword) {
  switch (test) {
    case kPrefix:
      return upper_line.starts_with(keyword);
    case kEquals:
      return upper_line == keyword;
    case kContainsWithoutBlanks:
      return RemoveBlanks(upper_line).find(keyword) != std::string::npos;
  }
  return false;
}

// Whether `keyword` follows an occurrence of `upper_id` somewhere in the line.
bool FollowsId(std::string_view upper_line, std::string_view upper_id, std::string_view keyword) {
  for (std::size_t at = upper_line.find(upper_id); at != std::string_view::npos;
       at = upper_line.find(upper_id, at + 1)) {
    if (upper_line.substr(at + upper_id.size()).starts_with(keyword)) return true;
  }
  return false;
}

}  // namespace

const CharStatementRow* MatchCharStatement(std::string_view upper_line, std::string_view upper_id) {
  for (const CharStatementRow& row : kCharStatements) {
    if (FollowsId(upper_line, upper_id, row.keyword)) return &row;
  }
  return nullptr;
}

const SystemStatementRow* MatchSystemStatement(std::string_view upper_line,
                                               std::string_view& keyword) {
  for (const SystemStatementRow& row : kSystemStatements) {
    for (std::string_view candidate : row.keywords) {
      if (!candidate.empty() && Holds(row.test, upper_line, candidate)) {
        keyword = candidate;
        return &row;
      }
    }
  }
  return nullptr;
}

}  // namespace rirerazo
