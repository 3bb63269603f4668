// The dispatch tables of the interpreter: which handler runs for a line. A line is tested
// against the rows of its class in table order and the first row whose test holds runs;
// a line that matches no row is ignored (that is how remarks work).
#pragma once

#include <array>
#include <string_view>

#include "core/interp/statement.h"

namespace rirerazo {

// Character statements: the row matches when the upper-cased line contains the addressed
// id followed by the keyword anywhere, not only right after the id.
struct CharStatementRow {
  std::string_view keyword;
  StatementHandler handler;
};

enum class KeywordTest {
  kPrefix,                 // the line begins with the keyword (letter case ignored)
  kEquals,                 // the whole line is the keyword (letter case ignored)
  kContainsWithoutBlanks,  // the upper-cased line, blanks removed, contains the keyword
};

struct SystemStatementRow {
  std::array<std::string_view, 3> keywords;  // unused slots are empty
  KeywordTest test;
  StatementHandler handler;
};

// The first character row whose keyword follows `upper_id` somewhere in `upper_line`, or
// null. Both texts are upper case.
const CharStatementRow* MatchCharStatement(std::string_view upper_line, std::string_view upper_id);

// The first system row that `upper_line` satisfies, or null; `keyword` receives the
// keyword that matched.
const SystemStatementRow* MatchSystemStatement(std::string_view upper_line,
                                               std::string_view& keyword);

}  // namespace rirerazo
