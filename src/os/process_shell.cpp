#include "os/process_shell.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <utility>

#include "os/command_line.h"
#include "os/x11_window_closer.h"
#include "platform/runtime_error.h"

extern char** environ;

namespace rirerazo::os {

namespace {

std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string WithSlashes(std::string path) {
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    const char c = text[i];
    const char lower = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    if (lower != prefix[i]) return false;
  }
  return true;
}

// An address is handed to the opener as it is, without looking for a file.
bool IsAddress(const std::string& text) {
  return text.find("://") != std::string::npos || StartsWithNoCase(text, "mailto:");
}

// Tells a missing file in an existing folder (2) from a path whose folder is missing (3).
std::int32_t MissingFileResult(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return platform::open_result::kFileNotFound;
  struct stat folder {};
  const std::string folder_path = slash == 0 ? "/" : path.substr(0, slash);
  return stat(folder_path.c_str(), &folder) == 0 && S_ISDIR(folder.st_mode)
             ? platform::open_result::kFileNotFound
             : platform::open_result::kPathNotFound;
}

RuntimeError StartError(int error, const std::string& program) {
  switch (error) {
    case ENOENT:
      return RuntimeError(err::kFileNotFound, "File not found: " + program);
    case ENOTDIR:
      return RuntimeError(err::kPathNotFound, "Path not found: " + program);
    case EACCES:
    case EPERM:
      return RuntimeError(err::kPermissionDenied, "Permission denied: " + program);
    case ENOMEM:
    case EAGAIN:
      return RuntimeError(err::kOutOfMemory, "Out of memory");
    default:
      return RuntimeError(err::kInvalidProcedureCall, "Cannot start " + program);
  }
}

}  // namespace

PosixShell::PosixShell(std::string opener, std::string display_name)
    : opener_(std::move(opener)), display_name_(std::move(display_name)) {}

PosixShell::~PosixShell() {
  ReapChildren(false);
}

int PosixShell::Spawn(const std::vector<std::string>& argv, bool search) {
  ReapChildren(false);
  std::vector<char*> args;
  for (const auto& word : argv) args.push_back(const_cast<char*>(word.c_str()));
  args.push_back(nullptr);

  // The started program reads nothing from us and writes its output to our standard
  // error, so a trace written to standard output stays clean. It gets a session of its
  // own: ending the player does not end the programs a script started.
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, 2, 1);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t signals;
  sigemptyset(&signals);
  posix_spawnattr_setsigmask(&attributes, &signals);
  sigaddset(&signals, SIGPIPE);
  posix_spawnattr_setsigdefault(&attributes, &signals);
  posix_spawnattr_setflags(&attributes,
                           POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  pid_t pid = 0;
  const int error = search
                        ? posix_spawnp(&pid, args[0], &actions, &attributes, args.data(), environ)
                        : posix_spawn(&pid, args[0], &actions, &attributes, args.data(), environ);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  if (error == 0) children_.push_back(pid);
  return error;
}

void PosixShell::StartProgram(const std::string& command_line) {
  std::vector<std::string> words = SplitCommandLine(command_line);
  if (words.empty() || words[0].empty()) {
    throw RuntimeError(err::kInvalidProcedureCall, "Invalid procedure call or argument");
  }
  words[0] = WithSlashes(words[0]);
  const int error = Spawn(words, true);
  if (error != 0) throw StartError(error, words[0]);
}

std::int32_t PosixShell::RunOpener(const std::string& target) {
  const int error = Spawn({opener_, target}, true);
  if (error == 0) return platform::open_result::kOk;
  return error == ENOMEM || error == EAGAIN ? platform::open_result::kOutOfMemory
                                            : platform::open_result::kNoAssociation;
}

std::int32_t PosixShell::OpenDocument(const std::string& file, const std::string& parameters) {
  namespace result = platform::open_result;
  const std::string target = Trimmed(file);
  if (target.empty()) return result::kFileNotFound;
  if (IsAddress(target)) return RunOpener(target);
  const std::string path = WithSlashes(target);
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return MissingFileResult(path);
  if (S_ISREG(info.st_mode) && access(path.c_str(), X_OK) == 0) {
    std::vector<std::string> argv = SplitCommandLine(parameters);
    argv.insert(argv.begin(), path.find('/') == std::string::npos ? "./" + path : path);
    const int error = Spawn(argv, false);
    if (error == 0) return result::kOk;
    return error == EACCES || error == EPERM ? result::kAccessDenied : result::kFileNotFound;
  }
  return RunOpener(path);
}

bool PosixShell::CloseWindowByTitle(const std::string& title) {
  X11Connection connection(display_name_);
  return CloseX11WindowByTitle(connection, title);
}

void PosixShell::ReapChildren(bool wait) {
  std::erase_if(children_, [wait](pid_t pid) {
    int status = 0;
    const pid_t done = waitpid(pid, &status, wait ? 0 : WNOHANG);
    return done == pid || (done < 0 && errno == ECHILD);
  });
}

}  // namespace rirerazo::os
