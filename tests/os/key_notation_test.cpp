#include "os/key_notation.h"

#include <gtest/gtest.h>

#include "platform/runtime_error.h"

namespace rirerazo::os {
namespace {

using key_modifier::kAlt;
using key_modifier::kControl;
using key_modifier::kShift;

KeyStroke Char(char32_t c, unsigned modifiers = 0, std::uint32_t keysym = 0) {
  return {"", c, keysym != 0 ? keysym : static_cast<std::uint32_t>(c), modifiers};
}
KeyStroke Named(const std::string& name, std::uint32_t keysym, unsigned modifiers = 0) {
  return {name, 0, keysym, modifiers};
}

TEST(KeyNotation, PlainTextAndModifiers) {
  EXPECT_EQ(ParseKeyNotation("ab"), (std::vector<KeyStroke>{Char('a'), Char('b')}));
  EXPECT_EQ(ParseKeyNotation("+a^b%c"),
            (std::vector<KeyStroke>{Char('a', kShift), Char('b', kControl), Char('c', kAlt)}));
  EXPECT_EQ(ParseKeyNotation("^+s"), (std::vector<KeyStroke>{Char('s', kControl | kShift)}));
  EXPECT_EQ(ParseKeyNotation("~"), (std::vector<KeyStroke>{Named("ENTER", 0xff0d)}));
  EXPECT_TRUE(ParseKeyNotation("").empty());
}

TEST(KeyNotation, NamedKeysAliasesAndRepeats) {
  EXPECT_EQ(
      ParseKeyNotation("{enter}{BS}{Del}{F5}{f12}"),
      (std::vector<KeyStroke>{Named("ENTER", 0xff0d), Named("BACKSPACE", 0xff08),
                              Named("DELETE", 0xffff), Named("F5", 0xffc2), Named("F12", 0xffc9)}));
  EXPECT_EQ(ParseKeyNotation("{TAB 3}"), std::vector<KeyStroke>(3, Named("TAB", 0xff09)));
  EXPECT_EQ(ParseKeyNotation("{x 2}"), std::vector<KeyStroke>(2, Char('x')));
  EXPECT_TRUE(ParseKeyNotation("{TAB 0}").empty());
  EXPECT_EQ(ParseKeyNotation("%{F4}"), (std::vector<KeyStroke>{Named("F4", 0xffc1, kAlt)}));
}

TEST(KeyNotation, BracesQuoteSpecialCharacters) {
  EXPECT_EQ(ParseKeyNotation("{+}{^}{%}{~}{(}{)}{{}{}}{[}{]}"),
            (std::vector<KeyStroke>{Char('+'), Char('^'), Char('%'), Char('~'), Char('('),
                                    Char(')'), Char('{'), Char('}'), Char('['), Char(']')}));
  EXPECT_EQ(ParseKeyNotation("{} 2}"), std::vector<KeyStroke>(2, Char('}')));
  EXPECT_EQ(ParseKeyNotation("{ }"), (std::vector<KeyStroke>{Char(' ')}));
}

TEST(KeyNotation, GroupsCarryTheirModifiers) {
  EXPECT_EQ(ParseKeyNotation("+(ab)c"),
            (std::vector<KeyStroke>{Char('a', kShift), Char('b', kShift), Char('c')}));
  EXPECT_EQ(ParseKeyNotation("^(a%(b))"),
            (std::vector<KeyStroke>{Char('a', kControl), Char('b', kControl | kAlt)}));
  EXPECT_TRUE(ParseKeyNotation("()").empty());
}

TEST(KeyNotation, TextIsUtf8OrElseWindows1252) {
  EXPECT_EQ(ParseKeyNotation("\xC3\xA9\xE2\x82\xAC"),
            (std::vector<KeyStroke>{Char(0xE9), Char(0x20AC, 0, 0x010020AC)}));
  EXPECT_EQ(ParseKeyNotation("\xE9\x80"),
            (std::vector<KeyStroke>{Char(0xE9), Char(0x20AC, 0, 0x010020AC)}));
  EXPECT_EQ(ParseKeyNotation("\t"), (std::vector<KeyStroke>{Char('\t', 0, 0xff09)}));
}

TEST(KeyNotation, MalformedTextIsAnInvalidCall) {
  for (const char* bad : {"{ENTER", "{}", "{NOSUCHKEY}", "(ab", "ab)", "}", "a+", "+", "^()x)",
                          "{F17}", "{TAB x}", "{TAB 10001}", "+)", "{\xC3\xA9\xC3\xA9}"}) {
    try {
      ParseKeyNotation(bad);
      ADD_FAILURE() << "accepted: " << bad;
    } catch (const RuntimeError& error) {
      EXPECT_EQ(error.Number(), 5) << bad;
    }
  }
}

TEST(KeyNotation, NestingIsCappedAt32Groups) {
  const std::string ok = std::string(32, '(') + "a" + std::string(32, ')');
  EXPECT_EQ(ParseKeyNotation(ok).size(), 1u);
  const std::string deep = std::string(33, '(') + "a" + std::string(33, ')');
  EXPECT_THROW(ParseKeyNotation(deep), RuntimeError);
  EXPECT_THROW(ParseKeyNotation(std::string(100000, '(')), RuntimeError);
}

}  // namespace
}  // namespace rirerazo::os
