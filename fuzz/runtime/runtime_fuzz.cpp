// Fuzzes the runtime. The first byte picks the subject:
//   0: speech text (tags and the rate model's plan);
//   1: a voice grammar and a phrase, split at the first newline;
//   2: a user-input script;
//   3 and up: a sequence of requests and user actions on two characters of a small built-in
//      character, run on a virtual clock; afterwards every request must have ended and raised
//      RequestComplete exactly once.
// Any broken invariant aborts.
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <string_view>

#include "headless/user_input.h"
#include "platform/runtime_error.h"
#include "runtime/character_runtime.h"
#include "runtime/commands.h"
#include "runtime/rate_model.h"
#include "runtime/speech_tags.h"

namespace {

using namespace rirerazo;

void Check(bool condition) {
  if (!condition) std::abort();
}

void FuzzSpeech(std::string_view text) {
  runtime::SpeechText speech = runtime::ParseSpeechText(text);
  for (const runtime::SpeechItem& item : speech.items) {
    if (item.kind != runtime::SpeechItemKind::kWord) continue;
    Check(item.spoken_begin + item.spoken_length <= speech.spoken.size());
    Check(item.shown_end <= speech.shown.size());
  }
  std::int64_t last = 0;
  for (const runtime::SpeechProgress& report : runtime::PlanSpeech(speech, 160)) {
    Check(report.at_ms >= last);
    last = report.at_ms;
  }
}

void FuzzGrammar(std::string_view text) {
  std::size_t newline = text.find('\n');
  std::string_view grammar = text.substr(0, newline);
  std::string_view phrase = newline == std::string_view::npos ? "" : text.substr(newline + 1);
  runtime::VoiceGrammarMatches(grammar, phrase);
}

void FuzzInputScript(std::string_view text) {
  try {
    std::vector<headless::InputItem> items = headless::ParseUserInput(text);
    for (std::size_t i = 1; i < items.size(); ++i) Check(items[i].at_ms >= items[i - 1].at_ms);
  } catch (const headless::InputScriptError&) {
  }
}

std::shared_ptr<const acs::Character> FuzzCharacter() {
  auto character = std::make_shared<acs::Character>();
  character->info.width = character->info.height = 64;
  auto frame = [](int cs, std::int16_t exit, std::vector<acs::Branch> branches, bool images) {
    acs::Frame f;
    f.duration_cs = std::uint16_t(cs);
    f.exit_frame = exit;
    f.branches = std::move(branches);
    if (images) f.images.push_back({});
    return f;
  };
  auto add = [&](const char* name, acs::TransitionType type, std::vector<acs::Frame> frames,
                 const char* back = "") {
    acs::Animation animation;
    animation.name = name;
    animation.transition = type;
    animation.frames = std::move(frames);
    animation.return_animation = back;
    character->animations.push_back(animation);
  };
  using T = acs::TransitionType;
  add("Show", T::kNone, {frame(10, -2, {}, true), frame(10, -2, {}, true)});
  add("Loop", T::kExitBranches,
      {frame(5, 2, {}, true), frame(5, 0, {{0, 100}}, true), frame(0, -1, {}, false)});
  add("Coin", T::kReturnAnimation, {frame(3, -2, {{1, 50}, {0, 30}}, true), frame(4, -2, {}, true)},
      "Back");
  add("Back", T::kNone, {frame(2, -2, {}, true)});
  add("Spin", T::kNone, {frame(0, 1, {{1, 100}}, false), frame(0, 0, {{0, 100}}, false)});
  for (const char* state : {"SHOWING", "HIDING", "SPEAKING", "MOVINGLEFT", "MOVINGRIGHT",
                            "GESTURINGUP", "IDLINGLEVEL1", "IDLINGLEVEL3"}) {
    character->info.states.push_back({state, {"Show", "Loop", "Coin", "Spin"}});
  }
  return character;
}

struct Counter : platform::AgentEvents {
  std::map<std::int32_t, int> completions;
  void OnBookmark(std::int32_t) override {}
  void OnRequestComplete(platform::AgentRequest request) override { ++completions[request.id]; }
  void OnCommand(const platform::UserInput&) override {}
  void OnShow(const std::string&, platform::VisibilityCause) override {}
  void OnHide(const std::string&, platform::VisibilityCause) override {}
};

struct Clock : platform::Clock {
  std::int64_t now = 0;
  std::int64_t NowMs() const override { return now; }
  platform::LocalDateTime LocalNow() const override { return {}; }
};

void RunUntil(runtime::CharacterRuntime& runtime, Clock& clock, std::int64_t until) {
  for (int guard = 0; guard < 100000; ++guard) {
    runtime.DeliverEvents();
    std::optional<std::int64_t> due = runtime.NextDueMs();
    if (!due || *due > until) break;
    clock.now = std::max(clock.now, *due);
    runtime.Advance(clock.now);
  }
  clock.now = std::max(clock.now, until);
  runtime.Advance(clock.now);
  runtime.DeliverEvents();
}

// One action; returns the request it queued (id 0 for none).
platform::AgentRequest Act(runtime::CharacterRuntime& runtime, Clock& clock,
                           platform::AgentCharacter& c, const std::string& id, std::uint8_t op,
                           std::uint8_t a, std::uint8_t b, std::int32_t issued) {
  static const char* kTexts[] = {"hi \\mrk=1\\ there.", "\\Pau=300\\x", "\\Lst\\", "", "a, b; c!"};
  static const char* kAnimations[] = {"Show", "Loop", "Coin", "Back", "Spin", "Nope"};
  switch (op % 16) {
    case 0:
      return c.Show();
    case 1:
      return c.Hide();
    case 2:
      return c.Play(kAnimations[a % 6]);
    case 3:
      return c.MoveTo(std::int16_t(a * 8 - 1000), std::int16_t(b * 8), std::int32_t(b) * 7);
    case 4:
      return c.GestureAt(std::int16_t(a * 300 - 30000), std::int16_t(b * 300 - 30000));
    case 5:
      return c.Speak(std::string(kTexts[a % 5]), std::nullopt);
    case 6:
      return c.Think(kTexts[a % 5]);
    case 7:
      return c.Wait({1 + (a * 256 + b) % std::max(issued, 1)});
    case 8:
      c.Stop({1 + (a * 256 + b) % std::max(issued, 1)});
      return {};
    case 9:
      c.StopAll();
      return {};
    case 10:
      RunUntil(runtime, clock, clock.now + a * 10);
      return {};
    case 11:
      c.Listen(a & 1);
      return {};
    case 12:
      runtime.Hear(id, "hello there", b - 100);
      return {};
    case 13:
      (a & 1) ? runtime.UserHide(id) : runtime.UserShow(id);
      return {};
    case 14:
      runtime.Drag(id, a, b);
      return {};
    default:
      c.SetBalloonStyle(a | (b << 16));
      return {};
  }
}

void FuzzRequests(const std::uint8_t* data, std::size_t size) {
  Clock clock;
  runtime::RateModelEngine engine;
  runtime::RuntimeOptions options;
  options.idle_after_ms = 50;
  options.seed = size;
  runtime::CharacterRuntime runtime(clock, engine, options);
  runtime.SetFileLoader([](const std::string&) { return FuzzCharacter(); });
  runtime.SetCharacterFolders({"/"});
  Counter counter;
  runtime.SetEventListener(&counter);
  runtime.Load("A", "/proc/self/exe");
  runtime.Load("B", "/proc/self/exe");
  std::int32_t issued = 0;
  for (std::size_t i = 0; i + 3 <= size; i += 3) {
    std::string id = data[i] & 0x80 ? "B" : "A";
    platform::AgentCharacter& c = runtime.Character(id);
    try {
      platform::AgentRequest request =
          Act(runtime, clock, c, id, data[i], data[i + 1], data[i + 2], issued);
      issued = std::max(issued, request.id);
    } catch (const RuntimeError&) {
    }
  }
  runtime.Character("A").StopAll();
  runtime.Character("B").StopAll();
  for (int guard = 0; guard < 100000 && runtime.HasPendingWork(); ++guard) {
    runtime.DeliverEvents();
    std::optional<std::int64_t> due = runtime.NextDueMs();
    if (!due) break;
    clock.now = std::max(clock.now, *due);
    runtime.Advance(clock.now);
  }
  for (std::int32_t id = 1; id <= issued; ++id) {
    platform::RequestStatus status = runtime.Status({id});
    Check(status != platform::RequestStatus::kPending &&
          status != platform::RequestStatus::kInProgress);
    Check(counter.completions[id] == 1);
  }
  Check(!runtime.HasPendingWork());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  switch (data[0]) {
    case 0:
      FuzzSpeech(text);
      break;
    case 1:
      FuzzGrammar(text);
      break;
    case 2:
      FuzzInputScript(text);
      break;
    default:
      FuzzRequests(data + 1, size - 1);
      break;
  }
  return 0;
}
