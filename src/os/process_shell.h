// The real Shell: starts programs with posix_spawnp, opens documents, folders and addresses
// with the desktop's opener (xdg-open), and closes other windows through the X server.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

#include "platform/shell.h"

namespace rirerazo::os {

class PosixShell : public platform::Shell {
 public:
  // `opener` is the program that opens documents and addresses; `display_name` the X
  // display for closing windows (empty: $DISPLAY).
  explicit PosixShell(std::string opener = "xdg-open", std::string display_name = "");
  ~PosixShell() override;
  PosixShell(const PosixShell&) = delete;
  PosixShell& operator=(const PosixShell&) = delete;

  void StartProgram(const std::string& command_line) override;
  std::int32_t OpenDocument(const std::string& file, const std::string& parameters) override;
  bool CloseWindowByTitle(const std::string& title) override;

  // Collects the exit status of started programs that have ended; with `wait` true, waits
  // for every one still running. Started programs are never waited for otherwise, so this
  // only keeps finished ones from lingering as zombies (it runs on every start too).
  void ReapChildren(bool wait);

 private:
  // Spawns argv (argv[0] searched in PATH when `search` is set). Returns 0 or an errno.
  int Spawn(const std::vector<std::string>& argv, bool search);
  std::int32_t RunOpener(const std::string& target);

  std::string opener_;
  std::string display_name_;
  std::vector<pid_t> children_;
};

}  // namespace rirerazo::os
