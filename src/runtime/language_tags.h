// Windows language ids as speech engines know them: the BCP 47 tag of each id the runtime
// accepts for a character's LanguageID.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace rirerazo::runtime {

// The tag for a language id ("en-US" for 0x409), nullopt for an id we do not know.
std::optional<std::string_view> LanguageTag(std::int32_t language_id);

}  // namespace rirerazo::runtime
