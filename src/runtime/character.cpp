// The player-facing operations of a character: properties, queuing requests, Stop, StopAll,
// Listen, balloon settings and commands. Each call first catches the runtime up to the clock.
#include "runtime/private/character.h"

#include <algorithm>

#include "platform/runtime_error.h"
#include "runtime/language_tags.h"

namespace rirerazo::runtime {

namespace {

[[noreturn]] void Invalid(const std::string& description) {
  throw RuntimeError(err::kInvalidProcedureCall, description);
}

std::string Hex(std::int32_t value) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  std::uint32_t bits = std::uint32_t(value);
  do {
    text.insert(text.begin(), kDigits[bits & 0xF]);
    bits >>= 4;
  } while (bits != 0);
  return "0x" + text;
}

}  // namespace

Character::Character(CharacterRuntime& runtime, std::string id, std::uint32_t serial,
                     std::shared_ptr<const CharacterData> data, const RuntimeOptions& options)
    : runtime_(runtime),
      id_(std::move(id)),
      serial_(serial),
      data_(std::move(data)),
      options_(options),
      random_(CharacterSeed(options.seed, id_)),
      animation_(data_.get()),
      width_(data_->width_px),
      height_(data_->height_px),
      balloon_(BalloonSettings::FromDefaults(data_->balloon)) {
  has_idle_animations_ = !data_->State(StateId::kIdling1).empty() ||
                         !data_->State(StateId::kIdling2).empty() ||
                         !data_->State(StateId::kIdling3).empty();
  voice_.language_id = data_->voice.language_id;
  voice_.words_per_minute = data_->voice.words_per_minute;
  voice_.pitch = data_->voice.pitch;
  voice_.mode_id = data_->voice.mode_id;
  free_since_ms_ = quiet_since_ms_ = runtime_.ClockNowMs();
}

Character::~Character() = default;

std::string Character::Name() const {
  return data_->name.empty() ? id_ : data_->name;
}

void Character::SetLanguageID(std::int32_t language_id) {
  if (!runtime_.engine_.ServesLanguage(language_id)) {
    std::optional<std::string_view> tag = LanguageTag(language_id);
    Invalid("No voice speaks the language " + Hex(language_id) +
            (tag ? " (" + std::string(*tag) + ")" : std::string(" (unknown language)")) + ".");
  }
  voice_.language_id = language_id;
}

int Character::Left() const {
  return PositionAt(true, runtime_.ClockNowMs());
}
int Character::Top() const {
  return PositionAt(false, runtime_.ClockNowMs());
}

void Character::SetWidth(std::int16_t width_px) {
  if (width_px < 0) Invalid("A character's width cannot be negative.");
  width_ = width_px;
  runtime_.VisualChanged(id_);
}

void Character::SetHeight(std::int16_t height_px) {
  if (height_px < 0) Invalid("A character's height cannot be negative.");
  height_ = height_px;
  runtime_.VisualChanged(id_);
}

std::vector<std::string> Character::AnimationNames() const {
  std::vector<std::string> names;
  names.reserve(data_->animations.size());
  for (const AnimationTiming& animation : data_->animations) names.push_back(animation.name);
  return names;
}

platform::AgentRequest Character::Enqueue(Request request) {
  runtime_.CatchUp();
  if (queue_.size() + (active_ ? 1 : 0) >= options_.max_queued_requests) {
    throw RuntimeError(err::kOutOfMemory, "Too many requests are queued for the character " + id_ +
                                              " (at most " +
                                              std::to_string(options_.max_queued_requests) + ").");
  }
  request.id = runtime_.NewRequest(*this);
  request.queued_at_ms = runtime_.ClockNowMs();
  std::int32_t id = request.id;
  queue_.push_back(std::move(request));
  return platform::AgentRequest{id};
}

platform::AgentRequest Character::Speak(const std::optional<std::string>& text,
                                        const std::optional<std::string>& sound_url) {
  Request request;
  request.kind = RequestKind::kSpeak;
  request.speech = std::make_shared<const SpeechText>(ParseSpeechText(text.value_or("")));
  request.sound_path = sound_url.value_or("");
  std::replace(request.sound_path.begin(), request.sound_path.end(), '\\', '/');
  return Enqueue(std::move(request));
}

