// Tracing wrappers of the player's devices: each records the call in the trace (the record
// kinds of docs/trace.md) and passes it through unchanged — results, errors and events
// alike — to the host's own device, so every host's trace tells the same story. A call
// that raises an error is recorded only where the record kind has fields for the error.
#pragma once

#include "host/trace.h"
#include "platform/backdrop.h"
#include "platform/clipboard.h"
#include "platform/key_sender.h"
#include "platform/media_device.h"
#include "platform/shell.h"
#include "platform/tray.h"

namespace rirerazo::host {

class TracingShell final : public platform::Shell {
 public:
  // Neither reference is owned.
  TracingShell(platform::Shell& inner, Tracer& tracer) : inner_(inner), tracer_(tracer) {}
  void StartProgram(const std::string& command_line) override;
  std::int32_t OpenDocument(const std::string& file, const std::string& parameters) override;
  bool CloseWindowByTitle(const std::string& title) override;

 private:
  void Record(const std::string& op, std::vector<TraceField> fields);
  platform::Shell& inner_;
  Tracer& tracer_;
};

class TracingKeySender final : public platform::KeySender {
 public:
  TracingKeySender(platform::KeySender& inner, Tracer& tracer) : inner_(inner), tracer_(tracer) {}
  // Records the text and the number of keystrokes it stands for once they were sent.
  void SendKeys(const std::string& keys) override;

 private:
  platform::KeySender& inner_;
  Tracer& tracer_;
};

class TracingClipboard final : public platform::Clipboard {
 public:
  TracingClipboard(platform::Clipboard& inner, Tracer& tracer) : inner_(inner), tracer_(tracer) {}
  std::string GetText() override;
  void SetText(const std::string& text) override;

 private:
  platform::Clipboard& inner_;
  Tracer& tracer_;
};

class TracingMediaDevice final : public platform::MediaDevice {
 public:
  TracingMediaDevice(platform::MediaDevice& inner, Tracer& tracer)
      : inner_(inner), tracer_(tracer) {}
  std::uint32_t SendString(const std::string& command, std::string& reply) override;
  std::string ErrorString(std::uint32_t code) override { return inner_.ErrorString(code); }

 private:
  platform::MediaDevice& inner_;
  Tracer& tracer_;
};

// Records the backdrop's changes and the user's clicks on it (through a listener of its own
// between the window and the player's listener).
class TracingBackdrop final : public platform::Backdrop, private platform::BackdropEvents {
 public:
  TracingBackdrop(platform::Backdrop& inner, Tracer& tracer) : inner_(inner), tracer_(tracer) {}
  bool Exists() const override { return inner_.Exists(); }
  void Create(platform::RectTwips bounds) override;
  void Destroy() override;
  void Show() override;
  void Hide() override;
  bool Visible() const override { return inner_.Visible(); }
  void SetColor(std::uint32_t bgr) override;
  void SetSlotPicture(int slot, std::shared_ptr<const platform::Picture> picture) override;
  void PlaceSlot(int slot, platform::RectTwips place) override;
  void SetSlotVisible(int slot, bool visible) override;
  void PlaceCloseGlyph(int left_twips, int top_twips, const std::string& tooltip) override;
  int ShowContextMenu(const std::vector<std::string>& items, int x_twips, int y_twips) override;
  void SetEventListener(platform::BackdropEvents* listener) override;

 private:
  void OnBackdropMouseDown(platform::MouseButton button, int x_twips, int y_twips) override;
  void OnBackdropCloseClick() override;
  void Record(const std::string& op, std::vector<TraceField> fields = {});

  platform::Backdrop& inner_;
  Tracer& tracer_;
  platform::BackdropEvents* listener_ = nullptr;
};

// Records the icon's installation and removal, the player's menus and the user's mouse
// events on the icon (through a listener of its own).
class TracingTray final : public platform::Tray, private platform::TrayEvents {
 public:
  TracingTray(platform::Tray& inner, Tracer& tracer) : inner_(inner), tracer_(tracer) {}
  void Install(const std::string& tip, platform::TrayEvents* listener) override;
  void Remove() override;
  bool Installed() const override { return inner_.Installed(); }
  int ShowPopupMenu(const std::vector<platform::MenuItem>& items) override;

 private:
  void OnTrayMouse(int mouse_message) override;

  platform::Tray& inner_;
  Tracer& tracer_;
  platform::TrayEvents* listener_ = nullptr;
};

}  // namespace rirerazo::host
