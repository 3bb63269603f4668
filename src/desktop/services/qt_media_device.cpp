#include "desktop/services/qt_media_device.h"

#include <chrono>
#include <fstream>
#include <iostream>
#include <iterator>

#include "core/util/ascii.h"
#include "desktop/services/private/media_playback.h"
#include "host/media_commands.h"
#include "host/media_header.h"
#include "platform/runtime_error.h"

namespace rirerazo::desktop {

namespace me = platform::media_error;
using host::MediaKind;

struct QtMediaDevice::Item {
  MediaKind kind = MediaKind::kWave;
  std::int64_t length_ms = 0;
  std::int64_t position_ms = 0;               // where play resumes
  std::optional<std::int64_t> started_at_ms;  // set while playing
  std::unique_ptr<MediaPlayback> playback;
};

namespace {

std::int64_t SteadyNowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

QtMediaDevice::QtMediaDevice(AudioOutput& audio, NowMs now_ms, bool offline)
    : audio_(audio), now_ms_(now_ms ? std::move(now_ms) : NowMs(SteadyNowMs)), offline_(offline) {}

QtMediaDevice::~QtMediaDevice() = default;

std::uint32_t QtMediaDevice::SendString(const std::string& command, std::string& reply) {
  reply.clear();
  return Execute(host::SplitMediaCommand(command), reply);
}

std::string QtMediaDevice::ErrorString(std::uint32_t code) {
  return host::MediaErrorText(code);
}

// The player for a file of `kind` whose header gave `length_ms`, or the error that stops
// the open.
static std::uint32_t MakePlayback(MediaKind kind, const std::string& file, const std::string& bytes,
                                  std::int64_t length_ms, AudioOutput& audio,
                                  const QtMediaDevice::NowMs& now_ms, bool offline,
                                  std::unique_ptr<MediaPlayback>& playback) {
  switch (kind) {
    case MediaKind::kWave:
      try {
        playback = MakePcmPlayback(
            audio, acs::DecodeWav(
                       std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()),
                       file));
      } catch (const RuntimeError&) {
        return me::kInvalidFile;  // a header that reads but a format we do not decode
      }
      return me::kNone;
    case MediaKind::kMidi: {
      const std::string sound_font = FindSoundFont();
      if (sound_font.empty() || FindMidiRenderer().empty()) return me::kCannotLoadDriver;
      playback = MakeMidiPlayback(audio, file, sound_font, length_ms, now_ms, offline);
      return me::kNone;
    }
    case MediaKind::kAvi:
      playback = offline ? MakeSilentPlayback(length_ms, now_ms) : MakeVideoPlayback(file);
      return me::kNone;
  }
  return me::kInvalidDeviceName;
}

std::uint32_t QtMediaDevice::Open(const std::vector<std::string>& words) {
  if (words.size() < 2) return me::kMissingDeviceName;
  const std::optional<MediaKind> kind =
      host::MediaKindOfType(host::MediaCommandValue(words, "type"));
  if (!kind) return me::kInvalidDeviceName;
  std::string alias = host::MediaCommandValue(words, "alias");
  if (alias.empty()) alias = util::LCase(words[1]);
  if (items_.contains(alias)) return me::kDuplicateAlias;
  const std::optional<std::string> bytes = host::ReadMediaFile(words[1]);
  if (!bytes) return me::kFileNotFound;
  const std::optional<std::int64_t> length_ms = host::MediaLengthMs(*kind, *bytes);
  if (!length_ms) return me::kInvalidFile;
  auto item = std::make_unique<Item>();
  item->kind = *kind;
  item->length_ms = *length_ms;
  if (offline_ && *kind == MediaKind::kAvi && offline_videos_) {
    item->playback = offline_videos_(words[1], *length_ms);
  }
  if (!item->playback) {
    const std::uint32_t code = MakePlayback(*kind, words[1], *bytes, *length_ms, audio_, now_ms_,
                                            offline_, item->playback);
    if (code != me::kNone) return code;
    // An offline video player says itself why it cannot play a file.
    if (offline_ && *kind == MediaKind::kAvi && !offline_videos_ && !video_notice_given_) {
      video_notice_given_ = true;
      std::cerr << "rirerazo: videos are not drawn into a render; they keep their length in "
                   "silence\n";
    }
  }
  items_[alias] = std::move(item);
  return me::kNone;
}

std::int64_t QtMediaDevice::Position(const Item& item) const {
  if (!item.started_at_ms) return item.position_ms;
  return std::min(item.length_ms, item.position_ms + now_ms_() - *item.started_at_ms);
}

// Playing until the player reports the end, or at the latest until the rest of the file's
// length and the grace period have passed on the clock.
bool QtMediaDevice::Playing(const Item& item) const {
  if (!item.started_at_ms || item.playback->Ended()) return false;
  const std::int64_t elapsed_ms = now_ms_() - *item.started_at_ms;
  return elapsed_ms < item.length_ms - item.position_ms + FallbackGraceMs(item.length_ms);
}

void QtMediaDevice::Play(Item& item) {
  if (item.started_at_ms && Playing(item)) return;  // already playing: nothing changes
  if (item.started_at_ms || item.position_ms >= item.length_ms) item.position_ms = 0;
  item.started_at_ms = now_ms_();
  item.playback->Play(item.position_ms);
}

void QtMediaDevice::Stop(Item& item) {
  if (!item.started_at_ms) return;
  item.position_ms = Playing(item) ? Position(item) : item.length_ms;
  item.started_at_ms.reset();
  item.playback->Pause();
}

std::uint32_t QtMediaDevice::Status(Item& item, const std::string& what, std::string& reply) {
  if (item.started_at_ms && !Playing(item)) Stop(item);  // ended: settle at the end
  if (what == "mode") {
    reply = item.started_at_ms ? "playing" : "stopped";
  } else if (what == "length") {
    reply = std::to_string(item.length_ms);
  } else if (what == "position") {
    reply = std::to_string(Position(item));
  } else {
    return me::kUnrecognizedKeyword;
  }
  return me::kNone;
}

std::uint32_t QtMediaDevice::Execute(const std::vector<std::string>& words, std::string& reply) {
  if (words.empty()) return me::kMissingCommandString;
  const std::string verb = util::LCase(words[0]);
  if (verb == "open") return Open(words);
  if (verb != "play" && verb != "stop" && verb != "close" && verb != "status") {
    return me::kUnrecognizedCommand;
  }
  if (words.size() < 2) return me::kMissingDeviceName;
  const std::string alias = util::LCase(words[1]);
  if (verb == "close" && alias == "all") {
    items_.clear();
    return me::kNone;
  }
  auto it = items_.find(alias);
  if (it == items_.end()) return me::kInvalidDeviceName;
  Item& item = *it->second;
  if (verb == "status") return Status(item, words.size() > 2 ? util::LCase(words[2]) : "", reply);
  if (verb == "close") {
    items_.erase(it);
  } else if (verb == "stop") {
    Stop(item);
  } else {
    Play(item);
  }
  return me::kNone;
}

}  // namespace rirerazo::desktop
