#include "core/interp/play_script.h"

#include <optional>
#include <string_view>

#include "core/agent/char_actions.h"
#include "core/agent/characters.h"
#include "core/agent/reserved_bookmarks.h"
#include "core/app/error_report.h"
#include "core/app/player.h"
#include "core/interp/line_rules.h"
#include "core/interp/slide_show_handoff.h"
#include "core/interp/statement_tables.h"
#include "core/interp/substitutions.h"
#include "core/util/ascii.h"
#include "core/util/paths.h"
#include "core/util/text.h"
#include "platform/runtime_error.h"

namespace rirerazo {
namespace {

constexpr long kObjectNotSet = 91;
constexpr long kOutOfStackSpace = 28;

// Scripts started by events while a script yields run inside it. A chain of events that
// keeps starting scripts would otherwise exhaust the stack; deeper calls are refused with
// the classic "Out of stack space" error in the interpreter's error box.
constexpr int kMaxNestedScripts = 64;

// Counts the PlayScript calls running on the stack while one is alive.
class NestingScope {
 public:
  explicit NestingScope(int& depth) : depth_(depth) { ++depth_; }
  ~NestingScope() { --depth_; }
  NestingScope(const NestingScope&) = delete;
  NestingScope& operator=(const NestingScope&) = delete;

 private:
  int& depth_;
};

// State of one PlayScript call; nested calls have their own.
struct CallState {
  platform::AgentRequest saved_request;  // set by SETREQ= lines, used by WAITFORREQ
};

platform::MsgAnswer ShowPlayScriptError(Player& player, long number,
                                        const std::string& description) {
  return player.ui().MessageBox(PlayScriptErrorText(number, description), kDefaultTitle,
                                platform::mb::kAbortRetryIgnore | platform::mb::kExclamation);
}

// Runs one operation of the interpreter under its error box; any exception counts as a
// run-time error. Returns false when the user
// chose Abort; Retry runs the operation again; Ignore (or any other answer) skips it.
template <class Operation>
bool Guarded(Player& player, Operation&& operation) {
  for (;;) {
    platform::MsgAnswer answer;
    try {
      operation();
      return true;
    } catch (...) {
      const RuntimeError error = app::CurrentError();
      answer = ShowPlayScriptError(player, error.Number(), error.Description());
    }
    if (answer == platform::MsgAnswer::kAbort) return false;
    if (answer != platform::MsgAnswer::kRetry) return true;
  }
}

// Selects every table entry whose id begins the line; the last one stays addressed.
// Selecting may load a character and so grow the table: iterate by index.
std::string AddressedCharacter(Player& player, std::string_view line) {
  std::string addressed;
  for (std::size_t i = 0; i < player.characters().loaded.size(); ++i) {
    if (!AddressesCharacter(line, player.characters().loaded[i].id)) continue;
    addressed = player.characters().loaded[i].id;
    CharSelect(player, addressed);
  }
  return addressed;
}

// Finds the handler of the statement; null when the line matches no keyword of its class.
StatementHandler Classify(Statement& statement) {
  if (!statement.char_id.empty()) {
    const CharStatementRow* row =
        MatchCharStatement(statement.upper_line, util::UCase(statement.char_id));
    if (row == nullptr) return nullptr;
    statement.keyword = row->keyword;
    return row->handler;
  }
  const SystemStatementRow* row = MatchSystemStatement(statement.upper_line, statement.keyword);
  return row == nullptr ? nullptr : row->handler;
}

// Runs one non-empty, trimmed line. Returns false when the user aborted the script.
bool PlayLine(Player& player, std::string_view text, CallState& call) {
  Statement statement;
  const bool setreq = IsSetReqLine(text);
  statement.line = setreq ? SetReqStatement(text) : std::string(text);
  statement.upper_line = util::UCase(statement.line);
  statement.char_id = AddressedCharacter(player, statement.line);
  if (StatementHandler handler = Classify(statement)) {
    if (!Guarded(player, [&] { handler(player, statement); })) return false;
  }
  if (setreq) call.saved_request = player.run().last_request;
  if (IsWaitForReqLine(statement.line)) WaitFor(player, call.saved_request);
  return true;
}

// Queues a speech request holding only `bookmark` on the current character.
bool QueueMarker(Player& player, ReservedBookmark bookmark, platform::AgentRequest& request) {
  return Guarded(player, [&] {
    if (player.characters().current == nullptr) {
      throw RuntimeError(kObjectNotSet, "Object variable or With block variable not set");
    }
    request = player.characters().current->Speak(BookmarkTag(bookmark), std::nullopt);
  });
}

bool HandsOffToSlideShow(const SlideShow& slide_show, ScriptLevel level, SlideShowHandoff handoff) {
  return level == ScriptLevel::kTopLevel && !slide_show.file.empty() &&
         handoff == SlideShowHandoff::kAllowed && util::FileExists(slide_show.file);
}

// Plays every line of the substituted script. False when the user aborted or the main
// form was unloaded: the call then ends without markers.
bool PlayLines(Player& player, const std::string& script) {
  CallState call;
  std::size_t pos = 0;
  while (pos < script.size()) {
    const std::string_view line = util::Trim(NextLine(script, pos));
    if (!line.empty() && !PlayLine(player, line, call)) return false;
    player.loop().DoEvents();
    if (player.Unloaded()) return false;
  }
  return true;
}

bool TooDeep(Player& player) {
  if (player.run().play_script_depth <= kMaxNestedScripts) return false;
  Guarded(player, [] { throw RuntimeError(kOutOfStackSpace, "Out of stack space"); });
  return true;
}

}  // namespace

std::string PlayScriptErrorText(long number, const std::string& description) {
  return "Play Script Error\r\n\r\nError Number:" + std::to_string(number) + " : " + description;
}

void PlayScript(Player& player, std::string pstrScript, ScriptLevel level,
                SlideShowHandoff handoff) {
  if (player.characters().current_index == 0 || util::TrimChars(pstrScript, "\r\n").empty()) return;
  if (player.Unloaded()) return;  // the program is ending: nothing more plays
  const NestingScope nesting(player.run().play_script_depth);
  if (TooDeep(player)) return;
  pstrScript += "\r\n";
  if (HandsOffToSlideShow(player.slide_show(), level, handoff)) {
    Guarded(player, [&] { StartSlideShow(player, pstrScript); });
    return;
  }
  if (!PlayLines(player, SubstituteScript(player, std::move(pstrScript)))) return;
  if (player.slide_show().auto_advance != 0 &&
      !QueueMarker(player, ReservedBookmark::kAdvanceSlide, player.run().advance_request)) {
    return;
  }
  if (level == ScriptLevel::kTopLevel) {
    QueueMarker(player, ReservedBookmark::kEndOfScript, player.run().end_request);
  }
}

}  // namespace rirerazo
