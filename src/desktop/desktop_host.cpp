#include "desktop/desktop_host.h"

#include <QApplication>
#include <QTimer>
#include <cstdlib>
#include <memory>
#include <ostream>

#include "core/agent/agent_commands.h"
#include "core/app/shutdown.h"
#include "desktop/audio/audio_output.h"
#include "desktop/character/character_stage.h"
#include "desktop/host/desktop_loop.h"
#include "desktop/host/desktop_settings.h"
#include "desktop/host/listening_key.h"
#include "desktop/host/listening_tip.h"
#include "desktop/host/menu_tray.h"
#include "desktop/host/settings_sheet.h"
#include "desktop/host/voice_listening.h"
#include "desktop/services/backdrop_window.h"
#include "desktop/services/impress_presentation.h"
#include "desktop/services/qt_clipboard.h"
#include "desktop/services/qt_file_dialog.h"
#include "desktop/services/qt_media_device.h"
#include "desktop/services/qt_tray.h"
#include "desktop/services/qt_ui.h"
#include "desktop/speech/espeak_engine.h"
#include "host/exit_status.h"
#include "host/session.h"
#include "os/process_shell.h"
#include "os/system_clock.h"
#include "os/x11_key_sender.h"
#include "runtime/character_runtime.h"

namespace rirerazo::desktop {
namespace {

// How long after the shutdown's own end a Close the user chose is forced through.
constexpr std::int64_t kCloseGraceMs = 2000;

// Everything one desktop run is made of, wired in dependency order.
class Host {
 public:
  Host(const host::Options& options, std::ostream& err)
      : options_(options),
        err_(err),
        loop_(clock_),
        settings_(LoadDesktopSettings()),
        device_(MakeAudioOutput("RIRERazo")),
        audio_(*device_, settings_),
        engine_(MakeDesktopSpeechEngine(audio_, err)),
        speech_(*engine_, settings_),
        runtime_(clock_, speech_, runtime::RuntimeOptions{.seed = options.seed}),
        stage_(runtime_, audio_),
        session_(options, clock_, runtime_),
        qt_tray_(err),
        tray_(qt_tray_),
        media_(audio_, [this] { return clock_.NowMs(); }),
        presentation_(clock_, loop_, err) {
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
    loop_.AddSource(presentation_);
    loop_.AddSource(voice_);
    ConnectStage();
    ConnectListening();
  }

  bool OpenSinks(std::ostream& out) { return session_.OpenOutputs(out, err_); }

  int Run(const std::string& program_file_name) {
    return session_.Run(program_file_name, [this] { loop_.Run(); });
  }

 private:
  // The windows follow the runtime after every serve and while the player sleeps; the
  // user's actions on them are served at once; the property sheet opens the settings.
  void ConnectStage() {
    runtime_.SetObserver(&stage_);
    stage_.SetUserBalloonFont(settings_.balloon_font, settings_.balloon_font_size);
    stage_.SetNextObserver(&sheet_opener_);
    stage_.SetUserInputCallback([this] { loop_.WakeSoon(); });
    stage_.SetCommandCallback([this](const std::string& name) {
      if (name == kCloseCommandName) ArmCloseGuard();
    });
    close_guard_.setSingleShot(true);
    QObject::connect(&close_guard_, &QTimer::timeout, [this] {
      err_ << "rirerazo: the script kept the player too busy to close; ending it.\n";
      session_.Stop(host::kExitNormal);
    });
    stage_.SetPlayerMenu([this] { return tray_.MenuOutOfReach(); }, [this] { tray_.OpenMenu(); });
    loop_.SetOnQuit([this] { ui_.CloseOpenBoxes(); });
    loop_.SetAnimator([this] {
      runtime_.Advance(clock_.NowMs());
      stage_.Sync();
      tip_.Follow();
    });
  }

