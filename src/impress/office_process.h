// The office as a process of our own: a private user profile in a fresh temporary folder,
// a UNO connection offered on a pipe with a unique name, and no window of its own until a
// document opens. The office never outlives the player: it runs in a process group of its
// own that Stop ends, and the kernel kills it when the player's thread that started it
// ends (so a crash of the player takes the office with it).
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>

namespace rirerazo::impress {

// The office's program folder (the one holding soffice.bin), found at run time:
// $RIRERAZO_OFFICE_PROGRAM, then the folder `soffice` on the PATH leads to, then the usual
// install places. Empty when the office is not installed.
std::string FindOfficeProgramFolder();

// A fresh folder under the temporary folder, removed with its contents on destruction.
class TemporaryFolder {
 public:
  explicit TemporaryFolder(const std::string& prefix);
  ~TemporaryFolder();
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;

  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

class OfficeProcess {
 public:
  // `program_folder` holds soffice.bin; the profile goes under `profile_folder`.
  OfficeProcess(std::string program_folder, std::string profile_folder);
  ~OfficeProcess() { Stop(); }
  OfficeProcess(const OfficeProcess&) = delete;
  OfficeProcess& operator=(const OfficeProcess&) = delete;

  // The pipe the office accepts UNO connections on.
  const std::string& PipeName() const { return pipe_name_; }

  // Starts the office; false when it could not be started at all.
  bool Start();
  // Whether the office still runs. An office that ends asking to be restarted (as it may
  // after setting up a new profile) is started again.
  bool Running();
  // Ends the office: asks it to end, waits up to `grace_ms`, then kills what is left of its
  // process group.
  void Stop(int grace_ms = 3000);
  pid_t Pid() const { return pid_; }

 private:
  bool Spawn();

  std::string program_folder_;
  std::string profile_url_;
  std::string pipe_name_;
  pid_t pid_ = 0;
  int restarts_ = 0;
};

}  // namespace rirerazo::impress
