// What the system statements keep between lines, owned by the Player: the media player,
// the backdrop (its window listener and slot selector live as long as the program) and
// the nesting depth of "PLAYSCRIPT ". Built on first use from the Player's services, so a
// host that never uses a backdrop or media device needs to offer none.
#pragma once

#include <memory>

#include "core/media/backdrop_controller.h"
#include "core/media/media_player.h"

namespace rirerazo {

class Player;

// "PLAYSCRIPT " files playing inside one another stop here: a script that plays itself,
// directly or through others, would otherwise recurse until the program crashes.
inline constexpr int kMaxPlayScriptNesting = 32;

struct SystemModules {
  std::unique_ptr<media::MediaPlayer> media;
  std::unique_ptr<media::BackdropController> backdrop;
  int play_script_nesting = 0;
};

// The Player's media player and backdrop, made when first asked for.
media::MediaPlayer& MediaOf(Player& player);
media::BackdropController& BackdropOf(Player& player);

// The main form's unloading: closes the backdrop window (which stops the media) and stops
// any media still open. Safe when neither was ever used.
void UnloadBackdropWindow(Player& player);
void StopMediaOnUnload(Player& player);

}  // namespace rirerazo
