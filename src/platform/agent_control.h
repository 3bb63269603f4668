// The character control: what the player asks of the character runtime (loading
// characters, queuing requests on them, their commands) and the events it raises back.
// Implemented by src/runtime/ for every host. All calls and all events happen on the
// player's thread; events are delivered only from inside MessageLoop::DoEvents/Sleep.
// Failures raise rirerazo::RuntimeError with a number and a description.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace rirerazo::platform {

// A queued request. Ids are unique per control for the life of the program; the same
// request always has the same id. Id 0 means "no request".
struct AgentRequest {
  std::int32_t id = 0;
  bool IsNull() const { return id == 0; }
  friend bool operator==(AgentRequest, AgentRequest) = default;
};

enum class RequestStatus { kPending, kInProgress, kComplete, kInterrupted, kFailed };

// Why a character was shown or hidden.
enum class VisibilityCause { kProgram, kUser, kOtherProgram };

// What the user chose or said, as the Command event reports it.
struct UserInput {
  std::string character_id;
  std::string name;               // the command's name; empty when nothing matched
  std::int32_t confidence = 100;  // -100..100
  std::string alt1_name;
  std::int32_t alt1_confidence = 0;
  std::string alt2_name;
  std::int32_t alt2_confidence = 0;
  std::string voice;  // the phrase heard, when spoken
};

// Receives the control's events. The player implements it.
class AgentEvents {
 public:
  virtual ~AgentEvents() = default;
  virtual void OnBookmark(std::int32_t bookmark_id) = 0;
  virtual void OnRequestStart(AgentRequest) {}
  virtual void OnRequestComplete(AgentRequest request) = 0;
  virtual void OnCommand(const UserInput& input) = 0;
  virtual void OnShow(const std::string& character_id, VisibilityCause cause) = 0;
  virtual void OnHide(const std::string& character_id, VisibilityCause cause) = 0;
  virtual void OnClick(const std::string& /*character_id*/, int /*x_px*/, int /*y_px*/) {}
  virtual void OnDragComplete(const std::string& /*character_id*/, int /*x_px*/, int /*y_px*/) {}
  virtual void OnIdleStart(const std::string& /*character_id*/) {}
  virtual void OnBalloonShow(const std::string& /*character_id*/) {}
  virtual void OnBalloonHide(const std::string& /*character_id*/) {}
  virtual void OnListenStart(const std::string& /*character_id*/) {}
  virtual void OnListenComplete(const std::string& /*character_id*/) {}
};

// One loaded character (the control's character object).
class AgentCharacter {
 public:
  virtual ~AgentCharacter() = default;

  virtual std::string Name() const = 0;
  virtual void SetLanguageID(std::int32_t language_id) = 0;  // error when no voice serves it
  virtual std::int32_t LanguageID() const = 0;
  virtual void SetTTSModeID(const std::string& mode_id) = 0;
  virtual std::string TTSModeID() const = 0;

  virtual bool Visible() const = 0;
  virtual int Left() const = 0;
  virtual int Top() const = 0;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual void SetWidth(std::int16_t width_px) = 0;
  virtual void SetHeight(std::int16_t height_px) = 0;
  virtual bool HasOtherClients() const = 0;
  virtual std::vector<std::string> AnimationNames() const = 0;

  // Requests: queued first in first out, returned at once.
  virtual AgentRequest Speak(const std::optional<std::string>& text,
                             const std::optional<std::string>& sound_url) = 0;
  virtual AgentRequest Think(const std::string& text) = 0;
  virtual AgentRequest Play(const std::string& animation) = 0;
  virtual AgentRequest MoveTo(std::int16_t x_px, std::int16_t y_px,
                              std::optional<std::int32_t> speed_ms) = 0;
  virtual AgentRequest GestureAt(std::int16_t x_px, std::int16_t y_px) = 0;
  virtual AgentRequest Show() = 0;
  virtual AgentRequest Hide() = 0;
  // Holds this character's queue until `other` has completed, been interrupted or failed.
  virtual AgentRequest Wait(AgentRequest other) = 0;
  virtual void Stop(AgentRequest request) = 0;
  virtual void StopAll() = 0;
  virtual void Listen(bool on) = 0;

  // Balloon.
  virtual void SetBalloonFontName(const std::string& name) = 0;
  virtual void SetBalloonFontSize(std::int32_t size) = 0;
  virtual void SetBalloonStyle(std::int32_t style) = 0;

  // Commands (popup menu and voice grammar).
  virtual void CommandsRemoveAll() = 0;
  virtual void SetCommandsCaption(const std::string& caption) = 0;
  virtual void SetCommandsVoice(const std::string& voice) = 0;
  virtual void CommandsAdd(const std::string& name, const std::string& caption,
                           const std::string& voice) = 0;
  virtual int CommandsCount() const = 0;
  // The caption of the named command; an error when there is none.
  virtual std::string CommandCaption(const std::string& name) const = 0;
};

class AgentControl {
 public:
  virtual ~AgentControl() = default;

  virtual bool Connected() const = 0;
  virtual void SetConnected(bool connected) = 0;

  // Loads a character file under `id`; an error when the file is missing or unreadable.
  virtual void Load(const std::string& id, const std::string& path) = 0;
  // The character loaded under `id` (letter case ignored); an error when there is none.
  virtual AgentCharacter& Character(const std::string& id) = 0;
  virtual void Unload(const std::string& id) = 0;

  virtual RequestStatus Status(AgentRequest request) const = 0;
  virtual void ShowPropertySheet() = 0;

  // The listener for every event; may be null. Not owned.
  virtual void SetEventListener(AgentEvents* listener) = 0;
};

}  // namespace rirerazo::platform
