// A tolerant scanner of XML start tags, enough to count slides and read a few attributes
// of presentation files. It reports each start tag with its attributes in document order,
// skips end tags, comments, processing instructions, CDATA and declarations, decodes the
// five predefined entities in attribute values, and never reads past the text.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace rirerazo::host {

struct XmlTag {
  std::string name;                               // qualified, such as "p:sldId"
  std::map<std::string, std::string> attributes;  // qualified name -> decoded value

  // The part of a qualified name after its prefix: "sldId" for "p:sldId".
  static std::string_view LocalName(std::string_view qualified);
  bool Is(std::string_view local_name) const { return LocalName(name) == local_name; }
  // The value of the first attribute whose local name is `local_name`, preferring a
  // prefixed one when `prefixed` is true; empty when there is none.
  std::string Attribute(std::string_view local_name, bool prefixed = false) const;
};

// Calls `on_tag` for every start tag (self-closing ones included) of `xml`.
void ForEachStartTag(std::string_view xml, const std::function<void(const XmlTag&)>& on_tag);

}  // namespace rirerazo::host
