#include <gtest/gtest.h>
#include <sys/stat.h>

#include "core/media/backdrop_controller.h"
#include "headless/headless_backdrop.h"
#include "headless/headless_clipboard.h"
#include "headless/headless_shell.h"
#include "headless/simulated_media.h"
#include "host/tracing/tracing_devices.h"
#include "os/picture_file.h"
#include "support/fake_platform.h"
#include "support/media_bytes.h"
#include "support/recording_services.h"
#include "support/scratch_folder.h"

namespace rirerazo::headless {
namespace {

class FixedClock : public platform::Clock {
 public:
  std::int64_t NowMs() const override { return 0; }
  platform::LocalDateTime LocalNow() const override { return {}; }
};

// The backdrop controller of the player on the headless window with the real decoder.
class HeadlessBackdropTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tracer.AddSink(&sink);
    ui.width_px = 800;
    ui.height_px = 600;
  }
  testing::ScratchFolder folder;
  FixedClock clock;
  host::Tracer tracer{clock};
  host::MemorySink sink;
  testing::RecordingUi ui;
  testing::FakeMessageLoop loop;
  HeadlessBackdrop window;
  SimulatedMediaDevice device{clock};
  host::TracingBackdrop traced_window{window, tracer};
  host::TracingMediaDevice traced_device{device, tracer};
  os::FilePictureDecoder pictures;
  media::MediaPlayer player{traced_device, ui, loop,
                            [](std::string_view p) { return std::string(p); }};
  media::BackdropController backdrop{{traced_window, ui, loop, pictures},
                                     player,
                                     [](std::string_view p) { return std::string(p); }};
};

TEST_F(HeadlessBackdropTest, KeepsStateColourAndPlacedPictures) {
  EXPECT_EQ(window.state(), BackdropState::kAbsent);
  backdrop.BackdropHide();
  EXPECT_EQ(window.state(), BackdropState::kHidden);
  backdrop.BackdropColor("#336699");
  EXPECT_EQ(window.state(), BackdropState::kShown);
  EXPECT_EQ(window.color(), 0x996633u);
  backdrop.BackdropImage(folder.Write("wide.png", testing::AsText(testing::PngFile(1600, 600))));
  const BackdropSlot& slot = window.slot(1);
  EXPECT_TRUE(slot.has_picture && slot.visible);
  EXPECT_EQ(slot.picture_width_px, 1600);
  EXPECT_EQ(slot.place, (platform::RectTwips{0, 2250, 12000, 4500}));
  backdrop.BackdropImage(folder.Write("broken.gif", "GIF89a broken"));
  EXPECT_FALSE(window.slot(1).has_picture);
  EXPECT_FALSE(window.slot(0).has_picture);
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].text, folder / "broken.gif is not a supported image file.");
}

TEST_F(HeadlessBackdropTest, UserClosingStopsTheSoundAndLeavesNoWindow) {
  const std::string wave = folder.Write("a.wav", testing::AsText(testing::WaveFile(5000)));
  backdrop.BackdropShow();
  player.PlayWave(wave);
  ASSERT_NE(device.Find("media"), nullptr);
  window.UserRightClicks(100, 200, "");
  EXPECT_EQ(window.state(), BackdropState::kShown) << "menu dismissed";
  window.UserClicksClose();
  EXPECT_EQ(window.state(), BackdropState::kAbsent);
  EXPECT_EQ(device.Find("media"), nullptr) << "stopped and closed";
  window.UserClicksClose();  // nothing to click on any more
  backdrop.BackdropShow();
  window.UserRightClicks(1, 2, "Close");
  EXPECT_EQ(window.state(), BackdropState::kAbsent);
  bool traced_menu = false;
  for (const auto& record : sink.records) {
    traced_menu = traced_menu || (record.kind == "backdrop" && record.Text("op") == "ContextMenu" &&
                                  record.Text("chosen") == "Close");
  }
  EXPECT_TRUE(traced_menu);
}

TEST(HeadlessShell, RecordsStartsAsTheRealShellWouldDecideThem) {
  FixedClock clock;
  host::Tracer tracer{clock};
  host::MemorySink sink;
  tracer.AddSink(&sink);
  HeadlessShell headless(nullptr);
  host::TracingShell shell(headless, tracer);
  shell.StartProgram("sh -c \"exit 0\"");
  EXPECT_EQ(sink.records.back().Text("started"), "true");
  EXPECT_THROW(shell.StartProgram("notepad.exe readme.txt"), RuntimeError);
  EXPECT_EQ(sink.records.back().Text("error"), "53");
  testing::ScratchFolder folder;
  const std::string doc = folder.Write("readme.txt", "x");
  EXPECT_EQ(shell.OpenDocument(doc, ""), platform::open_result::kOk);
  EXPECT_EQ(shell.OpenDocument(folder / "none.txt", ""), platform::open_result::kFileNotFound);
  EXPECT_EQ(shell.OpenDocument("C:\\My", "Files\\report.doc"), platform::open_result::kPathNotFound)
      << "no folder C: here";
  EXPECT_EQ(shell.OpenDocument(folder / "no/x.txt", ""), platform::open_result::kPathNotFound);
  EXPECT_EQ(shell.OpenDocument("https://example.org", ""), platform::open_result::kOk);
  EXPECT_EQ(sink.records.back().Text("file"), "https://example.org");
}

TEST(HeadlessShell, ClosesOnlyWindowsItKnowsAndCanFailOnRequest) {
  HeadlessShell shell(nullptr);
  shell.AddWindow("Untitled - Notepad");
  EXPECT_FALSE(shell.CloseWindowByTitle("untitled - notepad"));
  EXPECT_TRUE(shell.CloseWindowByTitle("Untitled - Notepad"));
  EXPECT_FALSE(shell.HasWindow("Untitled - Notepad"));
  shell.FailNextCall(RuntimeError(68, "Device unavailable"));
  EXPECT_THROW(shell.CloseWindowByTitle("x"), RuntimeError);
  EXPECT_FALSE(shell.CloseWindowByTitle("x"));
}

TEST(HeadlessKeysAndClipboard, RecordWhatWasSentAndHeld) {
  FixedClock clock;
  host::Tracer tracer{clock};
  host::MemorySink sink;
  tracer.AddSink(&sink);
  HeadlessKeySender headless_keys;
  host::TracingKeySender keys(headless_keys, tracer);
  keys.SendKeys("Hi{TAB 3}~");
  EXPECT_EQ(sink.records.back().kind, "keys");
  EXPECT_EQ(sink.records.back().Text("strokes"), "6");
  EXPECT_THROW(keys.SendKeys("{NOPE}"), RuntimeError);
  HeadlessClipboard clipboard;
  EXPECT_EQ(clipboard.GetText(), "");
  clipboard.SetText("Read me");
  EXPECT_EQ(clipboard.GetText(), "Read me");
}

}  // namespace
}  // namespace rirerazo::headless
