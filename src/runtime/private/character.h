// One loaded character: its request queue, what it is doing now, and its properties. Owned by
// CharacterRuntime, which schedules it (NextDueMs / Step) and relays its events. Only the
// runtime's own files include this header.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>

#include "platform/agent_control.h"
#include "runtime/animation_player.h"
#include "runtime/balloon.h"
#include "runtime/character_runtime.h"
#include "runtime/commands.h"
#include "runtime/random.h"
#include "runtime/request_queue.h"
#include "runtime/speech_engine.h"

namespace rirerazo::runtime {

enum class RequestKind : std::uint8_t {
  kShow,
  kHide,
  kPlay,
  kMoveTo,
  kGestureAt,
  kSpeak,
  kThink,
  kWait
};

struct Request {
  std::int32_t id = 0;
  RequestKind kind = RequestKind::kShow;
  std::int64_t queued_at_ms = 0;
  int animation = -1;  // Play
  std::int32_t x = 0;  // MoveTo, GestureAt
  std::int32_t y = 0;
  std::int32_t speed_ms = 0;                 // MoveTo
  std::int32_t target = 0;                   // Wait
  std::shared_ptr<const SpeechText> speech;  // Speak, Think
  std::string sound_path;                    // Speak
};

// The stages a request goes through; each request uses a few of them in this order.
enum class Stage : std::uint8_t {
  kExit,     // end the pose or animation left by the previous request
  kAnimate,  // play the request's animation (or state animation) to its end
  kMove,     // slide to the target position
  kSpeak,    // speak or think, word by word
  kWait,     // hold until another request has finished
  kDone,     // everything is done; held until the request's minimum time has passed
};

// The request a character is carrying out, and where it has got to.
struct RequestInProgress {
  Request request;
  std::array<Stage, 4> plan{};
  int plan_size = 0;
  int plan_next = 0;
  Stage stage = Stage::kDone;
  int lead_animation = -1;
  std::int32_t from_x = 0;
  std::int32_t from_y = 0;
  std::int64_t move_start_ms = 0;
  std::int64_t move_end_ms = 0;
  std::unique_ptr<Utterance> utterance;
  std::int64_t speech_start_ms = 0;
  std::int64_t last_word_ms = -1;
  std::uint32_t words_spoken = 0;
  int engine_mouth = -1;      // the engine's last mouth shape; -1: it reported none
  std::int64_t wake_ms = -1;  // a wait's target finished at this time
  std::int64_t started_ms = 0;
  RequestEvent outcome = RequestEvent::kFinish;  // how it ends once its stages are done
};

class Character final : public platform::AgentCharacter {
 public:
  Character(CharacterRuntime& runtime, std::string id, std::uint32_t serial,
            std::shared_ptr<const CharacterData> data, const RuntimeOptions& options);
  ~Character() override;

  // platform::AgentCharacter
  std::string Name() const override;
  void SetLanguageID(std::int32_t language_id) override;
  std::int32_t LanguageID() const override { return voice_.language_id; }
  void SetTTSModeID(const std::string& mode_id) override { voice_.mode_id = mode_id; }
  std::string TTSModeID() const override { return voice_.mode_id; }
  bool Visible() const override { return visible_; }
  int Left() const override;
  int Top() const override;
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  void SetWidth(std::int16_t width_px) override;
  void SetHeight(std::int16_t height_px) override;
  bool HasOtherClients() const override { return false; }
  std::vector<std::string> AnimationNames() const override;
  platform::AgentRequest Speak(const std::optional<std::string>& text,
                               const std::optional<std::string>& sound_url) override;
  platform::AgentRequest Think(const std::string& text) override;
  platform::AgentRequest Play(const std::string& animation) override;
  platform::AgentRequest MoveTo(std::int16_t x_px, std::int16_t y_px,
                                std::optional<std::int32_t> speed_ms) override;
  platform::AgentRequest GestureAt(std::int16_t x_px, std::int16_t y_px) override;
  platform::AgentRequest Show() override;
  platform::AgentRequest Hide() override;
  platform::AgentRequest Wait(platform::AgentRequest other) override;
  void Stop(platform::AgentRequest request) override;
  void StopAll() override;
  void Listen(bool on) override;
  void SetBalloonFontName(const std::string& name) override;
  void SetBalloonFontSize(std::int32_t size) override;
  void SetBalloonStyle(std::int32_t style) override;
  void CommandsRemoveAll() override { commands_.RemoveAll(); }
  void SetCommandsCaption(const std::string& caption) override { commands_.SetCaption(caption); }
  void SetCommandsVoice(const std::string& voice) override { commands_.SetVoice(voice); }
  void CommandsAdd(const std::string& name, const std::string& caption,
                   const std::string& voice) override;
  int CommandsCount() const override { return commands_.Count(); }
  std::string CommandCaption(const std::string& name) const override;

