// The headless tray behind the host's tracing wrapper: what the trace shows and how the user
// script's choices reach the player.
#include <gtest/gtest.h>

#include "headless/recording_tray.h"
#include "headless/virtual_clock.h"
#include "host/tracing/tracing_devices.h"
#include "platform/runtime_error.h"

namespace rirerazo::headless {
namespace {

// Answers a right-button release with a menu, like the player; counts the choices.
struct MenuOwner : platform::TrayEvents {
  explicit MenuOwner(platform::Tray& tray) : tray(tray) {}
  void OnTrayMouse(int message) override {
    messages.push_back(message);
    if (message == platform::tray_mouse::kRightUp) chosen.push_back(tray.ShowPopupMenu(items));
  }
  platform::Tray& tray;
  std::vector<platform::MenuItem> items = {
      {"Show", false}, {"Hide &Host", true}, {"Show &Guest", true}, {"&Close", true}};
  std::vector<int> messages;
  std::vector<int> chosen;
};

class TrayRecording : public ::testing::Test {
 protected:
  TrayRecording() {
    tracer.AddSink(&sink);
    traced.Install("RIRERazo", &owner);
  }
  VirtualClock clock{platform::LocalDateTime{}};
  host::Tracer tracer{clock};
  host::MemorySink sink;
  RecordingTray tray;
  host::TracingTray traced{tray, tracer};  // as the host wraps it
  MenuOwner owner{traced};
};

TEST_F(TrayRecording, ChoicesByCaptionOrPositionCountOnlyVisibleItems) {
  tray.Choose({"Show Guest", 0});
  tray.Choose({"", 3});
  tray.Choose({"&Close", 0});
  EXPECT_EQ(owner.chosen, (std::vector<int>{2, 3, 3}));
  EXPECT_EQ(tray.LastMenu(), (std::vector<std::string>{"Hide &Host", "Show &Guest", "&Close"}));
  EXPECT_THROW(tray.Choose({"Show", 0}), RuntimeError);  // invisible
  EXPECT_THROW(tray.Choose({"", 4}), RuntimeError);
  EXPECT_EQ(owner.chosen.back(), -1);  // dismissed without a choice
}

TEST_F(TrayRecording, RecordsInstallMouseMenuAndRemove) {
  tray.Choose({"&Close", 0});
  traced.Remove();
  traced.Remove();
  std::vector<std::string> ops;
  for (const host::TraceRecord& record : sink.records) {
    EXPECT_EQ(record.kind, "tray");
    ops.push_back(record.Text("op") + " " + record.Text("message") + record.Text("chosen"));
  }
  EXPECT_EQ(ops, (std::vector<std::string>{"Install ", "Mouse 516", "Mouse 517", "Menu &Close",
                                           "Remove "}));
  EXPECT_EQ(sink.records[0].Text("tip"), "RIRERazo");
}

TEST_F(TrayRecording, NothingReachesThePlayerOnceTheIconIsGone) {
  tray.Remove();
  EXPECT_THROW(tray.Choose({"&Close", 0}), RuntimeError);
  EXPECT_THROW(tray.Mouse(platform::tray_mouse::kLeftUp), RuntimeError);
  EXPECT_TRUE(owner.messages.empty());
}

TEST_F(TrayRecording, AMenuThatNeverOpensIsReported) {
  tray.Install("RIRERazo", nullptr);  // an icon whose events reach no one
  EXPECT_THROW(tray.Choose({"&Close", 0}), RuntimeError);
}

}  // namespace
}  // namespace rirerazo::headless
