// The headless host's script of user input: what a user would do, at which virtual time.
// One action per line; blank lines and lines starting with '#' are ignored:
//
//   <time> choose <character> <command> [<confidence> [<alt1> <alt1-confidence> [<alt2>]]]
//   <time> say <character> <phrase> [<confidence>]
//   <time> hear <character> <file.wav>   (a recording, through the speech recogniser)
//   <time> click <character> [<x> <y>]
//   <time> drag <character> <x> <y>
//   <time> show <character>          (from the character's own menu)
//   <time> hide <character>
//   <time> tray <item caption> | tray #<n>   (right-click the tray icon, choose an item)
//   <time> tray right-click | left-click | double-click | move   (mouse events on the icon)
//   <time> backdrop close
//   <time> dialog <path> | dialog cancel   (the answer to the next file dialog)
//   <time> clipboard <text>
//
// A time is milliseconds ("1500", "1500ms") or seconds ("1.5s"); a leading '+' counts from
// the previous line's time. Times never go back. Arguments are separated by blanks; a
// "quoted argument" may hold blanks, and "" inside it stands for one quote. Confidences run
// from -100 to 100 (default 100). The format is described in docs/runtime.md.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "headless/event_loop.h"
#include "platform/agent_control.h"
#include "runtime/character_runtime.h"

namespace rirerazo::headless {

enum class InputAction {
  kChoose,
  kSay,
  kHear,
  kClick,
  kDrag,
  kShow,
  kHide,
  kTray,
  kBackdropClose,
  kDialog,
  kClipboard,
};

struct InputItem {
  int line = 0;
  std::int64_t at_ms = 0;
  InputAction action = InputAction::kChoose;
  std::string character;
  std::string text;  // phrase, recording, tray caption, dialog path, clipboard text
  std::optional<std::int32_t> x;
  std::optional<std::int32_t> y;
  std::int32_t confidence = 100;
  platform::UserInput command;  // kChoose
  bool cancel = false;          // kDialog
  std::int32_t position = 0;    // kTray: 1-based position of the item chosen; 0: by caption
  std::vector<int> tray_mouse;  // kTray: mouse messages on the icon instead of a choice
};

class InputScriptError : public std::runtime_error {
 public:
  InputScriptError(int line, const std::string& message)
      : std::runtime_error("line " + std::to_string(line) + ": " + message), line_(line) {}
  int Line() const { return line_; }

 private:
  int line_;
};

// Throws InputScriptError at the first bad line.
std::vector<InputItem> ParseUserInput(std::string_view text);

// What the runtime cannot act on itself; the host wires it to its tray, backdrop, file dialog
// and clipboard.
class UserInputHost {
 public:
  virtual ~UserInputHost() = default;
  // A right click on the tray icon, then the item with this caption (position 0) or at this
  // 1-based position among the visible items chosen from the menu it opens.
  virtual void ChooseTrayItem(const std::string& caption, std::int32_t position) = 0;
  // Mouse messages (platform/tray.h numbers) on the tray icon, in order.
  virtual void TrayMouse(const std::vector<int>& mouse_messages) = 0;
  virtual void CloseBackdrop() = 0;
  // nullopt: the dialog is cancelled.
  virtual void AnswerFileDialog(const std::optional<std::string>& path) = 0;
  virtual void SetClipboardText(const std::string& text) = 0;
  // A recording heard while `character` listens, through the speech recogniser.
  virtual void HearRecording(const std::string& character, const std::string& path);
  // A `say` line's phrase, after the runtime has heard it for `character`; for a host that
  // shows what was heard.
  virtual void Said(const std::string& /*character*/, const std::string& /*phrase*/,
                    std::int32_t /*confidence*/) {}
};

// Feeds the script into the loop at its times. An action that cannot be carried out (an
// unknown character or command) is reported through `on_error` and skipped.
class UserInputFeeder : public host::EventSource {
 public:
  using ErrorHandler = std::function<void(int line, const std::string& message)>;

  UserInputFeeder(std::vector<InputItem> items, runtime::CharacterRuntime& runtime,
                  UserInputHost* host, ErrorHandler on_error);

  std::optional<std::int64_t> NextDueMs() const override;
  bool Serve(std::int64_t now_ms) override;
  bool HasPendingWork() const override { return next_ < items_.size(); }

 private:
  void Apply(const InputItem& item);

  std::vector<InputItem> items_;
  std::size_t next_ = 0;
  runtime::CharacterRuntime& runtime_;
  UserInputHost* host_;
  ErrorHandler on_error_;
};

}  // namespace rirerazo::headless
