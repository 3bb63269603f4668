// The desktop's media device behind the command-string interface: "open FILE type waveaudio|
// sequencer|avivideo alias A", "play A", "stop A", "close A" (or "close all"), "status A mode|
// length|position". Wave files are decoded (PCM and MS-ADPCM) and play through the desktop's
// audio output; MIDI files are rendered by fluidsynth with a General MIDI sound font and play
// the same way; videos play in a window of their own through Qt Multimedia. The device keeps
// each item's position on its clock and reports "playing" until the player says the media has
// ended or, whatever the player says, until the file's own length (read from its header) and
// a grace period have passed, so a late or lost end never leaves an item playing forever.
// Called on the GUI thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "desktop/audio/audio_output.h"
#include "desktop/services/media_playback.h"
#include "platform/media_device.h"

namespace rirerazo::desktop {

class QtMediaDevice final : public platform::MediaDevice {
 public:
  using NowMs = std::function<std::int64_t()>;

  // `audio` (not owned, outlives the device) plays wave and MIDI sound. `now_ms` is the clock
  // positions and the fallback end are measured on; the steady clock when empty. `offline`:
  // the clock is virtual and runs ahead of real time (a video render), so a MIDI file is
  // rendered in full before it plays, and a video goes to the offline video player or,
  // where that cannot play it, keeps its length in silence without a window (saying so once
  // on standard error).
  explicit QtMediaDevice(AudioOutput& audio, NowMs now_ms = {}, bool offline = false);
  ~QtMediaDevice() override;
  QtMediaDevice(const QtMediaDevice&) = delete;
  QtMediaDevice& operator=(const QtMediaDevice&) = delete;

  // Offline, plays videos where the render can draw them: returns the player of `file`
  // (whose header gave `length_ms`), or null when it cannot decode the file (saying so),
  // which then keeps its length in silence.
  using VideoPlayer = std::function<std::unique_ptr<MediaPlayback>(const std::string& file,
                                                                   std::int64_t length_ms)>;
  void SetOfflineVideoPlayer(VideoPlayer player) { offline_videos_ = std::move(player); }

  std::uint32_t SendString(const std::string& command, std::string& reply) override;
  std::string ErrorString(std::uint32_t code) override;

  // How long after its own length an item still counts as playing while its player has not
  // reported the end: a second, plus a tenth of the length for a late start (rendering).
  static std::int64_t FallbackGraceMs(std::int64_t length_ms) { return 1000 + length_ms / 10; }

 private:
  struct Item;
  std::uint32_t Execute(const std::vector<std::string>& words, std::string& reply);
  std::uint32_t Open(const std::vector<std::string>& words);
  std::uint32_t Status(Item& item, const std::string& what, std::string& reply);
  void Play(Item& item);
  void Stop(Item& item);
  std::int64_t Position(const Item& item) const;
  bool Playing(const Item& item) const;

  AudioOutput& audio_;
  NowMs now_ms_;
  bool offline_;
  VideoPlayer offline_videos_;
  bool video_notice_given_ = false;
  std::map<std::string, std::unique_ptr<Item>> items_;
};

}  // namespace rirerazo::desktop
