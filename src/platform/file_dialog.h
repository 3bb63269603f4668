// The Open and Save dialogs: the user picks a file name. The player fills a request
// (title, filter entries, default extension, option flags) and gets the chosen name back,
// or nothing when the user cancelled. Called on the player's thread; the dialog is modal
// and the host decides whether events run while it is shown.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace rirerazo::platform {

// Option flags in their classic bit values; the player passes them through unchanged and
// the dialog honours those it knows.
namespace ofn {
inline constexpr std::int32_t kReadOnly = 0x1;
inline constexpr std::int32_t kOverwritePrompt = 0x2;
inline constexpr std::int32_t kHideReadOnly = 0x4;
inline constexpr std::int32_t kNoChangeDir = 0x8;
inline constexpr std::int32_t kPathMustExist = 0x800;
inline constexpr std::int32_t kFileMustExist = 0x1000;
}  // namespace ofn

// One entry of the file-type list: a description shown to the user and its wildcard
// patterns separated by ';' (for example "*.vrn;*.vrs").
struct FileFilter {
  std::string description;
  std::string patterns;
  friend bool operator==(const FileFilter&, const FileFilter&) = default;
};

enum class FileDialogKind { kOpen, kSave };

struct FileDialogRequest {
  FileDialogKind kind = FileDialogKind::kOpen;
  std::string title;
  std::string file_name;    // the name proposed at first; may be empty
  std::string initial_dir;  // the folder shown first; empty for the host's choice
  std::vector<FileFilter> filters;
  int filter_index = 1;     // 1-based entry of `filters` selected first
  std::string default_ext;  // appended (after a dot) to a name typed without one
  std::int32_t flags = 0;   // ofn:: bits
};

struct FileDialogResult {
  std::string file_name;   // the chosen file's full path
  std::string file_title;  // its name without the folder
};

class FileDialog {
 public:
  virtual ~FileDialog() = default;

  // Shows the dialog and waits for the user. Returns the chosen file, or nothing when
  // the user cancelled. With kFileMustExist (or kPathMustExist) the dialog itself refuses
  // names that do not exist, so a returned name passed those checks.
  virtual std::optional<FileDialogResult> Show(const FileDialogRequest& request) = 0;
};

}  // namespace rirerazo::platform
