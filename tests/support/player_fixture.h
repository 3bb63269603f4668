// A Player on fake services with the characters Host and Guest loaded (Host current), for
// tests of what scripts do. The log starts empty after loading.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "core/agent/characters.h"
#include "core/app/player.h"
#include "core/interp/play_script.h"
#include "support/fake_platform.h"

namespace rirerazo::testing {

class PlayerTest : public ::testing::Test {
 protected:
  PlayerTest() {
    player_.startup().screen_width_px = 1024;
    player_.startup().screen_height_px = 768;
    fakes_.agent.files = {"guest.acs", "host.acs"};
    for (const char* id : {"Guest", "Host"}) {
      std::int32_t language = 0;
      CharLoad(player_, id, std::string(id == std::string("Host") ? "host.acs" : "guest.acs"),
               LoadErrors::kQuiet, language);
    }
    fakes_.log.clear();
  }

  // Plays `script` as a nested script and returns the log of what it did.
  Log Play(const std::string& script, bool top_level = false) {
    fakes_.log.clear();
    PlayScript(player_, script, top_level ? ScriptLevel::kTopLevel : ScriptLevel::kNested);
    return fakes_.log;
  }

  FakeCharacter& Host() { return fakes_.agent.Get("Host"); }

  FakePlatform fakes_;
  Player player_{fakes_.bundle};
};

}  // namespace rirerazo::testing
