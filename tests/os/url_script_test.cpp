// Scripts named by URL, downloaded through libcurl from a server on 127.0.0.1.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "core/app/player.h"
#include "core/script/open_script.h"
#include "core/script/url_script.h"
#include "os/curl_internet.h"
#include "support/fake_platform.h"
#include "support/file_bytes.h"
#include "support/http_test_server.h"
#include "support/recording_services.h"
#include "support/scratch_folder.h"

namespace rirerazo {
namespace {

using testing::ReadBytes;

class UrlScripts : public ::testing::Test {
 protected:
  UrlScripts() {
    services.ui = &ui;
    services.loop = &loop;
    services.internet = &internet;
    links.services = &services;
    links.temp_dir = temp.Path() + "/";
    links.open_script_from_file = [this](const std::string& path, bool play) {
      loaded.emplace_back(path, ReadBytes(path));
      EXPECT_TRUE(play);
      return true;
    };
    links.report_error = [](const RuntimeError& error) { ADD_FAILURE() << error.what(); };
  }

  testing::HttpTestServer server;
  testing::ScratchFolder temp;
  testing::RecordingUi ui;
  testing::VirtualLoop loop;
  os::CurlInternet internet;
  platform::Platform services;
  UrlScriptLinks links;
  std::vector<std::pair<std::string, std::string>> loaded;  // path, content
};

TEST_F(UrlScripts, ServedScriptsAreLoadedFromTheNextFreeTemporaryFile) {
  std::string big = "[VORN Script]\r\nVersion=1\r\n[Script]\r\n";
  while (big.size() < 7000) big += "Host.Speak " + std::to_string(big.size()) + "\r\n";
  server.Set("/big.vrn", {200, big, ""});
  server.Set("/empty.vrn", {200, "", ""});
  EXPECT_FALSE(OpenScriptFromURL(server.Url("/big.vrn"), true, links));
  EXPECT_FALSE(OpenScriptFromURL(server.Url("/empty.vrn"), true, links));
  ASSERT_EQ(loaded.size(), 2u);
  EXPECT_EQ(loaded[0], std::make_pair(temp / "VORN0001.TMP", big));
  // An empty resource is a file like any other; the loader decides what it is worth.
  EXPECT_EQ(loaded[1], std::make_pair(temp / "VORN0002.TMP", std::string()));
  EXPECT_TRUE(std::filesystem::exists(loaded[0].first));  // kept after loading
  // 7000 bytes take at least four pieces and the empty read; the empty resource one read.
  EXPECT_GE(loop.do_events_calls, 6);
  EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(UrlScripts, UnreachableScriptsAreReportedByUrlAndNotLoaded) {
  server.Set("/gone.vrn", {404, "<html>not found</html>", ""});
  testing::RefusingPort refusing;
  for (const std::string& url : {server.Url("/gone.vrn"), refusing.Url("/x.vrn")}) {
    ui.boxes.clear();
    ui.cursors.clear();
    EXPECT_FALSE(OpenScriptFromURL(url, true, links));
    ASSERT_EQ(ui.boxes.size(), 1u) << url;
    EXPECT_EQ(ui.boxes[0].text.rfind("75 : Could not download " + url + ": ", 0), 0u)
        << ui.boxes[0].text;
    EXPECT_EQ(ui.boxes[0].style, platform::mb::kOkOnly | platform::mb::kExclamation);
    EXPECT_EQ(ui.cursors,
              (std::vector<platform::Cursor>{platform::Cursor::kBusy, platform::Cursor::kNormal}));
  }
  EXPECT_TRUE(loaded.empty());
  EXPECT_TRUE(std::filesystem::is_empty(temp.Path()));
}

// The loader hands any path with "://" to the download; the served script then plays.
TEST(UrlScriptsInThePlayer, AServedScriptPlaysAndAMissingOneIsReported) {
  testing::HttpTestServer server;
  server.Set("/show.vrn", {200,
                           "[VORN Script]\r\nVersion=1\r\n[Characters]\r\nHost=host.acs\r\n"
                           "[Script]\r\nHost.Speak Served\r\n",
                           ""});
  testing::ScratchFolder temp;
  struct TempSystem final : testing::FakeSystem {
    std::string temp;
    std::string TempFolder() const override { return temp; }
  } system;
  system.temp = temp.Path();
  testing::FakePlatform fakes;
  os::CurlInternet internet;
  fakes.agent.files = {"host.acs"};
  fakes.bundle.system = &system;
  fakes.bundle.internet = &internet;
  Player player(fakes.bundle);
  EXPECT_FALSE(OpenScriptFromFile(player, server.Url("/show.vrn"), true));
  EXPECT_NE(std::find(fakes.log.begin(), fakes.log.end(), "Host.Speak(Served)"), fakes.log.end());
  EXPECT_TRUE(fakes.ui.boxes.empty());

  fakes.log.clear();
  OpenScriptFromFile(player, server.Url("/gone.vrn"), true);
  ASSERT_EQ(fakes.ui.boxes.size(), 1u);
  EXPECT_EQ(fakes.ui.boxes[0].text, "75 : Could not download " + server.Url("/gone.vrn") +
                                        ": the server answered with status 404");
  // The served script's copy stays; the failed download left nothing behind.
  EXPECT_FALSE(std::filesystem::exists(temp / "VORN0002.TMP"));
  EXPECT_TRUE(std::filesystem::exists(temp / "VORN0001.TMP"));
}

}  // namespace
}  // namespace rirerazo
