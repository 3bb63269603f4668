// The interpreter: plays a script's statements one line at a time.
//
// A call substitutes positions and phrases once, then takes the lines in order: each line
// addressed to a loaded character ("<id>.") selects that character and runs a character
// statement; any other line runs a system statement; a line that matches nothing is
// ignored. After every line the player yields once to the message loop, so events run,
// and such an event may call PlayScript again: every call keeps its own state, and the
// shared state is the current character, the last request and the marker requests.
//
// A run-time error that reaches the interpreter shows the "Play Script Error" box:
// Abort ends the call (no marker is queued), Retry runs the failed statement again,
// Ignore skips it and goes on. When the main form is unloaded the call stops after the
// current line.
#pragma once

#include <string>

namespace rirerazo {

class Player;

// Only the top-level script of a script file is kTopLevel: such a run ends by queuing the
// end-of-script bookmark (kept as ScriptRun::end_request) on the current character. Scripts
// of bookmarks, commands, slides and read-aloud prefixes are kNested.
enum class ScriptLevel { kTopLevel, kNested };

// Whether a top-level run that names an existing presentation hands its script to the
// slide-show driver instead of playing it.
enum class SlideShowHandoff { kNever, kAllowed };

void PlayScript(Player& player, std::string pstrScript, ScriptLevel level,
                SlideShowHandoff handoff = SlideShowHandoff::kNever);

// The text of the interpreter's error box for an error number and description.
std::string PlayScriptErrorText(long number, const std::string& description);

}  // namespace rirerazo
