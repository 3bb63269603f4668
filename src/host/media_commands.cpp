#include "host/media_commands.h"

#include <fstream>
#include <iterator>

#include "core/util/ascii.h"
#include "platform/media_device.h"

namespace rirerazo::host {

namespace me = platform::media_error;

std::vector<std::string> SplitMediaCommand(const std::string& command) {
  std::vector<std::string> words;
  std::size_t at = 0;
  while (at < command.size()) {
    if (command[at] == ' ') {
      ++at;
      continue;
    }
    const bool quoted = command[at] == '"';
    const std::size_t start = quoted ? at + 1 : at;
    std::size_t end = command.find(quoted ? '"' : ' ', start);
    if (end == std::string::npos) end = command.size();
    words.push_back(command.substr(start, end - start));
    at = end + 1;
  }
  return words;
}

std::string MediaErrorText(std::uint32_t code) {
  switch (code) {
    case me::kInvalidDeviceId:
      return "Invalid device ID. Use the ID given to the device when the device was opened.";
    case me::kUnrecognizedKeyword:
      return "The driver cannot recognize the specified command parameter.";
    case me::kUnrecognizedCommand:
      return "The driver cannot recognize the specified command.";
    case me::kInvalidDeviceName:
      return "The specified device is not open or is not recognized by MCI.";
    case me::kMissingCommandString:
      return "No command was specified.";
    case me::kFileNotFound:
      return "Cannot find the specified file. Make sure the path and filename are correct.";
    case me::kDuplicateAlias:
      return "The specified alias is already being used in this application. Use a unique alias.";
    case me::kInvalidFile:
      return "The specified file cannot be played on the specified MCI device. The file may be "
             "corrupt, not in the correct format, or no file handler available for this format.";
    case me::kMissingDeviceName:
      return "A device name must be specified for this command.";
    case me::kCannotLoadDriver:
      return "The specified device driver cannot be loaded. Make sure the driver is installed "
             "correctly.";
  }
  return "Unknown error.";
}

std::optional<MediaKind> MediaKindOfType(const std::string& type) {
  if (type == "waveaudio") return MediaKind::kWave;
  if (type == "sequencer") return MediaKind::kMidi;
  if (type == "avivideo") return MediaKind::kAvi;
  return std::nullopt;
}

std::optional<std::string> ReadMediaFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string MediaCommandValue(const std::vector<std::string>& words, const std::string& keyword) {
  for (std::size_t i = 2; i + 1 < words.size(); ++i) {
    if (util::LCase(words[i]) == keyword) return util::LCase(words[i + 1]);
  }
  return {};
}

}  // namespace rirerazo::host
