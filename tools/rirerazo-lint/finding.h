// One thing the checker found, written as compilers write theirs so editors jump to it:
//   FILE:LINE: warning: message
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace rirerazo::lint {

enum class Severity { kWarning, kError };

struct Finding {
  std::string file;  // as the author named it (or as PLAYSCRIPT resolved it)
  int line = 1;
  Severity severity = Severity::kWarning;
  std::string message;
};

std::string FormatFinding(const Finding& finding);

// 0 when nothing was found, 1 for warnings only, 2 when there is an error.
int ExitStatus(const std::vector<Finding>& findings);

}  // namespace rirerazo::lint
