#include "core/app/player.h"
#include "core/script/open_script.h"
#include "core/script/url_script.h"
#include "core/util/paths.h"

namespace rirerazo {

bool OpenScriptFromURL(Player& player, const std::string& url, bool bPlay) {
  UrlScriptLinks links;
  links.services = &player.services();
  links.temp_dir = util::GetTempDir(player.system());
  links.open_script_from_file = [&](const std::string& path, bool play) {
    return OpenScriptFromFile(player, path, play);
  };
  links.report_error = [&](const RuntimeError& error) {
    player.ReportError("M:MOS:", "OpenScriptFromURL", error);
  };
  return OpenScriptFromURL(url, bPlay, links);
}

}  // namespace rirerazo
