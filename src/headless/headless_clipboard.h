// The headless clipboard: empty until the user-input script (or a test) puts text on it.
// Reads and writes go to the trace.
#pragma once

#include <string>

#include "host/trace.h"
#include "platform/clipboard.h"

namespace rirerazo::headless {

class HeadlessClipboard : public platform::Clipboard {
 public:
  explicit HeadlessClipboard(host::Tracer* tracer) : tracer_(tracer) {}

  std::string GetText() override {
    if (tracer_ != nullptr) tracer_->Record("clipboard", {{"op", "GetText"}, {"text", text_}});
    return text_;
  }
  void SetText(const std::string& text) override {
    text_ = text;
    if (tracer_ != nullptr) tracer_->Record("clipboard", {{"op", "SetText"}, {"text", text_}});
  }

 private:
  host::Tracer* tracer_;
  std::string text_;
};

}  // namespace rirerazo::headless
