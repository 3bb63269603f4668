// A character control that records every call the player makes, and every event the
// runtime raises, in the trace, then forwards it unchanged. Wraps the real runtime, so the
// trace shows the arguments after all of the player's conversions.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "host/trace.h"
#include "platform/agent_control.h"

namespace rirerazo::host {

class TracingAgentControl : public platform::AgentControl, private platform::AgentEvents {
 public:
  // Neither `inner` nor `tracer` is owned; both outlive this object.
  TracingAgentControl(platform::AgentControl& inner, Tracer& tracer);
  ~TracingAgentControl() override;

  bool Connected() const override { return inner_.Connected(); }
  void SetConnected(bool connected) override;
  void Load(const std::string& id, const std::string& path) override;
  platform::AgentCharacter& Character(const std::string& id) override;
  void Unload(const std::string& id) override;
  platform::RequestStatus Status(platform::AgentRequest request) const override {
    return inner_.Status(request);
  }
  void ShowPropertySheet() override;
  void SetEventListener(platform::AgentEvents* listener) override { listener_ = listener; }

 private:
  class TracingCharacter;

  // AgentEvents: record, then forward to the player.
  void OnBookmark(std::int32_t bookmark_id) override;
  void OnRequestStart(platform::AgentRequest request) override;
  void OnRequestComplete(platform::AgentRequest request) override;
  void OnCommand(const platform::UserInput& input) override;
  void OnShow(const std::string& character_id, platform::VisibilityCause cause) override;
  void OnHide(const std::string& character_id, platform::VisibilityCause cause) override;
  void OnClick(const std::string& character_id, int x_px, int y_px) override;
  void OnDragComplete(const std::string& character_id, int x_px, int y_px) override;
  void OnIdleStart(const std::string& character_id) override;
  void OnBalloonShow(const std::string& character_id) override;
  void OnBalloonHide(const std::string& character_id) override;
  void OnListenStart(const std::string& character_id) override;
  void OnListenComplete(const std::string& character_id) override;

  void Call(const std::string& op, std::vector<TraceField> fields);
  void Event(const std::string& op, std::vector<TraceField> fields);

  platform::AgentControl& inner_;
  Tracer& tracer_;
  platform::AgentEvents* listener_ = nullptr;
  std::map<std::string, std::unique_ptr<TracingCharacter>> characters_;  // by upper-case id
};

}  // namespace rirerazo::host
