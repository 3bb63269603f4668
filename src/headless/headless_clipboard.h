// The headless clipboard: empty until the user-input script (or a test) puts text on it.
#pragma once

#include <string>

#include "platform/clipboard.h"

namespace rirerazo::headless {

class HeadlessClipboard : public platform::Clipboard {
 public:
  std::string GetText() override { return text_; }
  void SetText(const std::string& text) override { text_ = text; }

 private:
  std::string text_;
};

}  // namespace rirerazo::headless
