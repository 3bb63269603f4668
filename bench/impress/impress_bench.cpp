// A slide-show script on the desktop, on an X server of the program's own (Xvfb):
//   impress_bench [runs] [--drop-caches]
// Each run spawns the player on a script that names a one-slide presentation and times,
// from the spawn, until the slide's colour fills the screen (read back from the X server
// every 10 ms). The office's resident memory is read from /proc while the slide is shown.
// The player then plays the slide's piece, moves on past the last slide and ends.
//
// Every run's office starts with a new profile, as the player's always does. With
// --drop-caches (as root) the kernel's page cache is emptied before the first run, so that
// run reads the office's files from disk, as the first show after booting does.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "support/xvfb_server.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr unsigned long kSlideColour = 0xc02080;

std::string FlatPresentation() {
  return R"(<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0" xmlns:draw="urn:oasis:names:tc:opendocument:xmlns:drawing:1.0" xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0" office:version="1.3" office:mimetype="application/vnd.oasis.opendocument.presentation">
<office:automatic-styles><style:page-layout style:name="PM1"><style:page-layout-properties fo:page-width="28cm" fo:page-height="15.75cm"/></style:page-layout><style:style style:name="dp1" style:family="drawing-page"><style:drawing-page-properties draw:fill="solid" draw:fill-color="#c02080"/></style:style></office:automatic-styles><office:master-styles><style:master-page style:name="Default" style:page-layout-name="PM1"/></office:master-styles><office:body><office:presentation><draw:page draw:name="p1" draw:style-name="dp1" draw:master-page-name="Default"/></office:presentation></office:body></office:document>
)";
}

void Write(const fs::path& path, const std::string& text) {
  std::ofstream(path) << text;
}

// The first soffice.bin whose parent is `parent`; 0 when there is none (yet).
pid_t OfficeOf(pid_t parent) {
  for (const auto& entry : fs::directory_iterator("/proc")) {
    const std::string name = entry.path().filename();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::ifstream stat(entry.path() / "stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const auto open = text.find('('), close = text.rfind(')');
    if (open == std::string::npos || close == std::string::npos) continue;
    if (text.substr(open + 1, close - open - 1) != "soffice.bin") continue;
    char state = 0;
    long ppid = 0;
    if (std::sscanf(text.c_str() + close + 2, "%c %ld", &state, &ppid) == 2 && ppid == parent) {
      return static_cast<pid_t>(std::stol(name));
    }
  }
  return 0;
}

long StatusKb(pid_t pid, const std::string& field) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind(field + ":", 0) == 0) return std::atol(line.c_str() + field.size() + 1);
  }
  return -1;
}

// The proportional share of the office's memory (shared libraries split among their users).
long PssKb(pid_t pid) {
  std::ifstream rollup("/proc/" + std::to_string(pid) + "/smaps_rollup");
  for (std::string line; std::getline(rollup, line);) {
    if (line.rfind("Pss:", 0) == 0) return std::atol(line.c_str() + 4);
  }
  return -1;
}

bool SlideOnScreen(Display* display) {
  const Window root = DefaultRootWindow(display);
  XImage* image = XGetImage(display, root, 100, 300, 1, 1, AllPlanes, ZPixmap);
  if (image == nullptr) return false;
  const unsigned long pixel = XGetPixel(image, 0, 0) & 0xffffff;
  XDestroyImage(image);
  return pixel == kSlideColour;
}

struct Run {
  double to_slide_s = -1;
  double whole_s = -1;
  long office_rss_kb = -1;
  long office_pss_kb = -1;
  int status = -1;
};

