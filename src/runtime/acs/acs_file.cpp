// Temporary bodies so that the model header links while the reader is being written.
#include "runtime/acs/acs_file.h"

#include "platform/runtime_error.h"

namespace rirerazo::acs {

namespace {
[[noreturn]] void NotYet() {
  throw RuntimeError(kInvalidCharacterFile, "character file reader not available yet");
}
}  // namespace

std::string Guid::ToString() const {
  NotYet();
}
const LocalizedInfo* CharacterInfo::Localized(std::uint16_t) const {
  NotYet();
}
const MouthOverlay* Frame::FindOverlay(MouthShape) const {
  NotYet();
}
const Animation* Character::FindAnimation(std::string_view) const {
  NotYet();
}
const State* Character::FindState(std::string_view) const {
  NotYet();
}
std::vector<std::string> Character::StateAnimations(std::string_view) const {
  NotYet();
}
std::string Character::Name(std::uint16_t) const {
  NotYet();
}
std::string Character::Description(std::uint16_t) const {
  NotYet();
}
const IndexedPixels& Character::ImagePixels(std::size_t) const {
  NotYet();
}
std::vector<RegionRect> Character::ImageRegion(std::size_t) const {
  NotYet();
}
std::size_t Character::DecodedBytes() const {
  NotYet();
}
void Character::ForgetDecoded() const {
  pixel_cache_.clear();
}
RgbaImage Character::ComposeFrame(const Frame&, std::optional<MouthShape>) const {
  NotYet();
}
RgbaImage Character::ComposeFrame(const Animation&, std::size_t, std::optional<MouthShape>) const {
  NotYet();
}
std::span<const std::uint8_t> Character::SoundBytes(std::size_t) const {
  NotYet();
}
PcmSound Character::DecodeSound(std::size_t) const {
  NotYet();
}
Character ReadCharacter(std::vector<std::uint8_t>, std::string_view) {
  NotYet();
}
Character ReadCharacterFile(const std::string&) {
  NotYet();
}

}  // namespace rirerazo::acs
