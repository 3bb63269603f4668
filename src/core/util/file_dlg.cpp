#include "core/util/file_dlg.h"

#include "platform/runtime_error.h"

namespace rirerazo {

std::vector<platform::FileFilter> ParseDialogFilter(std::string_view filter) {
  std::vector<std::string_view> parts;
  for (std::size_t start = 0;;) {
    std::size_t bar = filter.find('|', start);
    parts.push_back(filter.substr(start, bar - start));
    if (bar == std::string_view::npos) break;
    start = bar + 1;
  }
  std::vector<platform::FileFilter> entries;
  for (std::size_t i = 0; i + 1 < parts.size() && !parts[i].empty() && !parts[i + 1].empty();
       i += 2) {
    entries.push_back({std::string(parts[i]), std::string(parts[i + 1])});
  }
  return entries;
}

platform::FileDialogRequest CFileDialog::BuildRequest(bool fOpen) const {
  if (FileName.size() > kDialogNameChars || FileTitle.size() > kDialogNameChars) {
    throw RuntimeError(err::kInvalidProcedureCall, "Invalid procedure call or argument");
  }
  platform::FileDialogRequest request;
  request.kind = fOpen ? platform::FileDialogKind::kOpen : platform::FileDialogKind::kSave;
  request.title = DialogTitle;
  request.file_name = TrimNulls(FileName);
  request.initial_dir = InitialDir;
  request.filters = ParseDialogFilter(Filter);
  request.filter_index = FilterIndex;
  request.default_ext = DefaultExt;
  request.flags = Flags;
  return request;
}

bool CFileDialog::Show(bool fOpen) {
  try {
    std::optional<platform::FileDialogResult> chosen = dialog_.Show(BuildRequest(fOpen));
    if (!chosen) return false;
    FileName = TrimNulls(chosen->file_name);
    FileTitle = TrimNulls(chosen->file_title);
    return true;
  } catch (const RuntimeError& error) {
    ui_.MessageBox("Error: " + std::to_string(error.Number()) + ". " + error.Description(), "Show",
                   platform::mb::kOkOnly | platform::mb::kExclamation);
    return false;
  }
}

std::string CFileDialog::TrimNulls(std::string_view text) {
  return std::string(text.substr(0, text.find('\0')));
}

std::optional<std::string> OpenFile(platform::FileDialog& dialog, platform::Ui& ui) {
  CFileDialog file_dialog(dialog, ui);
  file_dialog.FileName = "";
  file_dialog.DefaultExt = "VRN";
  file_dialog.DialogTitle = "Open VORN Script";
  file_dialog.Filter = "VORN Script Files (*.vrn, *.vrs)|*.vrn;*.vrs|All Files (*.*)|*.*";
  file_dialog.FilterIndex = 1;
  file_dialog.InitialDir = "";
  // Hide the read-only box; the path and the file must exist.
  file_dialog.Flags =
      platform::ofn::kHideReadOnly | platform::ofn::kPathMustExist | platform::ofn::kFileMustExist;
  file_dialog.MaxFileSize = 255;
  // Nothing here can fail: Show reports its own errors, so OpenFile needs no report.
  if (file_dialog.Show(true)) return file_dialog.FileName;
  return std::nullopt;
}

}  // namespace rirerazo
