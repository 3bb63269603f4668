#include "core/script/url_script.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "support/fake_platform.h"
#include "support/file_bytes.h"
#include "support/recording_services.h"
#include "support/scratch_folder.h"

namespace rirerazo {
namespace {

using testing::ReadBytes;
using testing::RecordingUi;
using testing::ScratchFolder;
using testing::VirtualLoop;

// Serves `body` and writes every read and yield into a shared log; can break off after
// `fail_after` bytes.
class ScriptedInternet final : public platform::Internet {
 public:
  ScriptedInternet(std::string body, std::vector<std::string>& log) : body_(body), log_(log) {}
  std::size_t fail_after = std::string::npos;
  std::string agent;

  std::unique_ptr<platform::InternetResource> Open(const std::string&,
                                                   const std::string& user_agent) override {
    agent = user_agent;
    return std::make_unique<Resource>(*this);
  }

 private:
  struct Resource final : platform::InternetResource {
    explicit Resource(ScriptedInternet& owner) : owner(owner) {}
    std::size_t Read(char* buffer, std::size_t capacity) override {
      owner.log_.push_back("read " + std::to_string(capacity));
      if (position >= owner.fail_after) throw RuntimeError(75, "connection lost");
      std::size_t count = std::min(capacity, owner.body_.size() - position);
      owner.body_.copy(buffer, count, position);
      position += count;
      return count;
    }
    int Status() const override { return 200; }
    ScriptedInternet& owner;
    std::size_t position = 0;
  };
  std::string body_;
  std::vector<std::string>& log_;
};

struct Download {
  explicit Download(std::string body) : internet(std::move(body), log) {
    loop.every_yield = [this] { log.push_back("yield"); };
    services.ui = &ui;
    services.loop = &loop;
    services.internet = &internet;
  }
  std::vector<std::string> log;
  RecordingUi ui;
  ScriptedInternet internet;
  testing::FakeMessageLoop loop;
  platform::Platform services;
};

TEST(DownloadURLToFile, ReadsPiecesOf2048BytesAndYieldsAfterEach) {
  ScratchFolder temp;
  Download download(std::string(5000, 'x'));
  std::string file = temp.Write("VORN0001.TMP", std::string(9000, 'o'));  // longer than new
  ASSERT_TRUE(DownloadURLToFile(download.services, "http://h/x.vrn", file));
  const std::vector<std::string> read_yield = {"read 2048", "yield"};
  std::vector<std::string> expected;
  for (int i = 0; i < 4; ++i) expected.insert(expected.end(), read_yield.begin(), read_yield.end());
  EXPECT_EQ(download.log, expected);  // three pieces, then the empty read
  EXPECT_EQ(ReadBytes(file), std::string(5000, 'x'));
  EXPECT_EQ(download.internet.agent, "Quellmark.VORN");
  EXPECT_EQ(download.ui.cursors,
            (std::vector<platform::Cursor>{platform::Cursor::kBusy, platform::Cursor::kNormal}));
  EXPECT_TRUE(download.ui.boxes.empty());
}

TEST(DownloadURLToFile, BrokenTransferIsShownAndNothingIsLoaded) {
  ScratchFolder temp;
  Download download(std::string(5000, 'x'));
  download.internet.fail_after = 4096;
  UrlScriptLinks links{&download.services, (temp.Path() + "/"), nullptr, nullptr};
  int loads = 0;
  links.open_script_from_file = [&](const std::string&, bool) { return ++loads, true; };
  links.report_error = [](const RuntimeError&) { ADD_FAILURE() << "reported"; };
  EXPECT_FALSE(OpenScriptFromURL("http://h/x.vrn", true, links));
  EXPECT_EQ(loads, 0);
  ASSERT_EQ(download.ui.boxes.size(), 1u);
  EXPECT_EQ(download.ui.boxes[0].text, "75 : connection lost");
  EXPECT_EQ(download.ui.boxes[0].style, platform::mb::kExclamation);
  EXPECT_EQ(download.ui.cursors.back(), platform::Cursor::kNormal);
  EXPECT_TRUE(std::filesystem::is_empty(temp.Path()));
}

TEST(OpenScriptFromURL, FolderWithoutRoomIsReported) {
  ScratchFolder temp;
  Download download("x");
  std::vector<long> reported;
  UrlScriptLinks links{&download.services, temp / "missing/", nullptr, nullptr};
  links.open_script_from_file = [](const std::string&, bool) { return true; };
  links.report_error = [&](const RuntimeError& error) { reported.push_back(error.Number()); };
  EXPECT_FALSE(OpenScriptFromURL("http://h/x.vrn", true, links));
  EXPECT_EQ(reported, std::vector<long>{err::kPathFileAccessError});
  EXPECT_TRUE(download.log.empty());
}

}  // namespace
}  // namespace rirerazo
