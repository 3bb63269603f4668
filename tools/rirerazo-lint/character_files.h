// Character files as the player finds them: the path of the [Characters] entry, then its
// bare file name, each looked up in the character folders the player searches. Only the
// header and the animation directory of a file are read, and each file once.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace rirerazo::lint {

struct CharacterFile {
  std::string path;                     // the file found; empty when none was
  std::string error;                    // why it cannot be read; empty when it can
  std::vector<std::string> animations;  // upper-cased names
};

class CharacterFiles {
 public:
  explicit CharacterFiles(std::vector<std::string> folders) : folders_(std::move(folders)) {}

  // The file a [Characters] value names, read as far as the animation names.
  const CharacterFile& Find(const std::string& written);

  // Whether the character has an animation of that name (letter case ignored).
  static bool HasAnimation(const CharacterFile& file, const std::string& name);

 private:
  std::vector<std::string> folders_;
  std::map<std::string, CharacterFile> by_written_;
};

}  // namespace rirerazo::lint
