#include "render/render_host.h"

#include <QGuiApplication>
#include <QImage>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <optional>
#include <ostream>
#include <sstream>

#include "desktop/services/qt_media_device.h"
#include "desktop/speech/espeak_engine.h"
#include "headless/answer_policy.h"
#include "headless/event_loop.h"
#include "headless/headless_clipboard.h"
#include "headless/headless_file_dialog.h"
#include "headless/headless_shell.h"
#include "headless/headless_ui.h"
#include "headless/recording_tray.h"
#include "headless/user_input.h"
#include "headless/virtual_clock.h"
#include "host/exit_status.h"
#include "host/presentation/simulated_presentation.h"
#include "host/presentation_source.h"
#include "host/session.h"
#include "os/picture_file.h"
#include "os/system_clock.h"
#include "render/frame_recorder.h"
#include "render/render_backdrop.h"
#include "render/render_progress.h"
#include "render/screen_canvas.h"
#include "render/sound_track.h"
#include "render/video_encoder.h"
#include "render/video_layer.h"
#include "runtime/character_runtime.h"

namespace rirerazo::render {
namespace {

// Without --duration a script that never ends stops here: an hour of video.
constexpr std::int64_t kDefaultLimitMs = 3'600'000;

std::int64_t SteadyMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

std::optional<std::vector<headless::InputItem>> ReadUserInput(const std::string& path,
                                                              std::ostream& err) {
  if (path.empty()) return std::vector<headless::InputItem>{};
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    err << "rirerazo: cannot read the user input '" << path << "'\n";
    return std::nullopt;
  }
  std::stringstream text;
  text << in.rdbuf();
  try {
    return headless::ParseUserInput(text.str());
  } catch (const headless::InputScriptError& error) {
    err << "rirerazo: " << path << ": " << error.what() << "\n";
    return std::nullopt;
  }
}

headless::RunLimits LimitsFor(const host::Options& options) {
  headless::RunLimits limits;
  limits.max_virtual_ms = options.duration_ms.value_or(kDefaultLimitMs);
  return limits;
}

QSize ScreenOf(const host::Options& options) {
  if (options.screen_given) return QSize(options.screen_width_px, options.screen_height_px);
  return QSize(1280, 720);
}

// Everything one render is made of, wired in dependency order: the headless host's devices,
// with the espeak-ng voice, the media device (its videos drawn) and the backdrop sounding and
// showing in the video.
class Host : public headless::UserInputHost {
 public:
  Host(const host::Options& options, QImage background, std::ostream& out, std::ostream& err)
      : options_(options),
        out_(out),
        err_(err),
        screen_(ScreenOf(options)),
        clock_(StartTime()),
        loop_(clock_, &pacer_, LimitsFor(options)),
        track_(clock_, desktop::PcmFormat{48000, 2}),
        engine_(desktop::MakeDesktopSpeechEngine(track_, err)),
        runtime_(clock_, *engine_, runtime::RuntimeOptions{.seed = options.seed}),
        session_(options, clock_, runtime_),
        ui_(headless::HeadlessUi::Settings{Answers(), screen_.width(), screen_.height()}, err),
        shell_(nullptr),
        videos_(clock_, track_, screen_),
        media_(
            track_, [this] { return clock_.NowMs(); }, true),
        presentation_(clock_),
        presentation_source_(presentation_),
        canvas_(runtime_, track_, screen_, std::move(background), &backdrop_) {
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
    media_.SetOfflineVideoPlayer([this](const std::string& file, std::int64_t length_ms) {
      auto player = videos_.Open(file, length_ms);
      if (!player && !video_notice_given_) {
        video_notice_given_ = true;
        err_ << "rirerazo: cannot draw the video '" << file
             << "' into the render; it keeps its length in silence\n";
      }
      return player;
    });
    canvas_.SetVideoLayer(&videos_);
  }

  bool OpenSinks() { return session_.OpenOutputs(out_, err_); }

