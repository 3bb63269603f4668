// The push-to-talk key grab against a real X server of the test's own, the key pressed and
// released through the test extension as a user would.
#include <gtest/gtest.h>
// clang-format off
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
// clang-format on
#include <poll.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "os/x11_key_grab.h"
#include "platform/runtime_error.h"
#include "support/xvfb_server.h"

namespace rirerazo::os {
namespace {

using Change = X11KeyGrab::Change;

class KeyGrabTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!server_.Running()) GTEST_SKIP() << "Xvfb is not installed";
    display_ = XOpenDisplay(server_.Display().c_str());
    ASSERT_NE(display_, nullptr);
  }
  void TearDown() override {
    if (display_) XCloseDisplay(display_);
  }

  // Presses (or releases) the key of `key_name` as the keyboard would.
  void Key(const char* key_name, bool down) {
    const KeyCode code = XKeysymToKeycode(display_, XStringToKeysym(key_name));
    XTestFakeKeyEvent(display_, code, down ? True : False, CurrentTime);
    XSync(display_, False);
  }

  // The changes the grab reports within `wait_ms` once `count` came.
  static std::vector<Change> Collect(X11KeyGrab& grab, std::size_t count, int wait_ms = 2000) {
    std::vector<Change> changes;
    for (int waited = 0; changes.size() < count && waited < wait_ms; waited += 20) {
      for (Change change : grab.TakeChanges()) changes.push_back(change);
      pollfd fd{grab.fd(), POLLIN, 0};
      poll(&fd, 1, 20);
    }
    for (Change change : grab.TakeChanges()) changes.push_back(change);
    return changes;
  }

  testing::XvfbServer server_;
  Display* display_ = nullptr;
};

TEST_F(KeyGrabTest, APressAndReleaseAnywhereAreSeenOnceEach) {
  X11KeyGrab grab("Scroll_Lock", server_.Display());
  EXPECT_FALSE(grab.Held());
  Key("Scroll_Lock", true);
  EXPECT_EQ(Collect(grab, 1), std::vector<Change>{Change::kPressed});
  EXPECT_TRUE(grab.Held());
  // A held key repeats; the repeats are no new press.
  Key("Scroll_Lock", true);
  Key("Scroll_Lock", true);
  Key("Scroll_Lock", false);
  EXPECT_EQ(Collect(grab, 1), std::vector<Change>{Change::kReleased});
  EXPECT_FALSE(grab.Held());
  // Other keys, and the key with a modifier held, are told apart.
  Key("a", true);
  Key("a", false);
  Key("Shift_L", true);
  Key("Scroll_Lock", true);
  Key("Scroll_Lock", false);
  Key("Shift_L", false);
  EXPECT_EQ(Collect(grab, 2), (std::vector<Change>{Change::kPressed, Change::kReleased}));
}

// Held for longer than the server's auto-repeat delay: one press, one release.
TEST_F(KeyGrabTest, AKeyHeldDownLongIsOnePressAndOneRelease) {
  X11KeyGrab grab("Scroll_Lock", server_.Display());
  Key("Scroll_Lock", true);
  std::vector<Change> changes = Collect(grab, 99, 1200);
  // The repeats wait unread while the player is busy.
  usleep(1200 * 1000);
  for (Change change : Collect(grab, 99, 100)) changes.push_back(change);
  Key("Scroll_Lock", false);
  for (Change change : Collect(grab, 2, 500)) changes.push_back(change);
  EXPECT_EQ(changes, (std::vector<Change>{Change::kPressed, Change::kReleased}));
}

TEST_F(KeyGrabTest, AKeyTheGrabDoesNotHoldIsNotSeenAfterItGoes) {
  { X11KeyGrab grab("F12", server_.Display()); }
  X11KeyGrab other("Pause", server_.Display());
  Key("F12", true);
  Key("F12", false);
  EXPECT_TRUE(Collect(other, 1, 300).empty());
  // The key let go by the first grab can be held again.
  EXPECT_NO_THROW(X11KeyGrab("F12", server_.Display()));
}

TEST_F(KeyGrabTest, AKeyThatCannotBeHeldIsRefusedWithTheReason) {
  try {
    X11KeyGrab grab("NoSuchKeyName", server_.Display());
    FAIL() << "an unknown key name was accepted";
  } catch (const RuntimeError& error) {
    EXPECT_NE(std::string(error.what()).find("names no key"), std::string::npos) << error.what();
  }
  // Another program holds the key already.
  const KeyCode code = XKeysymToKeycode(display_, XStringToKeysym("Pause"));
  XGrabKey(display_, code, ControlMask, DefaultRootWindow(display_), False, GrabModeAsync,
           GrabModeAsync);
  XSync(display_, False);
  try {
    X11KeyGrab grab("Pause", server_.Display());
    FAIL() << "a key held by another program was taken";
  } catch (const RuntimeError& error) {
    EXPECT_NE(std::string(error.what()).find("another program"), std::string::npos) << error.what();
  }
  EXPECT_THROW(X11KeyGrab("Pause", ":9999"), RuntimeError) << "no display";
}

}  // namespace
}  // namespace rirerazo::os
