// What the slide-show module's tests share: an X server of their own, presentations they
// write themselves (flat OpenDocument files the office opens as they are), and a player
// stand-in that records the show's events while the test pumps them.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "impress/impress_app.h"
#include "impress/office_process.h"
#include "support/scratch_folder.h"
#include "support/xvfb_server.h"

namespace rirerazo::impress::testing {

// One Xvfb for the test process, with no session bus; never stopped before exit.
inline bool StartDisplay() {
  static auto* server = new rirerazo::testing::XvfbServer;
  static bool once = [] {
    if (!server->Running()) return false;
    std::atexit([] { server->Stop(); });
    setenv("DISPLAY", server->Display().c_str(), 1);
    unsetenv("WAYLAND_DISPLAY");
    setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 1);
    return true;
  }();
  return once;
}

// Skips the calling test when the office or an X server is missing.
#define RIRERAZO_REQUIRE_OFFICE()                                                 \
  if (::rirerazo::impress::FindOfficeProgramFolder().empty())                     \
    GTEST_SKIP() << "LibreOffice Impress is not installed (libreoffice-impress)"; \
  if (!::rirerazo::impress::testing::StartDisplay())                              \
  GTEST_SKIP() << "Xvfb is not installed; the office needs an X server"

struct TestSlide {
  std::string text;
  std::optional<int> advance_after_s;  // the slide's own timing
  std::string colour = "#2060c0";      // its background
};

// A flat OpenDocument presentation (.fodp) of `slides`.
std::string FlatPresentation(const std::vector<TestSlide>& slides);

inline std::vector<TestSlide> Slides(int count, std::optional<int> advance_after_s = {}) {
  std::vector<TestSlide> slides;
  for (int i = 1; i <= count; ++i)
    slides.push_back({"Slide " + std::to_string(i), advance_after_s});
  return slides;
}

// Converts `source` to `extension` (odp, pptx) with the office itself; returns the new
// file's path, or empty when the conversion failed.
std::string ConvertWithOffice(const std::string& source, const std::string& extension);

// Records the events as text: "begin", "next 2", "end".
class EventLog : public platform::PresentationEvents {
 public:
  void OnSlideShowBegin() override { events.push_back("begin"); }
  void OnSlideShowNextSlide(std::int32_t index) override {
    events.push_back("next " + std::to_string(index));
    if (on_slide) on_slide(index);
  }
  void OnSlideShowEnd() override { events.push_back("end"); }

  std::vector<std::string> events;
  std::function<void(std::int32_t)> on_slide;
};

// Delivers the app's events until `done` holds or `limit` passes; true when `done` held.
bool PumpUntil(QueuedPresentationApp& app, const std::function<bool()>& done,
               std::chrono::seconds limit = std::chrono::seconds(60));

// Launches the app, retrying while the office starts as the player does.
void LaunchAndWait(QueuedPresentationApp& app);

// The profile folder the office `pid` was started with (from its command line).
std::string ProfileFolderOf(pid_t pid);

// Whether process `pid` still exists (and is not a zombie of ours).
bool ProcessAlive(pid_t pid);

}  // namespace rirerazo::impress::testing
