// Downloads that record themselves in the trace: the opening of each URL (with the
// response status, or the error that refused it) and the end of its transfer (the bytes
// read, or the error that broke it off). Data and errors pass through unchanged.
#pragma once

#include "host/trace.h"
#include "platform/internet.h"

namespace rirerazo::host {

class TracingInternet final : public platform::Internet {
 public:
  // Neither reference is owned.
  TracingInternet(platform::Internet& inner, Tracer& tracer) : inner_(inner), tracer_(tracer) {}
  std::unique_ptr<platform::InternetResource> Open(const std::string& url,
                                                   const std::string& user_agent) override;

 private:
  platform::Internet& inner_;
  Tracer& tracer_;
};

}  // namespace rirerazo::host
