#include "headless/headless_file_dialog.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

namespace rirerazo::headless {

namespace fs = std::filesystem;
void HeadlessFileDialog::QueueAnswer(std::optional<std::string> typed_name) {
  answers_.push_back(std::move(typed_name));
}

void HeadlessFileDialog::QueueAnswers(const std::vector<InputItem>& user_input) {
  for (const InputItem& item : user_input) {
    if (item.action != InputAction::kDialog) continue;
    QueueAnswer(item.cancel ? std::nullopt : std::optional<std::string>(item.text));
  }
}

std::optional<platform::FileDialogResult> HeadlessFileDialog::Show(
    const platform::FileDialogRequest& request) {
  requests_.push_back(request);
  while (next_answer_ < answers_.size()) {
    std::optional<std::string> typed = answers_[next_answer_++];
    if (!typed) return std::nullopt;
    if (std::optional<std::string> chosen = host::AcceptTypedFileName(request, *typed)) {
      return platform::FileDialogResult{*chosen, fs::path(*chosen).filename().string()};
    }
    refused_.push_back(*typed);
  }
  return std::nullopt;
}

}  // namespace rirerazo::headless
