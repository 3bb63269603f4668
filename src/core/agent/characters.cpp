#include "core/agent/characters.h"

#include <limits>

#include "core/app/player.h"
#include "core/util/ascii.h"
#include "core/util/paths.h"
#include "platform/runtime_error.h"

namespace rirerazo {
namespace {

constexpr std::int32_t kEnglishUs = 0x409;
// The table's count is a 16-bit number.
constexpr std::size_t kMaxCharacters = std::numeric_limits<std::int16_t>::max();

// The name of the character loaded under `id`, empty when the control holds none.
std::string LoadedName(platform::AgentControl& agent, const std::string& id) {
  try {
    return agent.Character(id).Name();
  } catch (const RuntimeError&) {
    return {};
  }
}

bool TryLoad(platform::AgentControl& agent, const std::string& id, const std::string& path) {
  try {
    agent.Load(id, path);
    return true;
  } catch (const RuntimeError&) {
    return false;
  }
}

// Makes the first table entry with exactly this id current; without one the index stays.
void SelectTableEntry(CharacterTable& characters, const std::string& id) {
  for (std::size_t i = 0; i < characters.loaded.size(); ++i) {
    if (characters.loaded[i].id == id) {
      characters.current_index = static_cast<std::int16_t>(i + 1);
      return;
    }
  }
}

// An unavailable language falls back to English (US); a failing fallback is ignored.
void SetLanguage(platform::AgentControl& agent, const std::string& id, std::int32_t language) {
  try {
    agent.Character(id).SetLanguageID(language);
  } catch (const RuntimeError&) {
    try {
      agent.Character(id).SetLanguageID(kEnglishUs);
    } catch (const RuntimeError&) {
    }
  }
}

// Adds the table entry of a character the control has just loaded and makes it current.
void AddTableEntry(CharacterTable& characters, platform::AgentControl& agent, const std::string& id,
                   const std::string& path) {
  characters.current = &agent.Character(id);
  if (characters.loaded.size() >= kMaxCharacters) {
    throw RuntimeError(err::kOverflow, "Overflow");
  }
  characters.loaded.push_back(CharEntry{id, path, 0, 0});
  characters.current_index = characters.count();
  CharEntry& entry = characters.loaded.back();
  entry.width_px = characters.current->Width();
  entry.height_px = characters.current->Height();
}

}  // namespace

bool CharLoad(Player& player, const std::string& pstrCharID, std::string pstrFileName,
              LoadErrors errors, std::int32_t& plngLanguageID) {
  if (plngLanguageID == 0) plngLanguageID = kEnglishUs;
  platform::AgentControl& agent = player.agent();
  if (!LoadedName(agent, pstrCharID).empty()) {
    SelectTableEntry(player.characters(), pstrCharID);
    try {
      player.characters().current = &agent.Character(pstrCharID);
    } catch (const RuntimeError&) {
    }
    return true;
  }
  try {
    if (!agent.Connected()) agent.SetConnected(true);
  } catch (const RuntimeError&) {
  }
  if (!TryLoad(agent, pstrCharID, pstrFileName)) {
    pstrFileName = player.paths().app_path + util::FileNameOnly(pstrFileName);
    if (!TryLoad(agent, pstrCharID, pstrFileName)) {
      if (errors == LoadErrors::kShow) {
        player.ui().MessageBox(
            "Error Loading Character: " + pstrCharID + kDoubleCrLf + pstrFileName, kDefaultTitle,
            platform::mb::kOkOnly);
      }
      return false;
    }
  }
  SetLanguage(agent, pstrCharID, plngLanguageID);
  try {
    AddTableEntry(player.characters(), agent, pstrCharID, pstrFileName);
  } catch (const RuntimeError& error) {
    if (errors == LoadErrors::kShow) {
      player.ui().MessageBox(std::to_string(error.Number()) + " : " + error.Description(),
                             kDefaultTitle, platform::mb::kOkOnly | platform::mb::kExclamation);
    }
    return false;
  }
  return true;
}

void CharSelect(Player& player, const std::string& pstrCharID) {
  try {
    player.characters().current = &player.agent().Character(pstrCharID);
  } catch (const RuntimeError&) {
    std::int32_t language = 0;
    CharLoad(player, pstrCharID, pstrCharID + ".acs", LoadErrors::kShow, language);
    return;
  }
  SelectTableEntry(player.characters(), pstrCharID);
}

std::string CharListen(Player& player, const std::string& pstrTrueFalse) {
  const std::string word = util::UCase(pstrTrueFalse);
  if (word != "TRUE" && word != "FALSE") return {};
  try {
    if (player.characters().current != nullptr) player.characters().current->Listen(word == "TRUE");
  } catch (const RuntimeError&) {
  }
  return {};
}

}  // namespace rirerazo
