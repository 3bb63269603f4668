// Fakes of the player's services that record every call in one log, so tests can check
// the order of calls and the arguments after all conversions. Header-only: test
// executables of any layer may use them.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/runtime_error.h"
#include "support/system_fakes.h"

namespace rirerazo::testing {

using Log = std::vector<std::string>;

inline std::string UpperAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  }
  return text;
}

// One character. Methods named in `failing` raise error 5 instead of acting.
class FakeCharacter : public platform::AgentCharacter {
 public:
  FakeCharacter(std::string id, Log& log, std::int32_t& next_id)
      : id_(std::move(id)), log_(log), next_id_(next_id) {}

  std::set<std::string> failing;
  bool visible = false;
  int left = 0, top = 0, width = 128, height = 128;
  std::int32_t language = 0x409;
  std::set<std::int32_t> languages = {0x409, 0x407};
  std::string tts_mode;
  bool other_clients = false;
  std::vector<std::pair<std::string, std::string>> commands;  // name, caption
  std::vector<std::string> animations = {"Wave"};

  std::string Name() const override { return id_; }
  void SetLanguageID(std::int32_t id) override {
    Note("LanguageID", std::to_string(id));
    if (!languages.contains(id)) throw RuntimeError(err::kInvalidProcedureCall, "No voice");
    language = id;
  }
  std::int32_t LanguageID() const override { return language; }
  void SetTTSModeID(const std::string& mode) override { Note("TTSModeID", mode), tts_mode = mode; }
  std::string TTSModeID() const override { return tts_mode; }
  bool Visible() const override { return visible; }
  int Left() const override { return left; }
  int Top() const override { return top; }
  int Width() const override { return width; }
  int Height() const override { return height; }
  void SetWidth(std::int16_t w) override { Note("Width", std::to_string(w)); }
  void SetHeight(std::int16_t h) override { Note("Height", std::to_string(h)); }
  bool HasOtherClients() const override { return other_clients; }
  std::vector<std::string> AnimationNames() const override { return animations; }

  platform::AgentRequest Speak(const std::optional<std::string>& text,
                               const std::optional<std::string>& sound) override {
    return Queue("Speak", text.value_or("-") + (sound ? ", " + *sound : ""));
  }
  platform::AgentRequest Think(const std::string& text) override { return Queue("Think", text); }
  platform::AgentRequest Play(const std::string& name) override { return Queue("Play", name); }
  platform::AgentRequest MoveTo(std::int16_t x, std::int16_t y,
                                std::optional<std::int32_t> speed) override {
    return Queue("MoveTo", std::to_string(x) + ", " + std::to_string(y) +
                               (speed ? ", " + std::to_string(*speed) : ""));
  }
  platform::AgentRequest GestureAt(std::int16_t x, std::int16_t y) override {
    return Queue("GestureAt", std::to_string(x) + ", " + std::to_string(y));
  }
  platform::AgentRequest Show() override { return Queue("Show", ""); }
  platform::AgentRequest Hide() override { return Queue("Hide", ""); }
  void StopAll() override { Note("StopAll", ""); }
  platform::AgentRequest Wait(platform::AgentRequest other) override {
    return Queue("Wait", "#" + std::to_string(other.id));
  }
  void Stop(platform::AgentRequest r) override { Note("Stop", "#" + std::to_string(r.id)); }
  void Listen(bool on) override { Note("Listen", on ? "true" : "false"); }
  void SetBalloonFontName(const std::string& name) override { Note("FontName", name); }
  void SetBalloonFontSize(std::int32_t size) override { Note("FontSize", std::to_string(size)); }
  void SetBalloonStyle(std::int32_t style) override { Note("Style", std::to_string(style)); }
  void CommandsRemoveAll() override { Note("CommandsRemoveAll", ""), commands.clear(); }
  void SetCommandsCaption(const std::string& c) override { Note("CommandsCaption", c); }
  void SetCommandsVoice(const std::string& v) override { Note("CommandsVoice", v); }
  void CommandsAdd(const std::string& name, const std::string& caption,
                   const std::string& voice) override {
    Note("CommandsAdd", name + ", " + caption + ", " + voice);
    commands.emplace_back(name, caption);
  }
  int CommandsCount() const override { return static_cast<int>(commands.size()); }
  std::string CommandCaption(const std::string& name) const override {
    for (const auto& [command, caption] : commands) {
      if (UpperAscii(command) == UpperAscii(name)) return caption;
    }
    throw RuntimeError(err::kInvalidProcedureCall, "No such command");
  }

