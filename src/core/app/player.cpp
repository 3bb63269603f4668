#include "core/app/player.h"

#include "core/agent/agent_commands.h"
#include "core/agent/agent_events.h"
#include "core/app/startup_hooks.h"
#include "core/app/tray_menu.h"

namespace rirerazo {

Player::Player(platform::Platform& services)
    : services_(services), error_report_(*services.ui, *this), profile_reader_(error_report_) {
  services_.agent->SetEventListener(this);
  if (services_.presentation != nullptr) {
    services_.presentation->SetEventListener(&power_point_events_);
  }
}

Player::~Player() {
  services_.agent->SetEventListener(nullptr);
  if (services_.presentation != nullptr) services_.presentation->SetEventListener(nullptr);
}

void Player::UnloadMainForm() {
  if (unloaded_) return;
  unloaded_ = true;
  Form_Unload(*this);
  loop().Quit();
}

void Player::UnloadBackdrop() {
  Backdrop_Unload(*this);
}

app::ReportOutcome Player::ReportError(std::string_view tag, std::string_view procedure,
                                       const RuntimeError& error) {
  return error_report_.ReportError(tag, procedure, error);
}

void Player::OnBookmark(std::int32_t bookmark_id) {
  AgentControl_Bookmark(*this, bookmark_id);
}

void Player::OnRequestComplete(platform::AgentRequest request) {
  AgentControl_RequestComplete(*this, request);
}

void Player::OnCommand(const platform::UserInput& input) {
  AgentControl_Command(*this, input);
}

void Player::OnShow(const std::string& character_id, platform::VisibilityCause cause) {
  AgentControl_Show(*this, character_id, cause);
}

void Player::OnHide(const std::string& character_id, platform::VisibilityCause cause) {
  AgentControl_Hide(*this, character_id, cause);
}

void Player::OnTrayMouse(int mouse_message) {
  Form_MouseMove(*this, mouse_message);
}

}  // namespace rirerazo
