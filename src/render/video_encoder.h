// Writes a video file with FFmpeg's libraries: picture frames at a fixed rate and one
// sound track, in the container and codecs its name's extension chooses (H.264 and AAC in
// .mp4, VP9 and Opus in .webm; see docs/render.md for the fall-backs when an encoder is
// not built in). The file is written under a temporary name beside the final one and
// renamed when Finish succeeds, so a failed or interrupted render never leaves a
// half-written file under the final name.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>

namespace rirerazo::render {

// A video file cannot be written; what() says why in words for the user.
class EncodeError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct EncoderSettings {
  std::string path;  // the final file name; its extension chooses the format
  int width_px = 1280;  // even numbers, as the pictures' colour format needs
  int height_px = 720;
  int frames_per_second = 25;
  int sample_rate_hz = 48000;  // the sound handed to AddSound, 16-bit interleaved
  int channels = 2;
};

// The container for a file name: "mp4" or "webm" (any case of the extension); empty for
// any other name.
std::string ContainerForPath(const std::string& path);

class VideoEncoder {
 public:
  // Opens the temporary file and the encoders; throws EncodeError.
  explicit VideoEncoder(const EncoderSettings& settings);
  // Without a successful Finish, removes the temporary file.
  ~VideoEncoder();
  VideoEncoder(const VideoEncoder&) = delete;
  VideoEncoder& operator=(const VideoEncoder&) = delete;

  // The next picture: 32-bit pixels with blue in the lowest byte in memory order (Qt's
  // RGB32), at the settings' size, `stride_bytes` per row. Throws EncodeError.
  void AddFrame(const std::uint8_t* pixels, int stride_bytes);
  // The next picture is the same as the last one (which saves converting it again).
  void RepeatFrame();
  // The next stretch of sound (interleaved 16-bit samples). Throws EncodeError.
  void AddSound(std::span<const std::int16_t> samples);
  // Flushes the encoders, ends the file and gives it its final name. Throws EncodeError.
  void Finish();

  std::int64_t FramesWritten() const;
  // The encoders in use ("libx264", "aac", ...), for the user.
  std::string VideoCodecName() const;
  std::string AudioCodecName() const;
  struct State;

 private:
  std::unique_ptr<State> state_;
};

}  // namespace rirerazo::render
