#include "core/expr/c_parser.h"

#include <limits>
#include <new>
#include <stdexcept>
#include <utility>

#include "platform/runtime_error.h"

namespace rirerazo {

namespace {

// The program's default message-box title.
constexpr const char* kDefaultTitle = "RIRERazo";

// Removes leading and trailing spaces; tab, CR and LF are not blanks here.
std::string_view TrimBlanks(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// Non-overlapping occurrences, leftmost first. The split finds at most this many, so
// count + 1 fields is an upper bound and the field list is sized once, even for millions
// of fields.
std::size_t CountOccurrences(std::string_view text, std::string_view delimiter) {
  std::size_t count = 0;
  for (std::size_t at = text.find(delimiter); at != std::string_view::npos;
       at = text.find(delimiter, at + delimiter.size())) {
    ++count;
  }
  return count;
}

}  // namespace

void CParser::ParseIt(std::string pstrParseText, std::string_view pstrDelimit) {
  fields_.clear();
  text_ = std::move(pstrParseText);
  try {
    // Every field but the last ends at a delimiter, so this bound keeps the 32-bit field
    // count and the 32-bit spans in range.
    if (text_.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
      throw RuntimeError{err::kOutOfMemory, "Out of memory"};
    }
    Split(pstrDelimit);
  } catch (const RuntimeError& error) {
    ReportFailure(error.Number(), error.Description());
  } catch (const std::bad_alloc&) {
    ReportFailure(err::kOutOfMemory, "Out of memory");
  } catch (const std::length_error&) {
    ReportFailure(err::kOutOfMemory, "Out of memory");
  }
}

std::string CParser::Field(std::int32_t Index) const {
  if (Index < 1 || Index > FieldCount()) return {};
  const Span& span = fields_[static_cast<std::size_t>(Index) - 1];
  return text_.substr(span.begin, span.length);
}

// Cut, trim, go on with the trimmed remainder. The remainder is a view into text_, so each
// step costs only the search.
void CParser::Split(std::string_view pstrDelimit) {
  std::string_view rest = TrimBlanks(text_);
  if (rest.empty()) return;
  if (pstrDelimit.empty()) return AddField(rest);
  fields_.reserve(CountOccurrences(rest, pstrDelimit) + 1);
  for (;;) {
    const std::size_t found = rest.find(pstrDelimit);
    if (found == std::string_view::npos) {
      if (!rest.empty()) AddField(rest);
      return;
    }
    AddField(TrimBlanks(rest.substr(0, found)));
    rest = TrimBlanks(rest.substr(found + pstrDelimit.size()));
  }
}

void CParser::AddField(std::string_view field) {
  // An empty field may point anywhere; only its length matters.
  const std::size_t begin =
      field.empty() ? 0 : static_cast<std::size_t>(field.data() - text_.data());
  fields_.push_back(
      Span{static_cast<std::uint32_t>(begin), static_cast<std::uint32_t>(field.size())});
}

void CParser::ReportFailure(long number, const std::string& description) {
  fields_.clear();
  if (ui_ == nullptr) return;
  ui_->MessageBox(std::to_string(number) + " : " + description, kDefaultTitle,
                  platform::mb::kOkOnly);
}

}  // namespace rirerazo
