#include "core/agent/characters.h"

#include <gtest/gtest.h>

#include "core/app/player.h"
#include "support/fake_platform.h"

namespace rirerazo {
namespace {

using testing::Log;

class CharactersTest : public ::testing::Test {
 protected:
  CharactersTest() { player_.paths().app_path = "/opt/app/"; }

  bool Load(const std::string& id, const std::string& file, bool show_errors = false) {
    std::int32_t language = 0;
    return CharLoad(player_, id, file, show_errors ? LoadErrors::kShow : LoadErrors::kQuiet,
                    language);
  }

  testing::FakePlatform fakes_;
  Player player_{fakes_.bundle};
};

TEST_F(CharactersTest, LoadAddsACurrentEntryWithItsSize) {
  fakes_.agent.files = {"C:\\Chars\\host.acs"};
  fakes_.agent.sizes["C:\\Chars\\host.acs"] = 96;
  std::int32_t language = 0;
  ASSERT_TRUE(CharLoad(player_, "Host", "C:\\Chars\\host.acs", LoadErrors::kQuiet, language));
  EXPECT_EQ(language, 0x409);  // the caller sees the default
  ASSERT_EQ(player_.characters().count(), 1);
  EXPECT_EQ(player_.characters().current_index, 1);
  EXPECT_EQ(player_.characters().current, &fakes_.agent.Get("Host"));
  EXPECT_EQ(player_.characters().loaded[0].file_name, "C:\\Chars\\host.acs");
  EXPECT_EQ(player_.characters().loaded[0].width_px, 96);
  EXPECT_EQ(fakes_.log,
            (Log{"SetConnected", "Load(Host, C:\\Chars\\host.acs)", "Host.LanguageID(1033)"}));
}

TEST_F(CharactersTest, RetriesFromTheProgramFolder) {
  fakes_.agent.files = {"/opt/app/host.acs"};
  ASSERT_TRUE(Load("Host", "C:\\Chars\\host.acs"));
  EXPECT_EQ(player_.characters().loaded[0].file_name, "/opt/app/host.acs");
}

TEST_F(CharactersTest, FailureShowsTheRetryPathOnlyWhenAsked) {
  EXPECT_FALSE(Load("Host", "C:\\Chars\\host.acs"));
  EXPECT_TRUE(fakes_.ui.boxes.empty());
  EXPECT_FALSE(Load("Host", "C:\\Chars\\host.acs", true));
  ASSERT_EQ(fakes_.ui.boxes.size(), 1u);
  EXPECT_EQ(fakes_.ui.boxes[0].text, "Error Loading Character: Host\r\n\r\n/opt/app/host.acs");
  EXPECT_EQ(fakes_.ui.boxes[0].style, platform::mb::kOkOnly);
  EXPECT_EQ(player_.characters().count(), 0);
}

TEST_F(CharactersTest, LoadingALoadedIdSelectsItWithoutASecondEntry) {
  fakes_.agent.files = {"host.acs", "guest.acs"};
  ASSERT_TRUE(Load("Host", "host.acs"));
  ASSERT_TRUE(Load("Guest", "guest.acs"));
  fakes_.log.clear();
  EXPECT_TRUE(Load("Host", "elsewhere.acs"));
  EXPECT_EQ(player_.characters().count(), 2);
  EXPECT_EQ(player_.characters().current_index, 1);
  EXPECT_TRUE(fakes_.log.empty());
}

TEST_F(CharactersTest, UnavailableLanguageFallsBackSilently) {
  fakes_.agent.files = {"host.acs"};
  std::int32_t language = 0x411;
  ASSERT_TRUE(CharLoad(player_, "Host", "host.acs", LoadErrors::kShow, language));
  EXPECT_EQ(fakes_.agent.Get("Host").language, 0x409);
  EXPECT_TRUE(fakes_.ui.boxes.empty());
}

TEST_F(CharactersTest, SelectReloadsACharacterTheControlLost) {
  fakes_.agent.files = {"host.acs", "guest.acs", "/opt/app/Host.acs"};
  ASSERT_TRUE(Load("Host", "host.acs"));
  ASSERT_TRUE(Load("Guest", "guest.acs"));
  CharSelect(player_, "Host");
  EXPECT_EQ(player_.characters().current_index, 1);
  fakes_.agent.Unload("Guest");
  fakes_.log.clear();
  CharSelect(player_, "Guest");
  EXPECT_EQ(fakes_.log[0], "Load(Guest, Guest.acs)");
  EXPECT_EQ(fakes_.ui.boxes.size(), 1u);  // neither Guest.acs nor /opt/app/Guest.acs
  EXPECT_EQ(fakes_.ui.boxes[0].text, "Error Loading Character: Guest\r\n\r\n/opt/app/Guest.acs");
}

TEST_F(CharactersTest, ListenOnlyForTrueOrFalse) {
  fakes_.agent.files = {"host.acs"};
  ASSERT_TRUE(Load("Host", "host.acs"));
  fakes_.log.clear();
  EXPECT_EQ(CharListen(player_, "tRuE"), "");
  CharListen(player_, "FALSE");
  CharListen(player_, "yes");
  CharListen(player_, "Host.Listen");
  EXPECT_EQ(fakes_.log, (Log{"Host.Listen(true)", "Host.Listen(false)"}));
}

}  // namespace
}  // namespace rirerazo
