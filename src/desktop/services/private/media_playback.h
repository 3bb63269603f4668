// The players behind QtMediaDevice, one kind of media each.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "desktop/audio/audio_output.h"
#include "desktop/services/media_playback.h"
#include "runtime/acs/acs_file.h"

namespace rirerazo::desktop {

// Decoded sound through the desktop's audio output.
std::unique_ptr<MediaPlayback> MakePcmPlayback(AudioOutput& audio, acs::PcmSound sound);

// A MIDI file rendered to sound by the fluidsynth program with `sound_font`, then played
// like a wave, cut at `length_ms` (the file's own length). Rendering starts at once and takes
// a fraction of the length; a Play before it is done starts the sound where the clock `now_ms`
// says it should be by then. `wait`: rendering finishes before this returns (the clock is
// virtual and would run ahead of it). A failed render ends the item (and says so on
// standard error).
std::unique_ptr<MediaPlayback> MakeMidiPlayback(AudioOutput& audio, const std::string& file,
                                                const std::string& sound_font,
                                                std::int64_t length_ms,
                                                std::function<std::int64_t()> now_ms,
                                                bool wait = false);

// Media without picture or sound that keeps its length on the clock `now_ms`.
std::unique_ptr<MediaPlayback> MakeSilentPlayback(std::int64_t length_ms,
                                                  std::function<std::int64_t()> now_ms);

// A video in a window of its own, through Qt Multimedia (and its sound through Qt's own
// output, which the video's player needs).
std::unique_ptr<MediaPlayback> MakeVideoPlayback(const std::string& file);

// The sound font for MIDI: $RIRERAZO_SOUNDFONT when set, else the first General MIDI font
// installed in the usual places; empty when there is none.
std::string FindSoundFont();
// The fluidsynth program on the search path; empty when it is not installed.
std::string FindMidiRenderer();

}  // namespace rirerazo::desktop
