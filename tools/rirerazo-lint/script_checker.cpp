#include "script_checker.h"

#include "file_check.h"

namespace rirerazo::lint {

std::vector<Finding> ScriptChecker::Check(const std::string& path) {
  top_script_ = path;
  std::vector<Finding> findings;
  FileCheck(*this, path, {}, 0, findings).Run();
  return findings;
}

}  // namespace rirerazo::lint
