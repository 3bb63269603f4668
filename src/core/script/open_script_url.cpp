#include "core/script/open_script.h"

namespace rirerazo {

// Fetching needs an internet service in the platform bundle; until there is one a URL
// plays nothing.
bool OpenScriptFromURL(Player&, const std::string&, bool) {
  return false;
}

}  // namespace rirerazo