platform::AgentRequest Character::Think(const std::string& text) {
  Request request;
  request.kind = RequestKind::kThink;
  request.speech = std::make_shared<const SpeechText>(ParseSpeechText(text));
  return Enqueue(std::move(request));
}

platform::AgentRequest Character::Play(const std::string& animation) {
  int index = data_->FindAnimation(animation);
  if (index < 0) Invalid("The character " + id_ + " has no animation named \"" + animation + "\".");
  Request request;
  request.kind = RequestKind::kPlay;
  request.animation = index;
  return Enqueue(std::move(request));
}

platform::AgentRequest Character::MoveTo(std::int16_t x_px, std::int16_t y_px,
                                         std::optional<std::int32_t> speed_ms) {
  if (speed_ms && *speed_ms < 0) Invalid("A move cannot take a negative time.");
  Request request;
  request.kind = RequestKind::kMoveTo;
  request.x = x_px;
  request.y = y_px;
  request.speed_ms = speed_ms.value_or(1000);
  return Enqueue(std::move(request));
}

platform::AgentRequest Character::GestureAt(std::int16_t x_px, std::int16_t y_px) {
  Request request;
  request.kind = RequestKind::kGestureAt;
  request.x = x_px;
  request.y = y_px;
  return Enqueue(std::move(request));
}

platform::AgentRequest Character::Show() {
  Request request;
  request.kind = RequestKind::kShow;
  return Enqueue(std::move(request));
}

platform::AgentRequest Character::Hide() {
  Request request;
  request.kind = RequestKind::kHide;
  return Enqueue(std::move(request));
}

platform::AgentRequest Character::Wait(platform::AgentRequest other) {
  runtime_.StatusOf(other.id);  // an error for a request that was never made
  Request request;
  request.kind = RequestKind::kWait;
  request.target = other.id;
  return Enqueue(std::move(request));
}

void Character::Stop(platform::AgentRequest request) {
  runtime_.CatchUp();
  if (IsFinished(runtime_.StatusOf(request.id))) return;
  if (runtime_.OwnerOf(request.id) != this) {
    Invalid("The request " + std::to_string(request.id) + " belongs to another character.");
  }
  std::int64_t now = runtime_.ClockNowMs();
  if (active_ && active_->request.id == request.id) {
    Interrupt(now);
    return;
  }
  auto it = std::find_if(queue_.begin(), queue_.end(),
                         [&](const Request& queued) { return queued.id == request.id; });
  if (it == queue_.end()) return;
  queue_.erase(it);
  EndRequest(request.id, RequestEvent::kStop, now);
}

void Character::StopAll() {
  runtime_.CatchUp();
  std::int64_t now = runtime_.ClockNowMs();
  if (active_) Interrupt(now);
  std::deque<Request> stopped;
  stopped.swap(queue_);
  for (const Request& request : stopped) EndRequest(request.id, RequestEvent::kStop, now);
}

void Character::Listen(bool on) {
  runtime_.CatchUp();
  if (on == listening_) return;
  listening_ = on;
  Raise(on ? EventKind::kListenStart : EventKind::kListenComplete);
}

void Character::SetBalloonFontName(const std::string& name) {
  balloon_.SetFontName(name);
  runtime_.VisualChanged(id_);
}

void Character::SetBalloonFontSize(std::int32_t size) {
  balloon_.SetFontSize(size);
  runtime_.VisualChanged(id_);
}

void Character::SetBalloonStyle(std::int32_t style) {
  balloon_.SetStyle(style);
  runtime_.VisualChanged(id_);
}

void Character::CommandsAdd(const std::string& name, const std::string& caption,
                            const std::string& voice) {
  commands_.Add(name, caption, voice);
}

std::string Character::CommandCaption(const std::string& name) const {
  const Command* command = commands_.Find(name);
  if (!command) Invalid("The character " + id_ + " has no command named \"" + name + "\".");
  return command->caption;
}

void Character::Raise(EventKind kind, std::int32_t value, std::int32_t y,
                      platform::VisibilityCause cause) {
  PendingEvent event;
  event.kind = kind;
  event.character_id = id_;
  event.value = value;
  event.y = y;
  event.cause = cause;
  runtime_.Raise(std::move(event));
}

}  // namespace rirerazo::runtime
