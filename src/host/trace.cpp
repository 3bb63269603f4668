#include "host/trace.h"

#include <cmath>
#include <cstdio>

#include "core/util/display_text.h"

namespace rirerazo::host {
namespace {

std::string JsonNumber(double value) {
  if (!std::isfinite(value)) return "null";
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.17g", value);
  return buffer;
}

struct JsonValue {
  std::string operator()(std::int64_t v) const { return std::to_string(v); }
  std::string operator()(double v) const { return JsonNumber(v); }
  std::string operator()(bool v) const { return v ? "true" : "false"; }
  std::string operator()(const std::string& v) const { return JsonQuote(v); }
  std::string operator()(const std::vector<std::string>& items) const {
    std::string out = "[";
    for (size_t i = 0; i < items.size(); ++i) {
      if (i > 0) out += ',';
      out += JsonQuote(items[i]);
    }
    return out + "]";
  }
};

struct PlainText {
  std::string operator()(std::int64_t v) const { return std::to_string(v); }
  std::string operator()(double v) const { return JsonNumber(v); }
  std::string operator()(bool v) const { return v ? "true" : "false"; }
  std::string operator()(const std::string& v) const { return v; }
  std::string operator()(const std::vector<std::string>& items) const {
    std::string out;
    for (const auto& item : items) out += (out.empty() ? "" : ",") + item;
    return out;
  }
};

}  // namespace

std::string JsonQuote(const std::string& text) {
  const std::string utf8 = DisplayTextUtf8(text);
  std::string out = "\"";
  for (unsigned char c : utf8) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (c < 0x20) {
          char buffer[8];
          std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
          out += buffer;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out + "\"";
}

const TraceValue* TraceRecord::Find(const std::string& key) const {
  for (const auto& field : fields) {
    if (field.key == key) return &field.value;
  }
  return nullptr;
}

std::string TraceRecord::Text(const std::string& key) const {
  const TraceValue* value = Find(key);
  return value ? std::visit(PlainText{}, *value) : std::string();
}

void JsonLinesSink::Write(const TraceRecord& record) {
  std::string line =
      "{\"t\":" + std::to_string(record.time_ms) + ",\"kind\":" + JsonQuote(record.kind);
  for (const auto& field : record.fields) {
    line += ',' + JsonQuote(field.key) + ':' + std::visit(JsonValue{}, field.value);
  }
  line += "}\n";
  out_ << line;
  out_.flush();
}

void Tracer::Record(std::string kind, std::vector<TraceField> fields) {
  TraceRecord record{clock_.NowMs(), std::move(kind), std::move(fields)};
  for (TraceSink* sink : sinks_) sink->Write(record);
}

}  // namespace rirerazo::host
