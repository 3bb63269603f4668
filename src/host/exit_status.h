// The program's exit statuses, the same on every host.
#pragma once

namespace rirerazo::host {

inline constexpr int kExitNormal = 0;    // the player ended
inline constexpr int kExitNoScript = 1;  // no script could be opened
inline constexpr int kExitUsage = 2;     // a bad option or an unreadable input file

}  // namespace rirerazo::host
