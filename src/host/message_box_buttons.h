// The buttons of a message box style, shared by every host's boxes and the trace.
#pragma once

#include <vector>

#include "platform/ui.h"

namespace rirerazo::host {

// The buttons a style offers, left to right; an unknown button code offers OK only.
std::vector<platform::MsgAnswer> ButtonsOf(int style);

}  // namespace rirerazo::host
