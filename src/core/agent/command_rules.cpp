#include "core/agent/command_rules.h"

#include <cstdlib>

#include "core/agent/agent_commands.h"

namespace rirerazo {
namespace {

// An alternative that names another command than the best match.
bool RivalName(const std::string& alternative, const std::string& best) {
  return !alternative.empty() && alternative != best;
}

}  // namespace

CommandVerdict JudgeCommand(const platform::UserInput& input) {
  if (input.confidence <= kIgnoredConfidence) return CommandVerdict::kIgnore;
  // 64-bit: confidences come from outside and may lie beyond -100..100.
  const std::int64_t gap = std::llabs(std::llabs(std::int64_t{input.confidence}) -
                                      std::llabs(std::int64_t{input.alt1_confidence}));
  if (gap < kMinConfidenceGap &&
      (RivalName(input.alt1_name, input.name) || RivalName(input.alt2_name, input.name))) {
    return CommandVerdict::kIgnore;
  }
  if (input.confidence == kCertainConfidence && input.name == kCloseCommandName) {
    return CommandVerdict::kClose;
  }
  return CommandVerdict::kRunScript;
}

}  // namespace rirerazo
