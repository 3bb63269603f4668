#include "core/media/media_player.h"

#include "core/util/paths.h"
#include "core/util/text.h"

namespace rirerazo::media {

namespace {

// The reply buffer of the command-string interface holds 255 characters.
constexpr std::size_t kReplyLength = 255;
constexpr const char* kBoxTitle = "RIRERazo";

bool ReplyStartsWith(const std::string& reply, std::string_view state) {
  return reply.substr(0, 7) == state;
}

}  // namespace

std::string MediaPlayer::ExistingFile(const std::string& path) const {
  return util::FindOnDisk(resolve_(path)).value_or("");
}

std::uint32_t MediaPlayer::Send(const std::string& command, std::string& reply) {
  reply.assign(kReplyLength, ' ');
  const std::uint32_t code = device_.SendString(command, reply);
  if (reply.size() > kReplyLength) reply.resize(kReplyLength);
  return code;
}

std::uint32_t MediaPlayer::Send(const std::string& command) {
  std::string ignored;
  return Send(command, ignored);
}

void MediaPlayer::PlayKind(std::string_view device_type, const std::string& path) {
  if (!ExistingFile(path).empty()) PlayMedia(device_type, path);
}

void MediaPlayer::PlayMedia(std::string_view device_type, const std::string& path) {
  const std::string file = ExistingFile(path);
  if (file.empty()) return;
  Send("close media");
  std::uint32_t code =
      Send("open \"" + file + "\" type " + std::string(device_type) + " alias media");
  if (code == 0) code = Send("play media");
  if (code == 0) {
    loop_.DoEvents();
    return;
  }
  const std::string description(util::Trim(device_.ErrorString(code).substr(0, kReplyLength)));
  ui_.MessageBox(description, kBoxTitle, platform::mb::kOkOnly | platform::mb::kExclamation);
  Send("close media");
}

void MediaPlayer::StopMedia() {
  std::string reply;
  Send("status media mode", reply);
  if (ReplyStartsWith(reply, "playing")) Send("stop media");
  Send("status media mode", reply);
  if (ReplyStartsWith(reply, "stopped")) Send("close media");
}

}  // namespace rirerazo::media
