// The character's mouth for a phoneme the synthesiser reports: 0 closed, 1 to 4 open from a
// little to wide, 5 medium and rounded, 6 narrow.
#pragma once

#include <cstdint>
#include <string_view>

namespace rirerazo::desktop {

// `phoneme` is the synthesiser's phoneme mnemonic ("aI", "p", "_:" for a pause).
std::uint8_t MouthShapeForPhoneme(std::string_view phoneme);

}  // namespace rirerazo::desktop
