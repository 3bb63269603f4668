// The Open and Save dialogs on Qt's own (non-native) file dialog, so they look and behave
// the same on every desktop. A name the user confirms is taken as every host takes a typed
// name (default extension, case-insensitive match, existence checks); a refused name keeps
// the dialog open with a message, and Save asks before replacing a file when the request
// wants that. Called on the GUI thread; events run while the dialog is open.
#pragma once

#include <optional>

#include "platform/file_dialog.h"

namespace rirerazo::desktop {

class QtFileDialog final : public platform::FileDialog {
 public:
  std::optional<platform::FileDialogResult> Show(
      const platform::FileDialogRequest& request) override;
};

// The object name of the dialog window while it is open (for tests and tools that drive it).
inline constexpr const char* kFileDialogObjectName = "rirerazo-file-dialog";

}  // namespace rirerazo::desktop
