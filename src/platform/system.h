// Facts about the running program and its machine that the core cannot read itself:
// where the executable lives, the environment's temporary folder, and file-system queries
// beyond what the C++ standard library offers portably.
#pragma once

#include <string>
#include <vector>

namespace rirerazo::platform {

class System {
 public:
  virtual ~System() = default;

  // The running executable's full path, with '/' separators.
  virtual std::string ExecutablePath() const = 0;

  // The temporary folder ($TMPDIR or /tmp), without a trailing separator.
  virtual std::string TempFolder() const = 0;

  // The value of an environment variable, empty when unset.
  virtual std::string Environment(const std::string& name) const = 0;

  // The user's home folder, empty when unknown.
  virtual std::string HomeFolder() const = 0;
};

}  // namespace rirerazo::platform