 private:
  // Logs "<id>.<what>(<args>)", or raises when `what` is failing.
  void Note(const std::string& what, const std::string& args) {
    if (failing.contains(what)) throw RuntimeError(err::kInvalidProcedureCall, what + " failed");
    log_.push_back(id_ + "." + what + "(" + args + ")");
  }
  platform::AgentRequest Queue(const std::string& what, const std::string& args) {
    Note(what, args);
    return platform::AgentRequest{next_id_++};
  }

  std::string id_;
  Log& log_;
  std::int32_t& next_id_;
};

// The character control. A Load succeeds for paths in `files` (exact); ids are looked up
// ignoring letter case, as the real control does.
class FakeAgentControl : public platform::AgentControl {
 public:
  explicit FakeAgentControl(Log& log) : log_(log) {}

  std::set<std::string> files;
  std::map<std::string, int> sizes;  // path -> width and height of what it loads
  bool connected = false;
  platform::AgentEvents* listener = nullptr;
  std::int32_t next_request_id = 1;

  bool Connected() const override { return connected; }
  void SetConnected(bool on) override { connected = on, log_.push_back("SetConnected"); }
  void Load(const std::string& id, const std::string& path) override {
    log_.push_back("Load(" + id + ", " + path + ")");
    if (!files.contains(path)) throw RuntimeError(err::kFileNotFound, "File not found");
    auto character = std::make_unique<FakeCharacter>(id, log_, next_request_id);
    if (sizes.contains(path)) character->width = character->height = sizes[path];
    characters_[UpperAscii(id)] = std::move(character);
  }
  platform::AgentCharacter& Character(const std::string& id) override { return Get(id); }
  // A character present as if loaded earlier, with the animations it has.
  FakeCharacter& Add(const std::string& id, std::vector<std::string> animations) {
    auto character = std::make_unique<FakeCharacter>(id, log_, next_request_id);
    character->animations = std::move(animations);
    return *(characters_[UpperAscii(id)] = std::move(character));
  }
  void Unload(const std::string& id) override { characters_.erase(UpperAscii(id)); }
  platform::RequestStatus Status(platform::AgentRequest) const override {
    return platform::RequestStatus::kPending;
  }
  void ShowPropertySheet() override { log_.push_back("ShowPropertySheet"); }
  void SetEventListener(platform::AgentEvents* l) override { listener = l; }

  FakeCharacter& Get(const std::string& id) {
    auto it = characters_.find(UpperAscii(id));
    if (it == characters_.end()) throw RuntimeError(err::kInvalidProcedureCall, "Not loaded");
    return *it->second;
  }
  bool Holds(const std::string& id) const { return characters_.contains(UpperAscii(id)); }

 private:
  Log& log_;
  std::map<std::string, std::unique_ptr<FakeCharacter>> characters_;
};

struct ShownBox {
  std::string text;
  std::string title;
  int style = 0;
};

// Message boxes are recorded and answered from `answers` in order; when none is left, OK
// (or Ignore in an Abort/Retry/Ignore box).
class FakeUi : public platform::Ui {
 public:
  explicit FakeUi(Log& log) : log_(log) {}

  std::vector<ShownBox> boxes;
  std::deque<platform::MsgAnswer> answers;
  int screen_width = 1024, screen_height = 768;

  platform::MsgAnswer MessageBox(const std::string& text, const std::string& title,
                                 int style) override {
    boxes.push_back({text, title, style});
    log_.push_back("MessageBox(" + text + ")");
    if (!answers.empty()) {
      platform::MsgAnswer answer = answers.front();
      answers.pop_front();
      return answer;
    }
    return (style & 0xF) == platform::mb::kAbortRetryIgnore ? platform::MsgAnswer::kIgnore
                                                            : platform::MsgAnswer::kOk;
  }
  void SetCursor(platform::Cursor cursor) override {
    log_.push_back(cursor == platform::Cursor::kBusy ? "Cursor(busy)" : "Cursor(normal)");
  }
  int ScreenWidthPx() const override { return screen_width; }
  int ScreenHeightPx() const override { return screen_height; }

