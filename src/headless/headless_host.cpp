#include "headless/headless_host.h"

#include <fstream>
#include <memory>
#include <optional>
#include <sstream>

#include "headless/answer_policy.h"
#include "headless/event_loop.h"
#include "headless/headless_backdrop.h"
#include "headless/headless_clipboard.h"
#include "headless/headless_file_dialog.h"
#include "headless/headless_shell.h"
#include "headless/headless_ui.h"
#include "headless/pacer.h"
#include "headless/recording_tray.h"
#include "headless/simulated_media.h"
#include "headless/user_input.h"
#include "headless/virtual_clock.h"
#include "host/exit_status.h"
#include "host/presentation/simulated_presentation.h"
#include "host/presentation_source.h"
#include "host/session.h"
#include "os/system_clock.h"
#include "runtime/character_runtime.h"
#include "runtime/rate_model.h"

namespace rirerazo::headless {
namespace {

using host::Options;

// The local date and time now, for a run without --start-time.
platform::LocalDateTime WallClockNow() {
  return os::SystemClock().LocalNow();
}

std::optional<std::vector<InputItem>> ReadUserInput(const std::string& path, std::ostream& err) {
  if (path.empty()) return std::vector<InputItem>{};
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    err << "rirerazo: cannot read the user input '" << path << "'\n";
    return std::nullopt;
  }
  std::stringstream text;
  text << in.rdbuf();
  try {
    return ParseUserInput(text.str());
  } catch (const InputScriptError& error) {
    err << "rirerazo: " << path << ": " << error.what() << "\n";
    return std::nullopt;
  }
}

// Everything one headless run is made of, wired in dependency order. It also carries out
// the user-input script's actions on the host's own devices.
class Host : public UserInputHost {
 public:
  Host(const host::Options& options, std::ostream& out, std::ostream& err)
      : options_(options),
        out_(out),
        err_(err),
        clock_(StartTime()),
        sleeper_(options.realtime ? MakeWallClockSleeper() : nullptr),
        pacer_(sleeper_ ? std::make_unique<Pacer>(*sleeper_) : nullptr),
        loop_(clock_, pacer_.get()),
        runtime_(clock_, speech_, runtime::RuntimeOptions{.seed = options.seed}),
        session_(options, clock_, runtime_),
        ui_(HeadlessUi::Settings{Answers(), options.screen_width_px, options.screen_height_px},
            err),
        shell_(nullptr),
        media_(clock_),
        presentation_(clock_),
        presentation_source_(presentation_) {
    session_.Wire({.ui = &ui_,
                   .loop = &loop_,
                   .shell = &shell_,
                   .keys = &keys_,
                   .backdrop = &backdrop_,
                   .media = &media_,
                   .clipboard = &clipboard_,
                   .file_dialog = &file_dialog_,
                   .presentation = &presentation_,
                   .tray = &tray_});
    loop_.AddSource(session_.runtime_source());
    loop_.AddSource(presentation_source_);
  }

  bool OpenSinks() { return session_.OpenOutputs(out_, err_); }

  bool AddUserInput() {
    auto items = ReadUserInput(options_.input_path, err_);
    if (!items) return false;
    if (items->empty()) return true;
    file_dialog_.QueueAnswers(*items);
    feeder_ = std::make_unique<UserInputFeeder>(
        std::move(*items), runtime_, this, [this](int line, const std::string& message) {
          err_ << "rirerazo: " << options_.input_path << ":" << line << ": " << message << "\n";
        });
    loop_.AddSource(*feeder_);
    return true;
  }

  int Run(const std::string& program_file_name) {
    return session_.Run(program_file_name, [this] { Report(loop_.RunUntilDone()); });
  }

 private:
  // UserInputHost: what the runtime cannot do itself.
  void ChooseTrayItem(const std::string& caption, std::int32_t position) override {
    tray_.Choose(TraySelector{caption, position});
  }
  void TrayMouse(const std::vector<int>& mouse_messages) override {
    for (int message : mouse_messages) tray_.Mouse(message);
  }
  void CloseBackdrop() override { backdrop_.UserClicksClose(); }
  void AnswerFileDialog(const std::optional<std::string>&) override {}
  // Through the player's clipboard, so the trace shows what the user put there.
  void SetClipboardText(const std::string& text) override {
    session_.services().clipboard->SetText(text);
  }

  platform::LocalDateTime StartTime() const {
    if (!options_.start_time) return WallClockNow();
    return ParseStartTime(*options_.start_time).value_or(WallClockNow());
  }

  AnswerPolicy Answers() const {
    return AnswerPolicy::Parse(options_.answer).value_or(AnswerPolicy());
  }

  void Report(RunOutcome outcome) {
    if (outcome == RunOutcome::kAwaitingUser) {
      err_ << "rirerazo: the script waits for user input that no one will give; ending.\n";
    } else if (outcome == RunOutcome::kLimitReached) {
      err_ << "rirerazo: the script did not end within one virtual day; ending.\n";
    }
  }

  const host::Options& options_;
  std::ostream& out_;
  std::ostream& err_;
  VirtualClock clock_;
  std::unique_ptr<Sleeper> sleeper_;
  std::unique_ptr<Pacer> pacer_;
  EventLoop loop_;
  runtime::RateModelEngine speech_;
  runtime::CharacterRuntime runtime_;
  host::Session session_;
  HeadlessUi ui_;
  RecordingTray tray_;
  HeadlessShell shell_;
  HeadlessKeySender keys_;
  HeadlessBackdrop backdrop_;
  SimulatedMediaDevice media_;
  HeadlessClipboard clipboard_;
  HeadlessFileDialog file_dialog_;
  host::SimulatedPresentationApp presentation_;
  host::PresentationSource presentation_source_;
  std::unique_ptr<UserInputFeeder> feeder_;
};

}  // namespace

int RunHeadless(const host::Options& options, const std::string& program_file_name,
                std::ostream& out, std::ostream& err) {
  Host host(options, out, err);
  if (!host.OpenSinks() || !host.AddUserInput()) return host::kExitUsage;
  return host.Run(program_file_name);
}

}  // namespace rirerazo::headless
