#include "host/trace_outputs.h"

#include <ostream>

namespace rirerazo::host {

bool TraceOutputs::Open(const Options& options, Tracer& tracer, std::ostream& out,
                        std::ostream& err) {
  if (options.trace_path == "-") {
    json_ = std::make_unique<JsonLinesSink>(out);
  } else if (!options.trace_path.empty()) {
    file_.open(options.trace_path, std::ios::binary | std::ios::trunc);
    if (!file_) {
      err << "rirerazo: cannot write the trace '" << options.trace_path << "'\n";
      return false;
    }
    json_ = std::make_unique<JsonLinesSink>(file_);
  }
  if (json_) tracer.AddSink(json_.get());
  if (options.transcript) {
    transcript_ = std::make_unique<TranscriptSink>(out);
    tracer.AddSink(transcript_.get());
  }
  return true;
}

}  // namespace rirerazo::host
