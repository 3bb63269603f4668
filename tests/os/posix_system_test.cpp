#include "os/posix_system.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <optional>
#include <string>

namespace rirerazo::os {
namespace {

// Sets an environment variable for one test and puts the old value back afterwards.
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

TEST(PosixSystem, ExecutablePathIsThisTestProgram) {
  const std::string path = PosixSystem().ExecutablePath();
  ASSERT_FALSE(path.empty());
  EXPECT_EQ(path.front(), '/');
  EXPECT_TRUE(std::filesystem::equivalent(path, "/proc/self/exe"));
}

TEST(PosixSystem, TempFolderFollowsTmpdir) {
  {
    ScopedEnv env("TMPDIR", "/var/tmp//");
    EXPECT_EQ(PosixSystem().TempFolder(), "/var/tmp");
  }
  {
    ScopedEnv env("TMPDIR", "");
    EXPECT_EQ(PosixSystem().TempFolder(), "/tmp");
  }
  {
    ScopedEnv env("TMPDIR", nullptr);
    EXPECT_EQ(PosixSystem().TempFolder(), "/tmp");
  }
  {
    ScopedEnv env("TMPDIR", "/");
    EXPECT_EQ(PosixSystem().TempFolder(), "/");
  }
}

TEST(PosixSystem, EnvironmentAndHome) {
  ScopedEnv env("RIRERAZO_TEST_VALUE", "on");
  EXPECT_EQ(PosixSystem().Environment("RIRERAZO_TEST_VALUE"), "on");
  EXPECT_EQ(PosixSystem().Environment("RIRERAZO_TEST_UNSET_VALUE"), "");
  {
    ScopedEnv home("HOME", "/home/someone");
    EXPECT_EQ(PosixSystem().HomeFolder(), "/home/someone");
  }
  ScopedEnv no_home("HOME", nullptr);
  EXPECT_FALSE(PosixSystem().HomeFolder().empty());  // from the password database
}

}  // namespace
}  // namespace rirerazo::os
