#include "file_check.h"

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "core/interp/line_rules.h"
#include "core/interp/shell_ex.h"
#include "core/interp/statement.h"
#include "core/interp/statement_tables.h"
#include "core/interp/system_arguments.h"
#include "core/script/section_headers.h"
#include "core/util/ascii.h"
#include "core/util/numbers.h"
#include "core/util/paths.h"
#include "core/util/text.h"

namespace rirerazo::lint {
namespace {

constexpr const char* kHeader = "VORN Script";
constexpr std::int32_t kEndOfScriptBookmark = 111111111;
constexpr std::int32_t kAdvanceSlideBookmark = 333333333;
constexpr std::int32_t kReadAloudBookmark = 777777777;
// Larger files are not script files; the player's reader refuses them too.
constexpr std::uintmax_t kMaxFileBytes = 16u * 1024 * 1024;

bool IsIdentifierChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// The leading word of a line: letters, digits, "_" and ".".
std::string_view LeadingWord(std::string_view line) {
  std::size_t end = 0;
  while (end < line.size() && (IsIdentifierChar(line[end]) || line[end] == '.')) ++end;
  return line.substr(0, end);
}

bool IsUpperWord(std::string_view word) {
  bool letters = false;
  for (char c : word) {
    if (c >= 'a' && c <= 'z') return false;
    letters = letters || (c >= 'A' && c <= 'Z');
  }
  return letters;
}

// Remarks are lines the interpreter ignores on purpose; authors mark them like this.
bool IsRemark(std::string_view line) {
  return line.starts_with(';') || line.starts_with('\'') || line.starts_with('#') ||
         line.starts_with("//") || util::StartsWithIgnoreCase(line, "REM ") ||
         util::UCase(line) == "REM";
}

// The character keywords without their dot, as an author writes them after an id.
bool StartsWithCharKeyword(std::string_view upper_rest) {
  for (const CharStatementRow& row : CharStatementTable()) {
    if (upper_rest.starts_with(row.keyword.substr(1))) return true;
  }
  return false;
}

bool IsEqualsKeyword(std::string_view keyword) {
  return keyword == ".BALLOON.FONTNAME" || keyword == ".BALLOON.FONTSIZE" ||
         keyword == ".BALLOON.STYLE" || keyword == ".TTSMODEID" || keyword == ".WIDTH" ||
         keyword == ".HEIGHT";
}

// A keyword of the tables as messages show it: without its leading dot.
std::string Spelled(std::string_view keyword) {
  return std::string(keyword.starts_with('.') ? keyword.substr(1) : keyword);
}

bool Unbalanced(std::string_view line) {
  std::size_t quotes = 0;
  for (char c : line) quotes += c == '"';
  return quotes % 2 != 0;
}

std::string ReadWhole(const std::string& path, bool& ok) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  ok = static_cast<bool>(in) || in.eof();
  return bytes.str();
}

}  // namespace

void FileCheck::Report(int line, Severity severity, std::string message) {
  out_.push_back({path_, line, severity, std::move(message)});
}

const LoadedCharacter* FileCheck::Loaded(const std::string& id) const {
  for (const LoadedCharacter& character : characters_) {
    if (character.id == id) return &character;
  }
  return nullptr;
}

bool FileCheck::ReadFile() {
  const std::optional<std::string> found = util::FindOnDisk(path_);
  std::error_code error;
  if (!found || !std::filesystem::is_regular_file(*found, error) ||
      std::filesystem::file_size(*found, error) > kMaxFileBytes) {
    Report(1, Severity::kError, "cannot read the file");
    return false;
  }
  bool ok = false;
  std::string bytes = ReadWhole(*found, ok);
  if (!ok) {
    Report(1, Severity::kError, "cannot read the file");
    return false;
  }
  bytes_ = bytes;
  data_ = std::make_unique<script::ProfileData>(std::move(bytes));
  const std::optional<std::string_view> version = data_->Value(kHeader, "Version");
  if (!version || version->empty()) {
    Report(1, Severity::kError,
           "not a script file: the [VORN Script] section has no Version key, so the player "
           "refuses it");
    return false;
  }
  return true;
}

