// The Open and Save dialogs driven from a timer, as a user would: typing names, meeting the
// existence checks and the overwrite question, cancelling.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>

#include "desktop/services/qt_file_dialog.h"
#include "services_support.h"
#include "support/qt_desktop.h"
#include "support/scratch_folder.h"

namespace rirerazo::desktop {
namespace {

using testing::WhenModal;
namespace ofn = platform::ofn;

void Type(QFileDialog* dialog, const QString& name) {
  dialog->findChild<QLineEdit*>("fileNameEdit")->setText(name);
  QMetaObject::invokeMethod(dialog, "accept", Qt::DirectConnection);
}

platform::FileDialogRequest OpenScriptRequest(const std::string& folder) {
  platform::FileDialogRequest request;
  request.title = "Open VORN Script";
  request.initial_dir = folder;
  request.filters = {{"VORN Script Files (*.vrn, *.vrs)", "*.vrn;*.vrs"},
                     {"All Files (*.*)", "*.*"}};
  request.default_ext = "VRN";
  request.flags = ofn::kHideReadOnly | ofn::kPathMustExist | ofn::kFileMustExist;
  return request;
}

TEST(DesktopFileDialog, OpenRefusesMissingNamesAndAddsTheDefaultExtension) {
  RIRERAZO_REQUIRE_DESKTOP();
  testing::ScratchFolder folder;
  const std::string script = folder.Write("intro.vrn", "[VORN Script]\r\n");
  QStringList filters;
  QString title, selected_filter, refusal;
  WhenModal<QFileDialog>([&](QFileDialog* dialog) {
    title = dialog->windowTitle();
    filters = dialog->nameFilters();
    selected_filter = dialog->selectedNameFilter();
    WhenModal<QMessageBox>(
        [&](QMessageBox* box) {
          refusal = box->text();
          box->button(QMessageBox::Ok)->click();
          Type(dialog, "intro");  // refused once, the dialog is still open
        },
        dialog);
    Type(dialog, "missing");
  });
  QtFileDialog dialogs;
  const auto result = dialogs.Show(OpenScriptRequest(folder.Path()));
  ASSERT_TRUE(result.has_value());
  EXPECT_EQ(result->file_name, script);  // "intro" + ".VRN" matches intro.vrn
  EXPECT_EQ(result->file_title, "intro.vrn");
  EXPECT_EQ(title, "Open VORN Script");
  EXPECT_EQ(filters, (QStringList{"VORN Script Files (*.vrn, *.vrs) (*.vrn *.vrs)",
                                  "All Files (*.*) (*.*)"}));
  EXPECT_EQ(selected_filter, filters.value(0));
  EXPECT_TRUE(refusal.contains("missing")) << refusal.toStdString();
}

TEST(DesktopFileDialog, CancelGivesNothing) {
  RIRERAZO_REQUIRE_DESKTOP();
  testing::ScratchFolder folder;
  WhenModal<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
  QtFileDialog dialogs;
  EXPECT_FALSE(dialogs.Show(OpenScriptRequest(folder.Path())).has_value());
}

TEST(DesktopFileDialog, SaveAsksBeforeReplacingAndAcceptsNewNames) {
  RIRERAZO_REQUIRE_DESKTOP();
  testing::ScratchFolder folder;
  folder.Write("old.vrn", "x");
  platform::FileDialogRequest request = OpenScriptRequest(folder.Path());
  request.kind = platform::FileDialogKind::kSave;
  request.filter_index = 2;
  request.flags = ofn::kOverwritePrompt | ofn::kPathMustExist;
  int questions = 0;
  QString selected_filter;
  WhenModal<QFileDialog>([&](QFileDialog* dialog) {
    selected_filter = dialog->selectedNameFilter();
    WhenModal<QMessageBox>(
        [&, dialog](QMessageBox* box) {
          ++questions;
          box->button(QMessageBox::No)->click();
          Type(dialog, "new");
        },
        dialog);
    Type(dialog, "old.vrn");
  });
  QtFileDialog dialogs;
  const auto result = dialogs.Show(request);
  ASSERT_TRUE(result.has_value());
  EXPECT_EQ(result->file_name, folder / "new.VRN");
  EXPECT_EQ(questions, 1);
  EXPECT_EQ(selected_filter, "All Files (*.*) (*.*)");
}

TEST(DesktopFileDialog, PathMustExistRefusesAMissingFolder) {
  RIRERAZO_REQUIRE_DESKTOP();
  testing::ScratchFolder folder;
  platform::FileDialogRequest request = OpenScriptRequest(folder.Path());
  request.kind = platform::FileDialogKind::kSave;
  request.flags = ofn::kPathMustExist;
  int refusals = 0;
  WhenModal<QFileDialog>([&](QFileDialog* dialog) {
    WhenModal<QMessageBox>(
        [&, dialog](QMessageBox* box) {
          ++refusals;
          box->button(QMessageBox::Ok)->click();
          dialog->reject();
        },
        dialog);
    Type(dialog, QString::fromStdString(folder / "nowhere/x.vrn"));
  });
  QtFileDialog dialogs;
  EXPECT_FALSE(dialogs.Show(request).has_value());
  EXPECT_EQ(refusals, 1);
}

}  // namespace
}  // namespace rirerazo::desktop
