// One connection to a running office over UNO, and what the slide-show module does with it:
// open a presentation in a window, set up and run its show, move it on, close it. Every
// call runs on the player's thread and raises RuntimeError when the office refuses; the
// show's events reach the given queue on the office's bridge threads.
//
// UNO's own types stay inside uno_office.cpp, so nothing else needs the generated headers.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "impress/show_events.h"

namespace rirerazo::impress {

// What a call waiting for the office's main thread needs from its caller.
struct OfficeThreadHooks {
  std::function<void(std::int64_t duration_ms)> pause;  // lets the player's host go on
  std::function<bool()> alive;                          // whether the office still runs
  std::function<void()> abandon;                        // ends an office that does not answer
};

class UnoOffice {
 public:
  // Connects to the office offering UNO on `pipe_name`; null while it does not accept yet.
  // `program_folder` holds the office's type libraries.
  static std::unique_ptr<UnoOffice> TryConnect(const std::string& program_folder,
                                               const std::string& pipe_name,
                                               std::shared_ptr<ShowEventQueue> events,
                                               OfficeThreadHooks hooks);
  ~UnoOffice();
  UnoOffice(const UnoOffice&) = delete;
  UnoOffice& operator=(const UnoOffice&) = delete;

  // Opens the presentation at `path` in a window of its own. Raises the open error when the
  // office cannot load it or it is not a presentation.
  void Open(const std::string& path);
  bool HasDocument() const;
  std::int32_t SlideCount();
  void BringToFront();
  void SetVisible(bool visible);
  void SetMinimized(bool minimized);

  void SetEndless(bool endless);
  // With timings off, every slide waits for a request (or the user) to move on.
  void SetUseSlideTimings(bool use);
  // Starts the show full screen and attaches our listener as soon as the show has one.
  void StartShow();
  // Attaches the listener when the show's controller exists; true once attached.
  bool AttachListener();
  bool ShowRunning();
  void NextSlide();
  void EndShow();

  void CloseWindow();
  void CloseDocument();
  // Asks the office to end, waiting up to `limit` for its answer; the connection is gone
  // afterwards.
  void Terminate(std::chrono::milliseconds limit);

 private:
  struct Parts;
  explicit UnoOffice(std::unique_ptr<Parts> parts);
  std::unique_ptr<Parts> parts_;
};

}  // namespace rirerazo::impress