  bool AddUserInput() {
    auto items = ReadUserInput(options_.input_path, err_);
    if (!items) return false;
    if (items->empty()) return true;
    file_dialog_.QueueAnswers(*items);
    feeder_ = std::make_unique<headless::UserInputFeeder>(
        std::move(*items), runtime_, this, [this](int line, const std::string& message) {
          err_ << "rirerazo: " << options_.input_path << ":" << line << ": " << message << "\n";
        });
    loop_.AddSource(*feeder_);
    return true;
  }

  // Opens the video file; false (saying why) when it cannot be written.
  bool OpenVideo() {
    try {
      encoder_ = std::make_unique<VideoEncoder>(EncoderSettings{
          options_.render_path, canvas_.Image().width(), canvas_.Image().height(),
          options_.frames_per_second, track_.Format().sample_rate_hz, track_.Format().channels});
    } catch (const EncodeError& error) {
      err_ << "rirerazo: " << error.what() << "\n";
      return false;
    }
    recorder_ = std::make_unique<FrameRecorder>(clock_, runtime_, canvas_, track_, *encoder_,
                                                options_.frames_per_second);
    pacer_.target = recorder_.get();
    return true;
  }

  void ShowProgress(bool terminal) {
    progress_ = std::make_unique<RenderProgress>(err_, terminal, options_.duration_ms, SteadyMs);
    recorder_->SetFrameListener([this](std::int64_t rendered_ms, std::int64_t frames) {
      progress_->Update(rendered_ms, frames);
    });
  }

  // The exit status of the player's run, or kExitRenderFailed when the video could not be
  // finished (the trace's exit record says how the player ended).
  int Run(const std::string& program_file_name) {
    const int status = session_.Run(program_file_name, [this] { RenderUntilDone(); });
    return status == host::kExitNormal && !written_ ? kExitRenderFailed : status;
  }

 private:
  // The host's main loop: the script plays while the recorder writes frames, then the
  // video is finished at the point where it ended.
  void RenderUntilDone() {
    const headless::RunLimits limits = LimitsFor(options_);
    const headless::RunOutcome outcome = loop_.RunUntilDone(limits);
    Report(outcome);
    const std::int64_t end_ms =
        outcome == headless::RunOutcome::kLimitReached ? limits.max_virtual_ms : clock_.NowMs();
    written_ = FinishVideo(std::max(end_ms, clock_.NowMs()));
  }

  bool FinishVideo(std::int64_t end_ms) {
    try {
      recorder_->Finish(end_ms);
    } catch (const EncodeError& error) {
      err_ << "rirerazo: " << error.what() << "\n";
      return false;
    }
    const std::int64_t frames = recorder_->Frames();
    if (progress_) {
      progress_->Finish(frames * 1000 / options_.frames_per_second, frames, options_.render_path);
    }
    return true;
  }

  // UserInputHost: what the runtime cannot do itself.
  void ChooseTrayItem(const std::string& caption, std::int32_t position) override {
    tray_.Choose(headless::TraySelector{caption, position});
  }
  void TrayMouse(const std::vector<int>& mouse_messages) override {
    for (int message : mouse_messages) tray_.Mouse(message);
  }
  void CloseBackdrop() override { backdrop_.Headless().UserClicksClose(); }
  void AnswerFileDialog(const std::optional<std::string>&) override {}
  void SetClipboardText(const std::string& text) override {
    session_.services().clipboard->SetText(text);
  }

  platform::LocalDateTime StartTime() const {
    const platform::LocalDateTime now = os::SystemClock().LocalNow();
    if (!options_.start_time) return now;
    return headless::ParseStartTime(*options_.start_time).value_or(now);
  }

  headless::AnswerPolicy Answers() const {
    return headless::AnswerPolicy::Parse(options_.answer).value_or(headless::AnswerPolicy());
  }

  void Report(headless::RunOutcome outcome) {
    if (outcome == headless::RunOutcome::kAwaitingUser) {
      err_ << "rirerazo: the script waits for user input that no one will give; the video "
              "ends here.\n";
    } else if (outcome == headless::RunOutcome::kLimitReached) {
      err_ << "rirerazo: the script did not end within "
           << (options_.duration_ms ? "--duration" : "an hour (--duration sets the limit)")
           << "; the video ends there.\n";
    }
  }

