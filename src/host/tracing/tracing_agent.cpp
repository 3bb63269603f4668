#include "host/tracing/tracing_agent.h"

#include "platform/runtime_error.h"

namespace rirerazo::host {
namespace {

std::string Upper(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

std::string CauseName(platform::VisibilityCause cause) {
  switch (cause) {
    case platform::VisibilityCause::kProgram:
      return "program";
    case platform::VisibilityCause::kUser:
      return "user";
    case platform::VisibilityCause::kOtherProgram:
      return "other-program";
  }
  return "program";
}

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
  return "failed";
}

}  // namespace

// Records each call on one character with its id, then forwards it.
class TracingAgentControl::TracingCharacter : public platform::AgentCharacter {
 public:
  TracingCharacter(TracingAgentControl& owner, std::string id, platform::AgentCharacter& inner)
      : owner_(owner), id_(std::move(id)), inner_(inner) {}

  std::string Name() const override { return inner_.Name(); }
  void SetLanguageID(std::int32_t language_id) override {
    Call("LanguageID", {{"value", std::int64_t{language_id}}});
    inner_.SetLanguageID(language_id);
  }
  std::int32_t LanguageID() const override { return inner_.LanguageID(); }
  void SetTTSModeID(const std::string& mode_id) override {
    Call("TTSModeID", {{"value", mode_id}});
    inner_.SetTTSModeID(mode_id);
  }
  std::string TTSModeID() const override { return inner_.TTSModeID(); }
  bool Visible() const override { return inner_.Visible(); }
  int Left() const override { return inner_.Left(); }
  int Top() const override { return inner_.Top(); }
  int Width() const override { return inner_.Width(); }
  int Height() const override { return inner_.Height(); }
  void SetWidth(std::int16_t width_px) override {
    Call("Width", {{"value", std::int64_t{width_px}}});
    inner_.SetWidth(width_px);
  }
  void SetHeight(std::int16_t height_px) override {
    Call("Height", {{"value", std::int64_t{height_px}}});
    inner_.SetHeight(height_px);
  }
  bool HasOtherClients() const override { return inner_.HasOtherClients(); }
  bool Wraps(const platform::AgentCharacter& inner) const { return &inner == &inner_; }
  std::vector<std::string> AnimationNames() const override { return inner_.AnimationNames(); }

