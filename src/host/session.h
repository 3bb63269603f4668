// One run of the player on some host. The session owns what every host shares (the
// trace and its outputs, the tracing wrappers, the runtime's place in the message loop,
// the operating system's services, downloads and pictures), takes the host's own devices,
// wires the Platform bundle and runs the player from start-up to its end.
//
// A host builds its clock, loop, speech engine and character runtime first, then the
// session over them, then hands the session its devices with Wire() before Run().
#pragma once

#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>

#include "host/options.h"
#include "host/runtime_source.h"
#include "host/trace.h"
#include "host/trace_outputs.h"
#include "host/tracing/tracing_agent.h"
#include "host/tracing/tracing_devices.h"
#include "host/tracing/tracing_file_dialog.h"
#include "host/tracing/tracing_internet.h"
#include "host/tracing/tracing_presentation.h"
#include "host/tracing/tracing_ui.h"
#include "os/curl_internet.h"
#include "os/picture_file.h"
#include "os/posix_system.h"
#include "platform/platform.h"
#include "runtime/character_runtime.h"

namespace rirerazo {
class Player;
}

namespace rirerazo::host {

// The devices that differ from host to host. None is owned; all outlive the session's run.
struct HostDevices {
  platform::Ui* ui = nullptr;
  platform::MessageLoop* loop = nullptr;
  platform::Shell* shell = nullptr;
  platform::KeySender* keys = nullptr;
  platform::Backdrop* backdrop = nullptr;
  platform::MediaDevice* media = nullptr;
  platform::Clipboard* clipboard = nullptr;
  platform::FileDialog* file_dialog = nullptr;
  platform::PresentationApp* presentation = nullptr;
  platform::Tray* tray = nullptr;  // null: the host has no notification area
};

class Session {
 public:
  // `clock` and `runtime` are the host's and outlive the session.
  Session(const Options& options, platform::Clock& clock, runtime::CharacterRuntime& runtime);

  // Adds the trace and transcript outputs the options ask for; false (said on `err`) when
  // the trace file cannot be written.
  bool OpenOutputs(std::ostream& out, std::ostream& err);

  // Completes the Platform bundle with the host's devices, each behind its tracing wrapper.
  void Wire(const HostDevices& devices);

  // Start-up, then `run_loop` (the host's main loop) unless start-up already quit, then
  // the main form's unloading. Returns the exit status and records it in the trace.
  int Run(const std::string& program_file_name, const std::function<void()>& run_loop);

  // Stops the running player from wherever the host finds itself, however deeply nested:
  // the main form unloads (as the error report's Cancel does), so every nested script
  // returns at its next line, and the run ends with `status`. Nothing while no player runs.
  void Stop(int status);

  Tracer& tracer() { return tracer_; }
  // Serves the runtime's steps and events; the host adds it to its message loop.
  EventSource& runtime_source() { return runtime_source_; }
  const platform::System& system() const { return system_; }
  // The services as the player sees them (wrapped): a host acting for the user goes
  // through them where the trace should show the act.
  platform::Platform& services() { return services_; }

 private:
  int Exit(int status);

  const Options& options_;
  platform::Clock& clock_;
  runtime::CharacterRuntime& runtime_;
  Tracer tracer_;
  TracingAgentControl agent_;
  RuntimeSource runtime_source_;
  os::PosixSystem system_;
  os::FilePictureDecoder pictures_;
  os::CurlInternet curl_;
  TracingInternet internet_;
  TraceOutputs outputs_;
  std::unique_ptr<TracingUi> ui_;
  std::unique_ptr<TracingShell> shell_;
  std::unique_ptr<TracingKeySender> keys_;
  std::unique_ptr<TracingBackdrop> backdrop_;
  std::unique_ptr<TracingMediaDevice> media_;
  std::unique_ptr<TracingClipboard> clipboard_;
  std::unique_ptr<TracingTray> tray_;
  std::unique_ptr<TracingFileDialog> file_dialog_;
  std::unique_ptr<TracingPresentationApp> presentation_;
  platform::Platform services_;
  Player* player_ = nullptr;  // while Run runs
  std::optional<int> stopped_status_;
};

}  // namespace rirerazo::host
