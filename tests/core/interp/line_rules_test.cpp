#include "core/interp/line_rules.h"

#include <gtest/gtest.h>

namespace rirerazo {
namespace {

TEST(ScriptLines, OnlyCrLfEndsALine) {
  const std::string script = "a\nb\r\nc\rd\r\n\r\nlast";
  std::size_t pos = 0;
  EXPECT_EQ(NextLine(script, pos), "a\nb");
  EXPECT_EQ(NextLine(script, pos), "c\rd");
  EXPECT_EQ(NextLine(script, pos), "");
  EXPECT_EQ(NextLine(script, pos), "last");
  EXPECT_EQ(pos, script.size());
}

TEST(SetReq, RecognisedWithBlanksAndAnyCase) {
  EXPECT_TRUE(IsSetReqLine("SETREQ=Host.Show"));
  EXPECT_TRUE(IsSetReqLine("set req = Host.Show"));
  EXPECT_TRUE(IsSetReqLine("SetReq="));
  EXPECT_FALSE(IsSetReqLine("SETREQ Host.Show"));
  EXPECT_FALSE(IsSetReqLine("Host.Speak SETREQ=1"));
}

TEST(SetReq, StatementLosesItsParentheses) {
  EXPECT_EQ(SetReqStatement("SETREQ = Host.Speak(\"Hello\")"), "Host.Speak \"Hello\"");
  EXPECT_EQ(SetReqStatement("SETREQ=Host.MoveTo(10, 20)"), "Host.MoveTo 10, 20");
  EXPECT_EQ(SetReqStatement("SETREQ=Host.Show"), "Host.Show");
  // Only the first "(" becomes a blank and only a final ")" goes.
  EXPECT_EQ(SetReqStatement("SETREQ=Host.Speak((a) b)"), "Host.Speak (a) b");
  EXPECT_EQ(SetReqStatement("SETREQ=Host.Speak(a) b"), "Host.Speak a) b");
  // The text after the first "=" only: a later "=" stays in the statement.
  EXPECT_EQ(SetReqStatement("SETREQ=Host.Balloon.FontSize = 12"), "Host.Balloon.FontSize = 12");
}

TEST(WaitForReq, BlanksAndCaseDoNotMatterButExtraTextDoes) {
  EXPECT_TRUE(IsWaitForReqLine("WAITFORREQ"));
  EXPECT_TRUE(IsWaitForReqLine("waitforreq"));
  EXPECT_TRUE(IsWaitForReqLine("WAIT FOR REQ"));
  EXPECT_FALSE(IsWaitForReqLine("WAITFORREQ now"));
  EXPECT_FALSE(IsWaitForReqLine("WAITFORRE"));
}

}  // namespace
}  // namespace rirerazo
