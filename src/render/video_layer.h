// The videos of a render's media statements, drawn where the desktop shows a video: in a
// window of the video's own size in the middle of the screen. A video appears with its first
// Play and stays, showing the picture at its position (the last one once it has ended), until
// the media statement closes it, as the desktop's video window does; its sound goes into the
// track at the virtual time it plays. The layer must outlive the players it hands out.
#pragma once

#include <QPainter>
#include <QRect>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "desktop/services/media_playback.h"
#include "platform/clock.h"
#include "render/sound_track.h"

namespace rirerazo::render {

class VideoLayer {
 public:
  // `clock`, `sound` must outlive the layer. `screen`: the screen's size in pixels.
  VideoLayer(const platform::Clock& clock, SoundTrack& sound, QSize screen);
  ~VideoLayer();
  VideoLayer(const VideoLayer&) = delete;
  VideoLayer& operator=(const VideoLayer&) = delete;

  // The player of `file` (for QtMediaDevice::SetOfflineVideoPlayer), or null when the file
  // cannot be decoded. `length_ms`: the length its header gives, which ends it.
  std::unique_ptr<desktop::MediaPlayback> Open(const std::string& file, std::int64_t length_ms);

  struct Change {
    bool changed = false;  // a picture changed, or a video appeared or went
    bool raised = false;   // a video appeared: its window is above what was shown before
  };
  // Brings every shown video to the clock's time.
  Change Sync();
  // Paints the shown videos, the most recently shown on top.
  void Paint(QPainter& painter);
  // Where the video of that size is shown.
  QRect PlaceOf(QSize video) const;

  class Playback;

 private:
  friend class Playback;
  void Showing(Playback* playback);
  void Gone(Playback* playback);

  const platform::Clock& clock_;
  SoundTrack& sound_;
  QSize screen_;
  std::vector<Playback*> shown_;  // in the order they appeared
  bool changed_ = false;
  bool raised_ = false;
};

}  // namespace rirerazo::render
