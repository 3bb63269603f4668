// The real keystroke sender: types the classic key notation into the focused window
// through the X server's test extension.
#pragma once

#include <string>

#include "platform/key_sender.h"

namespace rirerazo::os {

class X11KeySender : public platform::KeySender {
 public:
  // `display_name` empty: $DISPLAY. The display is opened on each call, so a sender can be
  // made where no display exists and fails only when used.
  explicit X11KeySender(std::string display_name = "") : display_name_(std::move(display_name)) {}

  // Parses first (a malformed text sends nothing), then presses and releases each key with
  // its modifiers, and returns once the X server has delivered every event. A character
  // that no key of the keyboard types is typed through an empty key code that is bound to
  // it and stays bound. Throws RuntimeError 68 when there is no display or the
  // server lacks the test extension.
  void SendKeys(const std::string& keys) override;

 private:
  std::string display_name_;
};

}  // namespace rirerazo::os
