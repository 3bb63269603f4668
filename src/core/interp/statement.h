// One script line as the statement handlers see it.
#pragma once

#include <string>
#include <string_view>

namespace rirerazo {

class Player;

struct Statement {
  std::string line;          // trimmed, after any SETREQ= rewriting
  std::string upper_line;    // the line upper-cased (ASCII letters only)
  std::string char_id;       // the addressed character's id; empty for a system statement
  std::string_view keyword;  // the keyword that selected the handler, as in its table
};

// A statement handler. Run-time errors it raises reach the interpreter's error box.
using StatementHandler = void (*)(Player& player, const Statement& statement);

}  // namespace rirerazo
