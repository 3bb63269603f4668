// The user-input script: its format, its errors, and feeding it to the runtime on the loop.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "headless/event_loop.h"
#include "headless/user_input.h"
#include "host/runtime_source.h"
#include "runtime/rate_model.h"

namespace rirerazo::headless {
namespace {

TEST(UserInputScript, EveryActionAndTimeForm) {
  std::vector<InputItem> items = ParseUserInput(
      "# a comment\r\n"
      "\n"
      "1500 choose Host Greet\n"
      "+0.25s choose Host \"Say \"\"hi\"\"\" 60 Other 52 Third -5\n"
      "2s say Host \"please greet\" 80\n"
      "2000ms click Host\n"
      "+0 click Host 10 -20\n"
      "2100 drag Host 300 200\n"
      "2100 SHOW Host\n"
      "2100 hide Host\n"
      "2200 tray \"Hide &Host\"\n"
      "2300 backdrop close\n"
      "2400 dialog cancel\n"
      "2400 dialog \"cancel\"\n"
      "2500 clipboard \"\"\n");
  ASSERT_EQ(items.size(), 13u);
  EXPECT_EQ(items[0].at_ms, 1500);
  EXPECT_EQ(items[0].command.name, "Greet");
  EXPECT_EQ(items[0].command.confidence, 100);
  EXPECT_EQ(items[1].at_ms, 1750);
  EXPECT_EQ(items[1].command.name, "Say \"hi\"");
  EXPECT_EQ(items[1].command.alt1_name, "Other");
  EXPECT_EQ(items[1].command.alt1_confidence, 52);
  EXPECT_EQ(items[1].command.alt2_confidence, -5);
  EXPECT_EQ(items[2].text, "please greet");
  EXPECT_EQ(items[2].confidence, 80);
  EXPECT_FALSE(items[3].x.has_value());
  EXPECT_EQ(*items[4].y, -20);
  EXPECT_EQ(items[6].action, InputAction::kShow);
  EXPECT_EQ(items[8].text, "Hide &Host");
  EXPECT_TRUE(items[10].cancel);
  EXPECT_FALSE(items[11].cancel);  // a quoted word is a path
  EXPECT_EQ(items[12].line, 15);
}

TEST(UserInputScript, TrayItemsGesturesAndPositions) {
  std::vector<InputItem> items = ParseUserInput(
      "1 tray right-click\n2 tray Double-Click\n3 tray \"right-click\"\n4 tray #2\n"
      "5 tray \"#2\"\n6 tray move\n");
  ASSERT_EQ(items.size(), 6u);
  EXPECT_EQ(items[0].tray_mouse, (std::vector<int>{0x204, 0x205}));
  EXPECT_EQ(items[1].tray_mouse, (std::vector<int>{0x201, 0x202, 0x203, 0x202}));
  EXPECT_TRUE(items[2].tray_mouse.empty());  // quoted: a caption
  EXPECT_EQ(items[2].text, "right-click");
  EXPECT_EQ(items[3].position, 2);
  EXPECT_EQ(items[4].position, 0);
  EXPECT_EQ(items[5].tray_mouse, (std::vector<int>{0x200}));
  for (const char* bad : {"1 tray #0", "1 tray #x", "1 tray", "1 tray a b"}) {
    EXPECT_THROW(ParseUserInput(bad), InputScriptError) << bad;
  }
}

TEST(UserInputScript, ErrorsNameTheirLine) {
  struct Case {
    const char* text;
    const char* message;
  };
  const Case cases[] = {
      {"100 choose Host", "line 1: expected: choose"},
      {"\n\nsoon choose Host X", "line 3: \"soon\" is not a time"},
      {"1.5 click Host", "line 1: \"1.5\" is not a time"},
      {"1.2345s click Host", "is not a time"},
      {"100 wave Host", "line 1: unknown action \"wave\""},
      {"200 click Host\n100 click Host", "line 2: the time 100 ms comes before"},
      {"100 choose Host X 101", "the confidence \"101\" is not a whole number from -100 to 100"},
      {"100 choose Host X 90 Alt", "an alternative needs a confidence"},
      {"100 click Host 5", "a click needs both x and y"},
      {"100 drag Host 1 2 3", "expected: drag"},
      {"100 say Host \"open", "line 1: a quoted argument is not closed"},
      {"100 backdrop open", "expected: backdrop close"},
      {"100", "an action is missing"},
      {"99999999999999999 click Host", "is not a time"},
  };
  for (const Case& test : cases) {
    try {
      ParseUserInput(test.text);
      ADD_FAILURE() << "accepted: " << test.text;
    } catch (const InputScriptError& error) {
      EXPECT_NE(std::string(error.what()).find(test.message), std::string::npos)
          << error.what() << " / expected " << test.message;
    }
  }
}

std::shared_ptr<const acs::Character> TinyCharacter() {
  auto character = std::make_shared<acs::Character>();
  character->info.width = 100;
  character->info.height = 100;
  acs::Animation showing;
  showing.name = "Showing";
  showing.frames.resize(1);
  showing.frames[0].duration_cs = 10;  // 100 ms
  showing.frames[0].images.push_back({});
  character->animations.push_back(showing);
  character->info.states.push_back({"SHOWING", {"SHOWING"}});
  return character;
}

// Records events with the virtual time, and answers like a small player: a command named
// "Quit" ends the loop.
struct Player : platform::AgentEvents, UserInputHost {
  explicit Player(const VirtualClock& clock, platform::MessageLoop& loop)
      : clock(clock), loop(loop) {}
  void Add(const std::string& text) { log.push_back(std::to_string(clock.NowMs()) + " " + text); }
  void OnBookmark(std::int32_t id) override { Add("bookmark " + std::to_string(id)); }
  void OnRequestComplete(platform::AgentRequest r) override {
    Add("complete " + std::to_string(r.id));
  }
  void OnCommand(const platform::UserInput& input) override {
    Add("command " + input.character_id + " " + input.name);
    if (input.name == "Quit") loop.Quit();
  }
  void OnShow(const std::string& id, platform::VisibilityCause) override { Add("show " + id); }
  void OnHide(const std::string& id, platform::VisibilityCause) override { Add("hide " + id); }
  void OnClick(const std::string& id, int x, int y) override {
    Add("click " + id + " " + std::to_string(x) + " " + std::to_string(y));
  }
  void ChooseTrayItem(const std::string& caption, std::int32_t position) override {
    Add("tray " + (position > 0 ? "#" + std::to_string(position) : caption));
  }
  void TrayMouse(const std::vector<int>& messages) override {
    std::string text = "tray mouse";
    for (int message : messages) text += " " + std::to_string(message);
    Add(text);
  }
  void CloseBackdrop() override { Add("backdrop close"); }
  void AnswerFileDialog(const std::optional<std::string>& path) override {
    Add("dialog " + path.value_or("<cancel>"));
  }
  void SetClipboardText(const std::string& text) override { Add("clipboard " + text); }

