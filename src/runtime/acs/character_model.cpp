// Lookups on the model: GUID text, localised info, overlays by shape, animations and states
// by case-insensitive name.
#include <cstdio>

#include "runtime/acs/acs_file.h"

namespace rirerazo::acs {

namespace {

char FoldAscii(char c) {
  return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
}

constexpr std::uint16_t kPrimaryLanguageMask = 0x3FF;
constexpr std::uint16_t kEnglish = 0x0009;

}  // namespace

std::string UpperAscii(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = FoldAscii(c);
  return upper;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  }
  return true;
}

std::string Guid::ToString() const {
  char text[40];
  std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                unsigned(data1), unsigned(data2), unsigned(data3), data4[0], data4[1], data4[2],
                data4[3], data4[4], data4[5], data4[6], data4[7]);
  return text;
}

const LocalizedInfo* CharacterInfo::Localized(std::uint16_t language_id) const {
  auto find_primary = [this](std::uint16_t wanted) -> const LocalizedInfo* {
    for (const LocalizedInfo& entry : localized) {
      if ((entry.language_id & kPrimaryLanguageMask) == (wanted & kPrimaryLanguageMask)) {
        return &entry;
      }
    }
    return nullptr;
  };
  if (const LocalizedInfo* entry = find_primary(language_id)) return entry;
  if (const LocalizedInfo* entry = find_primary(kEnglish)) return entry;
  return localized.empty() ? nullptr : &localized.front();
}

const MouthOverlay* Frame::FindOverlay(MouthShape shape) const {
  for (const MouthOverlay& overlay : overlays) {
    if (overlay.shape == shape) return &overlay;
  }
  return nullptr;
}

const Animation* Character::FindAnimation(std::string_view name) const {
  for (const Animation& animation : animations) {
    if (EqualsIgnoreCase(animation.name, name)) return &animation;
  }
  return nullptr;
}

const State* Character::FindState(std::string_view name) const {
  for (const State& state : info.states) {
    if (EqualsIgnoreCase(state.name, name)) return &state;
  }
  return nullptr;
}

std::vector<std::string> Character::StateAnimations(std::string_view state_name) const {
  const State* state = FindState(state_name);
  return state ? state->animations : std::vector<std::string>{};
}

std::string Character::Name(std::uint16_t language_id) const {
  const LocalizedInfo* entry = info.Localized(language_id);
  return entry ? entry->name : std::string();
}

std::string Character::Description(std::uint16_t language_id) const {
  const LocalizedInfo* entry = info.Localized(language_id);
  return entry ? entry->description : std::string();
}

}  // namespace rirerazo::acs
