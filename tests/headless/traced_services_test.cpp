// The file dialog, downloads and the presentation application show in a headless trace:
// each call with its answer, and the show's slides as they come.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "headless/headless_host.h"
#include "support/http_test_server.h"
#include "support/presentation_fixtures.h"
#include "support/scratch_folder.h"

namespace rirerazo::headless {
namespace {

const std::string kDemoCharacter =
    std::string(RIRERAZO_BINARY_DIR) + "/examples/character/Rira.acs";

class TracedServices : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(kDemoCharacter)) {
      GTEST_SKIP() << "the demo character is not built: " << kDemoCharacter;
    }
  }

  // The trace of a headless run of `command_line` with `input` as the user-input script.
  std::string Play(const std::string& command_line, const std::string& input = "") {
    host::Options options;
    options.headless = true;
    options.trace_path = "-";
    options.command_line = command_line;
    if (!input.empty()) options.input_path = folder_.Write("user.txt", input);
    std::ostringstream out, err;
    status_ = RunHeadless(options, "rirerazo", out, err);
    return out.str();
  }

  std::string Script(const std::string& header, const std::string& script) {
    return "[VORN Script]\r\nVersion=1\r\n" + header + "[Characters]\r\nHost=" + kDemoCharacter +
           "\r\n[Script]\r\n" + script;
  }

  testing::ScratchFolder folder_;
  int status_ = -1;
};

// A script chosen in the Open dialog runs a show of two timed slides, one piece each.
TEST_F(TracedServices, DialogAndSlideShowRecordEveryCallAndSlide) {
  {
    std::ofstream deck(folder_ / "deck.pptx", std::ios::binary);
    deck << testing::OpenXmlPresentation({{.advance_after_ms = 1000}, {.advance_after_ms = 1000}});
  }
  folder_.Write("show.vrn",
                Script("PowerPointFile=" + (folder_ / "deck.pptx") +
                           "\r\nPowerPointAutoAdvance=1\r\n",
                       "Host.Speak One\r\n#\r\nHost.Speak Two\r\n"));
  const std::string trace = Play("", "0 dialog \"" + (folder_ / "show.vrn") + "\"\n");
  EXPECT_EQ(status_, 0);
  EXPECT_NE(trace.find(R"("kind":"file","op":"Open",)"), std::string::npos) << trace;
  EXPECT_NE(trace.find(R"("path":")" + (folder_ / "show.vrn") + "\"}"), std::string::npos);
  const std::size_t open = trace.find(R"("kind":"presentation","op":"Open","path":")");
  const std::size_t count = trace.find(R"("kind":"presentation","op":"SlideCount","value":2})");
  const std::size_t first = trace.find(R"("kind":"presentation","op":"SlideShown","slide":1})");
  const std::size_t one = trace.find(R"("text":"One")");
  const std::size_t second = trace.find(R"("kind":"presentation","op":"SlideShown","slide":2})");
  const std::size_t two = trace.find(R"("text":"Two")");
  const std::size_t end = trace.find(R"("kind":"presentation","op":"ShowEnds"})");
  ASSERT_NE(end, std::string::npos) << trace;
  EXPECT_LT(open, count);
  EXPECT_LT(count, first);
  EXPECT_LT(first, one);
  EXPECT_LT(one, second);
  EXPECT_LT(second, two);
  EXPECT_LT(two, end);
}

// A script played by URL is opened and read to its end; a missing one is refused with its
// error.
TEST_F(TracedServices, DownloadsRecordTheStatusTheBytesOrTheError) {
  testing::HttpTestServer server;
  const std::string served = Script("", "Host.Speak Served\r\n");
  server.Set("/show.vrn", {200, served, ""});
  const std::string trace = Play(folder_.Write(
      "main.vrn", Script("", "PLAYSCRIPT " + server.Url("/show.vrn") + "\r\nPLAYSCRIPT " +
                                 server.Url("/gone.vrn") + "\r\n")));
  EXPECT_NE(trace.find(R"("kind":"internet","op":"Open","url":")" + server.Url("/show.vrn") +
                       R"(","status":200})"),
            std::string::npos)
      << trace;
  EXPECT_NE(trace.find(R"("op":"End","url":")" + server.Url("/show.vrn") + R"(","bytes":)" +
                       std::to_string(served.size()) + "}"),
            std::string::npos);
  EXPECT_NE(trace.find(R"("kind":"internet","op":"Open","url":")" + server.Url("/gone.vrn") +
                       R"(","error":)"),
            std::string::npos);
}

}  // namespace
}  // namespace rirerazo::headless
