// The headless backdrop: keeps the window's state (absent, hidden, shown; colour; what each
// picture slot holds, where and at which size). The user's actions
// (clicking the close glyph, right-clicking, choosing from the context menu) come from the
// user-input script through the methods at the end.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/backdrop.h"

namespace rirerazo::headless {

enum class BackdropState { kAbsent, kHidden, kShown };

struct BackdropSlot {
  int picture_width_px = 0;  // 0 when the slot holds no picture
  int picture_height_px = 0;
  bool has_picture = false;
  bool visible = false;
  platform::RectTwips place;
};

class HeadlessBackdrop : public platform::Backdrop {
 public:
  bool Exists() const override { return state_ != BackdropState::kAbsent; }
  void Create(platform::RectTwips bounds) override;
  void Destroy() override;
  void Show() override;
  void Hide() override;
  bool Visible() const override { return state_ == BackdropState::kShown; }
  void SetColor(std::uint32_t bgr) override;
  void SetSlotPicture(int slot, std::shared_ptr<const platform::Picture> picture) override;
  void PlaceSlot(int slot, platform::RectTwips place) override;
  void SetSlotVisible(int slot, bool visible) override;
  void PlaceCloseGlyph(int left_twips, int top_twips, const std::string& tooltip) override;
  int ShowContextMenu(const std::vector<std::string>& items, int x_twips, int y_twips) override;
  void SetEventListener(platform::BackdropEvents* listener) override { listener_ = listener; }

  // The state for tests.
  BackdropState state() const { return state_; }
  std::uint32_t color() const { return color_; }
  const BackdropSlot& slot(int index) const { return slots_.at(index); }
  platform::RectTwips bounds() const { return bounds_; }

  // The user's actions. Each does nothing while the window is absent.
  void UserClicksClose();
  // A right click at the given place; the context menu, if the player opens one, is
  // answered by choosing `choice` (an item's caption; empty dismisses the menu).
  void UserRightClicks(int x_twips, int y_twips, const std::string& choice);

 private:
  BackdropSlot& Slot(int index);

  platform::BackdropEvents* listener_ = nullptr;
  BackdropState state_ = BackdropState::kAbsent;
  std::uint32_t color_ = 0;
  platform::RectTwips bounds_;
  std::array<BackdropSlot, 2> slots_;
  std::string menu_choice_;
};

}  // namespace rirerazo::headless
