// The desktop clipboard's plain text. Called on the player's thread only.
#pragma once

#include <string>

namespace rirerazo::platform {

class Clipboard {
 public:
  virtual ~Clipboard() = default;

  // The clipboard's text as bytes (UTF-8 on Linux); empty when it holds no text.
  virtual std::string GetText() = 0;
  virtual void SetText(const std::string& text) = 0;
};

}  // namespace rirerazo::platform
