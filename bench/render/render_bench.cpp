// Renders examples/welcome.vrn at 1280x720 and 25 frames a second to .mp4 and to .webm, each
// in a child process of its own, and prints for each the video's length, the wall and CPU
// time, the speed as a multiple of real time by each, the child's peak resident memory and
// the machine's load average before the render (other work on the machine slows it).
//
//   render_bench [SCREEN [FPS]]     e.g. render_bench 1280x720 25
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "host/options.h"
#include "render/render_host.h"

namespace {

// Renders in this (child) process; the exit status is the render's.
int RenderHere(const std::string& video, const std::string& screen, const std::string& fps) {
  const std::vector<std::string> args = {
      "--render", video,        "--screen", screen, "--fps", fps, "--quiet", "--start-time",
      "2026-12-07T15:05:00", std::string(RIRERAZO_SOURCE_DIR) + "/examples/welcome.vrn"};
  const auto parsed = rirerazo::host::ParseOptions(args);
  if (!parsed.error.empty()) {
    std::cerr << parsed.error << "\n";
    return 2;
  }
  char name[] = "render_bench";
  char* argv[] = {name, nullptr};
  std::ostringstream out;
  return rirerazo::render::RunRender(parsed.options, "rirerazo", 1, argv, out, std::cerr, false);
}

double VideoSeconds(const std::string& video) {
  const std::string command =
      "ffprobe -v error -show_entries format=duration -of default=nw=1:nk=1 '" + video + "'";
  FILE* pipe = popen(command.c_str(), "r");
  double seconds = 0;
  if (pipe && std::fscanf(pipe, "%lf", &seconds) != 1) seconds = 0;
  if (pipe) pclose(pipe);
  return seconds;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string screen = argc > 1 ? argv[1] : "1280x720";
  const std::string fps = argc > 2 ? argv[2] : "25";
  setenv("RIRERAZO_CHARACTERS", (std::string(RIRERAZO_BINARY_DIR) + "/src").c_str(), 1);
  const auto folder = std::filesystem::temp_directory_path();
  std::printf("%-6s %8s %8s %8s %8s %8s %9s %6s\n", "format", "video s", "wall s", "speed",
              "cpu s", "cpu spd", "peak MiB", "load");
  for (const char* extension : {"mp4", "webm"}) {
    const std::string video = (folder / ("render-bench." + std::string(extension))).string();
    double load = 0;
    getloadavg(&load, 1);
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) _exit(RenderHere(video, screen, fps));
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      std::fprintf(stderr, "the %s render failed\n", extension);
      return 1;
    }
    const double length = VideoSeconds(video);
    const double cpu = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                       double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    std::printf("%-6s %8.2f %8.2f %7.1fx %8.2f %7.1fx %9.1f %6.2f\n", extension, length, wall,
                length / wall, cpu, length / cpu, double(usage.ru_maxrss) / 1024.0, load);
    std::filesystem::remove(video);
  }
  return 0;
}
