#include "headless/headless_file_dialog.h"

#include <gtest/gtest.h>

#include <string>

#include "support/file_bytes.h"
#include "support/scratch_folder.h"

namespace rirerazo::headless {
namespace {

class HeadlessDialog : public ::testing::Test {
 protected:
  HeadlessDialog() {
    dir.Write("intro.vrn", "x");
    dir.Write("notes.txt", "x");
    std::filesystem::create_directory(dir / "folder");
    request.initial_dir = dir.Path();
    request.default_ext = "VRN";
    request.flags = platform::ofn::kHideReadOnly | platform::ofn::kPathMustExist |
                    platform::ofn::kFileMustExist;
  }
  std::optional<std::string> Chosen() {
    auto result = dialog.Show(request);
    if (!result) return std::nullopt;
    EXPECT_EQ(result->file_title, std::filesystem::path(result->file_name).filename().string());
    return result->file_name;
  }
  testing::ScratchFolder dir;
  HeadlessFileDialog dialog;
  platform::FileDialogRequest request;
};

TEST_F(HeadlessDialog, AnswersWithTheTypedFileAddingTheDefaultExtension) {
  dialog.QueueAnswer("intro");
  dialog.QueueAnswer("notes.txt");
  dialog.QueueAnswer(dir / "INTRO.VRN");
  EXPECT_EQ(Chosen(), dir / "intro.vrn");
  EXPECT_EQ(Chosen(), dir / "notes.txt");
  EXPECT_EQ(Chosen(), dir / "intro.vrn");
  EXPECT_EQ(dialog.Requests().size(), 3u);
}

TEST_F(HeadlessDialog, RefusesNamesThatMustExistAndTakesTheNextAnswer) {
  dialog.QueueAnswer("missing");
  dialog.QueueAnswer("folder");
  dialog.QueueAnswer("no-such-folder/intro.vrn");
  dialog.QueueAnswer("intro.vrn");
  EXPECT_EQ(Chosen(), dir / "intro.vrn");
  EXPECT_EQ(dialog.Refused(),
            (std::vector<std::string>{"missing", "folder", "no-such-folder/intro.vrn"}));
}

TEST_F(HeadlessDialog, CancelsWhenToldOrWhenNoAnswerIsLeft) {
  dialog.QueueAnswer(std::nullopt);
  dialog.QueueAnswer("intro");
  EXPECT_EQ(Chosen(), std::nullopt);
  EXPECT_EQ(Chosen(), dir / "intro.vrn");
  EXPECT_EQ(Chosen(), std::nullopt);
  dialog.QueueAnswer("missing");
  EXPECT_EQ(Chosen(), std::nullopt);
}

TEST_F(HeadlessDialog, TakesItsAnswersFromTheUserInputScript) {
  dialog.QueueAnswers(ParseUserInput("0 dialog cancel\n1s tray Close\n+5 dialog intro\n"));
  EXPECT_EQ(Chosen(), std::nullopt);
  EXPECT_EQ(Chosen(), dir / "intro.vrn");
  EXPECT_EQ(Chosen(), std::nullopt);
}

TEST_F(HeadlessDialog, SaveDialogAcceptsANewName) {
  request.kind = platform::FileDialogKind::kSave;
  request.flags = platform::ofn::kOverwritePrompt;
  dialog.QueueAnswer("new");
  EXPECT_EQ(Chosen(), dir / "new.VRN");
}

}  // namespace
}  // namespace rirerazo::headless
