// The backdrop on the desktop: one borderless window behind the characters that covers the
// place it is created at, painted in its colour, with two picture slots stretched to their
// places, the close glyph and a context menu. It only draws and reports: mouse downs and
// the glyph's click go to the listener, queued so that they run from the message loop (the
// listener may open the menu or destroy the window). Places are in twips, 15 per pixel.
// Called on the GUI thread only.
#pragma once

#include <memory>

#include "platform/backdrop.h"

namespace rirerazo::desktop {

class BackdropWidget;

class BackdropWindow final : public platform::Backdrop {
 public:
  BackdropWindow();
  ~BackdropWindow() override;
  BackdropWindow(const BackdropWindow&) = delete;
  BackdropWindow& operator=(const BackdropWindow&) = delete;

  bool Exists() const override;
  void Create(platform::RectTwips bounds) override;
  void Destroy() override;
  void Show() override;
  void Hide() override;
  bool Visible() const override;
  void SetColor(std::uint32_t bgr) override;
  void SetSlotPicture(int slot, std::shared_ptr<const platform::Picture> picture) override;
  void PlaceSlot(int slot, platform::RectTwips place) override;
  void SetSlotVisible(int slot, bool visible) override;
  void PlaceCloseGlyph(int left_twips, int top_twips, const std::string& tooltip) override;
  int ShowContextMenu(const std::vector<std::string>& items, int x_twips, int y_twips) override;
  void SetEventListener(platform::BackdropEvents* listener) override;

  // The object name of the window while it exists (for tests and tools).
  static constexpr const char* kObjectName = "rirerazo-backdrop";

 private:
  BackdropWidget& Widget() const;

  BackdropWidget* widget_ = nullptr;  // owned; deleted later so that it may die in its handler
  platform::BackdropEvents* listener_ = nullptr;
};

}  // namespace rirerazo::desktop
