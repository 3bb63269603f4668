// How the headless host answers message boxes, since nobody is there to click.
//
// The default rule: Ignore in an Abort/Retry/Ignore box, Cancel in a Retry/Cancel box, and
// the box's default button everywhere else (OK in OK and OK/Cancel boxes). Retry is never
// chosen by the rule, so an unattended run cannot loop on a failing step. The `--answer`
// option names one answer (ok, cancel, abort, retry, ignore, yes, no); it is used for every
// box that offers that button, and the default rule answers the others.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "host/message_box_buttons.h"
#include "platform/ui.h"

namespace rirerazo::headless {

class AnswerPolicy {
 public:
  AnswerPolicy() = default;  // the default rule for every box
  explicit AnswerPolicy(platform::MsgAnswer preferred) : preferred_(preferred) {}

  // From the option's text: empty means the default rule; letter case is ignored; any
  // other word gives no policy.
  static std::optional<AnswerPolicy> Parse(std::string_view word);

  // The answer for a box of the given style (the mb:: bits).
  platform::MsgAnswer Answer(int style) const;

 private:
  std::optional<platform::MsgAnswer> preferred_;
};

}  // namespace rirerazo::headless
