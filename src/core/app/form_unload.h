// How the player ends itself at once. The main form (the Player) implements this; the error
// report's Cancel button and the statement that closes the player call it, so every
// immediate end goes through the same unloading: the tray icon removed, other windows
// closed, media stopped, then the message loop told to quit. The shutdown timer's second
// tick uses UnloadMainForm as well.
#pragma once

namespace rirerazo::app {

class FormUnload {
 public:
  virtual ~FormUnload() = default;

  // Closes the backdrop window when it is open; does nothing otherwise.
  virtual void UnloadBackdrop() = 0;

  // Runs the main form's unload steps and asks the message loop to quit; the program ends
  // once the running handler returns. Callers keep running until then, so this must be
  // safe to call again (a second report cancelled from an event during the first).
  virtual void UnloadMainForm() = 0;
};

}  // namespace rirerazo::app