 private:
  Log& log_;
};

class FakeClock : public platform::Clock {
 public:
  platform::LocalDateTime now{2026, 12, 22, 2, 15, 5, 0};
  std::int64_t NowMs() const override { return 0; }
  platform::LocalDateTime LocalNow() const override { return now; }
};

// DoEvents runs the callbacks queued for it, one per call, so a test can deliver an
// event while the player yields after a given line.
class FakeMessageLoop : public platform::MessageLoop {
 public:
  int yields = 0;
  bool quit = false;
  std::deque<std::function<void()>> on_yield;  // an empty function delivers nothing
  std::function<void()> every_yield;           // runs on each yield once on_yield is empty

  void DoEvents() override {
    ++yields;
    if (on_yield.empty()) {
      if (every_yield) every_yield();
      return;
    }
    std::function<void()> event = std::move(on_yield.front());
    on_yield.pop_front();
    if (event) event();
  }
  void Sleep(std::int64_t) override {}
  // The timer only records its state; tests call `tick` themselves.
  bool timer_enabled = false;
  std::int64_t timer_interval_ms = 0;
  std::function<void()> tick;
  int timer_starts = 0;
  void StartTimer(std::int64_t interval_ms, std::function<void()> on_tick) override {
    timer_enabled = true, timer_interval_ms = interval_ms, tick = std::move(on_tick);
    ++timer_starts;
  }
  void StopTimer() override { timer_enabled = false; }
  bool TimerEnabled() const override { return timer_enabled; }
  void Quit() override { quit = true; }
  bool QuitRequested() const override { return quit; }
};

class FakeSystem : public platform::System {
 public:
  std::string executable = "/opt/rirerazo/bin/rirerazo";
  std::string ExecutablePath() const override { return executable; }
  std::string TempFolder() const override { return "/tmp"; }
  std::string Environment(const std::string&) const override { return {}; }
  std::string HomeFolder() const override { return {}; }
};

// The tray logs Install/Remove and every menu shown; ShowPopupMenu answers `choice`.
class FakeTray : public platform::Tray {
 public:
  explicit FakeTray(Log& log) : log_(log) {}

  int choice = -1;
  std::vector<platform::MenuItem> last_menu;

  void Install(const std::string& tip, platform::TrayEvents* l) override {
    installed = true, listener = l, log_.push_back("Tray.Install(" + tip + ")");
  }
  void Remove() override { installed = false, log_.push_back("Tray.Remove"); }
  bool Installed() const override { return installed; }
  int ShowPopupMenu(const std::vector<platform::MenuItem>& items) override {
    last_menu = items;
    std::string text;
    for (const auto& item : items) text += (text.empty() ? "" : ", ") + item.caption;
    log_.push_back("Tray.Menu(" + text + ")");
    return choice;
  }

  bool installed = false;
  platform::TrayEvents* listener = nullptr;

 private:
  Log& log_;
};

// All fakes, wired into one bundle: every service the player may ask for is present, so a
// statement that reaches any of them meets a fake, never a null service.
struct FakePlatform {
  Log log;
  FakeAgentControl agent{log};
  FakeUi ui{log};
  FakeClock clock;
  FakeMessageLoop loop;
  FakeSystem system;
  FakeTray tray{log};
  FakeShell shell;
  RecordingKeys keys;
  FakeBackdrop backdrop;
  FakeMediaDevice media;
  FakeClipboard clipboard;
  FakePictures pictures;
  OfflineInternet internet;
  CancellingFileDialog file_dialog;
  MissingPresentationApp presentation;
  platform::Platform bundle{.ui = &ui,
                            .clock = &clock,
                            .loop = &loop,
                            .system = &system,
                            .agent = &agent,
                            .shell = &shell,
                            .keys = &keys,
                            .backdrop = &backdrop,
                            .media = &media,
                            .clipboard = &clipboard,
                            .pictures = &pictures,
                            .internet = &internet,
                            .file_dialog = &file_dialog,
                            .presentation = &presentation,
                            .tray = &tray};
};

}  // namespace rirerazo::testing
