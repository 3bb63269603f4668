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

// A character the script has loaded: characters stay loaded for the scripts that play later.
struct LoadedCharacter {
  std::string id;
  const CharacterFile* file = nullptr;
};

class FileCheck {
 public:
  // `loaded` holds the characters loaded before this file (by the scripts that play it);
  // `depth` counts the PLAYSCRIPT statements that led here.
  FileCheck(ScriptChecker& checker, std::string path, std::vector<LoadedCharacter> loaded,
            int depth, std::vector<Finding>& out)
      : checker_(checker),
        path_(std::move(path)),
        characters_(std::move(loaded)),
        depth_(depth),
        out_(out) {}

  void Run();

 private:
  void Report(int line, Severity severity, std::string message);
  bool ReadFile();
  bool CheckCharacters();
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
  void CheckUnusedSections(std::string_view table, std::string_view prefix);
  const LoadedCharacter* Loaded(const std::string& id) const;

  ScriptChecker& checker_;
  std::string path_;
  std::vector<LoadedCharacter> characters_;
  int depth_;
  std::vector<Finding>& out_;
  std::string bytes_;  // the file as read, for its section headers
  std::unique_ptr<script::ProfileData> data_;
  std::map<std::int32_t, int> bookmarks_spoken_;  // bookmark -> first line using it
  bool reads_aloud_ = false;
  bool auto_advance_ = false;
};

}  // namespace rirerazo::lint