  const VirtualClock& clock;
  platform::MessageLoop& loop;
  std::vector<std::string> log;
};

class FeedingTheRuntime : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = std::filesystem::temp_directory_path() /
             ("rirerazo-input-test-" + std::to_string(std::random_device()()));
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "Tiny.acs") << "x";
    runtime.SetCharacterFolders({folder.string()});
    runtime.SetFileLoader([](const std::string&) { return TinyCharacter(); });
    runtime.SetEventListener(&player);
    loop.AddSource(source);
    runtime.Load("Host", "Tiny.acs");
    host = &runtime.Character("Host");
    host->CommandsAdd("Greet", "Greet", "hello");
    host->CommandsAdd("Quit", "Quit", "");
  }
  void TearDown() override { std::filesystem::remove_all(folder); }

  // Once per test: the loop keeps the feeder.
  RunOutcome Run(const std::string& script) {
    feeder = std::make_unique<UserInputFeeder>(
        ParseUserInput(script), runtime, &player, [&](int line, const std::string& message) {
          player.Add("error line " + std::to_string(line) + ": " + message);
        });
    loop.AddSource(*feeder);
    return loop.RunUntilDone();
  }

  std::filesystem::path folder;
  VirtualClock clock;
  runtime::RateModelEngine engine;
  runtime::CharacterRuntime runtime{clock, engine, QuietOptions()};
  host::RuntimeSource source{runtime};
  EventLoop loop{clock};
  Player player{clock, loop};
  platform::AgentCharacter* host = nullptr;
  std::unique_ptr<UserInputFeeder> feeder;

  static runtime::RuntimeOptions QuietOptions() {
    runtime::RuntimeOptions options;
    options.idle_enabled = false;
    return options;
  }
};

TEST_F(FeedingTheRuntime, ActionsArriveAtTheirTimesAndTheRunEndsWhenTheUserQuits) {
  host->Show();
  RunOutcome outcome =
      Run("50 click Host\n"
          "1000 say Host hello\n"
          "1000 choose Ghost Greet\n"
          "1200 tray \"Hide &Host\"\n"
          "1300 dialog /tmp/a.vrn\n"
          "1400 clipboard text\n"
          "1500 backdrop close\n"
          "2000 choose Host Quit\n"
          "3000 choose Host Greet\n");
  EXPECT_EQ(outcome, RunOutcome::kQuit);
  EXPECT_EQ(player.log,
            (std::vector<std::string>{
                "0 show Host", "50 click Host 50 50", "100 complete 1",
                // the feeder reports at once; the runtime's event waits for the next round
                "1000 error line 3: No character is loaded as \"Ghost\".",
                "1000 command Host Greet", "1200 tray Hide &Host", "1300 dialog /tmp/a.vrn",
                "1400 clipboard text", "1500 backdrop close", "2000 command Host Quit"}));
}

TEST_F(FeedingTheRuntime, WithoutInputLeftTheRunWaitsForTheUserWhileCommandsAreOffered) {
  host->Speak("one two", std::nullopt);
  EXPECT_EQ(Run(""), RunOutcome::kAwaitingUser);
  EXPECT_EQ(clock.NowMs(), 562);  // 281 ms per three-letter word at 160 words per minute
  host->CommandsRemoveAll();
  EXPECT_EQ(loop.RunUntilDone(), RunOutcome::kNothingPending);
}

}  // namespace
}  // namespace rirerazo::headless
