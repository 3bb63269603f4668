#include "headless/answer_policy.h"

#include <algorithm>
#include <array>
#include <utility>

#include "core/util/ascii.h"

namespace rirerazo::headless {

using host::ButtonsOf;
using platform::MsgAnswer;

std::optional<AnswerPolicy> AnswerPolicy::Parse(std::string_view word) {
  if (word.empty()) return AnswerPolicy();
  static constexpr std::array<std::pair<std::string_view, MsgAnswer>, 7> kWords{{
      {"ok", MsgAnswer::kOk},
      {"cancel", MsgAnswer::kCancel},
      {"abort", MsgAnswer::kAbort},
      {"retry", MsgAnswer::kRetry},
      {"ignore", MsgAnswer::kIgnore},
      {"yes", MsgAnswer::kYes},
      {"no", MsgAnswer::kNo},
  }};
  for (const auto& [name, answer] : kWords) {
    if (util::EqualsIgnoreCase(word, name)) return AnswerPolicy(answer);
  }
  return std::nullopt;
}

MsgAnswer AnswerPolicy::Answer(int style) const {
  const std::vector<MsgAnswer> buttons = host::ButtonsOf(style);
  if (preferred_ && std::find(buttons.begin(), buttons.end(), *preferred_) != buttons.end()) {
    return *preferred_;
  }
  switch (style & 0xF) {
    case platform::mb::kAbortRetryIgnore:
      return MsgAnswer::kIgnore;
    case platform::mb::kRetryCancel:
      return MsgAnswer::kCancel;
  }
  std::size_t default_index = 0;
  if (style & platform::mb::kDefaultButton2) default_index = 1;
  if (style & platform::mb::kDefaultButton3) default_index = 2;
  return default_index < buttons.size() ? buttons[default_index] : buttons.front();
}

}  // namespace rirerazo::headless
