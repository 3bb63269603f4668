// The headless shell and keystroke sender (the host's tracing wrappers record their calls).
//
// By default nothing is started: a program start is checked the way the real start would
// go (is the program found in PATH?) without running it, and a document counts as opened
// when it exists, so the trace shows the same decisions as a desktop run, deterministically
// and without side effects. When the host asks for it (`real` given), starts and openings
// go to the real shell as well. Windows to close exist only when a test adds them.
#pragma once

#include <optional>
#include <set>
#include <string>

#include "platform/key_sender.h"
#include "platform/runtime_error.h"
#include "platform/shell.h"

namespace rirerazo::headless {

class HeadlessShell : public platform::Shell {
 public:
  // `real` (not owned) may be null: nothing is started then.
  explicit HeadlessShell(platform::Shell* real) : real_(real) {}

  void StartProgram(const std::string& command_line) override;
  std::int32_t OpenDocument(const std::string& file, const std::string& parameters) override;
  bool CloseWindowByTitle(const std::string& title) override;

  // A top-level window that CloseWindowByTitle can find.
  void AddWindow(const std::string& title) { windows_.insert(title); }
  bool HasWindow(const std::string& title) const { return windows_.contains(title); }
  // Makes the next call raise `error` (OpenDocument returns kNoAssociation instead).
  void FailNextCall(RuntimeError error) { fail_next_.emplace(std::move(error)); }

 private:
  void ThrowIfFailing();

  platform::Shell* real_;
  std::multiset<std::string> windows_;
  std::optional<RuntimeError> fail_next_;
};

class HeadlessKeySender : public platform::KeySender {
 public:
  // Checks the notation as the real sender does (a malformed text raises error 5).
  void SendKeys(const std::string& keys) override;
  void FailNextCall(RuntimeError error) { fail_next_.emplace(std::move(error)); }

 private:
  std::optional<RuntimeError> fail_next_;
};

}  // namespace rirerazo::headless
