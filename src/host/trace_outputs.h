// Where a run's trace goes, as the command line says: JSON lines to a file or to standard
// output (--trace), readable lines to standard output (--transcript). Shared by every host.
#pragma once

#include <fstream>
#include <iosfwd>
#include <memory>

#include "host/options.h"
#include "host/trace.h"
#include "host/transcript.h"

namespace rirerazo::host {

class TraceOutputs {
 public:
  // Adds the sinks the options ask for to `tracer`; false (with a message on `err`) when
  // the trace file cannot be written. The outputs must outlive the tracer's use.
  bool Open(const Options& options, Tracer& tracer, std::ostream& out, std::ostream& err);

 private:
  std::ofstream file_;
  std::unique_ptr<JsonLinesSink> json_;
  std::unique_ptr<TranscriptSink> transcript_;
};

}  // namespace rirerazo::host