  // The listening key and the tip: a press or release is served at once, like a click.
  void ConnectListening() {
    voice_.SetTipObserver([this](const ListeningTipState& state) { tip_.Show(state); });
    listening_key_.Bind(settings_.listening_key);
  }

  // A character's Close is a command: the player yields to pending events before it starts
  // shutting down, and a script that keeps feeding itself events (and error boxes) can hold
  // it there. The user asked to close, so the run is ended when the normal shutdown should
  // have been over and still is not.
  void ArmCloseGuard() {
    if (!close_guard_.isActive()) close_guard_.start(int(kShutdownIntervalMs + kCloseGraceMs));
  }

  // Opens the settings sheet once the runtime has returned (an observer must not call
  // back into it, and the sheet does not block the script).
  class SheetOpener : public runtime::RuntimeObserver {
   public:
    explicit SheetOpener(Host& host) : host_(host) {}
    void OnPropertySheetShown() override {
      QTimer::singleShot(0, [this] { host_.ShowSettings(); });
    }

   private:
    Host& host_;
  };

  void OnListeningKey(bool pressed) {
    if (pressed) {
      voice_.KeyPressed(clock_.NowMs());
    } else {
      voice_.KeyReleased(clock_.NowMs());
    }
    loop_.WakeSoon();
  }

  void ShowSettings() {
    if (!sheet_) {
      std::vector<std::string> voices;
      if (auto* espeak = dynamic_cast<EspeakEngine*>(engine_.get())) {
        voices.assign(espeak->VoiceNames().begin(), espeak->VoiceNames().end());
      }
      sheet_ = std::make_unique<SettingsSheet>(voices, [this](const DesktopSettings& chosen) {
        settings_ = chosen;
        SaveDesktopSettings(settings_);
        stage_.SetUserBalloonFont(settings_.balloon_font, settings_.balloon_font_size);
        listening_key_.Bind(settings_.listening_key);
      });
    }
    sheet_->Present(settings_);
  }

  const host::Options& options_;
  std::ostream& err_;
  os::SystemClock clock_;
  DesktopLoop loop_;
  DesktopSettings settings_;
  std::unique_ptr<AudioOutput> device_;
  SwitchableAudioOutput audio_;
  std::unique_ptr<runtime::SpeechEngine> engine_;
  UserVoiceEngine speech_;
  runtime::CharacterRuntime runtime_;
  VoiceListening voice_{runtime_, clock_, err_};
  CharacterStage stage_;
  ListeningTip tip_{stage_};
  ListeningKey listening_key_{[this] { OnListeningKey(true); }, [this] { OnListeningKey(false); },
                              err_};
  SheetOpener sheet_opener_{*this};
  std::unique_ptr<SettingsSheet> sheet_;
  host::Session session_;
  QtUi ui_;
  QtTray qt_tray_;
  MenuTray tray_;
  os::PosixShell shell_;
  os::X11KeySender keys_;
  BackdropWindow backdrop_;
  QtMediaDevice media_;
  QtClipboard clipboard_;
  QtFileDialog file_dialog_;
  ImpressPresentation presentation_;
  QTimer close_guard_;
};

// Characters place themselves anywhere on the screen only under X11; on a Wayland session
// the player runs on XWayland.
void PreferX11() {
  const char* display = std::getenv("DISPLAY");
  if (display && *display) setenv("QT_QPA_PLATFORM", "xcb", 1);
}

}  // namespace

int RunDesktop(const host::Options& options, const std::string& program_file_name, int argc,
               char** argv, std::ostream& out, std::ostream& err) {
  std::unique_ptr<QApplication> app;
  if (QApplication::instance() == nullptr) {
    PreferX11();
    app = std::make_unique<QApplication>(argc, argv);
  }
  QApplication::setQuitOnLastWindowClosed(false);
  Host host(options, err);
  if (!host.OpenSinks(out)) return host::kExitUsage;
  return host.Run(program_file_name);
}

}  // namespace rirerazo::desktop
