// Sends keystrokes to the window that has the keyboard focus, in the classic key notation:
// '+' Shift, '^' Ctrl, '%' Alt and '~' Enter; named keys in braces ({ENTER}, {F5}) with an
// optional repeat count ({TAB 3}); parentheses hold a modifier over a group (+(abc));
// braces quote a special character ({+}, {(}, {{}, {}}).
#pragma once

#include <string>

namespace rirerazo::platform {

class KeySender {
 public:
  virtual ~KeySender() = default;

  // Sends `keys` and returns once the receiving side has processed them. Throws
  // RuntimeError 5 when the notation is malformed (nothing is sent then), and a
  // RuntimeError naming the cause when there is no display to send to.
  virtual void SendKeys(const std::string& keys) = 0;
};

}  // namespace rirerazo::platform
