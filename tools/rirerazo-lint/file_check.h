// The check of one script file; ScriptChecker runs one per file, nested for PLAYSCRIPT.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/script/profile_data.h"
#include "finding.h"
#include "script_checker.h"

namespace rirerazo::lint {

class FileCheck {
 public:
  // `loaded` holds the ids characters were loaded under before this file (by the scripts
  // that play it); `depth` counts the PLAYSCRIPT statements that led here.
  FileCheck(ScriptChecker& checker, std::string path, std::vector<std::string> loaded, int depth,
            std::vector<Finding>& out)
      : checker_(checker), path_(std::move(path)), depth_(depth), out_(out) {
    for (std::string& id : loaded) characters_.push_back({std::move(id), nullptr});
  }

  void Run();

 private:
  struct LoadedCharacter {
    std::string id;
    const CharacterFile* file = nullptr;  // null when it was loaded by another script
  };

  void Report(int line, Severity severity, std::string message);
  bool ReadFile();
  void CheckCharacters();
  void CheckSlideShow();
  void CheckScriptSections();
  void CheckLines(const std::vector<script::ProfileData::NumberedLine>& lines);
  void CheckLine(int line, std::string_view text, bool& saved_request);
  void CheckCharacterStatement(int line, const std::string& statement, const std::string& id,
                               std::string_view keyword);
  void CheckSystemStatement(int line, const std::string& statement, std::string_view keyword);
  void CheckIgnoredLine(int line, const std::string& statement);
  void CheckFileArgument(int line, const std::string& written);
  void CheckPlayScript(int line, const std::string& written);
  void NoteSpeechBookmarks(int line, const std::string& text);
  void CheckBookmarks();
  void CheckCommands();
  const LoadedCharacter* Loaded(const std::string& id) const;

  ScriptChecker& checker_;
  std::string path_;
  std::vector<LoadedCharacter> characters_;
  int depth_;
  std::vector<Finding>& out_;
  std::unique_ptr<script::ProfileData> data_;
  std::map<std::int32_t, int> bookmarks_spoken_;  // bookmark -> first line using it
  bool reads_aloud_ = false;
  bool auto_advance_ = false;
};

}  // namespace rirerazo::lint
