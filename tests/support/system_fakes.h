// Recording fakes of the services the system statements use. Each keeps a log of what was
// asked of it in call order, and can be told how to answer; fake_platform.h wires them
// into the complete bundle.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/app/error_report.h"
#include "platform/platform.h"
#include "platform/presentation_app.h"
#include "platform/runtime_error.h"
#include "support/recording_services.h"

namespace rirerazo::testing {

class FakeShell : public platform::Shell {
 public:
  void StartProgram(const std::string& command_line) override {
    log.push_back("start " + command_line);
    if (start_error != 0) throw RuntimeError(start_error, "File not found");
  }
  std::int32_t OpenDocument(const std::string& file, const std::string& parameters) override {
    log.push_back("open [" + file + "] [" + parameters + "]");
    if (open_throws) throw RuntimeError(7, "Out of memory");
    return open_result;
  }
  bool CloseWindowByTitle(const std::string& title) override {
    log.push_back("close " + title);
    if (no_display) throw RuntimeError(68, "Device unavailable");
    return true;
  }
  std::vector<std::string> log;
  long start_error = 0;
  bool open_throws = false;
  bool no_display = false;
  std::int32_t open_result = 42;
};

class FakeBackdrop : public platform::Backdrop {
 public:
  bool Exists() const override { return exists; }
  void Create(platform::RectTwips bounds) override {
    exists = true;
    visible = false;
    Log("create " + Rect(bounds));
  }
  void Destroy() override {
    exists = false;
    Log("destroy");
  }
  void Show() override {
    visible = true;
    Log("show");
  }
  void Hide() override {
    visible = false;
    Log("hide");
  }
  bool Visible() const override { return visible; }
  void SetColor(std::uint32_t bgr) override { Log("color " + std::to_string(bgr)); }
  void SetSlotPicture(int slot, std::shared_ptr<const platform::Picture> picture) override {
    Log("picture " + std::to_string(slot) +
        (picture ? " " + std::to_string(picture->width_px) : " none"));
  }
  void PlaceSlot(int slot, platform::RectTwips place) override {
    Log("place " + std::to_string(slot) + " " + Rect(place));
  }
  void SetSlotVisible(int slot, bool on) override {
    Log("slot " + std::to_string(slot) + (on ? " on" : " off"));
  }
  void PlaceCloseGlyph(int left, int top, const std::string& tooltip) override {
    Log("glyph " + std::to_string(left) + "," + std::to_string(top) + " " + tooltip);
  }
  int ShowContextMenu(const std::vector<std::string>& items, int x, int y) override {
    Log("menu " + items.at(0) + " " + std::to_string(x) + "," + std::to_string(y));
    return menu_choice;
  }
  void SetEventListener(platform::BackdropEvents* l) override { listener = l; }

  static std::string Rect(platform::RectTwips r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.width) +
           "x" + std::to_string(r.height);
  }
  void Log(const std::string& entry) { log.push_back(entry); }

  std::vector<std::string> log;
  bool exists = false;
  bool visible = false;
  int menu_choice = -1;
  platform::BackdropEvents* listener = nullptr;
};

// Answers each command from `answers` (0 when absent) and "status" with `mode`.
class FakeMediaDevice : public platform::MediaDevice {
 public:
  std::uint32_t SendString(const std::string& command, std::string& reply) override {
    commands.push_back(command);
    reply.clear();
    if (command == "status media mode") {
      if (mode.empty()) return platform::media_error::kInvalidDeviceName;
      reply = mode;
      if (mode == "playing") mode = "stopped";  // a stop request follows in the tests
      return 0;
    }
    if (command == "close media") mode.clear();
    auto it = answers.find(command.substr(0, command.find(' ')));
    return it == answers.end() ? 0 : it->second;
  }
  std::string ErrorString(std::uint32_t code) override {
    return "  device error " + std::to_string(code) + "   ";
  }
  std::vector<std::string> commands;
  std::map<std::string, std::uint32_t> answers;  // by the command's first word
  std::string mode;                              // empty: nothing open
};

// Decodes any file whose name is in `sizes`; every other file is not a picture.
class FakePictures : public platform::PictureDecoder {
 public:
  std::shared_ptr<const platform::Picture> Decode(const std::string& path) override {
    decoded.push_back(path);
    const std::string name = path.substr(path.rfind('/') + 1);
    auto it = sizes.find(name);
    if (it == sizes.end()) throw RuntimeError(481, "Invalid picture");
    auto picture = std::make_shared<platform::Picture>();
    picture->width_px = it->second.first;
    picture->height_px = it->second.second;
    return picture;
  }
  std::map<std::string, std::pair<int, int>> sizes;
  std::vector<std::string> decoded;
};

class RecordingKeys : public platform::KeySender {
 public:
  void SendKeys(const std::string& keys) override { sent.push_back(keys); }
  std::vector<std::string> sent;
};

class FakeClipboard : public platform::Clipboard {
 public:
  std::string GetText() override { return text; }
  void SetText(const std::string& t) override { text = t; }
  std::string text;
};

class RecordingReporter : public app::ErrorReporter {
 public:
  app::ReportOutcome ReportError(std::string_view tag, std::string_view procedure,
                                 const RuntimeError& error) override {
    reports.push_back(std::string(tag) + " " + std::string(procedure) + " " +
                      std::to_string(error.Number()));
    return outcome;
  }
  std::vector<std::string> reports;
  app::ReportOutcome outcome = app::ReportOutcome::kContinue;
};

// Every download fails as it would without a network.
class OfflineInternet : public platform::Internet {
 public:
  std::unique_ptr<platform::InternetResource> Open(const std::string& url,
                                                   const std::string&) override {
    opened.push_back(url);
    throw RuntimeError(-2147012889, "The server name or address could not be resolved: " + url);
  }
  std::vector<std::string> opened;
};

// Every dialog is cancelled.
class CancellingFileDialog : public platform::FileDialog {
 public:
  std::optional<platform::FileDialogResult> Show(const platform::FileDialogRequest& r) override {
    titles.push_back(r.title);
    return std::nullopt;
  }
  std::vector<std::string> titles;
};

// A presentation application that is not installed: every call fails.
class MissingPresentationApp : public platform::PresentationApp {
 public:
  void Launch() override { Fail(); }
  void Activate() override { Fail(); }
  void SetVisible(bool) override { Fail(); }
  void SetWindowState(platform::AppWindowState) override { Fail(); }
  void OpenPresentation(const std::string&, bool, bool, bool) override { Fail(); }
  std::int32_t SlideCount() override { Fail(); }
  void SetLoopUntilStopped(bool) override { Fail(); }
  void SetAdvanceMode(platform::SlideAdvanceMode) override { Fail(); }
  void RunSlideShow() override { Fail(); }
  void NextSlide() override { Fail(); }
  void CloseActiveWindow() override { Fail(); }
  void ClosePresentation() override { Fail(); }
  void Quit() override { Fail(); }
  void SetEventListener(platform::PresentationEvents*) override {}

 private:
  [[noreturn]] static void Fail() { throw RuntimeError(429, "ActiveX component can't create object"); }
};

}  // namespace rirerazo::testing
