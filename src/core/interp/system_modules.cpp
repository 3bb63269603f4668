#include "core/interp/system_modules.h"

#include "core/app/player.h"
#include "core/util/paths.h"

namespace rirerazo {

namespace {

media::PathResolver ResolverOf(Player& player) {
  return [&player](std::string_view path) { return util::ResolveScriptPath(path, player.paths()); };
}

}  // namespace

media::MediaPlayer& MediaOf(Player& player) {
  SystemModules& modules = player.modules();
  if (!modules.media) {
    const platform::Platform& services = player.services();
    modules.media = std::make_unique<media::MediaPlayer>(*services.media, *services.ui,
                                                         *services.loop, ResolverOf(player));
  }
  return *modules.media;
}

media::BackdropController& BackdropOf(Player& player) {
  SystemModules& modules = player.modules();
  if (!modules.backdrop) {
    const platform::Platform& services = player.services();
    modules.backdrop = std::make_unique<media::BackdropController>(
        media::BackdropServices{*services.backdrop, *services.ui, *services.loop,
                                *services.pictures},
        MediaOf(player), ResolverOf(player));
  }
  return *modules.backdrop;
}

void UnloadBackdropWindow(Player& player) {
  if (player.services().backdrop != nullptr && player.services().backdrop->Exists()) {
    BackdropOf(player).Unload();
  }
}

void StopMediaOnUnload(Player& player) {
  if (player.services().media != nullptr) MediaOf(player).StopMedia();
}

}  // namespace rirerazo
