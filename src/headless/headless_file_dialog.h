// The headless host's Open and Save dialogs, answered from a queue of typed names (the
// user-input script fills it). Each answer is handled as the dialog would handle a name
// typed into it: relative to the dialog's first folder, the default extension added to a
// name without one, and refused when the file (or its folder) must exist and does not, in
// which case the next answer is "typed". When no answer is left the dialog is cancelled.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "headless/user_input.h"
#include "host/typed_file_name.h"
#include "platform/file_dialog.h"

namespace rirerazo::headless {

class HeadlessFileDialog final : public platform::FileDialog {
 public:
  // Queues the name typed into the next dialog, or a cancel when `typed_name` is empty.
  void QueueAnswer(std::optional<std::string> typed_name);
  // Queues the answers of every "dialog" line of a user-input script, in order. A dialog is
  // modal: it takes the next answer whenever it is shown, whatever the line's time, so the
  // host's AnswerFileDialog need not queue them again.
  void QueueAnswers(const std::vector<InputItem>& user_input);

  std::optional<platform::FileDialogResult> Show(
      const platform::FileDialogRequest& request) override;

  // Every request shown, and every name the dialog refused, in order.
  const std::vector<platform::FileDialogRequest>& Requests() const { return requests_; }
  const std::vector<std::string>& Refused() const { return refused_; }

 private:
  std::vector<std::optional<std::string>> answers_;
  std::size_t next_answer_ = 0;
  std::vector<platform::FileDialogRequest> requests_;
  std::vector<std::string> refused_;
};

}  // namespace rirerazo::headless