  platform::AgentRequest Speak(const std::optional<std::string>& text,
                               const std::optional<std::string>& sound_url) override {
    std::vector<TraceField> fields;
    if (text) fields.push_back({"text", *text});
    if (sound_url) fields.push_back({"url", *sound_url});
    return Request("Speak", std::move(fields), [&] { return inner_.Speak(text, sound_url); });
  }
  platform::AgentRequest Think(const std::string& text) override {
    return Request("Think", {{"text", text}}, [&] { return inner_.Think(text); });
  }
  platform::AgentRequest Play(const std::string& animation) override {
    return Request("Play", {{"animation", animation}}, [&] { return inner_.Play(animation); });
  }
  platform::AgentRequest MoveTo(std::int16_t x_px, std::int16_t y_px,
                                std::optional<std::int32_t> speed_ms) override {
    std::vector<TraceField> fields{{"x", std::int64_t{x_px}}, {"y", std::int64_t{y_px}}};
    if (speed_ms) fields.push_back({"speed", std::int64_t{*speed_ms}});
    return Request("MoveTo", std::move(fields),
                   [&] { return inner_.MoveTo(x_px, y_px, speed_ms); });
  }
  platform::AgentRequest GestureAt(std::int16_t x_px, std::int16_t y_px) override {
    return Request("GestureAt", {{"x", std::int64_t{x_px}}, {"y", std::int64_t{y_px}}},
                   [&] { return inner_.GestureAt(x_px, y_px); });
  }
  platform::AgentRequest Show() override {
    return Request("Show", {}, [&] { return inner_.Show(); });
  }
  platform::AgentRequest Hide() override {
    return Request("Hide", {}, [&] { return inner_.Hide(); });
  }
  platform::AgentRequest Wait(platform::AgentRequest other) override {
    return Request("Wait", {{"for", std::int64_t{other.id}}}, [&] { return inner_.Wait(other); });
  }
  void Stop(platform::AgentRequest request) override {
    Call("Stop", {{"request", std::int64_t{request.id}}});
    inner_.Stop(request);
  }
  void StopAll() override {
    Call("StopAll", {});
    inner_.StopAll();
  }
  void Listen(bool on) override {
    Call("Listen", {{"on", on}});
    inner_.Listen(on);
  }
  void SetBalloonFontName(const std::string& name) override {
    Call("Balloon.FontName", {{"value", name}});
    inner_.SetBalloonFontName(name);
  }
  void SetBalloonFontSize(std::int32_t size) override {
    Call("Balloon.FontSize", {{"value", std::int64_t{size}}});
    inner_.SetBalloonFontSize(size);
  }
  void SetBalloonStyle(std::int32_t style) override {
    Call("Balloon.Style", {{"value", std::int64_t{style}}});
    inner_.SetBalloonStyle(style);
  }
  void CommandsRemoveAll() override {
    Call("Commands.RemoveAll", {});
    inner_.CommandsRemoveAll();
  }
  void SetCommandsCaption(const std::string& caption) override {
    Call("Commands.Caption", {{"value", caption}});
    inner_.SetCommandsCaption(caption);
  }
  void SetCommandsVoice(const std::string& voice) override {
    Call("Commands.Voice", {{"value", voice}});
    inner_.SetCommandsVoice(voice);
  }
  void CommandsAdd(const std::string& name, const std::string& caption,
                   const std::string& voice) override {
    Call("Commands.Add", {{"name", name}, {"caption", caption}, {"voice", voice}});
    inner_.CommandsAdd(name, caption, voice);
  }
  int CommandsCount() const override { return inner_.CommandsCount(); }
  std::string CommandCaption(const std::string& name) const override {
    return inner_.CommandCaption(name);
  }

 private:
  void Call(const std::string& op, std::vector<TraceField> fields) {
    fields.insert(fields.begin(), TraceField{"char", id_});
    owner_.Call(op, std::move(fields));
  }

  // Records the call with the request id it got, or with the error it raised.
  template <typename Queue>
  platform::AgentRequest Request(const std::string& op, std::vector<TraceField> fields,
                                 Queue queue) {
    try {
      const platform::AgentRequest request = queue();
      fields.push_back({"request", std::int64_t{request.id}});
      Call(op, std::move(fields));
      return request;
    } catch (const RuntimeError& error) {
      fields.push_back({"error", std::int64_t{error.Number()}});
      fields.push_back({"description", error.Description()});
      Call(op, std::move(fields));
      throw;
    }
  }

