#include "core/app/error_report.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <new>
#include <string>
#include <vector>

#include "version.h"

namespace rirerazo::app {
namespace {

using platform::Cursor;
using platform::MsgAnswer;

// Records every call in one list so the order of pointer, box and unloading shows.
class Recorder : public platform::Ui, public FormUnload {
 public:
  MsgAnswer answer = MsgAnswer::kOk;
  std::vector<std::string> calls;
  std::string text, title;
  int style = -1;

  MsgAnswer MessageBox(const std::string& t, const std::string& ti, int s) override {
    calls.push_back("box");
    text = t, title = ti, style = s;
    return answer;
  }
  void SetCursor(Cursor c) override { calls.push_back(c == Cursor::kNormal ? "normal" : "busy"); }
  int ScreenWidthPx() const override { return 1024; }
  int ScreenHeightPx() const override { return 768; }
  void UnloadBackdrop() override { calls.push_back("unload backdrop"); }
  void UnloadMainForm() override { calls.push_back("unload main form"); }
};

TEST(ErrorReport, TextNamesThePlaceAndTheError) {
  EXPECT_EQ(ErrorReportText("M:MG:", "TrimChars", 5, "Invalid procedure call or argument"),
            "Section: M:MG: : TrimChars\r\n\r\n"
            "Error Code: 5\r\n"
            "'Invalid procedure call or argument'\r\n\r\n"
            "You may be able to continue normally by clicking the OK button,\r\n"
            "but please report this problem on the VORN website so it can be resolved.  "
            "Thank you.");
  const std::string negative = ErrorReportText("RIRERazo:", "Form_Load", -2147024894, "");
  EXPECT_TRUE(negative.starts_with(
      "Section: RIRERazo: : Form_Load\r\n\r\nError Code: -2147024894\r\n''\r\n"))
      << negative;
}

TEST(ErrorReport, OkResetsThePointerShowsTheBoxAndContinues) {
  Recorder host;
  ErrorReport report(host, host);
  EXPECT_EQ(report.ReportError("M:PR:", "GetProfile", RuntimeError(53, "File not found")),
            ReportOutcome::kContinue);
  EXPECT_EQ(host.calls, (std::vector<std::string>{"normal", "box"}));
  EXPECT_EQ(host.style, 17);
  EXPECT_EQ(host.title, "VORN " + std::to_string(kVersionMajor) + "." +
                            std::to_string(kVersionMinor) + " Unexpected Error");
  EXPECT_EQ(host.text, ErrorReportText("M:PR:", "GetProfile", 53, "File not found"));
}

TEST(ErrorReport, CancelUnloadsTheBackdropThenTheMainForm) {
  Recorder host;
  host.answer = MsgAnswer::kCancel;
  ErrorReport report(host, host);
  EXPECT_EQ(report.ReportError("RIRERazo:", "Form_Load", RuntimeError(6, "Overflow")),
            ReportOutcome::kEndProgram);
  EXPECT_EQ(host.calls,
            (std::vector<std::string>{"normal", "box", "unload backdrop", "unload main form"}));
}

TEST(ErrorReport, NumberZeroOnlyResetsThePointer) {
  Recorder host;
  ErrorReport report(host, host);
  EXPECT_EQ(report.ReportError("M:MG:", "PathOnly", RuntimeError(0, "")), ReportOutcome::kContinue);
  EXPECT_EQ(host.calls, std::vector<std::string>{"normal"});
}

long NumberOf(void (*raise)()) {
  try {
    raise();
  } catch (...) {
    return CurrentError().Number();
  }
  return -1;
}

TEST(CurrentError, MapsWhatWasCaughtToClassicNumbers) {
  EXPECT_EQ(NumberOf([] { throw RuntimeError(76, "Path not found"); }), 76);
  EXPECT_EQ(NumberOf([] { throw std::bad_alloc(); }), 7);
  EXPECT_EQ(NumberOf([] { throw std::out_of_range("index"); }), 9);
  EXPECT_EQ(NumberOf([] { throw 42; }), 51);
  EXPECT_EQ(NumberOf([] {
              throw std::filesystem::filesystem_error(
                  "x", std::make_error_code(std::errc::permission_denied));
            }),
            70);
  EXPECT_EQ(CurrentError().Number(), 0);  // nothing is being handled
}

}  // namespace
}  // namespace rirerazo::app
