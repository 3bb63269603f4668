#include "host/presentation/presentation_file.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string_view>

#include "host/presentation/xml_tags.h"
#include "host/presentation/zip_reader.h"
#include "platform/runtime_error.h"

namespace rirerazo::host {
namespace {

constexpr std::uintmax_t kMaxFileBytes = 512u << 20;

[[noreturn]] void Unreadable(const std::string& name, const std::string& why) {
  throw RuntimeError(err::kPathFileAccessError, name + ": " + why);
}

std::string Required(const ZipArchive& zip, const std::string& entry, const std::string& name) {
  std::optional<std::string> data = zip.Read(entry);
  if (!data) Unreadable(name, "the presentation is damaged (" + entry + " is missing)");
  return *data;
}

// "slides/slide1.xml" relative to "ppt/", or an absolute "/ppt/slides/slide1.xml".
std::string PartPath(const std::string& target) {
  if (!target.empty() && target[0] == '/') return target.substr(1);
  return (std::filesystem::path("ppt") / target).lexically_normal().generic_string();
}

// Relationship ids of ppt/presentation.xml to their parts.
std::map<std::string, std::string> Relationships(const ZipArchive& zip, const std::string& name) {
  std::map<std::string, std::string> parts;
  ForEachStartTag(Required(zip, "ppt/_rels/presentation.xml.rels", name), [&](const XmlTag& tag) {
    if (tag.Is("Relationship")) parts[tag.Attribute("Id")] = PartPath(tag.Attribute("Target"));
  });
  return parts;
}

// A non-negative whole number of at most nine digits; 0 for anything else.
std::int64_t WholeNumber(const std::string& text) {
  if (text.empty() || text.size() > 9) return 0;
  std::int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return 0;
    value = value * 10 + (c - '0');
  }
  return value;
}

SlideInfo ReadOpenXmlSlide(const std::string& xml) {
  SlideInfo slide;
  bool timed = false;
  ForEachStartTag(xml, [&](const XmlTag& tag) {
    if (tag.Is("sld") && tag.Attribute("show") == "0") slide.hidden = true;
    if (tag.Is("transition") && !timed && !tag.Attribute("advTm").empty()) {
      timed = true;  // the first of alternative transitions counts
      slide.advance_after_ms = WholeNumber(tag.Attribute("advTm"));
    }
  });
  return slide;
}

PresentationInfo ReadOpenXml(const ZipArchive& zip, const std::string& name) {
  std::map<std::string, std::string> parts = Relationships(zip, name);
  PresentationInfo info{PresentationInfo::Format::kOfficeOpenXml, {}};
  ForEachStartTag(Required(zip, "ppt/presentation.xml", name), [&](const XmlTag& tag) {
    if (!tag.Is("sldId")) return;
    auto part = parts.find(tag.Attribute("id", true));
    if (part == parts.end()) Unreadable(name, "the presentation is damaged (a slide is missing)");
    info.slides.push_back(ReadOpenXmlSlide(Required(zip, part->second, name)));
  });
  return info;
}

// Drawing-page styles by name: the page style carries the timing and the visibility.
void CollectPageStyles(const std::string& xml, std::map<std::string, SlideInfo>& styles) {
  std::string current;
  ForEachStartTag(xml, [&](const XmlTag& tag) {
    if (tag.Is("style"))
      current = tag.Attribute("family") == "drawing-page" ? tag.Attribute("name") : "";
    if (!tag.Is("drawing-page-properties") || current.empty()) return;
    SlideInfo& style = styles[current];
    if (tag.Attribute("visibility") == "hidden") style.hidden = true;
    if (tag.Attribute("transition-type") == "automatic") {
      style.advance_after_ms = ParseIsoDurationMs(tag.Attribute("duration")).value_or(0);
    }
  });
}

PresentationInfo ReadOpenDocument(const ZipArchive& zip, const std::string& name) {
  std::string content = Required(zip, "content.xml", name);
  std::map<std::string, SlideInfo> styles;
  if (std::optional<std::string> shared = zip.Read("styles.xml"))
    CollectPageStyles(*shared, styles);
  CollectPageStyles(content, styles);
  PresentationInfo info{PresentationInfo::Format::kOpenDocument, {}};
  bool in_presentation = false;
  ForEachStartTag(content, [&](const XmlTag& tag) {
    if (tag.name == "office:presentation") in_presentation = true;
    if (!in_presentation || !tag.Is("page") || tag.name.rfind("draw:", 0) != 0) return;
    auto style = styles.find(tag.Attribute("style-name"));
    info.slides.push_back(style == styles.end() ? SlideInfo{} : style->second);
  });
  if (!in_presentation) Unreadable(name, "the document is not a presentation");
  return info;
}

}  // namespace

std::optional<std::int64_t> ParseIsoDurationMs(const std::string& text) {
  if (text.rfind("PT", 0) != 0 || text.size() == 2) return std::nullopt;
  double total_ms = 0;
  std::size_t at = 2;
  while (at < text.size()) {
    std::size_t used = 0;
    double value = 0;
    try {
      value = std::stod(text.substr(at), &used);
    } catch (const std::exception&) {
      return std::nullopt;
    }
    at += used;
    if (at >= text.size() || value < 0) return std::nullopt;
    char unit = text[at++];
    double scale = unit == 'H' ? 3600000.0 : unit == 'M' ? 60000.0 : unit == 'S' ? 1000.0 : -1;
    if (scale < 0) return std::nullopt;
    total_ms += value * scale;
  }
  return static_cast<std::int64_t>(std::llround(total_ms));
}

namespace {

// The signature of the compound files that hold presentations in the older binary format.
constexpr std::string_view kCompoundFileSignature = "\xD0\xCF\x11\xE0";

// Takes the bytes over (the archive keeps them).
PresentationInfo ReadPresentationBytes(std::string& bytes, const std::string& name) {
  if (std::string_view(bytes).substr(0, kCompoundFileSignature.size()) ==
      kCompoundFileSignature) {
    Unreadable(name, "presentations in the older binary format cannot be read");
  }
  std::optional<ZipArchive> zip;
  try {
    zip.emplace(std::move(bytes));
  } catch (const RuntimeError&) {
    Unreadable(name, "the file is not a presentation");
  }
  if (zip->Contains("ppt/presentation.xml")) return ReadOpenXml(*zip, name);
  if (zip->Contains("content.xml")) return ReadOpenDocument(*zip, name);
  Unreadable(name, "the file is not a presentation");
}

}  // namespace

PresentationInfo ReadPresentation(std::string bytes, const std::string& name) {
  try {
    return ReadPresentationBytes(bytes, name);
  } catch (const RuntimeError& error) {
    if (error.Description().rfind(name + ": ", 0) == 0) throw;
    Unreadable(name, "the presentation is damaged (" + error.Description() + ")");
  }
}

PresentationInfo ReadPresentationFile(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) Unreadable(path, "no such file");
  if (std::filesystem::file_size(path, error) > kMaxFileBytes) {
    Unreadable(path, "the file is too large");
  }
  std::ifstream in(path, std::ios::binary);
  std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) Unreadable(path, "the file cannot be read");
  return ReadPresentation(std::move(bytes), path);
}

}  // namespace rirerazo::host
