// CParser splits one text into fields at a delimiter and keeps them for 1-based reading.
// Used for the arguments of a move statement (",") and by the text reader (paragraphs at
// CR LF CR LF, lines at CR LF, sentences at ".  ").
//
// Fields never carry leading or trailing spaces (only the space character is trimmed; tab,
// CR and LF stay). There is no quoting: a delimiter inside quotation marks still splits.
// Two delimiters in a row give an empty field between them, and an empty remainder after
// the last delimiter gives no field ("a,," gives "a" and ""). Blanks after a delimiter are
// dropped, so ".  " also matches a full stop followed by more than two blanks.
//
// Splitting takes time linear in the text (the remainder is never copied) and keeps one
// copy of the text plus eight bytes per field, so a 10 MB text of delimiters is fine.
// An empty delimiter means "nothing to split at": the whole trimmed text is one field.
//
// If splitting fails (memory exhausted, or a text of 2 GiB or more), the message box
// "<number> : <description>" is shown with an OK button and no icon, and the parser is
// left with no fields. Without a Ui the failure is silent apart from the empty result.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui.h"

namespace rirerazo {

class CParser {
 public:
  CParser() = default;
  // `ui` shows the failure box and must outlive the parser.
  explicit CParser(platform::Ui& ui) : ui_(&ui) {}

  // Replaces the previous result with the fields of `pstrParseText` split at
  // `pstrDelimit` (compared exactly, case-sensitively).
  void ParseIt(std::string pstrParseText, std::string_view pstrDelimit);

  // The number of fields of the last parse; 0 before the first one.
  std::int32_t FieldCount() const { return static_cast<std::int32_t>(fields_.size()); }

  // Field 1..FieldCount(); the empty string for any other index.
  std::string Field(std::int32_t Index) const;

 private:
  // A field as a piece of text_, so that fields cost no allocation of their own.
  struct Span {
    std::uint32_t begin;
    std::uint32_t length;
  };

  void Split(std::string_view pstrDelimit);
  void AddField(std::string_view field);
  void ReportFailure(long number, const std::string& description);

  platform::Ui* ui_ = nullptr;
  std::string text_;
  std::vector<Span> fields_;
};

}  // namespace rirerazo
