// A trace sink for people: turns the records of a playing script into readable lines
// such as "Host says: Hello", "Host plays Wave" or "Host moves to 448,320". A queued
// request is shown when the character starts it, not when the script queues it, so the
// transcript follows what a person would see. At the size limit the transcript ends with
// a line saying it was cut, then only the line of the player's end.
#pragma once

#include <cstdint>
#include <map>
#include <ostream>
#include <sstream>
#include <string>

#include "host/output_cap.h"
#include "host/trace.h"

namespace rirerazo::host {

class TranscriptSink : public TraceSink {
 public:
  explicit TranscriptSink(std::ostream& out, std::uint64_t limit_bytes = kOutputLimitBytes)
      : sink_(out), cap_(limit_bytes) {}
  void Write(const TraceRecord& record) override;

 private:
  void Emit(const TraceRecord& record);
  void WriteAgentCall(const TraceRecord& record);
  void WriteEvent(const TraceRecord& record);
  void WriteLine(std::int64_t time_ms, const std::string& line);

  std::ostream& sink_;
  std::ostringstream out_;  // the lines of the record at hand, until the cap admits them
  OutputCap cap_;
  std::map<std::int64_t, std::string> waiting_;  // request id -> its line, until it starts
};

// Speech text as a person reads it in the balloon: tags removed, \Map\ shows its second text.
std::string BalloonText(const std::string& speech);

}  // namespace rirerazo::host
