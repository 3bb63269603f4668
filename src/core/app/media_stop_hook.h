// Where the main form's unloading stops media. Until a media device joins the platform
// bundle there is nothing playing, and the hook does nothing; the media player replaces
// its body with its own stop-and-close.
#pragma once

namespace rirerazo {

class Player;

// Stops and closes whatever media plays; does nothing when none does.
void StopMediaOnUnload(Player& player);

}  // namespace rirerazo
