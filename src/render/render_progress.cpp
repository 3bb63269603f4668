#include "render/render_progress.h"

#include <algorithm>
#include <cstdio>
#include <ostream>

namespace rirerazo::render {
namespace {

std::string Seconds(std::int64_t ms) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f s", double(ms) / 1000.0);
  return text;
}

}  // namespace

RenderProgress::RenderProgress(std::ostream& err, bool terminal,
                               std::optional<std::int64_t> length_ms, WallMs wall_ms)
    : err_(err),
      terminal_(terminal),
      length_ms_(length_ms),
      wall_ms_(std::move(wall_ms)),
      started_ms_(wall_ms_()),
      last_written_ms_(started_ms_) {}

std::string RenderProgress::Line(std::int64_t rendered_ms, std::int64_t frames,
                                 std::int64_t spent_ms) const {
  std::string line = "rirerazo: rendered " + Seconds(rendered_ms);
  if (length_ms_) line += " of at most " + Seconds(*length_ms_);
  line += ", " + std::to_string(frames) + " frames";
  if (spent_ms > 0) {
    const double speed = double(rendered_ms) / double(spent_ms);
    char text[48];
    std::snprintf(text, sizeof text, ", %.1fx real time", speed);
    line += text;
    if (length_ms_ && speed > 0) {
      const auto left_ms =
          std::int64_t(double(std::max<std::int64_t>(0, *length_ms_ - rendered_ms)) / speed);
      line += ", at most " + Seconds(left_ms) + " left";
    }
  }
  return line;
}

void RenderProgress::Update(std::int64_t rendered_ms, std::int64_t frames) {
  const std::int64_t now = wall_ms_();
  if (now - last_written_ms_ < (terminal_ ? kTerminalEveryMs : kPlainEveryMs)) return;
  last_written_ms_ = now;
  const std::string line = Line(rendered_ms, frames, now - started_ms_);
  if (terminal_) {
    err_ << '\r' << line << "\x1b[K" << std::flush;
    line_open_ = true;
  } else {
    err_ << line << '\n' << std::flush;
  }
}

void RenderProgress::Finish(std::int64_t rendered_ms, std::int64_t frames,
                            const std::string& path) {
  const std::int64_t spent_ms = wall_ms_() - started_ms_;
  if (line_open_) err_ << "\r\x1b[K";
  char speed[48] = "";
  if (spent_ms > 0) {
    std::snprintf(speed, sizeof speed, " (%.1fx real time)", double(rendered_ms) / spent_ms);
  }
  err_ << "rirerazo: wrote " << path << ": " << Seconds(rendered_ms) << ", " << frames
       << " frames in " << Seconds(spent_ms) << speed << '\n'
       << std::flush;
}

}  // namespace rirerazo::render
