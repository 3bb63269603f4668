#include "host/presentation/xml_tags.h"

#include <cctype>

namespace rirerazo::host {
namespace {

bool IsNameEnd(char c) {
  return std::isspace(static_cast<unsigned char>(c)) || c == '/' || c == '>' || c == '=';
}

std::string Decode(std::string_view value) {
  static const std::pair<std::string_view, char> kEntities[] = {
      {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
  std::string out;
  for (std::size_t i = 0; i < value.size(); ++i) {
    bool replaced = false;
    for (const auto& [entity, c] : kEntities) {
      if (value.substr(i, entity.size()) == entity) {
        out += c;
        i += entity.size() - 1;
        replaced = true;
        break;
      }
    }
    if (!replaced) out += value[i];
  }
  return out;
}

// Reads the attributes of a start tag from `at` up to its '>'; returns the position after
// the tag.
std::size_t ReadAttributes(std::string_view xml, std::size_t at, XmlTag& tag) {
  while (at < xml.size() && xml[at] != '>') {
    if (std::isspace(static_cast<unsigned char>(xml[at])) || xml[at] == '/') {
      ++at;
      continue;
    }
    std::size_t name_start = at;
    while (at < xml.size() && !IsNameEnd(xml[at])) ++at;
    std::string name(xml.substr(name_start, at - name_start));
    while (at < xml.size() && std::isspace(static_cast<unsigned char>(xml[at]))) ++at;
    if (at >= xml.size() || xml[at] != '=') continue;
    ++at;
    while (at < xml.size() && std::isspace(static_cast<unsigned char>(xml[at]))) ++at;
    if (at >= xml.size() || (xml[at] != '"' && xml[at] != '\'')) continue;
    std::size_t close = xml.find(xml[at], at + 1);
    if (close == std::string_view::npos) return xml.size();
    tag.attributes.emplace(name, Decode(xml.substr(at + 1, close - at - 1)));
    at = close + 1;
  }
  return at + 1;
}

// Where a construct that is not a start tag, beginning at `at`, ends; npos for a start tag.
std::size_t SkipNonStartTag(std::string_view xml, std::size_t at) {
  static const std::pair<std::string_view, std::string_view> kSkipped[] = {
      {"<!--", "-->"}, {"<![CDATA[", "]]>"}, {"<?", "?>"}, {"<!", ">"}, {"</", ">"}};
  for (const auto& [open, close] : kSkipped) {
    if (xml.substr(at, open.size()) == open) {
      std::size_t end = xml.find(close, at + open.size());
      return end == std::string_view::npos ? xml.size() : end + close.size();
    }
  }
  return std::string_view::npos;
}

}  // namespace

std::string_view XmlTag::LocalName(std::string_view qualified) {
  std::size_t colon = qualified.rfind(':');
  return colon == std::string_view::npos ? qualified : qualified.substr(colon + 1);
}

std::string XmlTag::Attribute(std::string_view local_name, bool prefixed) const {
  std::string fallback;
  for (const auto& [name, value] : attributes) {
    if (LocalName(name) != local_name) continue;
    bool has_prefix = name.find(':') != std::string::npos;
    if (has_prefix == prefixed) return value;
    if (fallback.empty()) fallback = value;
  }
  return fallback;
}

void ForEachStartTag(std::string_view xml, const std::function<void(const XmlTag&)>& on_tag) {
  std::size_t at = xml.find('<');
  while (at != std::string_view::npos && at < xml.size()) {
    std::size_t skipped_to = SkipNonStartTag(xml, at);
    if (skipped_to != std::string_view::npos) {
      at = xml.find('<', skipped_to);
      continue;
    }
    std::size_t name_end = at + 1;
    while (name_end < xml.size() && !IsNameEnd(xml[name_end])) ++name_end;
    XmlTag tag;
    tag.name = std::string(xml.substr(at + 1, name_end - at - 1));
    at = ReadAttributes(xml, name_end, tag);
    if (!tag.name.empty()) on_tag(tag);
    at = xml.find('<', at);
  }
}

}  // namespace rirerazo::host