void FileCheck::Run() {
  if (!ReadFile()) return;
  CheckSlideShow();
  // The loader plays nothing when a character cannot be loaded.
  if (!CheckCharacters()) return;
  CheckScriptSections();
  CheckBookmarks();
  CheckCommands();
  CheckUnusedSections("Bookmarks", "BookmarkScript:");
  CheckUnusedSections("Commands", "CommandScript:");
}

void FileCheck::CheckSlideShow() {
  const std::optional<std::string_view> file = data_->Value(kHeader, "PowerPointFile");
  if (!file || file->empty()) return;
  const std::optional<std::string_view> advance = data_->Value(kHeader, "PowerPointAutoAdvance");
  if (advance) {
    try {
      auto_advance_ = util::TextToInt32(*advance) != 0;
    } catch (...) {
      Report(data_->LineOf(*advance), Severity::kWarning,
             "PowerPointAutoAdvance '" + std::string(*advance) + "' is not a number");
    }
  }
  util::StartupPaths paths;
  paths.script_file = checker_.top_script_;
  if (!util::FileExists(util::ResolveScriptPath(*file, paths))) {
    Report(data_->LineOf(*file), Severity::kWarning,
           "presentation '" + std::string(*file) +
               "' does not exist: the script plays without a slide show");
  }
}

bool FileCheck::CheckCharacters() {
  const std::vector<std::string_view>* ids = data_->KeyNames("Characters");
  if (ids == nullptr && characters_.empty()) {
    Report(1, Severity::kWarning,
           "no [Characters] section: no character is loaded, so no script line plays");
    return true;
  }
  if (ids == nullptr) return true;
  for (std::string_view id_view : *ids) {
    const std::string id(id_view);
    const int line = data_->LineOf(id_view);
    const std::string file(data_->Value("Characters", id).value_or(""));
    const std::optional<std::string_view> language = data_->Value("LanguageIDs", id);
    if (language) {
      try {
        util::TextToInt32(*language);
      } catch (...) {
        Report(data_->LineOf(*language), Severity::kWarning,
               "language id '" + std::string(*language) + "' of " + id + " is not a number");
      }
    }
    if (file.empty() || Loaded(id) != nullptr) continue;  // skipped, or loaded already
    const CharacterFile& found = checker_.characters_.Find(file);
    if (found.path.empty()) {
      Report(line, Severity::kError,
             "character file '" + file + "' of " + id +
                 " is not found (looked for as written and by its file name in the character "
                 "folders)");
      return false;  // the loader stops at the first character it cannot load
    }
    if (!found.error.empty()) {
      Report(line, Severity::kError,
             "character file '" + found.path + "' of " + id + " cannot be read: " + found.error);
      return false;
    }
    characters_.push_back({id, &found});
  }
  return true;
}

void FileCheck::CheckScriptSections() {
  if (data_->NumberedSectionLines("Script").empty()) {
    Report(1, Severity::kWarning, "no [Script] section: the file plays nothing");
  } else {
    CheckLines(data_->NumberedSectionLines("Script"));
  }
  // Each bookmark and command script once, however often its key is repeated.
  std::set<std::string> checked;
  for (const auto& [table, prefix] :
       {std::pair{"Bookmarks", "BookmarkScript:"}, std::pair{"Commands", "CommandScript:"}}) {
    const std::vector<std::string_view>* keys = data_->KeyNames(table);
    if (keys == nullptr) continue;
    for (std::string_view key : *keys) {
      const std::string section = prefix + std::string(key);
      if (util::UCase(key) == "MENUNAME" || !checked.insert(util::UCase(section)).second) continue;
      CheckLines(data_->NumberedSectionLines(section));
    }
  }
}

// One script section is one PlayScript call: SETREQ= and WAITFORREQ pair up inside it.
void FileCheck::CheckLines(const std::vector<script::ProfileData::NumberedLine>& lines) {
  bool saved_request = false;
  for (const auto& [number, text] : lines) CheckLine(number, util::Trim(text), saved_request);
}

