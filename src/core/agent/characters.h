// The character table: loading characters into the character control, choosing the
// current one, and switching its speech input. The table only grows during a run.
#pragma once

#include <cstdint>
#include <string>

namespace rirerazo {

class Player;

// Loads `pstrCharID` from `pstrFileName` (retrying from the program folder) unless that id
// is loaded already, and makes it current. `plngLanguageID` 0 becomes 0x409, also for the
// caller. Returns true when the character is loaded and current.
enum class LoadErrors { kQuiet, kShow };  // kShow: a failure shows a message box
bool CharLoad(Player& player, const std::string& pstrCharID, std::string pstrFileName,
              LoadErrors errors, std::int32_t& plngLanguageID);

// Makes the character current, loading "<id>.acs" when the control no longer holds it.
void CharSelect(Player& player, const std::string& pstrCharID);

// "TRUE" (any case) starts speech input of the current character, "FALSE" stops it; any
// other text does nothing. The result is always empty.
std::string CharListen(Player& player, const std::string& pstrTrueFalse);

}  // namespace rirerazo
