#include "headless/headless_shell.h"

#include <cstdlib>
#include <filesystem>

#include "os/command_line.h"
#include "os/key_notation.h"

namespace rirerazo::headless {

namespace {

std::string SearchPath() {
  const char* path = std::getenv("PATH");
  return path != nullptr ? path : "/usr/bin:/bin";
}

std::string WithSlashes(std::string path) {
  for (char& c : path) c = c == '\\' ? '/' : c;
  return path;
}

// What the real opening call would answer, without opening anything.
std::int32_t SimulatedOpen(const std::string& file) {
  namespace result = platform::open_result;
  if (file.find("://") != std::string::npos || file.rfind("mailto:", 0) == 0) return result::kOk;
  const std::filesystem::path path(WithSlashes(file));
  std::error_code error;
  if (file.empty()) return result::kFileNotFound;
  if (std::filesystem::exists(path, error)) return result::kOk;
  const auto folder = path.parent_path();
  return folder.empty() || std::filesystem::is_directory(folder, error) ? result::kFileNotFound
                                                                        : result::kPathNotFound;
}

}  // namespace

void HeadlessShell::ThrowIfFailing() {
  if (!fail_next_) return;
  const RuntimeError error = *fail_next_;
  fail_next_.reset();
  throw error;
}

void HeadlessShell::StartProgram(const std::string& command_line) {
  ThrowIfFailing();
  const std::vector<std::string> words = os::SplitCommandLine(command_line);
  if (words.empty() || words[0].empty()) {
    throw RuntimeError(err::kInvalidProcedureCall, "Invalid procedure call or argument");
  }
  if (real_ != nullptr) {
    real_->StartProgram(command_line);
  } else if (os::FindProgram(WithSlashes(words[0]), SearchPath()).empty()) {
    throw RuntimeError(err::kFileNotFound, "File not found: " + words[0]);
  }
}

std::int32_t HeadlessShell::OpenDocument(const std::string& file, const std::string& parameters) {
  std::int32_t result = platform::open_result::kNoAssociation;
  if (fail_next_) {
    fail_next_.reset();
  } else {
    result = real_ != nullptr ? real_->OpenDocument(file, parameters) : SimulatedOpen(file);
  }
  return result;
}

bool HeadlessShell::CloseWindowByTitle(const std::string& title) {
  ThrowIfFailing();
  const auto it = windows_.find(title);
  const bool found = it != windows_.end();
  if (found) windows_.erase(it);
  return found;
}

void HeadlessKeySender::SendKeys(const std::string& keys) {
  if (fail_next_) {
    const RuntimeError error = *fail_next_;
    fail_next_.reset();
    throw error;
  }
  os::ParseKeyNotation(keys);
}

}  // namespace rirerazo::headless
