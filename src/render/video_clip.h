// A video file decoded with FFmpeg's libraries for a render: its pictures one at a time as
// the virtual clock reaches them, and its whole sound track at once. Pictures are decoded
// forward only as far as asked, with one picture read ahead so that asking again before the
// next one is due costs nothing; asking for an earlier time seeks back.
#pragma once

#include <QImage>
#include <QSize>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "desktop/audio/audio_output.h"

namespace rirerazo::render {

class VideoClip {
 public:
  // The clip of `file`, with its sound converted to `sound_format`; null when the file has
  // no picture stream that can be decoded.
  static std::unique_ptr<VideoClip> Open(const std::string& file, desktop::PcmFormat sound_format);
  ~VideoClip();
  VideoClip(const VideoClip&) = delete;
  VideoClip& operator=(const VideoClip&) = delete;

  // The pictures' own size.
  QSize Size() const;
  // Makes the picture shown at `position_ms` from the start the current one; true when the
  // current picture changed. Past the last picture, the last one stays.
  bool SeekTo(std::int64_t position_ms);
  // The current picture (Qt's RGB32), converted on the first call after it changed; black
  // before the first picture.
  const QImage& Picture();
  // The whole sound track in the format given to Open (interleaved); empty without sound.
  const std::vector<std::int16_t>& Sound() const;

  struct Decoder;

 private:
  explicit VideoClip(std::unique_ptr<Decoder> decoder);
  std::unique_ptr<Decoder> decoder_;
};

}  // namespace rirerazo::render
