// The keystroke sender and the window closer against a real X server of the test's own.
// Xlib's macros (None, Bool, Status) break gtest's headers, so gtest comes first.
#include <gtest/gtest.h>
// clang-format off
#include <X11/Xlib.h>
#include <X11/Xutil.h>
// clang-format on
#include <poll.h>

#include <string>

#include "os/process_shell.h"
#include "os/x11_connection.h"
#include "os/x11_key_sender.h"
#include "platform/runtime_error.h"
#include "support/xvfb_server.h"

namespace rirerazo::os {
namespace {

// A mapped, focused window of the test's own that collects the keys typed into it.
class TestWindow {
 public:
  TestWindow(const std::string& display_name, const std::string& title) {
    display_ = XOpenDisplay(display_name.c_str());
    window_ = XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, 100, 100, 0, 0, 0);
    XStoreName(display_, window_, title.c_str());
    Atom delete_window = XInternAtom(display_, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display_, window_, &delete_window, 1);
    XSelectInput(display_, window_, KeyPressMask | StructureNotifyMask);
    XMapWindow(display_, window_);
    XEvent event;
    do XNextEvent(display_, &event);
    while (event.type != MapNotify);
    XSetInputFocus(display_, window_, RevertToParent, CurrentTime);
    XSync(display_, False);
  }
  ~TestWindow() { XCloseDisplay(display_); }

  // Waits up to 5 s for the next event of `type`; false when none came.
  bool Next(int type, XEvent& event) {
    while (true) {
      while (XPending(display_) > 0) {
        XNextEvent(display_, &event);
        if (event.type == MappingNotify) XRefreshKeyboardMapping(&event.xmapping);
        if (event.type == type) return true;
      }
      pollfd fd{ConnectionNumber(display_), POLLIN, 0};
      if (poll(&fd, 1, 5000) <= 0) return false;
    }
  }

  // Every key typed so far, as text, with "<Return>" for Enter and "^" before a Ctrl key.
  std::string Typed() {
    XSync(display_, False);
    std::string text;
    XEvent event;
    while (XCheckTypedWindowEvent(display_, window_, KeyPress, &event)) {
      char buffer[8] = {};
      KeySym keysym = NoSymbol;
      const int length = XLookupString(&event.xkey, buffer, sizeof buffer, &keysym, nullptr);
      if (event.xkey.state & ControlMask) text += "^";
      if (keysym == XK_Return) {
        text += "<Return>";
      } else if (keysym == XK_Tab) {
        text += "<Tab>";
      } else if (!(event.xkey.state & ControlMask)) {
        text.append(buffer, length);
      } else {
        text += XKeysymToString(keysym);
      }
    }
    return text;
  }

  Display* display() const { return display_; }

 private:
  Display* display_;
  Window window_;
};

class X11Test : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!server_.Running()) GTEST_SKIP() << "Xvfb is not installed or did not start";
  }
  testing::XvfbServer server_;
};

TEST_F(X11Test, KeySenderTypesTheNotationIntoTheFocusedWindow) {
  TestWindow window(server_.Display(), "keys");
  X11KeySender sender(server_.Display());
  sender.SendKeys("Hi +a{TAB 2}~^c{+}(x)");
  EXPECT_EQ(window.Typed(), "Hi A<Tab><Tab><Return>^c+x");
}

TEST_F(X11Test, KeySenderTypesCharactersTheKeyboardLacks) {
  TestWindow window(server_.Display(), "keys");
  X11KeySender(server_.Display()).SendKeys("\xC3\xA9\xE2\x82\xAC\xC3\xA9");  // é€é
  for (KeySym expected : {0xE9ul, 0x10020ACul, 0xE9ul}) {
    XEvent event;
    ASSERT_TRUE(window.Next(KeyPress, event));
    EXPECT_EQ(XLookupKeysym(&event.xkey, 0), expected);
  }
}

TEST_F(X11Test, MalformedNotationSendsNothing) {
  TestWindow window(server_.Display(), "keys");
  EXPECT_THROW(X11KeySender(server_.Display()).SendKeys("abc{NOPE}"), RuntimeError);
  EXPECT_EQ(window.Typed(), "");
}

TEST_F(X11Test, CloserAsksTheWindowWithTheExactTitleToClose) {
  TestWindow other(server_.Display(), "Untitled - Notes 2");
  TestWindow target(server_.Display(), "Untitled - Notes");
  PosixShell shell("xdg-open", server_.Display());
  EXPECT_FALSE(shell.CloseWindowByTitle("untitled - notes")) << "titles match exactly";
  EXPECT_FALSE(shell.CloseWindowByTitle("Untitled"));
  EXPECT_TRUE(shell.CloseWindowByTitle("Untitled - Notes"));
  XEvent event;
  ASSERT_TRUE(target.Next(ClientMessage, event));
  EXPECT_EQ(static_cast<Atom>(event.xclient.data.l[0]),
            XInternAtom(target.display(), "WM_DELETE_WINDOW", False));
  XSync(other.display(), False);
  EXPECT_FALSE(XCheckTypedEvent(other.display(), ClientMessage, &event));
}

TEST(X11NoDisplay, SenderAndCloserRaiseDeviceUnavailable) {
  const std::string nowhere = ":31999";
  try {
    X11KeySender(nowhere).SendKeys("a");
    ADD_FAILURE() << "no error";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Number(), kDeviceUnavailable);
    EXPECT_NE(error.Description().find(":31999"), std::string::npos) << error.Description();
  }
  PosixShell shell("xdg-open", nowhere);
  EXPECT_THROW(shell.CloseWindowByTitle("x"), RuntimeError);
}

}  // namespace
}  // namespace rirerazo::os
