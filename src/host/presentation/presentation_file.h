// What the simulated presentation application knows of a presentation file: its slides in
// show order, which are hidden, and after how long each advances by itself when the show
// uses slide timings. Reads Office Open XML presentations (.pptx and relatives) and
// OpenDocument presentations (.odp), recognised by their content, not their name.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace rirerazo::host {

struct SlideInfo {
  bool hidden = false;
  // The slide's own advance time; nothing when it waits for the user.
  std::optional<std::int64_t> advance_after_ms;
  friend bool operator==(const SlideInfo&, const SlideInfo&) = default;
};

struct PresentationInfo {
  enum class Format { kOfficeOpenXml, kOpenDocument };
  Format format = Format::kOfficeOpenXml;
  std::vector<SlideInfo> slides;
};

// Reads the presentation at `path`. Raises RuntimeError (the description says why) when
// the file is missing, is no presentation this reader knows, or is damaged.
PresentationInfo ReadPresentationFile(const std::string& path);

// Reads a presentation from the bytes of its file; `name` is used in messages only.
PresentationInfo ReadPresentation(std::string bytes, const std::string& name);

// An ISO 8601 duration such as "PT00H00M05S" or "PT1.5S" in milliseconds; nothing when
// the text is not one.
std::optional<std::int64_t> ParseIsoDurationMs(const std::string& text);

}  // namespace rirerazo::host
