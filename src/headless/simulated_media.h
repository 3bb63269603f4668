// The headless media device: a real simulation of the command-string interface. "open"
// reads the file's header for its device type (RIFF WAVE for waveaudio, standard MIDI for
// sequencer, RIFF AVI for avivideo) and learns the length from it; after "play" the item is
// "playing" until that length has passed on the virtual clock, then "stopped". Files it
// cannot play get the classic error codes and texts.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "host/media_commands.h"
#include "platform/clock.h"
#include "platform/media_device.h"

namespace rirerazo::headless {

class SimulatedMediaDevice : public platform::MediaDevice {
 public:
  // `clock` is not owned and outlives the device.
  explicit SimulatedMediaDevice(const platform::Clock& clock) : clock_(clock) {}

  std::uint32_t SendString(const std::string& command, std::string& reply) override;
  std::string ErrorString(std::uint32_t code) override;

  // Makes the next command fail with `code` (an error path for tests).
  void FailNextCommand(std::uint32_t code) { fail_next_ = code; }

  // What is open under `alias`, for tests and the trace: file, kind and state.
  struct Item {
    std::string file;
    host::MediaKind kind = host::MediaKind::kWave;
    std::int64_t length_ms = 0;
    std::int64_t position_ms = 0;               // where play resumes
    std::optional<std::int64_t> started_at_ms;  // set while playing
  };
  const Item* Find(const std::string& alias) const;

 private:
  std::uint32_t Execute(const std::vector<std::string>& words, std::string& reply);
  std::uint32_t Open(const std::vector<std::string>& words);
  std::uint32_t Status(Item& item, const std::string& what, std::string& reply);
  std::int64_t Position(const Item& item) const;

  const platform::Clock& clock_;
  std::map<std::string, Item> items_;
  std::uint32_t fail_next_ = 0;
};

}  // namespace rirerazo::headless
