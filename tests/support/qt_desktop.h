// A Qt application on an X server of the test's own, shared by every test in one process.
// Each test process (ctest runs one test per process) starts its own Xvfb; a test calls
// QtDesktop::Start() first and skips visibly when Xvfb is missing.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>
#include <memory>

#include "support/scratch_folder.h"
#include "support/xvfb_server.h"

namespace rirerazo::testing {

class QtDesktop {
 public:
  // The running application, or nullptr when no display could be started.
  static QApplication* Start() { return Instance().app_.get(); }
  static const std::string& Display() { return Instance().server_.Display(); }

 private:
  // Never destroyed: tearing Qt down among other static objects at exit crashes. The
  // application goes when the tests end, the X server from an exit handler.
  static QtDesktop& Instance() {
    static QtDesktop* desktop = new QtDesktop;
    return *desktop;
  }
  static void StopServer() { Instance().server_.Stop(); }
  QtDesktop() {
    if (!server_.Running()) return;
    std::atexit(StopServer);
    setenv("DISPLAY", server_.Display().c_str(), 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    // No OpenGL: under Xvfb it is Mesa's software renderer, whose generated code allocates
    // memory that leak checks cannot attribute; Qt's raster engine draws the same pixels.
    setenv("QT_XCB_GL_INTEGRATION", "none", 1);
    unsetenv("WAYLAND_DISPLAY");
    // No session bus: Qt must not start or wait for desktop services in tests.
    setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 1);
    if (!std::getenv("XDG_RUNTIME_DIR")) setenv("XDG_RUNTIME_DIR", runtime_dir_.Path().c_str(), 1);
    app_ = std::make_unique<QApplication>(argc_, argv_);
    // The application must go before the process exits: Qt's thread-local storage that
    // multimedia and video widgets create meanwhile is destroyed before a function-local
    // static, and the application's destructor still touches it.
    ::testing::AddGlobalTestEnvironment(new AppTearDown(app_));
  }

  class AppTearDown : public ::testing::Environment {
   public:
    explicit AppTearDown(std::unique_ptr<QApplication>& app) : app_(app) {}
    void TearDown() override { app_.reset(); }

   private:
    std::unique_ptr<QApplication>& app_;
  };

  XvfbServer server_;
  ScratchFolder runtime_dir_;
  int argc_ = 1;
  char name_[16] = "desktop_tests";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QApplication> app_;
};

// Skips the calling test when there is no display.
#define RIRERAZO_REQUIRE_DESKTOP()                        \
  if (::rirerazo::testing::QtDesktop::Start() == nullptr) \
  GTEST_SKIP() << "Xvfb is not installed; the desktop test needs an X server"

}  // namespace rirerazo::testing
