// A file dialog that records each request and the user's choice in the trace, then hands
// the choice back unchanged.
#pragma once

#include "host/trace.h"
#include "platform/file_dialog.h"

namespace rirerazo::host {

class TracingFileDialog final : public platform::FileDialog {
 public:
  // Neither reference is owned.
  TracingFileDialog(platform::FileDialog& inner, Tracer& tracer) : inner_(inner), tracer_(tracer) {}
  std::optional<platform::FileDialogResult> Show(const platform::FileDialogRequest& request) override;

 private:
  platform::FileDialog& inner_;
  Tracer& tracer_;
};

}  // namespace rirerazo::host
