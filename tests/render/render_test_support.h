// Shared pieces of the render tests: renders a script in-process (or through the program),
// and reads the video back with FFmpeg's own tools: ffprobe for the streams, ffmpeg to
// decode a picture at a time or the whole sound track.
#pragma once

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <QColor>
#include <QImage>
#include <QRect>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "render/render_host.h"
#include "support/scratch_folder.h"

namespace rirerazo::render::testing {

inline const std::string kExamples = std::string(RIRERAZO_SOURCE_DIR) + "/examples/";
inline const std::string kProgram = std::string(RIRERAZO_BINARY_DIR) + "/src/rirerazo";

struct CommandResult {
  int status = -1;
  std::string output;  // standard output only
};

inline CommandResult RunCommand(const std::string& command) {
  CommandResult result;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return result;
  char buffer[65536];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
    result.output.append(buffer, n);
  }
  const int status = ::pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

inline bool HaveFfmpegTools() {
  return RunCommand("ffprobe -version >/dev/null 2>&1 && ffmpeg -version >/dev/null 2>&1")
             .status == 0;
}

#define RIRERAZO_REQUIRE_FFMPEG_TOOLS() \
  if (!::rirerazo::render::testing::HaveFfmpegTools()) GTEST_SKIP() << "ffprobe/ffmpeg missing"

// ffprobe's description of the file's streams and format.
inline nlohmann::json Probe(const std::string& path) {
  const CommandResult probe = RunCommand("ffprobe -v error -print_format json -show_streams "
                                         "-show_format '" + path + "'");
  if (probe.status != 0) return {};
  return nlohmann::json::parse(probe.output, nullptr, false);
}

inline const nlohmann::json* StreamOf(const nlohmann::json& probe, const std::string& type) {
  if (!probe.contains("streams")) return nullptr;
  for (const auto& stream : probe["streams"]) {
    if (stream.value("codec_type", "") == type) return &stream;
  }
  return nullptr;
}

// The picture shown at `seconds`, decoded; null when it cannot be.
inline QImage DecodeFrameAt(const std::string& path, double seconds, int width, int height) {
  std::ostringstream command;
  command << "ffmpeg -v error -i '" << path << "' -ss " << seconds
          << " -frames:v 1 -f rawvideo -pix_fmt rgb24 -";
  const CommandResult decoded = RunCommand(command.str());
  if (decoded.status != 0 || decoded.output.size() != std::size_t(width) * height * 3) return {};
  return QImage(reinterpret_cast<const uchar*>(decoded.output.data()), width, height, width * 3,
                QImage::Format_RGB888)
      .copy();
}

// The sound track as mono 8 kHz samples.
inline std::vector<std::int16_t> DecodeSound(const std::string& path) {
  const CommandResult decoded =
      RunCommand("ffmpeg -v error -i '" + path + "' -vn -ac 1 -ar 8000 -f s16le -");
  std::vector<std::int16_t> samples(decoded.output.size() / 2);
  std::memcpy(samples.data(), decoded.output.data(), samples.size() * 2);
  return samples;
}

// The root mean square of the samples between two times (8 kHz).
inline double Energy(const std::vector<std::int16_t>& samples, double from_s, double to_s) {
  const auto from = std::min(samples.size(), std::size_t(from_s * 8000));
  const auto to = std::min(samples.size(), std::size_t(to_s * 8000));
  if (to <= from) return 0;
  double sum = 0;
  for (std::size_t i = from; i < to; ++i) sum += double(samples[i]) * samples[i];
  return std::sqrt(sum / double(to - from));
}

// The mean colour of a region and how far its pixels stray from one colour.
inline double Distance(QColor a, QColor b) {
  return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
         std::abs(a.blue() - b.blue());
}
inline double MeanDistanceFrom(const QImage& image, const QRect& region, QColor colour) {
  double total = 0;
  int count = 0;
  const QRect clipped = region.intersected(image.rect());
  for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
    for (int x = clipped.left(); x <= clipped.right(); ++x) {
      total += Distance(image.pixelColor(x, y), colour);
      ++count;
    }
  }
  return count ? total / count : 0;
}

struct RenderRun {
  int status = -1;
  std::string trace;
  std::string errors;
};

// Renders `script` (a path) to `video` in this process.
inline RenderRun Render(const std::string& script, const std::string& video,
                        std::vector<std::string> extra = {}) {
  std::vector<std::string> args = {"--render", video, "--start-time", "2026-12-07T15:05:00",
                                   "--trace", "-"};
  args.insert(args.end(), extra.begin(), extra.end());
  args.push_back(script);
  const host::ParseResult parsed = host::ParseOptions(args);
  RenderRun run;
  if (!parsed.error.empty()) {
    run.errors = parsed.error;
    return run;
  }
  std::ostringstream out, err;
  char name[] = "rirerazo";
  char* argv[] = {name, nullptr};
  run.status = RunRender(parsed.options, "rirerazo", 1, argv, out, err, false);
  run.trace = out.str();
  run.errors = err.str();
  return run;
}

// The virtual time of the trace's last line (the exit), in milliseconds.
inline std::int64_t TraceEndMs(const std::string& trace) {
  std::int64_t end = -1;
  std::istringstream lines(trace);
  for (std::string line; std::getline(lines, line);) {
    const auto record = nlohmann::json::parse(line, nullptr, false);
    if (record.is_object() && record.contains("t")) end = record["t"].get<std::int64_t>();
  }
  return end;
}

}  // namespace rirerazo::render::testing
