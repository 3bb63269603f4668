// The backdrop of a render: the headless backdrop (its state, the user-input script's
// clicks) plus what it looks like, kept so the canvas can paint it behind the
// characters. Every call goes to the headless backdrop first, so an invalid call fails
// there exactly as it does headless and the look changes only after a call succeeded.
#pragma once

#include <QRect>

#include "desktop/services/backdrop_picture.h"
#include "headless/headless_backdrop.h"

namespace rirerazo::render {

class RenderBackdrop : public platform::Backdrop {
 public:

  bool Exists() const override { return inner_.Exists(); }
  void Create(platform::RectTwips bounds) override;
  void Destroy() override {
    inner_.Destroy();
    ++revision_;
  }
  void Show() override {
    inner_.Show();
    ++revision_;
  }
  void Hide() override {
    inner_.Hide();
    ++revision_;
  }
  bool Visible() const override { return inner_.Visible(); }
  void SetColor(std::uint32_t bgr) override;
  void SetSlotPicture(int slot, std::shared_ptr<const platform::Picture> picture) override;
  void PlaceSlot(int slot, platform::RectTwips place) override;
  void SetSlotVisible(int slot, bool visible) override;
  void PlaceCloseGlyph(int left_twips, int top_twips, const std::string& tooltip) override;
  int ShowContextMenu(const std::vector<std::string>& items, int x_twips, int y_twips) override {
    return inner_.ShowContextMenu(items, x_twips, y_twips);
  }
  void SetEventListener(platform::BackdropEvents* listener) override {
    inner_.SetEventListener(listener);
  }

  // For the user-input script.
  headless::HeadlessBackdrop& Headless() { return inner_; }

  // Paints the backdrop where it is on the screen, when it is shown.
  void Paint(QPainter& painter) const;
  // Changes with every change of what Paint paints.
  std::uint64_t Revision() const { return revision_; }

 private:
  headless::HeadlessBackdrop inner_;
  QRect bounds_px_;
  desktop::BackdropPicture picture_;
  std::uint64_t revision_ = 0;
};

}  // namespace rirerazo::render
