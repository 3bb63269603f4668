#include "host/tracing/tracing_file_dialog.h"

namespace rirerazo::host {

std::optional<platform::FileDialogResult> TracingFileDialog::Show(
    const platform::FileDialogRequest& request) {
  std::optional<platform::FileDialogResult> chosen = inner_.Show(request);
  std::vector<std::string> filters;
  for (const platform::FileFilter& filter : request.filters) {
    filters.push_back(filter.description + "|" + filter.patterns);
  }
  tracer_.Record("file",
                 {{"op", request.kind == platform::FileDialogKind::kSave ? "Save" : "Open"},
                  {"title", request.title},
                  {"proposed", request.file_name},
                  {"filters", std::move(filters)},
                  {"path", chosen ? chosen->file_name : std::string()}});
  return chosen;
}

}  // namespace rirerazo::host
