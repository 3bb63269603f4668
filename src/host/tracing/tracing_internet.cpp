#include "host/tracing/tracing_internet.h"

#include "platform/runtime_error.h"

namespace rirerazo::host {
namespace {

std::vector<TraceField> ErrorFields(const RuntimeError& error) {
  return {{"error", std::int64_t{error.Number()}}, {"description", error.Description()}};
}

class TracingResource final : public platform::InternetResource {
 public:
  TracingResource(std::unique_ptr<platform::InternetResource> inner, std::string url,
                  Tracer& tracer)
      : inner_(std::move(inner)), url_(std::move(url)), tracer_(tracer) {}

  std::size_t Read(char* buffer, std::size_t capacity) override {
    std::size_t count = 0;
    try {
      count = inner_->Read(buffer, capacity);
    } catch (const RuntimeError& error) {
      std::vector<TraceField> fields = {{"op", "Failed"}, {"url", url_}, BytesField()};
      for (TraceField& field : ErrorFields(error)) fields.push_back(std::move(field));
      tracer_.Record("internet", std::move(fields));
      throw;
    }
    bytes_ += count;
    if (count == 0 && capacity > 0 && !ended_) {
      ended_ = true;
      tracer_.Record("internet", {{"op", "End"}, {"url", url_}, BytesField()});
    }
    return count;
  }
  int Status() const override { return inner_->Status(); }

 private:
  TraceField BytesField() const { return {"bytes", static_cast<std::int64_t>(bytes_)}; }

  std::unique_ptr<platform::InternetResource> inner_;
  std::string url_;
  Tracer& tracer_;
  std::uint64_t bytes_ = 0;
  bool ended_ = false;
};

}  // namespace

std::unique_ptr<platform::InternetResource> TracingInternet::Open(const std::string& url,
                                                                  const std::string& user_agent) {
  std::unique_ptr<platform::InternetResource> resource;
  try {
    resource = inner_.Open(url, user_agent);
  } catch (const RuntimeError& error) {
    std::vector<TraceField> fields = {{"op", "Open"}, {"url", url}};
    for (TraceField& field : ErrorFields(error)) fields.push_back(std::move(field));
    tracer_.Record("internet", std::move(fields));
    throw;
  }
  tracer_.Record("internet",
                 {{"op", "Open"}, {"url", url}, {"status", std::int64_t{resource->Status()}}});
  return std::make_unique<TracingResource>(std::move(resource), url, tracer_);
}

}  // namespace rirerazo::host