  // Scheduling (character_schedule.cpp).
  std::optional<std::int64_t> NextDueMs() const;
  void Step(std::int64_t due_ms);
  bool Progressing(int depth) const;
  bool HoldsForUser() const;
  void OnRequestEnded(std::int32_t id, std::int64_t at_ms);
  // Ends every request (the character is being unloaded).
  void EndAll(std::int64_t now_ms);

  // User input and rendering (character_input.cpp).
  void ChooseCommand(const platform::UserInput& input);
  void Hear(const std::string& phrase, std::int32_t confidence);
  void Click(int x_px, int y_px);
  void Drag(int x_px, int y_px);
  void UserShow();
  void UserHide();
  bool OffersInput() const { return listening_ || commands_.Count() > 0; }
  FrameState Frame(std::int64_t now_ms) const;
  BalloonView Balloon() const;
  const CommandSet& Commands() const { return commands_; }

  const std::string& Id() const { return id_; }
  std::uint32_t Serial() const { return serial_; }
  const CharacterData& Data() const { return *data_; }

 private:
  // character.cpp
  platform::AgentRequest Enqueue(Request request);
  void Raise(EventKind kind, std::int32_t value = 0, std::int32_t y = 0,
             platform::VisibilityCause cause = platform::VisibilityCause::kProgram);

  // character_schedule.cpp
  std::optional<std::int64_t> WorkDueMs() const;
  std::optional<std::int64_t> ActiveDueMs() const;
  CharacterView View(std::int64_t now_ms) const;
  void StartHead(std::int64_t now_ms);
  void PlanStages(std::int64_t now_ms);
  void EnterNextStage(std::int64_t now_ms);
  bool EnterStage(Stage stage, std::int64_t now_ms);
  int LeadAnimation();
  void StepActive(std::int64_t now_ms);
  void StepSpeech(std::int64_t now_ms);
  bool StartSpeech(std::int64_t now_ms);
  void FinishSpeech(std::int64_t now_ms);
  void Finish(RequestEvent event, std::int64_t now_ms);
  void Interrupt(std::int64_t now_ms);
  void EndRequest(std::int32_t id, RequestEvent event, std::int64_t now_ms);
  void StepWindDown(std::int64_t now_ms);
  void StepIdle(std::int64_t now_ms, bool starting);
  void BecomeFree(std::int64_t now_ms);

  // character_input.cpp
  void ShowBalloon(std::shared_ptr<const SpeechText> text, bool thought);
  void HideBalloon();
  void BecomeHidden(platform::VisibilityCause cause);
  std::int32_t PositionAt(bool horizontal, std::int64_t now_ms) const;

  CharacterRuntime& runtime_;
  std::string id_;
  std::uint32_t serial_;
  std::shared_ptr<const CharacterData> data_;
  const RuntimeOptions& options_;
  Random random_;
  AnimationPlayer animation_;
  bool has_idle_animations_ = false;
  VoiceSettings voice_;

  bool visible_ = false;
  std::int32_t left_ = 0;
  std::int32_t top_ = 0;
  std::int32_t width_ = 0;
  std::int32_t height_ = 0;

  BalloonSettings balloon_;
  bool balloon_visible_ = false;
  bool balloon_thought_ = false;
  std::shared_ptr<const SpeechText> balloon_text_;
  std::size_t balloon_shown_ = 0;
  std::optional<std::int64_t> balloon_hide_at_ms_;
  std::shared_ptr<const SpeechText> last_speech_;  // what the Lst tag repeats

  CommandSet commands_;
  bool listening_ = false;

  std::deque<Request> queue_;
  std::optional<RequestInProgress> active_;
  bool winding_down_ = false;
  std::int64_t free_since_ms_ = 0;
  std::int64_t quiet_since_ms_ = 0;
  int idle_level_ = 0;  // 0: not idling
  std::int64_t idle_started_ms_ = 0;
  std::int64_t idle_next_ms_ = 0;
};

}  // namespace rirerazo::runtime
