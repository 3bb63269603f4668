#include "host/transcript.h"

#include <cstdio>

#include "core/util/display_text.h"

namespace rirerazo::host {
namespace {

std::string Clock(std::int64_t time_ms) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "[%3lld.%03lld] ", static_cast<long long>(time_ms / 1000),
                static_cast<long long>(time_ms % 1000));
  return buffer;
}

// The quoted texts of a tag body such as Map="spoken"="shown".
std::vector<std::string> QuotedParts(const std::string& body) {
  std::vector<std::string> parts;
  size_t open = body.find('"');
  while (open != std::string::npos) {
    const size_t close = body.find('"', open + 1);
    if (close == std::string::npos) break;
    parts.push_back(body.substr(open + 1, close - open - 1));
    open = body.find('"', close + 1);
  }
  return parts;
}

}  // namespace

std::string BalloonText(const std::string& speech) {
  std::string shown;
  size_t i = 0;
  while (i < speech.size()) {
    const size_t tag = speech.find('\\', i);
    if (tag == std::string::npos) {
      shown += speech.substr(i);
      break;
    }
    shown += speech.substr(i, tag - i);
    const size_t end = speech.find('\\', tag + 1);
    if (end == std::string::npos) break;  // an unclosed tag shows nothing
    const std::string body = speech.substr(tag + 1, end - tag - 1);
    if (body.size() > 3 && (body.compare(0, 3, "Map") == 0 || body.compare(0, 3, "map") == 0)) {
      const auto parts = QuotedParts(body);
      if (parts.size() >= 2) shown += parts[1];
    }
    i = end + 1;
  }
  return shown;
}

void TranscriptSink::Write(const TraceRecord& record) {
  if (record.kind == "agent") {
    WriteAgentCall(record);
  } else if (record.kind == "event") {
    WriteEvent(record);
  } else if (record.kind == "msgbox") {
    out_ << Clock(record.time_ms) << "Message box \"" << DisplayTextUtf8(record.Text("title"))
         << "\": " << DisplayTextUtf8(record.Text("text")) << " -> " << record.Text("answer")
         << "\n";
  } else if (record.kind == "tray" && record.Text("op") == "Menu" &&
             !record.Text("chosen").empty()) {
    out_ << Clock(record.time_ms) << "The user chooses \"" << DisplayTextUtf8(record.Text("chosen"))
         << "\" from the tray menu\n";
  } else if (record.kind == "exit") {
    out_ << Clock(record.time_ms) << "The player ends.\n";
  }
  out_.flush();
}

void TranscriptSink::WriteAgentCall(const TraceRecord& record) {
  if (record.Find("error") != nullptr) return;
  const std::string op = record.Text("op");
  const std::string who = DisplayTextUtf8(record.Text("char"));
  std::string line;
  if (op == "Load") {
    line = who + " is loaded from " + record.Text("path");
  } else if (op == "Speak" && record.Find("text")) {
    const std::string text = BalloonText(record.Text("text"));
    if (text.find_first_not_of(' ') == std::string::npos) return;  // bookmark-only speech
    line = who + " says: " + text;
  } else if (op == "Think") {
    line = who + " thinks: " + BalloonText(record.Text("text"));
  } else if (op == "Play") {
    line = who + " plays " + record.Text("animation");
  } else if (op == "MoveTo") {
    line = who + " moves to " + record.Text("x") + "," + record.Text("y");
  } else if (op == "GestureAt") {
    line = who + " gestures at " + record.Text("x") + "," + record.Text("y");
  } else if (op == "Show" || op == "Hide") {
    line = who + (op == "Show" ? " appears" : " hides");
  } else {
    return;
  }
  const TraceValue* request = record.Find("request");
  if (request != nullptr && std::holds_alternative<std::int64_t>(*request)) {
    waiting_[std::get<std::int64_t>(*request)] = line;
  } else {
    WriteLine(record.time_ms, line);
  }
}

void TranscriptSink::WriteLine(std::int64_t time_ms, const std::string& line) {
  out_ << Clock(time_ms) << DisplayTextUtf8(line) << "\n";
}

void TranscriptSink::WriteEvent(const TraceRecord& record) {
  const std::string event = record.Text("event");
  if (event == "RequestStart" || event == "RequestComplete") {
    const TraceValue* request = record.Find("request");
    if (request == nullptr || !std::holds_alternative<std::int64_t>(*request)) return;
    const auto waiting = waiting_.find(std::get<std::int64_t>(*request));
    if (waiting == waiting_.end()) return;
    // A request ended before it started (stopped) is not shown.
    if (event == "RequestStart") WriteLine(record.time_ms, waiting->second);
    waiting_.erase(waiting);
  } else if (event == "Command") {
    out_ << Clock(record.time_ms) << "The user chooses " << record.Text("name") << "\n";
  }
}

}  // namespace rirerazo::host
