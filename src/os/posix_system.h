// platform::System on Linux: the running program's path from /proc/self/exe, the
// temporary folder from $TMPDIR (or /tmp), the environment, and the home folder from $HOME
// (or the password database). Stateless; every call reads the current value.
#pragma once

#include "platform/system.h"

namespace rirerazo::os {

class PosixSystem final : public platform::System {
 public:
  // Empty when /proc is not mounted or the link cannot be read.
  std::string ExecutablePath() const override;
  // $TMPDIR when set and not empty, else "/tmp"; trailing "/" removed except for the root.
  std::string TempFolder() const override;
  std::string Environment(const std::string& name) const override;
  // $HOME when set and not empty, else the user's entry in the password database.
  std::string HomeFolder() const override;
};

}  // namespace rirerazo::os
