// The headless host's side of the user-input script: what the character runtime cannot act
// on itself. Tray actions go to the recording tray; the backdrop, the file dialog and the
// clipboard are refused with an error (reported against the script's line) until those
// services join the headless host.
#pragma once

#include "headless/recording_tray.h"
#include "headless/user_input.h"

namespace rirerazo::headless {

class HeadlessInputHost : public UserInputHost {
 public:
  // `tray` is not owned and outlives this object.
  explicit HeadlessInputHost(RecordingTray& tray) : tray_(tray) {}

  void ChooseTrayItem(const std::string& caption, std::int32_t position) override;
  void TrayMouse(const std::vector<int>& mouse_messages) override;
  void CloseBackdrop() override;
  void AnswerFileDialog(const std::optional<std::string>& path) override;
  void SetClipboardText(const std::string& text) override;

 private:
  RecordingTray& tray_;
};

}  // namespace rirerazo::headless
