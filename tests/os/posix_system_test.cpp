#include "os/posix_system.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <optional>
#include <string>

namespace rirerazo::os {
namespace {

// Sets an environment variable for one scope and puts the old value back afterwards.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = ::getenv(name)) old_ = old;
    value ? ::setenv(name, value, 1) : ::unsetenv(name);
  }
  ~ScopedEnv() { old_ ? ::setenv(name_, old_->c_str(), 1) : ::unsetenv(name_); }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

std::string TempWith(const char* tmpdir) {
  ScopedEnv env("TMPDIR", tmpdir);
  return PosixSystem().TempFolder();
}

TEST(PosixSystem, ExecutablePathIsThisTestProgram) {
  const std::string path = PosixSystem().ExecutablePath();
  ASSERT_FALSE(path.empty());
  EXPECT_TRUE(std::filesystem::equivalent(path, "/proc/self/exe"));
}

TEST(PosixSystem, TempFolderFollowsTmpdir) {
  EXPECT_EQ(TempWith("/var/tmp//"), "/var/tmp");
  EXPECT_EQ(TempWith("/"), "/");
  EXPECT_EQ(TempWith(""), "/tmp");
  EXPECT_EQ(TempWith(nullptr), "/tmp");
}

TEST(PosixSystem, HomeFallsBackToThePasswordDatabase) {
  {
    ScopedEnv home("HOME", "/home/someone");
    EXPECT_EQ(PosixSystem().HomeFolder(), "/home/someone");
  }
  ScopedEnv no_home("HOME", nullptr);
  EXPECT_FALSE(PosixSystem().HomeFolder().empty());
}

}  // namespace
}  // namespace rirerazo::os
