// The progress line of a render on standard error: the virtual time rendered (and the
// length when it is known), the frames written, the speed as a multiple of real time and,
// with a known length, the time left. On a terminal one line is rewritten in place; to a
// file or pipe a plain line is written at most once every few seconds. The last line says
// what was written.
#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>

namespace rirerazo::render {

class RenderProgress {
 public:
  using WallMs = std::function<std::int64_t()>;

  // `length_ms`: how long the video will be at most, when known. `wall_ms`: a steady clock.
  RenderProgress(std::ostream& err, bool terminal, std::optional<std::int64_t> length_ms,
                 WallMs wall_ms);

  // After each frame; writes a line when one is due.
  void Update(std::int64_t rendered_ms, std::int64_t frames);
  // The closing line, with the file name.
  void Finish(std::int64_t rendered_ms, std::int64_t frames, const std::string& path);

  // The text of one progress line (without line end), for the given wall time spent.
  std::string Line(std::int64_t rendered_ms, std::int64_t frames, std::int64_t spent_ms) const;

  static constexpr std::int64_t kTerminalEveryMs = 200;
  static constexpr std::int64_t kPlainEveryMs = 5000;

 private:
  std::ostream& err_;
  bool terminal_;
  std::optional<std::int64_t> length_ms_;
  WallMs wall_ms_;
  std::int64_t started_ms_;
  std::int64_t last_written_ms_;
  bool line_open_ = false;  // a terminal line waits to be overwritten
};

}  // namespace rirerazo::render
