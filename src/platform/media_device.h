// The media device, driven through the classic command-string interface: the player sends
// texts such as "open \"x.wav\" type waveaudio alias media", "play media",
// "status media mode", "stop media" and "close media", and gets back a result code (0 for
// success) and a reply text. Playback runs by itself after "play"; the device reports its
// state ("playing", "stopped") only when asked. Called on the player's thread only.
#pragma once

#include <cstdint>
#include <string>

namespace rirerazo::platform {

// Result codes in the classic numbering of the command-string interface.
namespace media_error {
inline constexpr std::uint32_t kNone = 0;
inline constexpr std::uint32_t kInvalidDeviceId = 257;
inline constexpr std::uint32_t kUnrecognizedKeyword = 259;
inline constexpr std::uint32_t kUnrecognizedCommand = 261;
inline constexpr std::uint32_t kInvalidDeviceName = 263;
inline constexpr std::uint32_t kCannotLoadDriver = 266;
inline constexpr std::uint32_t kMissingCommandString = 267;
inline constexpr std::uint32_t kFileNotFound = 275;
inline constexpr std::uint32_t kDuplicateAlias = 289;
inline constexpr std::uint32_t kInvalidFile = 304;
inline constexpr std::uint32_t kMissingDeviceName = 306;
}  // namespace media_error

class MediaDevice {
 public:
  virtual ~MediaDevice() = default;

  // Carries out one command string. Returns 0 on success or an error code; `reply`
  // receives the reply text ("playing", "stopped", ...) and is emptied when there is none.
  virtual std::uint32_t SendString(const std::string& command, std::string& reply) = 0;

  // The device's description of an error code, as shown to the user.
  virtual std::string ErrorString(std::uint32_t code) = 0;
};

}  // namespace rirerazo::platform
