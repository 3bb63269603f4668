// The size limit of a run's trace and transcript. A script that keeps triggering itself
// would otherwise fill the disk: past the limit an output stops growing and ends with one
// line saying it was cut (and the run's closing record, which the room kept below the limit
// holds).
#pragma once

#include <cstddef>
#include <cstdint>

namespace rirerazo::host {

inline constexpr std::uint64_t kOutputLimitBytes = std::uint64_t{256} << 20;  // 256 MiB

class OutputCap {
 public:
  // Room below the limit for the closing lines: the note that the output was cut and the
  // run's last record.
  static constexpr std::uint64_t kClosingRoomBytes = 1024;

  enum class Verdict {
    kWrite,    // the piece fits: write it
    kCutHere,  // the piece would pass the limit: write the note that the output was cut
    kDropped,  // the output was cut earlier: write nothing more
  };

  explicit OutputCap(std::uint64_t limit_bytes = kOutputLimitBytes) : limit_bytes_(limit_bytes) {}

  // Counts a piece of `bytes` that is to be written; kCutHere comes once.
  Verdict Admit(std::size_t bytes);
  bool Cut() const { return cut_; }
  std::uint64_t LimitBytes() const { return limit_bytes_; }

 private:
  std::uint64_t limit_bytes_;
  std::uint64_t written_bytes_ = 0;
  bool cut_ = false;
};

}  // namespace rirerazo::host
