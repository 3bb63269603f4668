#include "desktop/speech/private/mouth_shapes.h"

namespace rirerazo::desktop {

namespace {

constexpr std::uint8_t kClosed = 0;
constexpr std::uint8_t kSlightlyOpen = 1;
constexpr std::uint8_t kOpen = 2;
constexpr std::uint8_t kMoreOpen = 3;
constexpr std::uint8_t kWideOpen = 4;
constexpr std::uint8_t kMedium = 5;
constexpr std::uint8_t kNarrow = 6;

}  // namespace

// Decided by the phoneme's first letter, which names its vowel or place of articulation in
// the synthesiser's mnemonics; diphthongs take the mouth of the sound they start with.
std::uint8_t MouthShapeForPhoneme(std::string_view phoneme) {
  if (phoneme.empty()) return kClosed;
  switch (phoneme.front()) {
    case '_':  // pauses
    case 'p':
    case 'b':
    case 'm':
      return kClosed;
    case 'f':
    case 'v':
    case 'u':
    case 'U':
    case 'w':
    case 'y':
    case 'Y':
    case 'W':
      return kNarrow;
    case 'o':
    case 'O':
    case '0':
      return kMedium;
    case 'a':
    case 'A':
    case 'V':
    case '&':
      return kWideOpen;
    case 'e':
    case 'E':
    case '3':
    case '@':
      return kMoreOpen;
    case 'i':
    case 'I':
    case 'j':
      return kOpen;
    default:
      return kSlightlyOpen;
  }
}

}  // namespace rirerazo::desktop
