// Where character files are found. A path that is absolute (it starts with '/' or holds a
// drive colon) is used as written; a relative path or bare file name is looked up in the
// character folders, in order. Backslashes are separators, and a name whose letter case
// differs on disk is still found (component by component), because scripts written for
// case-blind file systems do not care about case.
#pragma once

#include <string>
#include <vector>

#include "platform/system.h"

namespace rirerazo::runtime {

// The standard folders: $RIRERAZO_CHARACTERS (a ':'-separated list), the folder of the script
// that start-up opened (when known), ~/.local/share/rirerazo/characters,
// <install_prefix>/share/rirerazo/characters (when given), then the program's folder.
std::vector<std::string> StandardCharacterFolders(const platform::System& system,
                                                  const std::string& script_folder,
                                                  const std::string& install_prefix);

// The existing regular file a path names, exact spelling first, else ignoring letter case;
// empty when there is none.
std::string FindFileIgnoringCase(const std::string& path);

// The file to load for a character path; empty when none is found.
std::string FindCharacterFile(const std::string& path, const std::vector<std::string>& folders);

}  // namespace rirerazo::runtime
