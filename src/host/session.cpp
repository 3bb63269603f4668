#include "host/session.h"

#include "core/app/player.h"
#include "host/exit_status.h"
#include "host/script_folder.h"
#include "runtime/character_folders.h"

namespace rirerazo::host {

Session::Session(const Options& options, platform::Clock& clock, runtime::CharacterRuntime& runtime)
    : options_(options),
      clock_(clock),
      runtime_(runtime),
      tracer_(clock),
      agent_(runtime, tracer_),
      runtime_source_(runtime),
      internet_(curl_, tracer_) {}

bool Session::OpenOutputs(std::ostream& out, std::ostream& err) {
  return outputs_.Open(options_, tracer_, out, err);
}

void Session::Wire(const HostDevices& devices) {
  ui_ = std::make_unique<TracingUi>(*devices.ui, tracer_);
  shell_ = std::make_unique<TracingShell>(*devices.shell, tracer_);
  keys_ = std::make_unique<TracingKeySender>(*devices.keys, tracer_);
  backdrop_ = std::make_unique<TracingBackdrop>(*devices.backdrop, tracer_);
  media_ = std::make_unique<TracingMediaDevice>(*devices.media, tracer_);
  clipboard_ = std::make_unique<TracingClipboard>(*devices.clipboard, tracer_);
  if (devices.tray != nullptr) tray_ = std::make_unique<TracingTray>(*devices.tray, tracer_);
  file_dialog_ = std::make_unique<TracingFileDialog>(*devices.file_dialog, tracer_);
  presentation_ = std::make_unique<TracingPresentationApp>(*devices.presentation, tracer_);
  services_.ui = ui_.get();
  services_.clock = &clock_;
  services_.loop = devices.loop;
  services_.system = &system_;
  services_.agent = &agent_;
  services_.shell = shell_.get();
  services_.keys = keys_.get();
  services_.backdrop = backdrop_.get();
  services_.media = media_.get();
  services_.clipboard = clipboard_.get();
  services_.pictures = &pictures_;
  services_.tray = tray_.get();
  services_.internet = &internet_;
  services_.file_dialog = file_dialog_.get();
  services_.presentation = presentation_.get();
}

int Session::Run(const std::string& program_file_name, const std::function<void()>& run_loop) {
  runtime_.SetCharacterFolders(runtime::StandardCharacterFolders(
      system_, ScriptFolder(options_.command_line), InstallPrefix(system_.ExecutablePath())));
  Player player(services_);
  player_ = &player;
  player.Form_Load(options_.command_line, program_file_name);
  if (!stopped_status_ && !player.startup().script_opened && player.Unloaded()) {
    player_ = nullptr;
    return Exit(kExitNoScript);
  }
  if (!services_.loop->QuitRequested()) run_loop();
  // Ending without the player's own shutdown (nothing more can happen): the main form
  // still unloads, so its clean-up runs as when the session ends on a desktop.
  player.UnloadMainForm();
  player_ = nullptr;
  return Exit(stopped_status_.value_or(kExitNormal));
}

void Session::Stop(int status) {
  if (player_ == nullptr || stopped_status_) return;
  stopped_status_ = status;
  player_->UnloadMainForm();
}

int Session::Exit(int status) {
  tracer_.Record("exit", {{"status", std::int64_t{status}}});
  return status;
}

}  // namespace rirerazo::host
