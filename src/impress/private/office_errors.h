// The error numbers the slide-show module raises, as the player sees them.
#pragma once

#include "platform/presentation_app.h"
#include "platform/runtime_error.h"

namespace rirerazo::impress {

// The office refused a call, or a file could not be opened as a presentation (0x80004005).
inline constexpr long kOfficeFailed = -2147467259L;
// The office cannot be started (not installed, or it ended while starting).
inline constexpr long kCannotStartOffice = 429;
// Still starting: the caller may try again (the player retries a few times).
inline constexpr long kOfficeBusy = platform::kPresentationErrBusy;

}  // namespace rirerazo::impress
