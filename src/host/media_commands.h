// The words of the media command-string interface, shared by every host's media device:
// splitting a command into words, reading a keyword's value, the device types, the error
// texts, and reading a media file's bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host/media_header.h"

namespace rirerazo::host {

// The description of a result code, as every host's media device gives it.
std::string MediaErrorText(std::uint32_t code);

// Splits a command string into words; a double-quoted part is one word.
std::vector<std::string> SplitMediaCommand(const std::string& command);
// The lower-case value after `keyword` among the words from position 2 on ("type x alias y");
// empty when absent.
std::string MediaCommandValue(const std::vector<std::string>& words, const std::string& keyword);
// The media kind of a device type ("waveaudio", "sequencer", "avivideo").
std::optional<MediaKind> MediaKindOfType(const std::string& type);
// A media file's bytes; nullopt when it cannot be read.
std::optional<std::string> ReadMediaFile(const std::string& path);

}  // namespace rirerazo::host
