// A character control with characters that only know their animation names and log the
// animation requests made of them.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/agent_control.h"
#include "platform/runtime_error.h"

namespace rirerazo::testing {

class AnimatedCharacter : public platform::AgentCharacter {
 public:
  AnimatedCharacter(std::vector<std::string> animations, std::vector<std::string>& log)
      : animations_(std::move(animations)), log_(log) {}

  std::string Name() const override { return "fake"; }
  void SetLanguageID(std::int32_t) override {}
  std::int32_t LanguageID() const override { return 0; }
  void SetTTSModeID(const std::string&) override {}
  std::string TTSModeID() const override { return ""; }
  bool Visible() const override { return true; }
  int Left() const override { return 0; }
  int Top() const override { return 0; }
  int Width() const override { return 0; }
  int Height() const override { return 0; }
  void SetWidth(std::int16_t) override {}
  void SetHeight(std::int16_t) override {}
  bool HasOtherClients() const override { return false; }
  std::vector<std::string> AnimationNames() const override { return animations_; }
  platform::AgentRequest Speak(const std::optional<std::string>& text,
                               const std::optional<std::string>&) override {
    return Log("Speak " + text.value_or(""));
  }
  platform::AgentRequest Think(const std::string&) override { return {}; }
  platform::AgentRequest Play(const std::string& animation) override {
    return Log("Play " + animation);
  }
  platform::AgentRequest MoveTo(std::int16_t, std::int16_t, std::optional<std::int32_t>) override {
    return {};
  }
  platform::AgentRequest GestureAt(std::int16_t, std::int16_t) override { return {}; }
  platform::AgentRequest Show() override { return {}; }
  platform::AgentRequest Hide() override { return {}; }
  platform::AgentRequest Wait(platform::AgentRequest) override { return {}; }
  void Stop(platform::AgentRequest request) override {
    log_.push_back("Stop " + std::to_string(request.id));
  }
  void StopAll() override {}
  void Listen(bool) override {}
  void SetBalloonFontName(const std::string&) override {}
  void SetBalloonFontSize(std::int32_t) override {}
  void SetBalloonStyle(std::int32_t) override {}
  void CommandsRemoveAll() override {}
  void SetCommandsCaption(const std::string&) override {}
  void SetCommandsVoice(const std::string&) override {}
  void CommandsAdd(const std::string&, const std::string&, const std::string&) override {}
  int CommandsCount() const override { return 0; }
  std::string CommandCaption(const std::string&) const override { return ""; }

 private:
  platform::AgentRequest Log(const std::string& entry) {
    log_.push_back(entry);
    return {static_cast<std::int32_t>(log_.size())};
  }
  std::vector<std::string> animations_;
  std::vector<std::string>& log_;
};

class AnimatedAgent : public platform::AgentControl {
 public:
  void AddCharacter(const std::string& id, std::vector<std::string> animations) {
    characters_.emplace(id, std::make_unique<AnimatedCharacter>(std::move(animations), log));
  }
  bool Connected() const override { return true; }
  void SetConnected(bool) override {}
  void Load(const std::string&, const std::string&) override {}
  platform::AgentCharacter& Character(const std::string& id) override {
    auto it = characters_.find(id);
    if (it == characters_.end()) throw RuntimeError(9, "Subscript out of range");
    return *it->second;
  }
  void Unload(const std::string&) override {}
  platform::RequestStatus Status(platform::AgentRequest) const override {
    return platform::RequestStatus::kComplete;
  }
  void ShowPropertySheet() override {}
  void SetEventListener(platform::AgentEvents*) override {}

  std::vector<std::string> log;

 private:
  std::map<std::string, std::unique_ptr<AnimatedCharacter>> characters_;
};

}  // namespace rirerazo::testing
