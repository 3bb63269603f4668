// A trace sink for people: turns the records of a playing script into readable lines
// such as "Host says: Hello", "Host plays Wave" or "Host moves to 448,320". A queued
// request is shown when the character starts it, not when the script queues it, so the
// transcript follows what a person would see.
#pragma once

#include <cstdint>
#include <map>
#include <ostream>
#include <string>

#include "host/trace.h"

namespace rirerazo::host {

class TranscriptSink : public TraceSink {
 public:
  explicit TranscriptSink(std::ostream& out) : out_(out) {}
  void Write(const TraceRecord& record) override;

 private:
  void WriteAgentCall(const TraceRecord& record);
  void WriteEvent(const TraceRecord& record);
  void WriteLine(std::int64_t time_ms, const std::string& line);

  std::ostream& out_;
  std::map<std::int64_t, std::string> waiting_;  // request id -> its line, until it starts
};

// Speech text as a person reads it in the balloon: tags removed, \Map\ shows its second text.
std::string BalloonText(const std::string& speech);

}  // namespace rirerazo::host
