// Feeds any bytes to PlayScript as a script text, with the characters Host and MyHost
// loaded on recording fakes. A line feed in the input becomes CR LF, so inputs reach many
// lines; every fifth yield delivers bookmark 1, whose script is the input's first line, so
// nested runs are exercised too. Nothing may crash, hang or trip a sanitizer.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/agent/agent_events.h"
#include "core/agent/characters.h"
#include "core/app/player.h"
#include "core/interp/play_script.h"
#include "support/fake_platform.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace rirerazo;
  std::string script;
  for (std::size_t i = 0; i < size; ++i) {
    const char c = static_cast<char>(data[i]);
    if (c == '\n') script += '\r';
    script += c;
  }
  testing::FakePlatform fakes;
  fakes.agent.files = {"host.acs", "myhost.acs"};
  Player player(fakes.bundle);
  player.startup().screen_width_px = 1024;
  player.startup().screen_height_px = 768;
  for (const char* id : {"Host", "MyHost"}) {
    std::int32_t language = 0;
    CharLoad(player, id, id == std::string("Host") ? "host.acs" : "myhost.acs", LoadErrors::kQuiet,
             language);
  }
  player.tables().bookmarks = {{1, script.substr(0, script.find('\r'))}};
  int yields = 0;
  fakes.loop.every_yield = [&] {
    if (++yields % 5 == 0) AgentControl_Bookmark(player, 1);
  };
  PlayScript(player, script, ScriptLevel::kTopLevel);
  return 0;
}
