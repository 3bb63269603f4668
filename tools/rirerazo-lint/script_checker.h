// Checks a script file the way the player loads and plays it: the loader's reading of the
// file (version key, characters, bookmarks, commands, slide-show settings) and, for every
// line of every script section, the interpreter's own classification of the line. Nothing
// is played and no character is shown.
#pragma once

#include <string>
#include <vector>

#include "character_files.h"
#include "finding.h"

namespace rirerazo::lint {

// How deep PLAYSCRIPT statements are followed into the scripts they name.
inline constexpr int kMaxFollowedScripts = 8;

class ScriptChecker {
 public:
  // `character_folders` are searched for character files, in order, as the player searches
  // its character folders.
  explicit ScriptChecker(std::vector<std::string> character_folders)
      : characters_(std::move(character_folders)) {}

  // Findings for the script at `path` (and the scripts it plays), in the order found.
  std::vector<Finding> Check(const std::string& path);

 private:
  friend class FileCheck;
  CharacterFiles characters_;
  std::string top_script_;  // file names in scripts are resolved beside this one
};

}  // namespace rirerazo::lint
