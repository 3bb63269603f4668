#include "os/posix_system.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace rirerazo::os {
namespace {

std::string WithoutTrailingSlashes(std::string folder) {
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

}  // namespace

std::string PosixSystem::ExecutablePath() const {
  std::vector<char> buffer(256);
  for (;;) {
    const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n < 0) return {};
    if (static_cast<std::size_t>(n) < buffer.size()) return std::string(buffer.data(), n);
    if (buffer.size() >= (1u << 20)) return {};  // no sane path is this long
    buffer.resize(buffer.size() * 2);
  }
}

std::string PosixSystem::TempFolder() const {
  const std::string tmpdir = Environment("TMPDIR");
  return tmpdir.empty() ? "/tmp" : WithoutTrailingSlashes(tmpdir);
}

std::string PosixSystem::Environment(const std::string& name) const {
  const char* value = std::getenv(name.c_str());
  return value != nullptr ? value : "";
}

std::string PosixSystem::HomeFolder() const {
  const std::string home = Environment("HOME");
  if (!home.empty()) return home;
  long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
  passwd entry{};
  passwd* result = nullptr;
  if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &result) != 0 ||
      result == nullptr || result->pw_dir == nullptr) {
    return {};
  }
  return result->pw_dir;
}

}  // namespace rirerazo::os
