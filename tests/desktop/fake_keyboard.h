// Presses and releases keys on an X display through the test extension, as a user would.
// Kept apart from the Qt tests: Xlib's macros (None, Bool, Status) break Qt's headers.
#pragma once

#include <string>

struct _XDisplay;

namespace rirerazo::desktop::testing {

class FakeKeyboard {
 public:
  explicit FakeKeyboard(const std::string& display_name);
  ~FakeKeyboard();
  FakeKeyboard(const FakeKeyboard&) = delete;
  FakeKeyboard& operator=(const FakeKeyboard&) = delete;

  bool Open() const { return display_ != nullptr; }
  // The key of this X keysym name goes down or up; returns once the server has it.
  void Key(const std::string& key_name, bool down);

 private:
  _XDisplay* display_ = nullptr;
};

}  // namespace rirerazo::desktop::testing
