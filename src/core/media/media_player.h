// Playing a wave sound, a MIDI sequence or a video while the characters act, through the
// media device's command strings. All kinds share the one device alias "media", so at most
// one file is open and any stop statement stops whatever plays. The player keeps no state
// of its own: it asks the device each time.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform/media_device.h"
#include "platform/message_loop.h"
#include "platform/ui.h"

namespace rirerazo::media {

// Turns a file name of a script into the file it means (the interpreter's path lookup).
using PathResolver = std::function<std::string(std::string_view)>;

inline constexpr std::string_view kWaveAudio = "waveaudio";
inline constexpr std::string_view kSequencer = "sequencer";
inline constexpr std::string_view kAviVideo = "avivideo";

class MediaPlayer {
 public:
  // None of the references is owned; all outlive the player.
  MediaPlayer(platform::MediaDevice& device, platform::Ui& ui, platform::MessageLoop& loop,
              PathResolver resolve)
      : device_(device), ui_(ui), loop_(loop), resolve_(std::move(resolve)) {}

  // Each plays an existing file as its kind of media (the kind follows the statement, not
  // the file's extension); a missing file does nothing at all.
  void PlayWave(const std::string& path) { PlayKind(kWaveAudio, path); }
  void PlayMIDI(const std::string& path) { PlayKind(kSequencer, path); }
  void PlayAVI(const std::string& path) { PlayKind(kAviVideo, path); }
  void StopWave() { StopMedia(); }
  void StopMIDI() { StopMedia(); }
  void StopAVI() { StopMedia(); }

  // Closes whatever is open, opens `path` as `device_type` and starts it without waiting.
  // When the device refuses, its own description of the error is shown and the alias is
  // closed again.
  void PlayMedia(std::string_view device_type, const std::string& path);

  // Stops what plays and closes it; never reports anything.
  void StopMedia();

 private:
  void PlayKind(std::string_view device_type, const std::string& path);
  // The file `path` names on disk, or empty when there is none.
  std::string ExistingFile(const std::string& path) const;
  std::uint32_t Send(const std::string& command, std::string& reply);
  std::uint32_t Send(const std::string& command);

  platform::MediaDevice& device_;
  platform::Ui& ui_;
  platform::MessageLoop& loop_;
  PathResolver resolve_;
};

}  // namespace rirerazo::media
