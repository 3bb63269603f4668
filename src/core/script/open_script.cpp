#include "core/script/open_script.h"

#include <limits>
#include <vector>

#include "core/agent/agent_commands.h"
#include "core/agent/characters.h"
#include "core/app/player.h"
#include "core/interp/play_script.h"
#include "core/script/profile_reader.h"
#include "core/script/profile_values.h"
#include "core/util/ascii.h"
#include "core/util/numbers.h"
#include "core/util/paths.h"
#include "core/util/text.h"
#include "platform/runtime_error.h"

namespace rirerazo {
namespace {

constexpr const char* kModuleTag = "M:MOS:";
constexpr const char* kProcedure = "OpenScriptFromFile";
constexpr const char* kHeader = "VORN Script";
constexpr std::size_t kMaxTableSize = std::numeric_limits<std::int16_t>::max();

// Runs one step of loading; an error is reported and loading goes on with the next step.
template <class Step>
void RunStep(Player& player, Step&& step) {
  try {
    step();
  } catch (...) {
    player.ReportError(kModuleTag, kProcedure, app::CurrentError());
  }
}

// The key names of a section, in file order.
std::vector<std::string> KeyNames(Player& player, const std::string& path,
                                  const std::string& section) {
  return util::ParseStringIntoArray(player.profile().GetProfile(path, section),
                                    std::string_view("\0", 1));
}

// Adds an entry to a table of the script file, which holds at most 32767 entries like its
// 16-bit count; a full table reports an overflow and drops the entry.
template <class Entry>
void AddEntry(Player& player, std::vector<Entry>& table, Entry entry) {
  RunStep(player, [&] {
    if (table.size() >= kMaxTableSize) throw RuntimeError(err::kOverflow, "Overflow");
    table.push_back(std::move(entry));
  });
}

// A value that does not convert keeps its previous value.
void ReadSlideShowSettings(Player& player, const std::string& path) {
  script::ProfileReader& profile = player.profile();
  player.slide_show().file = profile.GetProfile(path, kHeader, "PowerPointFile", "");
  if (player.slide_show().file.empty()) return;
  RunStep(player, [&] {
    player.slide_show().auto_advance =
        util::TextToInt32(profile.GetProfile(path, kHeader, "PowerPointAutoAdvance", "0"));
  });
  RunStep(player, [&] {
    player.slide_show().repeat = util::TextToInt32(
        script::PositiveFlag(profile.GetProfile(path, kHeader, "PowerPointRepeat", "0")));
  });
  RunStep(player, [&] {
    player.slide_show().pause_s = util::TextToInt32(
        script::ClampNumberText(profile.GetProfile(path, kHeader, "PowerPointPause", "1"), 0, 60));
  });
  player.slide_show().file = util::ResolveScriptPath(player.slide_show().file, player.paths());
  if (util::FileExists(player.slide_show().file)) {
    player.slide_show().busy = true;
  } else {
    player.slide_show().file.clear();
  }
}

// Loads one character from its path, then by its bare file name. False after the
// loader's message for a character that cannot be loaded.
bool LoadCharacter(Player& player, const std::string& id, std::string file,
                   std::int32_t& language) {
  if (CharLoad(player, id, file, LoadErrors::kQuiet, language)) return true;
  file = util::FileNameOnly(file);
  if (CharLoad(player, id, file, LoadErrors::kQuiet, language)) return true;
  player.ui().MessageBox("Error loading " + id + " from\r\n" + file + kDoubleCrLf +
                             "Please open this VORN Script in a text editor and change the "
                             "character's path.",
                         kDefaultTitle, platform::mb::kOkOnly | platform::mb::kExclamation);
  return false;
}

// A language id that does not convert keeps the previous character's value.
bool LoadCharacters(Player& player, const std::string& path) {
  script::ProfileReader& profile = player.profile();
  std::int32_t language = 0;
  for (const std::string& id : KeyNames(player, path, "Characters")) {
    if (id.empty()) continue;
    const std::string file = profile.GetProfile(path, "Characters", id, "");
    RunStep(player, [&] {
      language = util::TextToInt32(profile.GetProfile(path, "LanguageIDs", id, "&H409"));
    });
    if (file.empty()) continue;
    if (!LoadCharacter(player, id, file, language)) return false;
  }
  return true;
}

// A bookmark number that does not convert leaves the entry's id 0. Entries are built
// before they join the table: a report box may let events run scripts meanwhile.
void ReadBookmarks(Player& player, const std::string& path) {
  player.tables().bookmarks.clear();
  for (const std::string& key : KeyNames(player, path, "Bookmarks")) {
    BookmarkEntry entry;
    RunStep(player, [&] { entry.id = util::TextToInt32(key); });
    entry.script = player.profile().GetProfileSection(path, "BookmarkScript:" + key);
    AddEntry(player, player.tables().bookmarks, std::move(entry));
  }
}

// A value "caption|~|voice"; without the separator both stay empty.
void SplitCommandValue(const std::string& value, CommandEntry& entry) {
  const std::size_t separator = value.find("|~|");
  if (value.empty() || separator == std::string::npos) return;
  entry.caption = value.substr(0, separator);
  entry.voice = value.substr(separator + 3);
}

// Commands are appended to those of earlier loads in the same run, duplicates included.
void ReadCommands(Player& player, const std::string& path) {
  script::ProfileReader& profile = player.profile();
  const std::vector<std::string> keys = KeyNames(player, path, "Commands");
  player.tables().menu_name = profile.GetProfile(path, "Commands", "MenuName", "");
  for (const std::string& key : keys) {
    if (util::UCase(key) == "MENUNAME") continue;
    CommandEntry entry{key, {}, {}, {}};
    SplitCommandValue(profile.GetProfile(path, "Commands", key, ""), entry);
    entry.script = profile.GetProfileSection(path, "CommandScript:" + key);
    AddEntry(player, player.tables().commands, std::move(entry));
  }
}

}  // namespace

bool OpenScriptFromFile(Player& player, const std::string& path, bool bPlay) {
  if (path.find("://") != std::string::npos) {
    OpenScriptFromURL(player, path, bPlay);
    return false;
  }
  if (player.profile().GetProfile(path, kHeader, "Version", "").empty()) {
    std::string text(1, '\'');  // built in steps: GCC 12 warns wrongly on "'" + string
    text += util::FileNameOnly(path);
    text += "' is not a valid VORN Script File.";
    player.ui().MessageBox(text, kDefaultTitle, platform::mb::kOkOnly | platform::mb::kExclamation);
    return false;
  }
  const std::string script = player.profile().GetProfileSection(path, "Script");
  player.ui().SetCursor(platform::Cursor::kBusy);
  ReadSlideShowSettings(player, path);
  if (!LoadCharacters(player, path)) return false;
  ReadBookmarks(player, path);
  ReadCommands(player, path);
  UpdateAgentCommandsAll(player);
  if (bPlay) {
    PlayScript(player, script, ScriptLevel::kTopLevel,
               player.slide_show().busy ? SlideShowHandoff::kAllowed : SlideShowHandoff::kNever);
  }
  return true;
}

}  // namespace rirerazo
