// The program's exit statuses, the same on every host.
#pragma once

namespace rirerazo::host {

inline constexpr int kExitNormal = 0;    // the player ended
inline constexpr int kExitNoScript = 1;  // no script could be opened
inline constexpr int kExitUsage = 2;     // a bad option or an unreadable input file
// A headless run stopped because the script kept triggering itself: events or yields kept
// coming without time moving, or the player's own waiting passed one virtual day.
inline constexpr int kExitRunaway = 3;

}  // namespace rirerazo::host