  // The loop is built before the recorder (which needs the encoder), so it reaches the
  // recorder through this forwarder.
  struct ForwardingPacer : headless::ClockPacer {
    void PaceTo(std::int64_t from_ms, std::int64_t to_ms) override {
      if (target) target->PaceTo(from_ms, to_ms);
    }
    headless::ClockPacer* target = nullptr;
  };

  const host::Options& options_;
  std::ostream& out_;
  std::ostream& err_;
  QSize screen_;
  headless::VirtualClock clock_;
  ForwardingPacer pacer_;
  headless::EventLoop loop_;
  SoundTrack track_;
  std::unique_ptr<runtime::SpeechEngine> engine_;
  runtime::CharacterRuntime runtime_;
  host::Session session_;
  headless::HeadlessUi ui_;
  headless::RecordingTray tray_;
  headless::HeadlessShell shell_;
  headless::HeadlessKeySender keys_;
  RenderBackdrop backdrop_;
  VideoLayer videos_;  // outlives the media device's players
  desktop::QtMediaDevice media_;
  headless::HeadlessClipboard clipboard_;
  headless::HeadlessFileDialog file_dialog_;
  host::SimulatedPresentationApp presentation_;
  host::PresentationSource presentation_source_;
  ScreenCanvas canvas_;
  std::unique_ptr<headless::UserInputFeeder> feeder_;
  std::unique_ptr<VideoEncoder> encoder_;
  std::unique_ptr<FrameRecorder> recorder_;
  std::unique_ptr<RenderProgress> progress_;
  bool written_ = false;
  bool video_notice_given_ = false;  // one notice for the videos that cannot be drawn
};

// Qt's warnings about a platform without a desktop session (no runtime folder, no
// window system) say nothing to someone rendering a video; its errors still show.
void QuietQtWarnings(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) {
    std::fprintf(stderr, "rirerazo: %s\n", message.toLocal8Bit().constData());
  }
}

// Qt paints without a display on its offscreen platform. The application keeps the
// arguments it is given for its whole life, so they are copied to storage of their own: the
// caller's may be gone by a later render in the same process.
std::unique_ptr<QGuiApplication> MakeApplication(int argc, char** argv) {
  if (QGuiApplication::instance() != nullptr) return nullptr;
  qInstallMessageHandler(QuietQtWarnings);
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static std::array<char, 256> name{};
  std::snprintf(name.data(), name.size(), "%s", argc > 0 && argv[0] ? argv[0] : "rirerazo");
  static int app_argc = 1;
  static char* app_argv[] = {name.data(), nullptr};
  app_argc = 1;
  return std::make_unique<QGuiApplication>(app_argc, app_argv);
}

// The user's background picture, or a null image when none is asked for; nullopt (saying
// why) when it cannot be read.
std::optional<QImage> ReadBackground(const std::string& path, std::ostream& err) {
  if (path.empty()) return QImage();
  try {
    auto picture = os::FilePictureDecoder().Decode(path);
    return QImage(picture->rgba.data(), picture->width_px, picture->height_px,
                  picture->width_px * 4, QImage::Format_RGBA8888)
        .copy();
  } catch (const std::exception&) {
    err << "rirerazo: cannot read the background picture '" << path << "'\n";
    return std::nullopt;
  }
}

}  // namespace

int RunRender(const host::Options& options, const std::string& program_file_name, int argc,
              char** argv, std::ostream& out, std::ostream& err, bool err_is_terminal) {
  if (ContainerForPath(options.render_path).empty()) {
    err << "rirerazo: '" << options.render_path
        << "': the video file's name must end in .mp4 or .webm\n";
    return host::kExitUsage;
  }
  auto app = MakeApplication(argc, argv);
  std::optional<QImage> background = ReadBackground(options.background_path, err);
  if (!background) return host::kExitUsage;
  Host host(options, std::move(*background), out, err);
  if (!host.OpenSinks() || !host.AddUserInput()) return host::kExitUsage;
  if (!host.OpenVideo()) return kExitRenderFailed;
  if (!options.quiet) host.ShowProgress(err_is_terminal);
  return host.Run(program_file_name);
}

}  // namespace rirerazo::render
