#include "impress/office_process.h"

#include <fcntl.h>
#include <glob.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <thread>
#include <vector>

#include "impress/file_url.h"

extern char** environ;

namespace rirerazo::impress {
namespace {

namespace fs = std::filesystem;

// What soffice.bin's exit status says when it wants to be started again.
constexpr int kRestartRequested = 81;
constexpr int kMaxRestarts = 3;

bool HasOffice(const std::string& folder) {
  return !folder.empty() && access((folder + "/soffice.bin").c_str(), X_OK) == 0;
}

// The folder of the `soffice` that PATH finds, followed through its links.
std::string FolderOfSofficeOnPath() {
  const char* path = std::getenv("PATH");
  if (path == nullptr) return {};
  std::string dirs = path;
  for (std::size_t start = 0; start <= dirs.size();) {
    std::size_t end = dirs.find(':', start);
    if (end == std::string::npos) end = dirs.size();
    const fs::path candidate = fs::path(dirs.substr(start, end - start)) / "soffice";
    std::error_code ec;
    const fs::path real = fs::canonical(candidate, ec);
    if (!ec && HasOffice(real.parent_path().string())) return real.parent_path().string();
    start = end + 1;
  }
  return {};
}

std::string UniquePipeName() {
  static std::atomic<int> counter{0};
  const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
  return "rirerazo-" + std::to_string(getpid()) + "-" + std::to_string(++counter) + "-" +
         std::to_string(now % 1000000007);
}

// The environment of the office: ours, and the GTK drawing backend where nobody chose
// one (the plain X11 backend does not paint a full-screen show on every X server).
std::vector<std::string> OfficeEnvironment(const std::string& program_folder) {
  std::vector<std::string> env;
  for (char** entry = environ; *entry != nullptr; ++entry) env.emplace_back(*entry);
  if (std::getenv("SAL_USE_VCLPLUGIN") == nullptr &&
      access((program_folder + "/libvclplug_gtk3lo.so").c_str(), F_OK) == 0) {
    env.emplace_back("SAL_USE_VCLPLUGIN=gtk3");
  }
  return env;
}

std::vector<char*> Pointers(std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  for (std::string& s : strings) pointers.push_back(s.data());
  pointers.push_back(nullptr);
  return pointers;
}

}  // namespace

std::string FindOfficeProgramFolder() {
  if (const char* chosen = std::getenv("RIRERAZO_OFFICE_PROGRAM")) {
    return HasOffice(chosen) ? std::string(chosen) : std::string();
  }
  if (std::string folder = FolderOfSofficeOnPath(); !folder.empty()) return folder;
  for (const char* pattern : {"/usr/lib/libreoffice/program", "/usr/lib64/libreoffice/program",
                              "/opt/libreoffice*/program"}) {
    glob_t found{};
    if (glob(pattern, 0, nullptr, &found) == 0) {
      for (std::size_t i = 0; i < found.gl_pathc; ++i) {
        if (HasOffice(found.gl_pathv[i])) {
          std::string folder = found.gl_pathv[i];
          globfree(&found);
          return folder;
        }
      }
    }
    globfree(&found);
  }
  return {};
}

TemporaryFolder::TemporaryFolder(const std::string& prefix) {
  std::error_code ec;
  std::string pattern = (fs::temp_directory_path(ec) / (prefix + "XXXXXX")).string();
  if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
}

TemporaryFolder::~TemporaryFolder() {
  std::error_code ec;
  if (!path_.empty()) fs::remove_all(path_, ec);
}

OfficeProcess::OfficeProcess(std::string program_folder, std::string profile_folder)
    : program_folder_(std::move(program_folder)),
      profile_url_(FileUrl(profile_folder)),
      pipe_name_(UniquePipeName()) {}

bool OfficeProcess::Start() {
  restarts_ = 0;
  return Spawn();
}

bool OfficeProcess::Spawn() {
  std::vector<std::string> args = {
      program_folder_ + "/soffice.bin",
      "-env:UserInstallation=" + profile_url_,
      "--accept=pipe,name=" + pipe_name_ + ";urp;StarOffice.ComponentContext",
      "--norestore",
      "--nologo",
      "--nodefault",
      "--nolockcheck"};
  std::vector<std::string> env = OfficeEnvironment(program_folder_);
  std::vector<char*> argv = Pointers(args);
  std::vector<char*> envp = Pointers(env);
  const pid_t parent = getpid();
  const pid_t child = fork();
  if (child < 0) return false;
  if (child == 0) {
    // Only async-signal-safe calls until exec.
    setpgid(0, 0);
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) _exit(1);  // the player ended before the line above
    const int null_fd = open("/dev/null", O_RDWR);
    if (null_fd >= 0) {
      dup2(null_fd, 0);
      dup2(null_fd, 1);
      dup2(null_fd, 2);
    }
    execve(argv[0], argv.data(), envp.data());
    _exit(127);
  }
  setpgid(child, child);  // also from here, so the group exists before we signal it
  pid_ = child;
  return true;
}

bool OfficeProcess::Running() {
  if (pid_ == 0) return false;
  int status = 0;
  const pid_t done = waitpid(pid_, &status, WNOHANG);
  if (done == 0) return true;
  pid_ = 0;
  if (done > 0 && WIFEXITED(status) && WEXITSTATUS(status) == kRestartRequested &&
      restarts_ < kMaxRestarts) {
    ++restarts_;
    return Spawn();
  }
  return false;
}

void OfficeProcess::Stop(int grace_ms) {
  if (pid_ == 0) return;
  const pid_t group = pid_;
  kill(-group, SIGTERM);
  int status = 0;
  for (int waited_ms = 0; waited_ms < grace_ms; waited_ms += 20) {
    if (waitpid(pid_, &status, WNOHANG) != 0) {
      pid_ = 0;
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  kill(-group, SIGKILL);  // whatever of the group is left
  if (pid_ != 0) waitpid(pid_, &status, 0);
  pid_ = 0;
}

}  // namespace rirerazo::impress
