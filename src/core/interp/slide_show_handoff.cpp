#include "core/interp/slide_show_handoff.h"

#include <memory>

#include "core/agent/char_actions.h"
#include "core/app/player.h"
#include "core/interp/play_script.h"
#include "core/ppt/power_point.h"

namespace rirerazo {
namespace {

// The driver reaches the player only through these; the player owns the driver, so the
// references stay valid while it lives.
SlideShowLinks SlideShowLinksFor(Player& player) {
  SlideShowLinks links;
  links.app = player.services().presentation;
  links.ui = &player.ui();
  links.loop = &player.loop();
  links.play_slide_script = [&player](const std::string& script) {
    PlayScript(player, script, ScriptLevel::kNested);
  };
  links.char_stop_all = [&player] { CharStopAll(player); };
  links.report_error = [&player](const RuntimeError& error, const std::string& procedure) {
    player.ReportError("CPowerPoint", procedure, error);
  };
  links.unload_main_form = [&player] { player.UnloadMainForm(); };
  links.busy = &player.slide_show().busy;
  links.repeat = &player.slide_show().repeat;
  links.auto_advance = &player.slide_show().auto_advance;
  return links;
}

}  // namespace

void StartSlideShow(Player& player, const std::string& script) {
  player.slide_show().driver = std::make_shared<CPowerPoint>(SlideShowLinksFor(player));
  // Held for the call: a slide's script may start another show and replace the driver.
  std::shared_ptr<CPowerPoint> driver = player.slide_show().driver;
  driver->PowerPointSlideshow(player.slide_show().file, script);
}

}  // namespace rirerazo
