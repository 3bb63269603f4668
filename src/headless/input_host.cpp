#include "headless/input_host.h"

#include "platform/runtime_error.h"

namespace rirerazo::headless {
namespace {

[[noreturn]] void NotOffered(const std::string& what) {
  throw RuntimeError(err::kInvalidProcedureCall, "the headless host has no " + what + " yet");
}

}  // namespace

void HeadlessInputHost::ChooseTrayItem(const std::string& caption, std::int32_t position) {
  tray_.Choose(TraySelector{caption, position});
}

void HeadlessInputHost::TrayMouse(const std::vector<int>& mouse_messages) {
  for (int message : mouse_messages) tray_.Mouse(message);
}

void HeadlessInputHost::CloseBackdrop() {
  NotOffered("backdrop");
}

void HeadlessInputHost::AnswerFileDialog(const std::optional<std::string>&) {
  NotOffered("file dialog");
}

void HeadlessInputHost::SetClipboardText(const std::string&) {
  NotOffered("clipboard");
}

}  // namespace rirerazo::headless
