#include "desktop/services/qt_file_dialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <filesystem>

#include "desktop/services/private/qt_text.h"
#include "host/typed_file_name.h"

namespace rirerazo::desktop {
namespace {

namespace fs = std::filesystem;
using platform::FileDialogKind;
using platform::FileDialogRequest;

// "Scripts (*.vrn, *.vrs)" with "*.vrn;*.vrs" becomes "Scripts (*.vrn, *.vrs) (*.vrn *.vrs)":
// Qt reads the patterns from the last parentheses, and the description stays as written.
QStringList NameFilters(const FileDialogRequest& request) {
  QStringList filters;
  for (const platform::FileFilter& filter : request.filters) {
    QString patterns = ToQString(filter.patterns);
    patterns.replace(';', ' ');
    filters << ToQString(filter.description) + " (" + patterns.simplified() + ")";
  }
  return filters;
}

// The dialog that decides itself which names it accepts.
class CheckingFileDialog final : public QFileDialog {
 public:
  explicit CheckingFileDialog(const FileDialogRequest& request) : request_(request) {}

  const std::string& Chosen() const { return chosen_; }

  void accept() override {
    const QString typed = TypedName();
    if (typed.isEmpty()) return;
    if (QFileInfo(typed).isDir()) {  // a folder typed or chosen: open it
      setDirectory(typed);
      return;
    }
    const std::optional<std::string> name =
        host::AcceptTypedFileName(request_, typed.toStdString());
    if (!name) {
      QMessageBox::warning(this, windowTitle(),
                           typed + "\nFile not found.\nCheck the file name and try again.");
      return;
    }
    if (!ConfirmReplace(*name)) return;
    chosen_ = *name;
    QDialog::accept();
  }

 private:
  // The name in the dialog's name field, taken in the folder shown; the selected file when
  // the field is empty. The field comes first: the list's selection follows typing only while
  // the field has the keyboard focus.
  QString TypedName() const {
    const auto* field = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    const QString text = field != nullptr ? field->text().trimmed() : QString();
    if (!text.isEmpty()) return directory().absoluteFilePath(text);
    const QStringList files = selectedFiles();
    return files.isEmpty() ? QString() : files.front();
  }

  bool ConfirmReplace(const std::string& name) {
    std::error_code error;
    if (request_.kind != FileDialogKind::kSave ||
        !(request_.flags & platform::ofn::kOverwritePrompt) || !fs::exists(name, error)) {
      return true;
    }
    return QMessageBox::question(
               this, windowTitle(),
               QString::fromStdString(name) + " already exists.\nDo you want to replace it?",
               QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
  }

  FileDialogRequest request_;
  std::string chosen_;
};

void Configure(CheckingFileDialog& dialog, const FileDialogRequest& request) {
  dialog.setObjectName(kFileDialogObjectName);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  // The dialog checks names itself, so Qt's own overwrite question must not come twice.
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setAcceptMode(request.kind == FileDialogKind::kOpen ? QFileDialog::AcceptOpen
                                                             : QFileDialog::AcceptSave);
  dialog.setWindowFlag(Qt::WindowStaysOnTopHint);
  if (!request.title.empty()) dialog.setWindowTitle(ToQString(request.title));
  const QStringList filters = NameFilters(request);
  if (!filters.isEmpty()) {
    dialog.setNameFilters(filters);
    const int index = request.filter_index >= 1 && request.filter_index <= filters.size()
                          ? request.filter_index - 1
                          : 0;
    dialog.selectNameFilter(filters[index]);
  }
  dialog.setDirectory(request.initial_dir.empty() ? QDir::currentPath()
                                                  : ToQString(request.initial_dir));
  if (!request.file_name.empty()) dialog.selectFile(ToQString(request.file_name));
}

}  // namespace

std::optional<platform::FileDialogResult> QtFileDialog::Show(const FileDialogRequest& request) {
  CheckingFileDialog dialog(request);
  Configure(dialog, request);
  if (dialog.exec() != QDialog::Accepted || dialog.Chosen().empty()) return std::nullopt;
  return platform::FileDialogResult{dialog.Chosen(), fs::path(dialog.Chosen()).filename().string()};
}

}  // namespace rirerazo::desktop
