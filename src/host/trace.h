// A run's trace: one record for every call the player makes to its surroundings and
// every event it receives, stamped with the host clock's time (virtual on the headless
// host, the wall clock since start on the desktop). Records go to any number of sinks
// (JSON lines for tools and tests, a readable transcript for people).
// The record kinds and field names are documented in docs/trace.md and kept stable.
#pragma once

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <variant>
#include <vector>

#include "platform/clock.h"

namespace rirerazo::host {

using TraceValue = std::variant<std::int64_t, double, bool, std::string, std::vector<std::string>>;

struct TraceField {
  std::string key;
  TraceValue value;
};

struct TraceRecord {
  std::int64_t time_ms = 0;
  std::string kind;
  std::vector<TraceField> fields;

  // The field's value as text, or empty when the record has no such field.
  std::string Text(const std::string& key) const;
  const TraceValue* Find(const std::string& key) const;
};

class TraceSink {
 public:
  virtual ~TraceSink() = default;
  virtual void Write(const TraceRecord& record) = 0;
};

// Writes each record as one JSON object on its own line: {"t":ms,"kind":...,fields...}.
class JsonLinesSink : public TraceSink {
 public:
  explicit JsonLinesSink(std::ostream& out) : out_(out) {}
  void Write(const TraceRecord& record) override;

 private:
  std::ostream& out_;
};

// Keeps every record in memory; tests read them back.
class MemorySink : public TraceSink {
 public:
  void Write(const TraceRecord& record) override { records.push_back(record); }
  std::vector<TraceRecord> records;
};

// Stamps records with the clock's time and hands them to every sink. Not owned: sinks.
class Tracer {
 public:
  explicit Tracer(const platform::Clock& clock) : clock_(clock) {}

  void AddSink(TraceSink* sink) { sinks_.push_back(sink); }
  void Record(std::string kind, std::vector<TraceField> fields);

 private:
  const platform::Clock& clock_;
  std::vector<TraceSink*> sinks_;
};

// JSON string escaping for trace text; bytes that are not valid UTF-8 are decoded as
// Windows-1252, so every line is valid JSON whatever the script's encoding.
std::string JsonQuote(const std::string& text);

}  // namespace rirerazo::host
