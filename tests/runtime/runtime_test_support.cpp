#include "runtime/runtime_test_support.h"

#include <random>

#include "platform/runtime_error.h"

namespace rirerazo::runtime::testing {

acs::Frame MakeFrame(int duration_ms, std::int16_t exit_frame, std::vector<acs::Branch> branches,
                     bool mouths, bool images) {
  acs::Frame frame;
  frame.duration_cs = std::uint16_t(duration_ms / 10);
  frame.exit_frame = exit_frame;
  frame.branches = std::move(branches);
  if (images) frame.images.push_back({0, 0, 0});
  if (mouths) {
    for (int shape = 0; shape < 7; ++shape) {
      acs::MouthOverlay overlay;
      overlay.shape = acs::MouthShape(shape);
      frame.overlays.push_back(overlay);
    }
  }
  return frame;
}

acs::Animation MakeAnimation(const std::string& name, acs::TransitionType transition,
                             std::vector<acs::Frame> frames, const std::string& return_name) {
  acs::Animation animation;
  animation.name = name;
  animation.transition = transition;
  animation.frames = std::move(frames);
  animation.return_animation = return_name;
  return animation;
}

namespace {

acs::Animation Plain(const std::string& name, int frames, int duration_ms) {
  std::vector<acs::Frame> list;
  for (int i = 0; i < frames; ++i) list.push_back(MakeFrame(duration_ms));
  return MakeAnimation(name, acs::TransitionType::kNone, std::move(list));
}

void AddState(acs::Character& character, const std::string& state, const std::string& animation) {
  character.info.states.push_back({state, {animation}});
}

}  // namespace

std::shared_ptr<acs::Character> MakeDemoCharacter() {
  auto character = std::make_shared<acs::Character>();
  acs::CharacterInfo& info = character->info;
  info.width = 100;
  info.height = 120;
  info.flags = acs::kFlagVoiceEnabled | acs::kFlagBalloonEnabled;
  info.balloon = acs::BalloonInfo{};
  info.balloon->font_name = "Demo Sans";
  info.voice = acs::VoiceInfo{};
  info.voice->extra = acs::VoiceExtra{};
  info.localized.push_back({0x0009, "Demo", "A test character", ""});
  using T = acs::TransitionType;
  auto& animations = character->animations;
  animations.push_back(Plain("Showing", 3, 100));
  animations.push_back(Plain("Hiding", 2, 100));
  animations.push_back(MakeAnimation("Talk", T::kNone, {MakeFrame(50, acs::kExitNone, {}, true)}));
  animations.push_back(
      MakeAnimation("Wave", T::kExitBranches,
                    {MakeFrame(100, 4), MakeFrame(100, 0), MakeFrame(100, 1), MakeFrame(100, 2),
                     MakeFrame(0, acs::kExitStop, {}, false, false)}));
  animations.push_back(MakeAnimation(
      "Loop", T::kExitBranches, {MakeFrame(100), MakeFrame(100, 2, {{0, 100}}), MakeFrame(100)}));
  animations.push_back(MakeAnimation("Explain", T::kReturnAnimation,
                                     {MakeFrame(100), MakeFrame(100, acs::kExitNone, {}, true)},
                                     "ExplainReturn"));
  animations.push_back(Plain("ExplainReturn", 1, 100));
  for (const char* name : {"MoveLeft", "MoveRight", "MoveUp", "MoveDown", "GestureLeft",
                           "GestureRight", "GestureUp", "GestureDown"}) {
    animations.push_back(Plain(name, 2, 100));
  }
  animations.push_back(Plain("Idle1", 2, 200));
  animations.push_back(
      MakeAnimation("Blank", T::kNone, {MakeFrame(0, acs::kExitNone, {}, false, false)}));
  AddState(*character, "SHOWING", "SHOWING");
  AddState(*character, "HIDING", "HIDING");
  AddState(*character, "SPEAKING", "TALK");
  for (const char* direction : {"Left", "Right", "Up", "Down"}) {
    std::string upper = UpperAscii(direction);
    AddState(*character, "MOVING" + upper, std::string("Move") + direction);
    AddState(*character, "GESTURING" + upper, std::string("Gesture") + direction);
  }
  AddState(*character, "IDLINGLEVEL1", "IDLE1");
  return character;
}

// ---------------------------------------------------------------------------------------------

std::string StatusName(platform::RequestStatus status) {
  switch (status) {
    case platform::RequestStatus::kPending:
      return "pending";
    case platform::RequestStatus::kInProgress:
      return "in-progress";
    case platform::RequestStatus::kComplete:
      return "complete";
    case platform::RequestStatus::kInterrupted:
      return "interrupted";
    case platform::RequestStatus::kFailed:
      return "failed";
  }
  return "?";
}

namespace {

std::string CauseName(platform::VisibilityCause cause) {
  switch (cause) {
    case platform::VisibilityCause::kProgram:
      return "program";
    case platform::VisibilityCause::kUser:
      return "user";
    case platform::VisibilityCause::kOtherProgram:
      return "other";
  }
  return "?";
}

}  // namespace

void EventLog::Add(const std::string& text) {
  lines.push_back(std::to_string(clock_.NowMs()) + " " + text);
}

void EventLog::OnBookmark(std::int32_t id) {
  Add("bookmark " + std::to_string(id));
}
void EventLog::OnRequestStart(platform::AgentRequest request) {
  Add("start " + std::to_string(request.id));
}
void EventLog::OnRequestComplete(platform::AgentRequest request) {
  Add("complete " + std::to_string(request.id) + " " + StatusName(control_.Status(request)));
}
void EventLog::OnCommand(const platform::UserInput& input) {
  std::string text =
      "command " + input.character_id + " " + input.name + " " + std::to_string(input.confidence);
  if (!input.alt1_name.empty()) text += " " + input.alt1_name;
  if (!input.alt2_name.empty()) text += " " + input.alt2_name;
  Add(text);
}
void EventLog::OnShow(const std::string& id, platform::VisibilityCause cause) {
  Add("show " + id + " " + CauseName(cause));
}
void EventLog::OnHide(const std::string& id, platform::VisibilityCause cause) {
  Add("hide " + id + " " + CauseName(cause));
}
void EventLog::OnClick(const std::string& id, int x, int y) {
  Add("click " + id + " " + std::to_string(x) + " " + std::to_string(y));
}
void EventLog::OnDragComplete(const std::string& id, int x, int y) {
  Add("drag " + id + " " + std::to_string(x) + " " + std::to_string(y));
}
void EventLog::OnIdleStart(const std::string& id) {
  Add("idle " + id);
}
void EventLog::OnBalloonShow(const std::string& id) {
  Add("balloon-show " + id);
}
void EventLog::OnBalloonHide(const std::string& id) {
  Add("balloon-hide " + id);
}
void EventLog::OnListenStart(const std::string& id) {
  Add("listen-start " + id);
}
void EventLog::OnListenComplete(const std::string& id) {
  Add("listen-end " + id);
}

std::vector<std::string> EventLog::With(const std::string& word) const {
  std::vector<std::string> found;
  for (const std::string& line : lines) {
    if (line.find(" " + word) != std::string::npos) found.push_back(line);
  }
  return found;
}

// ---------------------------------------------------------------------------------------------

Harness::Harness(RuntimeOptions options) : runtime(clock, engine, options), log(clock, runtime) {
  folder = std::filesystem::temp_directory_path() /
           ("rirerazo-runtime-test-" + std::to_string(std::random_device()()));
  std::filesystem::create_directories(folder);
  runtime.SetCharacterFolders({folder.string()});
  runtime.SetEventListener(&log);
  runtime.SetFileLoader([this](const std::string& path) -> std::shared_ptr<const acs::Character> {
    ++loads;
    auto it = files.find(std::filesystem::path(path).filename().string());
    if (it == files.end()) throw RuntimeError(321, "not a character file: " + path);
    return it->second;
  });
  AddFile("Demo.acs", MakeDemoCharacter());
}

Harness::~Harness() {
  std::error_code error;
  std::filesystem::remove_all(folder, error);
}

void Harness::AddFile(const std::string& file_name, std::shared_ptr<acs::Character> character) {
  files[file_name] = std::move(character);
  std::ofstream(folder / file_name).put('\0');
}

platform::AgentCharacter& Harness::Load(const std::string& id, const std::string& file) {
  runtime.Load(id, file);
  return runtime.Character(id);
}

void Harness::RunUntil(std::int64_t ms) {
  runtime.DeliverEvents();
  while (true) {
    std::optional<std::int64_t> due = runtime.NextDueMs();
    if (!due || *due > ms) break;
    clock.Set(*due);
    runtime.Advance(clock.NowMs());
    runtime.DeliverEvents();
  }
  clock.Set(ms);
  runtime.Advance(ms);
  runtime.DeliverEvents();
}

std::int64_t Harness::RunAll(std::int64_t limit_ms) {
  runtime.DeliverEvents();
  while (runtime.HasPendingWork()) {
    std::optional<std::int64_t> due = runtime.NextDueMs();
    if (!due || *due > limit_ms) break;
    clock.Set(*due);
    runtime.Advance(clock.NowMs());
    runtime.DeliverEvents();
  }
  return clock.NowMs();
}

}  // namespace rirerazo::runtime::testing
