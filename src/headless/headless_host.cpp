#include "headless/headless_host.h"

#include <fstream>
#include <memory>
#include <optional>
#include <sstream>

#include "core/app/player.h"
#include "headless/answer_policy.h"
#include "headless/event_loop.h"
#include "headless/headless_backdrop.h"
#include "headless/headless_clipboard.h"
#include "headless/headless_file_dialog.h"
#include "headless/headless_shell.h"
#include "headless/headless_ui.h"
#include "headless/pacer.h"
#include "headless/presentation_source.h"
#include "headless/recorded_voice.h"
#include "headless/recording_tray.h"
#include "headless/runtime_source.h"
#include "headless/simulated_media.h"
#include "headless/simulated_presentation.h"
#include "headless/trace.h"
#include "headless/trace_outputs.h"
#include "headless/tracing_agent.h"
#include "headless/tracing_ui.h"
#include "headless/transcript.h"
#include "headless/user_input.h"
#include "headless/virtual_clock.h"
#include "os/curl_internet.h"
#include "os/picture_file.h"
#include "os/posix_system.h"
#include "os/system_clock.h"
#include "runtime/character_folders.h"
#include "runtime/character_runtime.h"
#include "runtime/rate_model.h"

namespace rirerazo::headless {
namespace {

// The local date and time now, for a run without --start-time.
platform::LocalDateTime WallClockNow() {
  return os::SystemClock().LocalNow();
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// The install prefix of a program in <prefix>/bin.
std::string InstallPrefix(const std::string& exe_path) {
  const std::string bin = FolderOf(exe_path);
  return FolderOf(bin);
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
  Host(const Options& options, std::ostream& out, std::ostream& err)
      : options_(options),
        out_(out),
        err_(err),
        clock_(StartTime()),
        sleeper_(options.realtime ? MakeWallClockSleeper() : nullptr),
        pacer_(sleeper_ ? std::make_unique<Pacer>(*sleeper_) : nullptr),
        loop_(clock_, pacer_.get()),
        runtime_(clock_, speech_, runtime::RuntimeOptions{.seed = options.seed}),
        tracer_(clock_),
        agent_(runtime_, tracer_),
        ui_(HeadlessUi::Settings{Answers(), options.screen_width_px, options.screen_height_px},
            err),
        traced_ui_(ui_, tracer_),
        tray_(tracer_),
        shell_(&tracer_, nullptr),
        keys_(&tracer_),
        backdrop_(&tracer_),
        media_(clock_, &tracer_),
        clipboard_(&tracer_),
        presentation_(clock_),
        source_(runtime_),
        presentation_source_(presentation_) {
    services_.ui = &traced_ui_;
    services_.clock = &clock_;
    services_.loop = &loop_;
    services_.system = &system_;
    services_.agent = &agent_;
    services_.shell = &shell_;
    services_.keys = &keys_;
    services_.backdrop = &backdrop_;
    services_.media = &media_;
    services_.clipboard = &clipboard_;
    services_.pictures = &pictures_;
    services_.tray = &tray_;
    services_.internet = &internet_;
    services_.file_dialog = &file_dialog_;
    services_.presentation = &presentation_;
    loop_.AddSource(source_);
    loop_.AddSource(presentation_source_);
  }

  bool OpenSinks() { return outputs_.Open(options_, tracer_, out_, err_); }

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
    const std::string script_folder = FolderOf(options_.command_line);
    runtime_.SetCharacterFolders(runtime::StandardCharacterFolders(
        system_, script_folder, InstallPrefix(system_.ExecutablePath())));
    Player player(services_);
    player.Form_Load(options_.command_line, program_file_name);
    if (!player.script_opened && player.Unloaded()) return Exit(kExitNoScript);
    if (!loop_.QuitRequested()) Report(loop_.RunUntilDone());
    // Ending without the player's own shutdown (nothing more can happen): the main form
    // still unloads, so its clean-up runs as when the session ends on a desktop.
    player.UnloadMainForm();
    return Exit(kExitNormal);
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
  void SetClipboardText(const std::string& text) override { clipboard_.SetText(text); }
  // A relative recording is found beside the input script.
  void HearRecording(const std::string& character, const std::string& path) override {
    std::string resolved = path;
    std::string folder = FolderOf(options_.input_path);
    if (!path.starts_with('/') && !folder.empty()) resolved = folder + "/" + path;
    voice_.Hear(runtime_, character, resolved);
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

  int Exit(int status) {
    tracer_.Record("exit", {{"status", std::int64_t{status}}});
    return status;
  }

  const Options& options_;
  std::ostream& out_;
  std::ostream& err_;
  VirtualClock clock_;
  std::unique_ptr<Sleeper> sleeper_;
  std::unique_ptr<Pacer> pacer_;
  EventLoop loop_;
  runtime::RateModelEngine speech_;
  runtime::CharacterRuntime runtime_;
  Tracer tracer_;
  TracingAgentControl agent_;
  HeadlessUi ui_;
  TracingUi traced_ui_;
  RecordingTray tray_;
  os::PosixSystem system_;
  HeadlessShell shell_;
  HeadlessKeySender keys_;
  HeadlessBackdrop backdrop_;
  SimulatedMediaDevice media_;
  HeadlessClipboard clipboard_;
  os::FilePictureDecoder pictures_;
  os::CurlInternet internet_;
  HeadlessFileDialog file_dialog_;
  SimulatedPresentationApp presentation_;
  RuntimeSource source_;
  PresentationSource presentation_source_;
  platform::Platform services_;
  TraceOutputs outputs_;
  std::unique_ptr<UserInputFeeder> feeder_;
  RecordedVoice voice_{err_};
};

}  // namespace

int RunHeadless(const Options& options, const std::string& program_file_name, std::ostream& out,
                std::ostream& err) {
  Host host(options, out, err);
  if (!host.OpenSinks() || !host.AddUserInput()) return kExitUsage;
  return host.Run(program_file_name);
}

}  // namespace rirerazo::headless
