// A trace sink for people: turns the records of a playing script into readable lines
// such as "Host says: Hello", "Host plays Wave" or "Host moves to 448,320".
#pragma once

#include <ostream>

#include "headless/trace.h"

namespace rirerazo::headless {

class TranscriptSink : public TraceSink {
 public:
  explicit TranscriptSink(std::ostream& out) : out_(out) {}
  void Write(const TraceRecord& record) override;

 private:
  void WriteAgentCall(const TraceRecord& record);
  void WriteEvent(const TraceRecord& record);

  std::ostream& out_;
};

// Speech text as a person reads it in the balloon: tags removed, \Map\ shows its second text.
std::string BalloonText(const std::string& speech);

}  // namespace rirerazo::headless