Run PlayOnce(Display* display, const std::string& player, const fs::path& script) {
  Run run;
  const auto start = Clock::now();
  const pid_t child = fork();
  if (child == 0) {
    const int null_fd = open("/dev/null", O_WRONLY);
    dup2(null_fd, 1);
    dup2(null_fd, 2);
    execl(player.c_str(), player.c_str(), script.c_str(), nullptr);
    _exit(127);
  }
  const auto limit = start + std::chrono::seconds(60);
  while (Clock::now() < limit) {
    if (SlideOnScreen(display)) {
      run.to_slide_s = std::chrono::duration<double>(Clock::now() - start).count();
      if (const pid_t office = OfficeOf(child)) {
        run.office_rss_kb = StatusKb(office, "VmRSS");
        run.office_pss_kb = PssKb(office);
      }
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  int status = 0;
  for (;;) {
    if (waitpid(child, &status, WNOHANG) == child) break;
    if (Clock::now() > limit) {
      kill(child, SIGTERM);
      waitpid(child, &status, 0);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  run.whole_s = std::chrono::duration<double>(Clock::now() - start).count();
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

}  // namespace

// Empties the page cache; false when that is not allowed.
bool DropCaches() {
  sync();
  std::ofstream drop("/proc/sys/vm/drop_caches");
  drop << "3\n";
  drop.flush();
  return drop.good();
}

int main(int argc, char** argv) {
  int runs = 6;
  bool drop_caches = false;
  for (int i = 1; i < argc; ++i) {
    if (std::string(argv[i]) == "--drop-caches") {
      drop_caches = true;
    } else {
      runs = std::max(2, std::atoi(argv[i]));
    }
  }
  rirerazo::testing::XvfbServer server;
  if (!server.Running()) {
    std::fprintf(stderr, "impress_bench: Xvfb is not installed\n");
    return 1;
  }
  setenv("DISPLAY", server.Display().c_str(), 1);
  setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 1);
  unsetenv("WAYLAND_DISPLAY");
  char folder_template[] = "/tmp/impress-bench-XXXXXX";
  const fs::path folder = mkdtemp(folder_template);
  // The player's saved state starts empty.
  setenv("HOME", folder.c_str(), 1);
  setenv("XDG_CACHE_HOME", (folder / "cache").c_str(), 1);
  setenv("XDG_CONFIG_HOME", (folder / "config").c_str(), 1);
  setenv("RIRERAZO_CHARACTERS", RIRERAZO_BINARY_DIR "/src", 1);
  Write(folder / "slide.fodp", FlatPresentation());
  Write(folder / "show.vrn",
        "[VORN Script]\nVersion=1.0\nPowerPointFile=slide.fodp\nPowerPointAutoAdvance=1\n"
        "PowerPointPause=1\n\n[Characters]\nHost=Rira.acs\n\n[Script]\n"
        "Host.MoveTo 800, 560, 0\nHost.Show\nHost.Speak \"Hello.\"\n");
  Display* display = XOpenDisplay(server.Display().c_str());
  if (display == nullptr) return 1;
  const std::string player = RIRERAZO_BINARY_DIR "/src/rirerazo";
  if (drop_caches && !DropCaches()) {
    std::fprintf(stderr, "impress_bench: the page cache cannot be emptied (not root?)\n");
    drop_caches = false;
  }
  std::vector<double> warm;
  for (int i = 0; i < runs; ++i) {
    const Run run = PlayOnce(display, player, folder / "show.vrn");
    std::printf(
        "run %d (%s disk cache): first slide after %.2f s, office %.0f MB resident (%.0f MB "
        "proportional), player ended after %.2f s with status %d\n",
        i + 1, i == 0 && drop_caches ? "cold" : "warm", run.to_slide_s,
        double(run.office_rss_kb) / 1024.0, double(run.office_pss_kb) / 1024.0, run.whole_s,
        run.status);
    std::fflush(stdout);
    if (i > 0 && run.to_slide_s > 0) warm.push_back(run.to_slide_s);
  }
  if (!warm.empty()) {
    std::sort(warm.begin(), warm.end());
    std::printf("runs 2 to %d: median %.2f s, min %.2f s, max %.2f s\n", runs,
                warm[warm.size() / 2], warm.front(), warm.back());
  }
  XCloseDisplay(display);
  fs::remove_all(folder);
  return 0;
}
