// The desktop clipboard's text through Qt. Text goes out as UTF-8 (legacy Windows-1252 bytes
// are converted first) and comes back as UTF-8. Needs a running QApplication.
#pragma once

#include <string>

#include "platform/clipboard.h"

namespace rirerazo::desktop {

class QtClipboard final : public platform::Clipboard {
 public:
  std::string GetText() override;
  void SetText(const std::string& text) override;
};

}  // namespace rirerazo::desktop
