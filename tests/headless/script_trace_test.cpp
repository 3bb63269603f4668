// System statements of a script played by the interpreter against the headless services,
// checked on the trace.
#include <gtest/gtest.h>

#include "headless/headless_backdrop.h"
#include "headless/headless_clipboard.h"
#include "headless/headless_shell.h"
#include "headless/simulated_media.h"
#include "host/tracing/tracing_devices.h"
#include "os/picture_file.h"
#include "support/media_bytes.h"
#include "support/player_fixture.h"
#include "support/scratch_folder.h"

namespace rirerazo::headless {
namespace {

// The headless services, made before the Player and gone after it, as in the host.
struct HeadlessServices {
  HeadlessServices() { tracer.AddSink(&sink); }
  testing::ScratchFolder folder;
  testing::FakeClock clock;
  host::Tracer tracer{clock};
  host::MemorySink sink;
  HeadlessShell shell{nullptr};
  HeadlessKeySender keys;
  HeadlessBackdrop backdrop;
  SimulatedMediaDevice media{clock};
  HeadlessClipboard clipboard;
  // What the host puts between the devices and the player, so the trace shows the calls.
  host::TracingShell traced_shell{shell, tracer};
  host::TracingKeySender traced_keys{keys, tracer};
  host::TracingBackdrop traced_backdrop{backdrop, tracer};
  host::TracingMediaDevice traced_media{media, tracer};
  host::TracingClipboard traced_clipboard{clipboard, tracer};
  os::FilePictureDecoder pictures;
};

class ScriptTrace : public HeadlessServices, public testing::PlayerTest {
 protected:
  ScriptTrace() {
    fakes_.bundle.shell = &traced_shell;
    fakes_.bundle.keys = &traced_keys;
    fakes_.bundle.backdrop = &traced_backdrop;
    fakes_.bundle.media = &traced_media;
    fakes_.bundle.clipboard = &traced_clipboard;
    fakes_.bundle.pictures = &pictures;
    player_.paths().script_file = folder / "show.vrn";
  }

  // "kind op-or-command" of every record after `from`.
  std::vector<std::string> Trace(std::size_t from = 0) const {
    std::vector<std::string> lines;
    for (std::size_t i = from; i < sink.records.size(); ++i) {
      const host::TraceRecord& r = sink.records[i];
      lines.push_back(r.kind + " " + (r.kind == "media" ? r.Text("command") : r.Text("op")));
    }
    return lines;
  }
};

TEST_F(ScriptTrace, BackdropPictureAndSoundShowInTheTrace) {
  folder.Write("slide.png", testing::AsText(testing::PngFile(512, 384)));
  const std::string wave = folder.Write("hello.wav", testing::AsText(testing::WaveFile(3000)));
  Play("BGCOLOR #000080\r\nBGIMAGE slide.png\r\nPLAYWAVE hello.wav");
  EXPECT_EQ(Trace(),
            (std::vector<std::string>{
                "backdrop Create", "backdrop CloseGlyph", "backdrop Color", "backdrop Show",
                "backdrop SlotVisible", "backdrop Picture", "backdrop Picture", "backdrop Place",
                "backdrop SlotVisible", "media close media",
                "media open \"" + wave + "\" type waveaudio alias media", "media play media"}));
  EXPECT_EQ(sink.records[2].Text("color"), "#000080");
  EXPECT_EQ(backdrop.slot(1).place, (platform::RectTwips{3840, 2880, 7680, 5760}));
  EXPECT_EQ(sink.records[10].Text("result"), "0");
  std::string reply;
  media.SendString("status media mode", reply);
  EXPECT_EQ(reply, "playing");
}

TEST_F(ScriptTrace, BrokenSoundShowsTheDeviceTextAndClosesTheAlias) {
  folder.Write("text.wav", "this is not a wave");
  Play("PLAYWAVE text.wav");
  ASSERT_EQ(fakes_.ui.boxes.size(), 1u);
  EXPECT_EQ(fakes_.ui.boxes[0].text, media.ErrorString(platform::media_error::kInvalidFile));
  EXPECT_EQ(Trace().back(), "media close media");
  EXPECT_EQ(media.Find("media"), nullptr);
}

TEST_F(ScriptTrace, ProgramsKeysAndClipboard) {
  clipboard.SetText("Hello there");
  const std::size_t start = sink.records.size();
  Play("RUN sh -c true\r\nOPEN no-such-program-here.txt\r\nSENDKEYS abc~\r\nREADCLIPBOARD Host");
  EXPECT_EQ(Trace(start),
            (std::vector<std::string>{"shell StartProgram", "shell StartProgram",
                                      "shell OpenDocument", "keys ", "clipboard GetText"}));
  EXPECT_EQ(sink.records[start + 2].Text("result"), "2");
  EXPECT_EQ(sink.records[start + 3].Text("strokes"), "4");
  const testing::Log& log = fakes_.log;
  EXPECT_EQ(log.at(log.size() - 2), "Host.Speak(Hello there)");
  EXPECT_EQ(log.back(), "Host.Speak(\\mrk=777777777\\)");
}

}  // namespace
}  // namespace rirerazo::headless