  TracingAgentControl& owner_;
  std::string id_;
  platform::AgentCharacter& inner_;
};

TracingAgentControl::TracingAgentControl(platform::AgentControl& inner, Tracer& tracer)
    : inner_(inner), tracer_(tracer) {
  inner_.SetEventListener(this);
}

TracingAgentControl::~TracingAgentControl() {
  inner_.SetEventListener(nullptr);
}

void TracingAgentControl::SetConnected(bool connected) {
  Call("Connected", {{"value", connected}});
  inner_.SetConnected(connected);
}

void TracingAgentControl::Load(const std::string& id, const std::string& path) {
  try {
    inner_.Load(id, path);
    Call("Load", {{"char", id}, {"path", path}});
  } catch (const RuntimeError& error) {
    Call("Load", {{"char", id},
                  {"path", path},
                  {"error", std::int64_t{error.Number()}},
                  {"description", error.Description()}});
    throw;
  }
}

platform::AgentCharacter& TracingAgentControl::Character(const std::string& id) {
  platform::AgentCharacter& inner = inner_.Character(id);
  // A character loaded anew under the same id gets a new wrapper.
  auto& slot = characters_[Upper(id)];
  if (!slot || !slot->Wraps(inner)) slot = std::make_unique<TracingCharacter>(*this, id, inner);
  return *slot;
}

void TracingAgentControl::Unload(const std::string& id) {
  Call("Unload", {{"char", id}});
  characters_.erase(Upper(id));
  inner_.Unload(id);
}

void TracingAgentControl::ShowPropertySheet() {
  Call("PropertySheet.Visible", {{"value", true}});
  inner_.ShowPropertySheet();
}

void TracingAgentControl::Call(const std::string& op, std::vector<TraceField> fields) {
  fields.insert(fields.begin(), TraceField{"op", op});
  tracer_.Record("agent", std::move(fields));
}

void TracingAgentControl::Event(const std::string& op, std::vector<TraceField> fields) {
  fields.insert(fields.begin(), TraceField{"event", op});
  tracer_.Record("event", std::move(fields));
}

void TracingAgentControl::OnBookmark(std::int32_t bookmark_id) {
  Event("Bookmark", {{"id", std::int64_t{bookmark_id}}});
  if (listener_) listener_->OnBookmark(bookmark_id);
}

void TracingAgentControl::OnRequestStart(platform::AgentRequest request) {
  Event("RequestStart", {{"request", std::int64_t{request.id}}});
  if (listener_) listener_->OnRequestStart(request);
}

void TracingAgentControl::OnRequestComplete(platform::AgentRequest request) {
  Event("RequestComplete",
        {{"request", std::int64_t{request.id}}, {"status", StatusName(inner_.Status(request))}});
  if (listener_) listener_->OnRequestComplete(request);
}

void TracingAgentControl::OnCommand(const platform::UserInput& input) {
  Event("Command", {{"char", input.character_id},
                    {"name", input.name},
                    {"confidence", std::int64_t{input.confidence}},
                    {"alt1", input.alt1_name},
                    {"alt1_confidence", std::int64_t{input.alt1_confidence}},
                    {"alt2", input.alt2_name}});
  if (listener_) listener_->OnCommand(input);
}

void TracingAgentControl::OnShow(const std::string& character_id, platform::VisibilityCause cause) {
  Event("Show", {{"char", character_id}, {"cause", CauseName(cause)}});
  if (listener_) listener_->OnShow(character_id, cause);
}

void TracingAgentControl::OnHide(const std::string& character_id, platform::VisibilityCause cause) {
  Event("Hide", {{"char", character_id}, {"cause", CauseName(cause)}});
  if (listener_) listener_->OnHide(character_id, cause);
}

void TracingAgentControl::OnClick(const std::string& character_id, int x_px, int y_px) {
  Event("Click", {{"char", character_id}, {"x", std::int64_t{x_px}}, {"y", std::int64_t{y_px}}});
  if (listener_) listener_->OnClick(character_id, x_px, y_px);
}

void TracingAgentControl::OnDragComplete(const std::string& character_id, int x_px, int y_px) {
  Event("DragComplete",
        {{"char", character_id}, {"x", std::int64_t{x_px}}, {"y", std::int64_t{y_px}}});
  if (listener_) listener_->OnDragComplete(character_id, x_px, y_px);
}

void TracingAgentControl::OnIdleStart(const std::string& character_id) {
  Event("IdleStart", {{"char", character_id}});
  if (listener_) listener_->OnIdleStart(character_id);
}

void TracingAgentControl::OnBalloonShow(const std::string& character_id) {
  Event("BalloonShow", {{"char", character_id}});
  if (listener_) listener_->OnBalloonShow(character_id);
}

void TracingAgentControl::OnBalloonHide(const std::string& character_id) {
  Event("BalloonHide", {{"char", character_id}});
  if (listener_) listener_->OnBalloonHide(character_id);
}

void TracingAgentControl::OnListenStart(const std::string& character_id) {
  Event("ListenStart", {{"char", character_id}});
  if (listener_) listener_->OnListenStart(character_id);
}

void TracingAgentControl::OnListenComplete(const std::string& character_id) {
  Event("ListenComplete", {{"char", character_id}});
  if (listener_) listener_->OnListenComplete(character_id);
}

}  // namespace rirerazo::host
