// Whether a chosen or spoken command is acted on. Speech recognition reports its best match
// with a confidence and up to two alternatives; an input is refused when the best match is
// too unsure, or when a different command scored within reach of it. The close command
// ends the player only when it was certainly meant (confidence 100: chosen from the menu).
#pragma once

#include <cstdint>

#include "platform/agent_control.h"

namespace rirerazo {

inline constexpr std::int32_t kIgnoredConfidence = -40;  // this or lower: not heard
inline constexpr std::int32_t kMinConfidenceGap = 10;    // below: two commands too close
inline constexpr std::int32_t kCertainConfidence = 100;

enum class CommandVerdict {
  kIgnore,     // too unsure, or ambiguous
  kClose,      // start the shutdown
  kRunScript,  // run the script of the command table entry of that name, if any
};

// The gap is |(|best| - |first alternative|)|, and it decides for the second alternative as
// well: a second alternative is judged against the first alternative's confidence.
CommandVerdict JudgeCommand(const platform::UserInput& input);

}  // namespace rirerazo
