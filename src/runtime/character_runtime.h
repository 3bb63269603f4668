// The character runtime: our implementation of the character control for every host. It
// loads character files, keeps one first-in-first-out request queue per character, plays the
// requests on the time line of a platform::Clock (frame durations, speech timing, moves),
// and raises the control's events.
//
// Threading and call order: everything runs on the player's thread. Events are queued when
// they happen and handed to the listener only by DeliverEvents, which the host's message loop
// calls when the player yields (DoEvents); a handler may call back into the runtime, also
// from a nested DoEvents. The host drives time: Advance(now) plays everything due by now,
// NextDueMs says when the next thing is due. Every call of the player first catches up to the
// clock, so what it sees and changes is the state at the current time.
//
// Rendering is a separate consumer: Frame and Balloon describe what to draw; the observer
// hears when that changes. The headless host draws nothing.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/agent_control.h"
#include "platform/clock.h"
#include "runtime/balloon.h"
#include "runtime/character_data.h"
#include "runtime/commands.h"
#include "runtime/events.h"
#include "runtime/speech_engine.h"

namespace rirerazo::runtime {

class Character;

// The shortest time a request takes from its start to its end: one tick of the frame clock
// (character files give frame durations in hundredths of a second). A request with nothing
// to play or say (speech holding only bookmarks, a state animation the file lacks, a Show of
// a visible character) still takes it, so a script whose bookmarks queue more bookmarks
// moves time on instead of multiplying work at one instant.
inline constexpr std::int64_t kMinRequestMs = 10;

struct RuntimeOptions {
  std::uint64_t seed = 1;  // branching and state animation choices
  bool idle_enabled = true;
  std::int64_t idle_after_ms = 10000;          // quiet spell before a visible character idles
  std::int64_t idle_gap_ms = 3000;             // rest between two idle animations
  std::int64_t idle_level2_after_ms = 60000;   // after this much idling, level 2
  std::int64_t idle_level3_after_ms = 180000;  // and level 3
  std::int64_t balloon_hide_delay_ms = 1500;   // auto-hide after the output ends
  std::size_t max_queued_requests = 1000000;   // per character; more is an error (7)
  // 0 lets requests end where they start (tests of what the minimum prevents).
  std::int64_t min_request_ms = kMinRequestMs;
};

// Reads a character file; throws RuntimeError. The default reads .acs files from disk.
using CharacterFileLoader =
    std::function<std::shared_ptr<const acs::Character>(const std::string& path)>;

// Host notifications that are not control events. Called from inside the runtime: an
// observer must not call back into it.
class RuntimeObserver {
 public:
  virtual ~RuntimeObserver() = default;
  virtual void OnPropertySheetShown() {}
  // Something a renderer draws changed for this character (frame, position, balloon).
  virtual void OnVisualChanged(const std::string& /*character_id*/) {}
};

// What to draw for a character now.
struct FrameState {
  bool visible = false;
  int left_px = 0;
  int top_px = 0;
  int width_px = 0;
  int height_px = 0;
  int animation = -1;  // index into the character data's animations; -1: none yet
  int frame = -1;
  int mouth_shape = -1;  // 0..6 while speaking on a frame with mouth overlays; else -1
  const CharacterData* data = nullptr;
};

class CharacterRuntime : public platform::AgentControl {
 public:
  CharacterRuntime(const platform::Clock& clock, SpeechEngine& engine, RuntimeOptions options = {});
  ~CharacterRuntime() override;
  CharacterRuntime(const CharacterRuntime&) = delete;
  CharacterRuntime& operator=(const CharacterRuntime&) = delete;

  // Folders searched, in order, for a character file given by a relative path or bare name.
  void SetCharacterFolders(std::vector<std::string> folders) { folders_ = std::move(folders); }
  void SetFileLoader(CharacterFileLoader loader) { loader_ = std::move(loader); }
  void SetObserver(RuntimeObserver* observer) { observer_ = observer; }

