#include "host/output_cap.h"

namespace rirerazo::host {

OutputCap::Verdict OutputCap::Admit(std::size_t bytes) {
  if (cut_) return Verdict::kDropped;
  const std::uint64_t room =
      limit_bytes_ > kClosingRoomBytes ? limit_bytes_ - kClosingRoomBytes : 0;
  if (written_bytes_ + bytes > room) {
    cut_ = true;
    return Verdict::kCutHere;
  }
  written_bytes_ += bytes;
  return Verdict::kWrite;
}

}  // namespace rirerazo::host
