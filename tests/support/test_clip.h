// A short video for media tests, made by the ffmpeg program: 64x48 at 10 pictures a second,
// one second red then one second blue, with a 440 Hz tone throughout (MJPEG and PCM in AVI).
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/scratch_folder.h"

namespace rirerazo::testing {

// The clip's path in `folder`; empty when ffmpeg is missing or fails.
inline std::string MakeRedThenBlueClip(const ScratchFolder& folder) {
  const std::string path = folder / "clip.avi";
  const std::string command =
      "ffmpeg -v error -y -f lavfi -i 'color=c=red:s=64x48:r=10:d=1' -f lavfi -i "
      "'color=c=blue:s=64x48:r=10:d=1' -f lavfi -i 'sine=frequency=440:sample_rate=22050:d=2' "
      "-filter_complex '[0:v][1:v]concat=n=2:v=1:a=0[v]' -map '[v]' -map 2:a -c:v mjpeg -q:v 2 "
      "-c:a pcm_s16le '" + path + "' >/dev/null 2>&1";
  return std::system(command.c_str()) == 0 && std::filesystem::exists(path) ? path
                                                                             : std::string();
}

}  // namespace rirerazo::testing
