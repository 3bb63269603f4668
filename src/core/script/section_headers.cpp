#include "core/script/section_headers.h"

#include "core/util/lines.h"

namespace rirerazo::script {

bool IsRawSectionHeader(std::string_view line) {
  return !line.empty() && line.front() == '[' && line.back() == ']';
}

std::vector<HeaderLine> RawSectionHeaders(std::string_view bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
  std::vector<HeaderLine> headers;
  util::LineReader reader(bytes);
  std::string_view line;
  for (int number = 1; reader.Next(line); ++number) {
    if (IsRawSectionHeader(line)) headers.push_back({number, line});
  }
  return headers;
}

}  // namespace rirerazo::script
