// What the listening tip says at each point of a listening session, apart from whoever
// drives it: the desktop's microphone sessions and the render's scripted user input show
// the same words for the same things.
#pragma once

#include <cstdint>
#include <string>

#include "core/agent/command_rules.h"

namespace rirerazo::desktop {

// How long the tip tells what a session came to before it goes.
inline constexpr std::int64_t kTipShownMs = 2500;

// What the listening tip shows; an empty character hides it.
struct ListeningTipState {
  std::string character;
  std::string text;
  bool listening = false;  // a session is open (the tip says so with a mark)
  friend bool operator==(const ListeningTipState&, const ListeningTipState&) = default;
};

// While the session is open.
inline ListeningTipState ListeningTipFor(const std::string& character) {
  return {character, "Listening\u2026", true};
}

// The phrase heard, quoted, or that it was too unsure for the player to act on.
inline ListeningTipState HeardTipFor(const std::string& character, const std::string& phrase,
                                     std::int32_t confidence) {
  if (confidence <= kIgnoredConfidence) return {character, "Not understood", false};
  return {character, "\u201c" + phrase + "\u201d", false};
}

// The session ended without a phrase.
inline ListeningTipState NothingHeardTipFor(const std::string& character) {
  return {character, "Nothing heard", false};
}

}  // namespace rirerazo::desktop
