#include "core/app/named_script.h"

#include "core/util/paths.h"
#include "core/util/text.h"

namespace rirerazo {

std::string NamedScriptText(const std::string& command_line) {
  return util::TrimChars(command_line, "\"");
}

std::string FindNamedScript(const std::string& named, const std::string& app_path) {
  if (util::FileExists(named)) return named;
  if (util::FileExists(app_path + named)) return app_path + named;
  return {};
}

}  // namespace rirerazo
