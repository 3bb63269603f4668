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
    PlayScript(player, script, true, false);
  };
  links.char_stop_all = [&player] { CharStopAll(player); };
  links.report_error = [&player](const RuntimeError& error, const std::string& procedure) {
    player.ReportError("CPowerPoint", procedure, error);
  };
  links.unload_main_form = [&player] { player.UnloadMainForm(); };
  links.busy = &player.gPowerPointBusy;
  links.repeat = &player.gPowerPointRepeat;
  links.auto_advance = &player.gPowerPointAutoAdvance;
  return links;
}

}  // namespace

void StartSlideShow(Player& player, const std::string& script) {
  player.gPowerPoint = std::make_shared<CPowerPoint>(SlideShowLinksFor(player));
  // Held for the call: a slide's script may start another show and replace gPowerPoint.
  std::shared_ptr<CPowerPoint> driver = player.gPowerPoint;
  driver->SetRepeat(player.gPowerPointRepeat != 0);
  driver->SetAutoAdvance(player.gPowerPointAutoAdvance != 0);
  driver->SetPause(player.gPowerPointPause);
  driver->PowerPointSlideshow(player.gPowerPointFile, script);
}


}  // namespace rirerazo