void FileCheck::CheckLine(int line, std::string_view text, bool& saved_request) {
  if (text.empty()) return;
  const bool setreq = IsSetReqLine(text);
  Statement statement;
  statement.line = setreq ? SetReqStatement(text) : std::string(text);
  statement.upper_line = util::UCase(statement.line);
  for (const LoadedCharacter& character : characters_) {
    if (AddressesCharacter(statement.line, character.id)) statement.char_id = character.id;
  }
  if (setreq) saved_request = true;
  if (IsWaitForReqLine(statement.line)) {
    if (!saved_request) {
      Report(line, Severity::kWarning,
             "WAITFORREQ before any SETREQ= line of this script does nothing");
    }
    return;
  }
  if (Unbalanced(statement.line)) Report(line, Severity::kWarning, "unbalanced quotes");
  if (FindStatementHandler(statement) == nullptr) {
    if (!statement.char_id.empty()) {
      Report(line, Severity::kWarning,
             "'" + std::string(LeadingWord(statement.line)) +
                 "' is no statement of a character: the line does nothing");
    } else {
      CheckIgnoredLine(line, statement.line);
    }
    return;
  }
  if (!statement.char_id.empty()) {
    CheckCharacterStatement(line, statement.line, statement.char_id, statement.keyword);
  } else {
    CheckSystemStatement(line, statement.line, statement.keyword);
  }
}

void FileCheck::CheckCharacterStatement(int line, const std::string& statement,
                                        const std::string& id, std::string_view keyword) {
  const std::string upper = util::UCase(statement);
  const std::string_view written = std::string_view(upper).substr(id.size());
  if (!written.starts_with(keyword)) {
    Report(line, Severity::kWarning,
           "the line runs " + Spelled(keyword) +
               " (found further on the line), not the statement it begins with");
  } else if (written.size() > keyword.size() && IsIdentifierChar(written[keyword.size()])) {
    Report(
        line, Severity::kWarning,
        "'" + std::string(LeadingWord(statement)) + "' is taken as " + id + "." + Spelled(keyword));
  }
  const std::string tail(TailAfter(statement, id.size() + keyword.size()));
  if (keyword == ".SPEAK" || keyword == ".THINK") {
    NoteSpeechBookmarks(line, tail);
  } else if (keyword == ".PLAY") {
    const std::string animation = util::TrimChars(tail, "\"");
    const LoadedCharacter* character = Loaded(id);
    if (character != nullptr && character->file != nullptr &&
        !CharacterFiles::HasAnimation(*character->file, animation)) {
      Report(line, Severity::kWarning,
             id + " (" + util::FileNameOnly(character->file->path) + ") has no animation '" +
                 animation + "'");
    }
  } else if ((keyword == ".MOVETO" || keyword == ".GESTUREAT") &&
             tail.find(',') == std::string::npos) {
    Report(line, Severity::kWarning,
           Spelled(keyword) + " needs 'x, y': without a comma the line does nothing");
  } else if (IsEqualsKeyword(keyword) && statement.find('=') == std::string::npos) {
    Report(line, Severity::kWarning,
           Spelled(keyword) +
               " takes its value after '=': without one the whole line is passed as the value");
  } else if (keyword == ".LISTEN" && statement.find(' ') == std::string::npos) {
    Report(line, Severity::kWarning,
           "LISTEN takes True or False after a blank: without one the whole line is passed");
  }
}

void FileCheck::CheckSystemStatement(int line, const std::string& statement,
                                     std::string_view keyword) {
  if (keyword == "SHELLEX " || keyword == "RUN " || keyword == "OPEN ") {
    const std::string command(util::Trim(ShellExCommand(statement, keyword)));
    if (IsRefusedCommand(command)) {
      Report(line, Severity::kError, "the player refuses to run '" + command + "'");
    }
  } else if (keyword == "BGIMAGE " || keyword == "PLAYWAVE " || keyword == "PLAYMIDI " ||
             keyword == "PLAYAVI ") {
    CheckFileArgument(line, StatementArgument(statement));
  } else if (keyword == "READTEXTFILE ") {
    const std::optional<ReadAloudArguments> arguments = ReadTextFileArguments(statement);
    if (!arguments) {
      Report(line, Severity::kWarning,
             "READTEXTFILE needs 'character, file': without a comma the line does nothing");
      return;
    }
    reads_aloud_ = true;
    CheckFileArgument(line, arguments->file);
  } else if (keyword == "READCLIPBOARD ") {
    reads_aloud_ = true;
  } else if (keyword == "PLAYSCRIPT ") {
    CheckPlayScript(line, StatementArgument(statement));
  }
}

