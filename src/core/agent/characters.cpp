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
void SelectTableEntry(Player& player, const std::string& id) {
  for (std::size_t i = 0; i < player.gCharacters.size(); ++i) {
    if (player.gCharacters[i].CharID == id) {
      player.gCurCharIndex = static_cast<std::int16_t>(i + 1);
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
void AddTableEntry(Player& player, const std::string& id, const std::string& path) {
  player.gCurChar = &player.agent().Character(id);
  if (player.gCharacters.size() >= kMaxCharacters) {
    throw RuntimeError(err::kOverflow, "Overflow");
  }
  player.gCharacters.push_back(CharEntry{id, path, 0, 0});
  player.gCurCharIndex = player.gCharCount();
  CharEntry& entry = player.gCharacters.back();
  entry.Width = player.gCurChar->Width();
  entry.Height = player.gCurChar->Height();
}

}  // namespace

bool CharLoad(Player& player, const std::string& pstrCharID, std::string pstrFileName,
              bool /*pfUpdateControls*/, bool /*pfShow*/, bool pfShowErrors,
              std::int32_t& plngLanguageID) {
  if (plngLanguageID == 0) plngLanguageID = kEnglishUs;
  platform::AgentControl& agent = player.agent();
  if (!LoadedName(agent, pstrCharID).empty()) {
    SelectTableEntry(player, pstrCharID);
    try {
      player.gCurChar = &agent.Character(pstrCharID);
    } catch (const RuntimeError&) {
    }
    return true;
  }
  try {
    if (!agent.Connected()) agent.SetConnected(true);
  } catch (const RuntimeError&) {
  }
  if (!TryLoad(agent, pstrCharID, pstrFileName)) {
    pstrFileName = player.gAppPath + util::FileNameOnly(pstrFileName);
    if (!TryLoad(agent, pstrCharID, pstrFileName)) {
      if (pfShowErrors) {
        player.ui().MessageBox(
            "Error Loading Character: " + pstrCharID + player.gDoubleCrLf + pstrFileName,
            kDefaultTitle, platform::mb::kOkOnly);
      }
      return false;
    }
  }
  SetLanguage(agent, pstrCharID, plngLanguageID);
  try {
    AddTableEntry(player, pstrCharID, pstrFileName);
  } catch (const RuntimeError& error) {
    if (pfShowErrors) {
      player.ui().MessageBox(std::to_string(error.Number()) + " : " + error.Description(),
                             kDefaultTitle, platform::mb::kOkOnly | platform::mb::kExclamation);
    }
    return false;
  }
  return true;
}

void CharSelect(Player& player, const std::string& pstrCharID) {
  try {
    player.gCurChar = &player.agent().Character(pstrCharID);
  } catch (const RuntimeError&) {
    std::int32_t language = 0;
    CharLoad(player, pstrCharID, pstrCharID + ".acs", false, false, true, language);
    return;
  }
  SelectTableEntry(player, pstrCharID);
}

std::string CharListen(Player& player, const std::string& pstrTrueFalse) {
  const std::string word = util::UCase(pstrTrueFalse);
  if (word != "TRUE" && word != "FALSE") return {};
  try {
    if (player.gCurChar != nullptr) player.gCurChar->Listen(word == "TRUE");
  } catch (const RuntimeError&) {
  }
  return {};
}

}  // namespace rirerazo
