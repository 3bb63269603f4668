// The script-file loader: reads a script file, loads its characters, fills the bookmark
// and command tables and the slide-show settings, and plays its top-level script.
#pragma once

#include <string>

namespace rirerazo {

class Player;

// Loads the script file at `path` and, with `bPlay`, plays its script before returning.
// Returns true when the file was read to its end; false when it is not a script file
// (message shown), a character could not be loaded (message shown) or `path` is a URL
// (any text containing "://", handed to OpenScriptFromURL). Errors of single values are
// reported and loading goes on.
bool OpenScriptFromFile(Player& player, const std::string& path, bool bPlay);

// Fetches a script named by URL and plays it like a script file. Always returns false.
bool OpenScriptFromURL(Player& player, const std::string& url, bool bPlay);

}  // namespace rirerazo
