// The one entry point of the slide-show module (rirerazo-impress.so), which runs shows in
// LibreOffice Impress. The program and the module are built together from the same
// sources, so the call may carry C++ objects.
#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>

#include "platform/presentation_app.h"

namespace rirerazo {

// A presentation application whose events are raised on other threads: they wait in a
// queue until the host's loop calls DeliverEvents on the player's thread.
class QueuedPresentationApp : public platform::PresentationApp {
 public:
  // Hands the waiting events to the listener, in order; returns how many. Player's thread.
  virtual int DeliverEvents() = 0;
  // Whether events wait; callable from any thread.
  virtual bool HasWaitingEvents() const = 0;
  // A show is open on screen: the user may still advance or end it.
  virtual bool ShowOnScreen() const = 0;
};

struct ImpressModuleCall {
  // Called on any thread when an event starts waiting; the host wakes its loop.
  std::function<void()> events_waiting;
  // Lets the player's thread wait without blocking the host (the characters go on moving).
  std::function<void(std::int64_t duration_ms)> pause;
};

// The module's file name, found by os::LoadModule, and its entry point's name. The entry
// point returns a new application (owned by the caller) or null when the office is not
// installed.
inline constexpr const char* kImpressModuleFile = "rirerazo-impress.so";
inline constexpr const char* kImpressModuleEntry = "rirerazo_make_impress";
using ImpressModuleEntry = QueuedPresentationApp* (*)(const ImpressModuleCall*);

}  // namespace rirerazo
