#include "headless/headless_ui.h"

#include <gtest/gtest.h>

#include <sstream>

namespace rirerazo::headless {
namespace {

using platform::MsgAnswer;
namespace mb = platform::mb;

MsgAnswer AnswerFor(const char* word, int style) {
  return AnswerPolicy::Parse(word)->Answer(style);
}

TEST(AnswerPolicy, DefaultRule) {
  const AnswerPolicy rule;
  EXPECT_EQ(rule.Answer(mb::kOkOnly | mb::kExclamation), MsgAnswer::kOk);
  EXPECT_EQ(rule.Answer(mb::kOkCancel | mb::kCritical), MsgAnswer::kOk);
  EXPECT_EQ(rule.Answer(mb::kAbortRetryIgnore | mb::kExclamation), MsgAnswer::kIgnore);
  EXPECT_EQ(rule.Answer(mb::kRetryCancel), MsgAnswer::kCancel);
  EXPECT_EQ(rule.Answer(mb::kYesNo), MsgAnswer::kYes);
  EXPECT_EQ(rule.Answer(mb::kYesNo | mb::kDefaultButton2), MsgAnswer::kNo);
  EXPECT_EQ(rule.Answer(mb::kYesNoCancel | mb::kDefaultButton3), MsgAnswer::kCancel);
  EXPECT_EQ(rule.Answer(0xF), MsgAnswer::kOk);
}

TEST(AnswerPolicy, ChosenAnswerAppliesWhereTheBoxOffersIt) {
  EXPECT_EQ(AnswerFor("cancel", mb::kOkCancel), MsgAnswer::kCancel);
  EXPECT_EQ(AnswerFor("CANCEL", mb::kOkOnly), MsgAnswer::kOk);
  EXPECT_EQ(AnswerFor("retry", mb::kAbortRetryIgnore), MsgAnswer::kRetry);
  EXPECT_EQ(AnswerFor("abort", mb::kAbortRetryIgnore), MsgAnswer::kAbort);
  EXPECT_EQ(AnswerFor("no", mb::kYesNoCancel), MsgAnswer::kNo);
  EXPECT_EQ(AnswerFor("yes", mb::kAbortRetryIgnore), MsgAnswer::kIgnore);
  EXPECT_FALSE(AnswerPolicy::Parse("maybe").has_value());
}

TEST(HeadlessUi, PrintsAndRecordsEveryBox) {
  std::ostringstream err;
  HeadlessUi ui({AnswerPolicy(MsgAnswer::kCancel)}, err);
  std::vector<std::string> seen;
  ui.SetBoxObserver([&](const HeadlessUi::Box& box) { seen.push_back(box.title); });
  EXPECT_EQ(ui.MessageBox("Error Code: 5\r\n'x'", "VORN 0.1 Unexpected Error", 17),
            MsgAnswer::kCancel);
  EXPECT_EQ(ui.MessageBox("caf\xe9", "RIRERazo", mb::kExclamation), MsgAnswer::kOk);
  EXPECT_EQ(err.str(),
            "[message box] VORN 0.1 Unexpected Error | icon: critical | buttons: OK, Cancel\n"
            "  Error Code: 5\n"
            "  'x'\n"
            "[answered] Cancel\n"
            "[message box] RIRERazo | icon: exclamation | buttons: OK\n"
            "  caf\xc3\xa9\n"
            "[answered] OK\n");
  ASSERT_EQ(ui.Boxes().size(), 2u);
  EXPECT_EQ(ui.Boxes()[0].style, 17);
  EXPECT_EQ(ui.Boxes()[1].text, "caf\xe9");  // recorded as given
  EXPECT_EQ(seen, (std::vector<std::string>{"VORN 0.1 Unexpected Error", "RIRERazo"}));
}

TEST(HeadlessUi, CursorAndScreen) {
  std::ostringstream err;
  HeadlessUi ui({AnswerPolicy(), 800, 600}, err);
  ui.SetCursor(platform::Cursor::kBusy);
  ui.SetCursor(platform::Cursor::kNormal);
  EXPECT_EQ(ui.Cursors(),
            (std::vector<platform::Cursor>{platform::Cursor::kBusy, platform::Cursor::kNormal}));
  EXPECT_EQ(ui.ScreenWidthPx(), 800);
  EXPECT_EQ(HeadlessUi({}, err).ScreenHeightPx(), 768);
  EXPECT_TRUE(err.str().empty());
}

}  // namespace
}  // namespace rirerazo::headless