  // platform::AgentControl
  bool Connected() const override { return connected_; }
  void SetConnected(bool connected) override { connected_ = connected; }
  void Load(const std::string& id, const std::string& path) override;
  platform::AgentCharacter& Character(const std::string& id) override;
  void Unload(const std::string& id) override;
  platform::RequestStatus Status(platform::AgentRequest request) const override;
  void ShowPropertySheet() override;
  void SetEventListener(platform::AgentEvents* listener) override { listener_ = listener; }

  // Time, for the host's message loop.
  void Advance(std::int64_t now_ms);
  std::optional<std::int64_t> NextDueMs() const;
  // Something will happen without user input: a request that can progress, an exit still
  // playing, a balloon about to hide, an event not yet delivered. Idling does not count.
  bool HasPendingWork() const;
  // Requests are held that only the user can release, or the user is offered something:
  // commands, listening.
  bool AwaitsUserInput() const;
  // Hands queued events to the listener, oldest first; returns how many.
  std::size_t DeliverEvents();
  bool HasUndeliveredEvents() const { return !events_.empty(); }

  // User input (from the desktop, or the headless host's input script).
  // Chooses a command from a character's menu; an error when it has no such command.
  void ChooseCommand(const std::string& id, const platform::UserInput& input);
  // A phrase heard for a character: matched against its commands' voice grammars.
  void Hear(const std::string& id, const std::string& phrase, std::int32_t confidence);
  void Click(const std::string& id, int x_px, int y_px);
  void Drag(const std::string& id, int x_px, int y_px);
  void UserShow(const std::string& id);
  void UserHide(const std::string& id);

  // Rendering.
  std::vector<std::string> CharacterIds() const;
  FrameState Frame(const std::string& id) const;
  BalloonView Balloon(const std::string& id) const;
  // The character's commands, for its popup menu; valid until the next change of them.
  const CommandSet& Commands(const std::string& id) const;
  int PropertySheetShows() const { return property_sheet_shows_; }

 private:
  friend class runtime::Character;

  runtime::Character* Find(const std::string& id) const;
  runtime::Character& Get(const std::string& id) const;
  std::string ResolvePath(const std::string& path) const;
  std::shared_ptr<const CharacterData> LoadData(const std::string& resolved);

  // For characters.
  std::int64_t ClockNowMs() const { return clock_.NowMs(); }
  // Called before every change a character makes on the player's behalf.
  void CatchUp() {
    Advance(clock_.NowMs());
    due_known_ = false;
  }
  std::int32_t NewRequest(const runtime::Character& owner);
  platform::RequestStatus StatusOf(std::int32_t id) const;
  void SetStatus(std::int32_t id, platform::RequestStatus status);
  const runtime::Character* OwnerOf(std::int32_t id) const;
  void Raise(PendingEvent event);
  void RequestEnded(std::int32_t id, std::int64_t at_ms);
  bool RequestCanProgress(std::int32_t id, int depth) const;
  void VisualChanged(const std::string& id) {
    if (observer_) observer_->OnVisualChanged(id);
  }

  struct RequestRecord {
    std::uint32_t owner_serial = 0;
    platform::RequestStatus status = platform::RequestStatus::kPending;
  };

  const platform::Clock& clock_;
  SpeechEngine& engine_;
  RuntimeOptions options_;
  std::vector<std::string> folders_;
  CharacterFileLoader loader_;
  RuntimeObserver* observer_ = nullptr;
  platform::AgentEvents* listener_ = nullptr;
  bool connected_ = false;
  int property_sheet_shows_ = 0;
  std::uint32_t next_serial_ = 1;
  std::vector<std::unique_ptr<runtime::Character>> characters_;  // load order
  std::vector<RequestRecord> requests_;                          // index = id - 1
  std::deque<PendingEvent> events_;
  std::unordered_map<std::string, std::weak_ptr<const CharacterData>> data_cache_;
  bool advancing_ = false;
  std::optional<std::int64_t> stepping_at_ms_;  // the time of the step being played
  // NextDueMs is asked many times per instant by the loop; it is remembered until the next
  // step or change.
  mutable bool due_known_ = false;
  mutable std::optional<std::int64_t> due_ms_;
  mutable std::vector<std::optional<std::int64_t>> dues_;  // per character, load order
  bool rescan_ = false;  // a step may have changed another character's due time
};

}  // namespace rirerazo::runtime
