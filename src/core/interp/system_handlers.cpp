#include "core/interp/system_handlers.h"

#include "core/agent/char_actions.h"
#include "core/agent/reserved_bookmarks.h"
#include "core/app/player.h"
#include "core/interp/play_script.h"
#include "core/interp/shell_ex.h"
#include "core/interp/system_arguments.h"
#include "core/interp/system_modules.h"
#include "core/script/open_script.h"
#include "core/text/text_reader.h"
#include "core/util/ascii.h"
#include "core/util/paths.h"

namespace rirerazo {

namespace {

std::string ResolvedArgument(Player& player, const Statement& statement) {
  return util::ResolveScriptPath(StatementArgument(statement.line), player.paths());
}

// Hands the Player's error report to procedures that take an ErrorReporter.
class PlayerReporter : public app::ErrorReporter {
 public:
  explicit PlayerReporter(Player& player) : player_(player) {}
  app::ReportOutcome ReportError(std::string_view tag, std::string_view procedure,
                                 const RuntimeError& error) override {
    return player_.ReportError(tag, procedure, error);
  }

 private:
  Player& player_;
};

template <typename Read>
void ReadAloud(Player& player, Read read) {
  PlayerReporter reporter(player);
  const platform::Platform& services = player.services();
  text::TextReader reader(
      {*services.agent, *services.ui, *services.loop, *services.clipboard, reporter},
      [&player](const std::string& script) { PlayScript(player, script, ScriptLevel::kNested); });
  read(reader);
  CharSpeak(player, BookmarkTag(ReservedBookmark::kReadAloudDone), "");
}

}  // namespace

void PropertySheetStatement(Player& player, const Statement&) {
  player.agent().ShowPropertySheet();
}

void ShellExStatement(Player& player, const Statement& statement) {
  ShellEx({*player.services().shell, player.ui(), player.loop()},
          ShellExCommand(statement.line, statement.keyword));
}

void BgColorStatement(Player& player, const Statement& statement) {
  BackdropOf(player).BackdropColor(StatementArgument(statement.line));
}

void BgImageStatement(Player& player, const Statement& statement) {
  BackdropOf(player).BackdropImage(ResolvedArgument(player, statement));
}

void PlayWaveStatement(Player& player, const Statement& statement) {
  MediaOf(player).PlayWave(ResolvedArgument(player, statement));
}

void PlayMidiStatement(Player& player, const Statement& statement) {
  MediaOf(player).PlayMIDI(ResolvedArgument(player, statement));
}

void PlayAviStatement(Player& player, const Statement& statement) {
  MediaOf(player).PlayAVI(ResolvedArgument(player, statement));
}

void StopMediaStatement(Player& player, const Statement&) {
  MediaOf(player).StopMedia();
}

void BgShowStatement(Player& player, const Statement&) {
  BackdropOf(player).BackdropShow();
}

void BgHideStatement(Player& player, const Statement&) {
  BackdropOf(player).BackdropHide();
}

void SendKeysStatement(Player& player, const Statement& statement) {
  player.services().keys->SendKeys(StatementArgument(statement.line));
}

void CloseAppStatement(Player& player, const Statement& statement) {
  PlayerReporter reporter(player);
  CloseApp(*player.services().shell, reporter, StatementArgument(statement.line));
}

void VornCloseStatement(Player& player, const Statement&) {
  if (util::UCase(player.startup().program_name) != "VORN") player.UnloadMainForm();
}

void ReadClipboardStatement(Player& player, const Statement& statement) {
  const ReadAloudArguments arguments = ReadClipboardArguments(statement.line);
  ReadAloud(player, [&](text::TextReader& reader) {
    reader.ReadClipboard(arguments.character, arguments.prefix);
  });
}

void ReadTextFileStatement(Player& player, const Statement& statement) {
  const std::optional<ReadAloudArguments> arguments = ReadTextFileArguments(statement.line);
  if (!arguments) return;
  const std::string file = util::ResolveScriptPath(arguments->file, player.paths());
  ReadAloud(player, [&](text::TextReader& reader) {
    reader.ReadTextFile(arguments->character, file, arguments->prefix);
  });
}

void PlayScriptStatement(Player& player, const Statement& statement) {
  const std::string path = ResolvedArgument(player, statement);
  int& nesting = player.modules().play_script_nesting;
  if (nesting >= kMaxPlayScriptNesting) {
    player.ui().MessageBox("PLAYSCRIPT " + path + "\r\n\r\nScript files play inside one another " +
                               std::to_string(kMaxPlayScriptNesting) +
                               " deep already; this one is not played.",
                           kDefaultTitle, platform::mb::kOkOnly | platform::mb::kExclamation);
    return;
  }
  ++nesting;
  struct Leave {
    int& nesting;
    ~Leave() { --nesting; }
  } leave{nesting};
  OpenScriptFromFile(player, path, true);
}

}  // namespace rirerazo
