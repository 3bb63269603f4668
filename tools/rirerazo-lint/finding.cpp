#include "finding.h"

#include <algorithm>

namespace rirerazo::lint {

std::string FormatFinding(const Finding& finding) {
  return finding.file + ":" + std::to_string(finding.line) + ": " +
         (finding.severity == Severity::kError ? "error: " : "warning: ") + finding.message;
}

int ExitStatus(const std::vector<Finding>& findings) {
  int status = 0;
  for (const Finding& finding : findings) {
    status = std::max(status, finding.severity == Severity::kError ? 2 : 1);
  }
  return status;
}

}  // namespace rirerazo::lint
