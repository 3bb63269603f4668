// Where a top-level script that names an existing presentation goes instead of being
// played line by line: the slide-show driver plays one piece of it per slide.
#pragma once

#include <string>

namespace rirerazo {

class Player;

// Starts the slide show of player.slide_show().file with the script (already ending in
// CR LF) and the repeat, auto-advance and pause settings of the script file: a new driver
// replaces any earlier one in player.slide_show().driver.
void StartSlideShow(Player& player, const std::string& script);

}  // namespace rirerazo
