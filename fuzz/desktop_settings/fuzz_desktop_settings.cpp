// Any bytes as the desktop's settings file: reading it never fails, and every number it
// yields lies in the range the settings sheet offers.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "desktop/host/desktop_settings.h"

namespace {

// The settings file under a configuration folder of this process's own.
const std::string& SettingsPath() {
  static const std::string path = [] {
    const char* tmp = std::getenv("TMPDIR");
    const std::string home = std::string(tmp && *tmp ? tmp : "/tmp") + "/fuzz_desktop_settings." +
                             std::to_string(getpid());
    std::filesystem::create_directories(home + "/RIRERazo");
    setenv("XDG_CONFIG_HOME", home.c_str(), 1);
    return home + "/RIRERazo/RIRERazo.ini";
  }();
  return path;
}

// Qt re-reads a settings file only when its size or time changed; each input gets a time
// of its own so none is answered from the cache.
void StampUniquely(const std::string& path) {
  static std::int64_t seconds = 1'000'000'000;
  const timespec times[2] = {{seconds, 0}, {seconds, 0}};
  ++seconds;
  utimensat(AT_FDCWD, path.c_str(), times, 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string& path = SettingsPath();
  {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  StampUniquely(path);
  const rirerazo::desktop::DesktopSettings settings = rirerazo::desktop::LoadDesktopSettings();
  using namespace rirerazo::desktop;
  if (settings.words_per_minute < 0 || settings.words_per_minute > kMaxWordsPerMinute) std::abort();
  if (settings.pitch < 0 || settings.pitch > kMaxPitch) std::abort();
  if (settings.balloon_font_size < 0 || settings.balloon_font_size > kMaxBalloonFontSize) {
    std::abort();
  }
  return 0;
}
