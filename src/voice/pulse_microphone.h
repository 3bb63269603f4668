// The sound server's default microphone through the simple recording API: 16 kHz mono
// 16-bit, read in blocking blocks by the listening thread.
#pragma once

#include <memory>
#include <string>

#include "voice_module.h"

namespace rirerazo::voice {

// Null and a reason when no sound server answers or it has no source to record from.
std::unique_ptr<AudioSource> OpenPulseMicrophone(std::string* error);

}  // namespace rirerazo::voice