// A line no handler takes. Remarks and prose are left alone; what looks like a statement is
// reported with the reason it does nothing.
void FileCheck::CheckIgnoredLine(int line, const std::string& statement) {
  if (IsRemark(statement)) return;
  const std::string upper = util::UCase(statement);
  const std::string_view word = LeadingWord(statement);
  // "Host .Speak": a blank before the dot.
  const std::size_t after_word = statement.find_first_not_of(' ', word.size());
  if (!word.empty() && word.find('.') == std::string_view::npos && after_word > word.size() &&
      after_word != std::string::npos && statement[after_word] == '.' &&
      StartsWithCharKeyword(std::string_view(upper).substr(after_word + 1))) {
    const std::string_view rest = std::string_view(statement).substr(after_word + 1);
    Report(line, Severity::kWarning,
           "blank before the dot: '" + statement.substr(0, after_word + 1) +
               std::string(LeadingWord(rest)) + "' is not a character statement and does nothing");
    return;
  }
  const std::size_t dot = word.find('.');
  if (dot != std::string_view::npos && dot > 0 &&
      StartsWithCharKeyword(std::string_view(upper).substr(dot + 1))) {
    Report(line, Severity::kWarning,
           "'" + std::string(word.substr(0, dot)) +
               "' is not a loaded character: the line does nothing");
    return;
  }
  const std::string upper_word = util::UCase(word);
  for (const SystemStatementRow& row : SystemStatementTable()) {
    for (std::string_view keyword : row.keywords) {
      if (keyword.empty() || util::Trim(keyword) != upper_word) continue;
      if (row.test == KeywordTest::kEquals) {
        Report(line, Severity::kWarning,
               std::string(keyword) +
                   " must stand alone on its line: with more on it the line does nothing");
      } else {
        Report(line, Severity::kWarning,
               std::string(util::Trim(keyword)) +
                   " needs an argument after a blank: the line does nothing");
      }
      return;
    }
  }
  const bool single_word = word.size() == statement.size();
  const bool looks_like_statement =
      !word.empty() &&
      (IsUpperWord(word) || word.find('.') != std::string_view::npos || single_word ||
       statement[word.size()] == '=' || statement[word.size()] == '(');
  if (looks_like_statement) {
    Report(line, Severity::kWarning,
           "unknown statement '" + std::string(word) + "': the line does nothing");
  }
}

void FileCheck::CheckFileArgument(int line, const std::string& written) {
  util::StartupPaths paths;
  paths.script_file = checker_.top_script_;
  if (written.empty() || util::FileExists(util::ResolveScriptPath(written, paths))) return;
  Report(line, Severity::kWarning,
         "file '" + written + "' does not exist (looked for beside the script)");
}

void FileCheck::CheckPlayScript(int line, const std::string& written) {
  if (written.find("://") != std::string::npos) return;  // fetched when played
  util::StartupPaths paths;
  paths.script_file = checker_.top_script_;
  const std::string path = util::ResolveScriptPath(written, paths);
  if (!util::FileExists(path)) {
    Report(line, Severity::kWarning,
           "file '" + written + "' does not exist (looked for beside the script)");
    return;
  }
  if (depth_ + 1 > kMaxFollowedScripts) {
    Report(line, Severity::kWarning,
           "PLAYSCRIPT is followed " + std::to_string(kMaxFollowedScripts) + " scripts deep; '" +
               written + "' is not checked");
    return;
  }
  std::vector<Finding> nested;
  FileCheck(checker_, path, characters_, depth_ + 1, nested).Run();
  if (ExitStatus(nested) == 2) {
    Report(line, Severity::kError, "PLAYSCRIPT '" + written + "' fails the check");
  }
  out_.insert(out_.end(), nested.begin(), nested.end());
}

