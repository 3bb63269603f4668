// The bookmarks the player places in speech itself, each as a request that holds only the
// bookmark. A script's own [Bookmarks] may use the same numbers: its scripts run when the
// bookmark is reached, except for the end of a script (see agent_events.h).
#pragma once

#include <cstdint>
#include <string>

namespace rirerazo {

enum class ReservedBookmark : std::int32_t {
  kEndOfScript = 111111111,    // ends the top-level run of a script file
  kAdvanceSlide = 333333333,   // ends every run while slides advance automatically
  kReadAloudDone = 777777777,  // follows a text read aloud by READCLIPBOARD or READTEXTFILE
};

constexpr std::int32_t BookmarkId(ReservedBookmark bookmark) {
  return static_cast<std::int32_t>(bookmark);
}

// The speech tag that places the bookmark, e.g. "\mrk=111111111\".
inline std::string BookmarkTag(ReservedBookmark bookmark) {
  return "\\mrk=" + std::to_string(BookmarkId(bookmark)) + "\\";
}

}  // namespace rirerazo
