// How a file dialog takes a name typed into it; every host's dialog accepts names this way.
#pragma once

#include <optional>
#include <string>

#include "platform/file_dialog.h"

namespace rirerazo::host {

// A name typed into a dialog as the dialog takes it: relative to the request's first folder
// (the current folder when it has none), the default extension added when the name has
// none, matched without regard to case when the exact name does not exist. Nothing when the
// request's existence checks refuse it. Every host's dialog accepts names this way.
std::optional<std::string> AcceptTypedFileName(const platform::FileDialogRequest& request,
                                               const std::string& typed);

}  // namespace rirerazo::host