// Bookmarks are written "\mrk=N\" in speech.
void FileCheck::NoteSpeechBookmarks(int line, const std::string& text) {
  const std::string upper = util::UCase(text);
  for (std::size_t at = upper.find("\\MRK="); at != std::string::npos;
       at = upper.find("\\MRK=", at + 1)) {
    const std::size_t begin = at + 5;
    const std::size_t end = upper.find('\\', begin);
    if (end == std::string::npos) continue;
    std::int32_t number = 0;
    try {
      number = util::TextToInt32(util::Trim(std::string_view(upper).substr(begin, end - begin)));
    } catch (...) {
      continue;
    }
    if (number == kEndOfScriptBookmark || number == kAdvanceSlideBookmark) {
      Report(line, Severity::kWarning,
             "bookmark " + std::to_string(number) + " is reserved for the player's own use");
    }
    bookmarks_spoken_.try_emplace(number, line);
  }
}

void FileCheck::CheckBookmarks() {
  const std::vector<std::string_view>* keys = data_->KeyNames("Bookmarks");
  std::map<std::int32_t, bool> listed;
  if (keys != nullptr) {
    for (std::string_view key : *keys) {
      const int line = data_->LineOf(key);
      std::int32_t number = 0;
      try {
        number = util::TextToInt32(key);
      } catch (...) {
        Report(line, Severity::kWarning, "bookmark '" + std::string(key) + "' is not a number");
        continue;
      }
      listed[number] = true;
      if (number == kEndOfScriptBookmark) {
        Report(line, Severity::kWarning,
               "bookmark 111111111 is reserved for the end of a script: its script never runs");
      }
      if (data_->NumberedSectionLines("BookmarkScript:" + std::string(key)).empty()) {
        Report(line, Severity::kWarning,
               "bookmark " + std::string(key) + " has no [BookmarkScript:" + std::string(key) +
                   "] section");
      }
      const bool spoken = bookmarks_spoken_.contains(number) ||
                          (number == kReadAloudBookmark && reads_aloud_) ||
                          (number == kAdvanceSlideBookmark && auto_advance_);
      if (!spoken && number != kEndOfScriptBookmark) {
        Report(line, Severity::kWarning,
               "bookmark " + std::string(key) + " is never used in the speech of this script");
      }
    }
  }
  for (const auto& [number, line] : bookmarks_spoken_) {
    if (number == kEndOfScriptBookmark || number == kAdvanceSlideBookmark) continue;
    if (keys == nullptr) {
      Report(line, Severity::kWarning,
             "bookmark " + std::to_string(number) +
                 " is used in speech but the file has no [Bookmarks] section");
    } else if (!listed.contains(number)) {
      Report(line, Severity::kWarning,
             "bookmark " + std::to_string(number) +
                 " is used in speech but not listed in "
                 "[Bookmarks]");
    }
  }
}

// A script section that no key of its table names is never played.
// A script section that no key of its table names is never played.
void FileCheck::CheckUnusedSections(std::string_view table, std::string_view prefix) {
  const std::vector<std::string_view>* keys = data_->KeyNames(table);
  for (const script::HeaderLine& header : script::RawSectionHeaders(bytes_)) {
    const std::string_view name = header.text.substr(1, header.text.size() - 2);
    if (!util::StartsWithIgnoreCase(name, prefix)) continue;
    const std::string key = util::UCase(name.substr(prefix.size()));
    bool named = false;
    for (std::size_t i = 0; keys != nullptr && i < keys->size() && !named; ++i) {
      named = util::UCase((*keys)[i]) == key;
    }
    if (!named) {
      Report(header.number, Severity::kWarning,
             "section " + std::string(header.text) + " is never played: [" + std::string(table) +
                 "] has no key " + std::string(name.substr(prefix.size())));
    }
  }
}

void FileCheck::CheckCommands() {
  const std::vector<std::string_view>* keys = data_->KeyNames("Commands");
  if (keys == nullptr) return;
  for (std::string_view key : *keys) {
    if (util::UCase(key) == "MENUNAME") continue;
    const int line = data_->LineOf(key);
    const std::string name(key);
    if (data_->Value("Commands", key).value_or("").find("|~|") == std::string_view::npos) {
      Report(line, Severity::kWarning,
             "command '" + name + "' has no '|~|' in its value: its caption and voice stay empty");
    }
    if (data_->NumberedSectionLines("CommandScript:" + name).empty()) {
      Report(line, Severity::kWarning,
             "command '" + name + "' has no [CommandScript:" + name + "] section");
    }
  }
}

}  // namespace rirerazo::lint
