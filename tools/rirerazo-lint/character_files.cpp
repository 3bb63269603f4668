#include "character_files.h"

#include <algorithm>
#include <exception>

#include "core/util/ascii.h"
#include "core/util/paths.h"
#include "runtime/acs/acs_file.h"
#include "runtime/character_folders.h"

namespace rirerazo::lint {

const CharacterFile& CharacterFiles::Find(const std::string& written) {
  auto [it, added] = by_written_.try_emplace(written);
  CharacterFile& file = it->second;
  if (!added) return file;
  file.path = runtime::FindCharacterFile(written, folders_);
  if (file.path.empty())
    file.path = runtime::FindCharacterFile(util::FileNameOnly(written), folders_);
  if (file.path.empty()) return file;
  try {
    for (const std::string& name : acs::ReadAnimationNames(file.path)) {
      file.animations.push_back(util::UCase(name));
    }
  } catch (const std::exception& error) {
    file.error = error.what();
    if (file.error.empty()) file.error = "not a usable character file";
  }
  return file;
}

bool CharacterFiles::HasAnimation(const CharacterFile& file, const std::string& name) {
  return std::ranges::find(file.animations, util::UCase(name)) != file.animations.end();
}

}  // namespace rirerazo::lint
