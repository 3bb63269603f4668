// The Open and Save dialogs behind a set of properties, and OpenFile, which asks the user
// for a script file when the player starts under its own name without arguments.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_dialog.h"
#include "platform/ui.h"

namespace rirerazo {

// The dialogs' name buffers hold this many characters; a longer proposed name or title
// makes Show fail.
inline constexpr std::size_t kDialogNameChars = 260;

class CFileDialog {
 public:
  // Both services must outlive the object.
  CFileDialog(platform::FileDialog& dialog, platform::Ui& ui) : dialog_(dialog), ui_(ui) {}

  std::string DefaultExt;  // appended to a name typed without extension
  std::string DialogTitle;
  std::string FileName;          // proposed name; after Show, the chosen full path
  std::string FileTitle;         // after Show, the chosen name without folder
  std::string Filter;            // "description|patterns|description|patterns..."
  std::int16_t FilterIndex = 0;  // 1-based entry selected first
  std::int32_t Flags = 0;        // platform::ofn bits, passed through unchanged
  std::int32_t hWndParent = 0;   // the owner window; the host places the dialog itself
  std::string InitialDir;
  std::int16_t MaxFileSize = 0;  // kept only; the name buffers are fixed

  // Shows the Open dialog (`fOpen` true) or the Save dialog. True when the user confirmed
  // a file; FileName and FileTitle then hold it. False when cancelled or when the dialog
  // failed, after a box titled "Show" that gives the error.
  bool Show(bool fOpen);

  // The text before its first NUL character (all of it when it has none).
  static std::string TrimNulls(std::string_view text);

 private:
  platform::FileDialogRequest BuildRequest(bool fOpen) const;

  platform::FileDialog& dialog_;
  platform::Ui& ui_;
};

// The entries of a "description|patterns|..." filter text, in order. The list ends at an
// empty description or at a description without patterns.
std::vector<platform::FileFilter> ParseDialogFilter(std::string_view filter);

// Asks for a script file in the Open dialog: the chosen path, or nothing when cancelled.
std::optional<std::string> OpenFile(platform::FileDialog& dialog, platform::Ui& ui);

}  // namespace rirerazo
