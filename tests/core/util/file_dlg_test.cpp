#include "core/util/file_dlg.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/runtime_error.h"
#include "support/recording_services.h"

namespace rirerazo {
namespace {

using namespace std::string_literals;

// Answers every request with `answer` and keeps the requests.
class AnsweringDialog final : public platform::FileDialog {
 public:
  std::optional<platform::FileDialogResult> Show(
      const platform::FileDialogRequest& request) override {
    requests.push_back(request);
    if (fail) throw RuntimeError(7, "Out of memory");
    return answer;
  }
  std::optional<platform::FileDialogResult> answer;
  bool fail = false;
  std::vector<platform::FileDialogRequest> requests;
};

TEST(OpenFile, AsksForAScriptWithTheOpenDialog) {
  AnsweringDialog dialog;
  testing::RecordingUi ui;
  dialog.answer = platform::FileDialogResult{"/shows/intro.vrn", "intro.vrn"};
  EXPECT_EQ(OpenFile(dialog, ui), "/shows/intro.vrn");
  ASSERT_EQ(dialog.requests.size(), 1u);
  const platform::FileDialogRequest& request = dialog.requests[0];
  EXPECT_EQ(request.kind, platform::FileDialogKind::kOpen);
  EXPECT_EQ(request.title, "Open VORN Script");
  EXPECT_EQ(request.default_ext, "VRN");
  EXPECT_EQ(request.flags, 6148);
  EXPECT_EQ(request.filter_index, 1);
  EXPECT_EQ(request.file_name, "");
  EXPECT_EQ(request.filters,
            (std::vector<platform::FileFilter>{{"VORN Script Files (*.vrn, *.vrs)", "*.vrn;*.vrs"},
                                               {"All Files (*.*)", "*.*"}}));
}

TEST(OpenFile, CancelledDialogGivesNothing) {
  AnsweringDialog dialog;
  testing::RecordingUi ui;
  EXPECT_EQ(OpenFile(dialog, ui), std::nullopt);
  EXPECT_TRUE(ui.boxes.empty());
}

TEST(CFileDialog, ResultsAreTakenUpToTheirFirstNulAndKeptWhenCancelled) {
  AnsweringDialog dialog;
  testing::RecordingUi ui;
  CFileDialog file_dialog(dialog, ui);
  file_dialog.FileName = "first.vrn";
  file_dialog.FileTitle = "first";
  dialog.answer = platform::FileDialogResult{"/a/b.vrn\0junk"s, "\0b.vrn"s};
  EXPECT_TRUE(file_dialog.Show(false));
  EXPECT_EQ(dialog.requests[0].kind, platform::FileDialogKind::kSave);
  EXPECT_EQ(file_dialog.FileName, "/a/b.vrn");
  EXPECT_EQ(file_dialog.FileTitle, "");
  dialog.answer.reset();
  EXPECT_FALSE(file_dialog.Show(true));
  EXPECT_EQ(file_dialog.FileName, "/a/b.vrn");
  EXPECT_EQ(file_dialog.FileTitle, "");
}

TEST(CFileDialog, FailuresShowTheirOwnBoxTitledShow) {
  AnsweringDialog dialog;
  testing::RecordingUi ui;
  CFileDialog too_long(dialog, ui);
  too_long.FileName = std::string(261, 'n');
  EXPECT_FALSE(too_long.Show(true));
  EXPECT_TRUE(dialog.requests.empty());
  CFileDialog at_limit(dialog, ui);
  at_limit.FileTitle = std::string(260, 't');
  dialog.fail = true;
  EXPECT_FALSE(at_limit.Show(true));
  EXPECT_EQ(dialog.requests.size(), 1u);
  ASSERT_EQ(ui.boxes.size(), 2u);
  EXPECT_EQ(ui.boxes[0].text, "Error: 5. Invalid procedure call or argument");
  EXPECT_EQ(ui.boxes[1].text, "Error: 7. Out of memory");
  EXPECT_EQ(ui.boxes[1].title, "Show");
  EXPECT_EQ(ui.boxes[1].style, platform::mb::kOkOnly | platform::mb::kExclamation);
}

TEST(ParseDialogFilter, PairsUpToTheFirstIncompleteEntry) {
  using Filters = std::vector<platform::FileFilter>;
  EXPECT_EQ(ParseDialogFilter(""), Filters{});
  EXPECT_EQ(ParseDialogFilter("Text|*.txt"), (Filters{{"Text", "*.txt"}}));
  EXPECT_EQ(ParseDialogFilter("Text|*.txt|Lone"), (Filters{{"Text", "*.txt"}}));
  EXPECT_EQ(ParseDialogFilter("Text|*.txt||*.x|B|*.b"), (Filters{{"Text", "*.txt"}}));
  EXPECT_EQ(ParseDialogFilter("A|*.a;*.b|B||C|*.c"), (Filters{{"A", "*.a;*.b"}}));
}

}  // namespace
}  // namespace rirerazo
