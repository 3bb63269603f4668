#include "headless/simulated_media.h"

#include "core/util/ascii.h"

namespace rirerazo::headless {

namespace me = platform::media_error;

const SimulatedMediaDevice::Item* SimulatedMediaDevice::Find(const std::string& alias) const {
  auto it = items_.find(util::LCase(alias));
  return it == items_.end() ? nullptr : &it->second;
}

std::int64_t SimulatedMediaDevice::Position(const Item& item) const {
  if (!item.started_at_ms) return item.position_ms;
  return std::min(item.length_ms, item.position_ms + clock_.NowMs() - *item.started_at_ms);
}

std::uint32_t SimulatedMediaDevice::SendString(const std::string& command, std::string& reply) {
  reply.clear();
  std::uint32_t code = fail_next_;
  fail_next_ = 0;
  if (code == 0) code = Execute(host::SplitMediaCommand(command), reply);
  return code;
}

std::uint32_t SimulatedMediaDevice::Open(const std::vector<std::string>& words) {
  if (words.size() < 2) return me::kMissingDeviceName;
  const std::optional<host::MediaKind> kind =
      host::MediaKindOfType(host::MediaCommandValue(words, "type"));
  if (!kind) return me::kInvalidDeviceName;
  std::string alias = host::MediaCommandValue(words, "alias");
  if (alias.empty()) alias = util::LCase(words[1]);
  if (items_.contains(alias)) return me::kDuplicateAlias;
  const std::optional<std::string> bytes = host::ReadMediaFile(words[1]);
  if (!bytes) return me::kFileNotFound;
  const std::optional<std::int64_t> length_ms = host::MediaLengthMs(*kind, *bytes);
  if (!length_ms) return me::kInvalidFile;
  items_[alias] = Item{words[1], *kind, *length_ms, 0, std::nullopt};
  return me::kNone;
}

std::uint32_t SimulatedMediaDevice::Status(Item& item, const std::string& what,
                                           std::string& reply) {
  const std::int64_t position = Position(item);
  if (what == "mode") {
    reply = item.started_at_ms && position < item.length_ms ? "playing" : "stopped";
  } else if (what == "length") {
    reply = std::to_string(item.length_ms);
  } else if (what == "position") {
    reply = std::to_string(position);
  } else {
    return me::kUnrecognizedKeyword;
  }
  return me::kNone;
}

std::uint32_t SimulatedMediaDevice::Execute(const std::vector<std::string>& words,
                                            std::string& reply) {
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
  Item& item = it->second;
  if (verb == "status") return Status(item, words.size() > 2 ? util::LCase(words[2]) : "", reply);
  if (verb == "close") {
    items_.erase(it);
  } else if (verb == "stop") {
    item.position_ms = Position(item);
    item.started_at_ms.reset();
  } else if (!item.started_at_ms) {  // play resumes where the item stands
    item.started_at_ms = clock_.NowMs();
  }
  return me::kNone;
}

std::string SimulatedMediaDevice::ErrorString(std::uint32_t code) {
  return host::MediaErrorText(code);
}

}  // namespace rirerazo::headless
