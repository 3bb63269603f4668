#include "headless/headless_backdrop.h"

#include <algorithm>

#include "platform/runtime_error.h"

namespace rirerazo::headless {

BackdropSlot& HeadlessBackdrop::Slot(int index) {
  if (state_ == BackdropState::kAbsent || index < 0 || index > 1) {
    throw RuntimeError(err::kInvalidProcedureCall, "Invalid procedure call or argument");
  }
  return slots_[static_cast<std::size_t>(index)];
}

void HeadlessBackdrop::Create(platform::RectTwips bounds) {
  state_ = BackdropState::kHidden;
  color_ = 0;
  bounds_ = bounds;
  slots_ = {};
}

void HeadlessBackdrop::Destroy() {
  if (state_ == BackdropState::kAbsent) return;
  state_ = BackdropState::kAbsent;
}

void HeadlessBackdrop::Show() {
  Slot(0);
  state_ = BackdropState::kShown;
}

void HeadlessBackdrop::Hide() {
  Slot(0);
  state_ = BackdropState::kHidden;
}

void HeadlessBackdrop::SetColor(std::uint32_t bgr) {
  Slot(0);
  color_ = bgr & 0xFFFFFF;
}

void HeadlessBackdrop::SetSlotPicture(int slot, std::shared_ptr<const platform::Picture> picture) {
  BackdropSlot& target = Slot(slot);
  target.has_picture = picture != nullptr;
  target.picture_width_px = picture ? picture->width_px : 0;
  target.picture_height_px = picture ? picture->height_px : 0;
}

void HeadlessBackdrop::PlaceSlot(int slot, platform::RectTwips place) {
  Slot(slot).place = place;
}

void HeadlessBackdrop::SetSlotVisible(int slot, bool visible) {
  Slot(slot).visible = visible;
}

void HeadlessBackdrop::PlaceCloseGlyph(int /*left_twips*/, int /*top_twips*/,
                                       const std::string& /*tooltip*/) {
  Slot(0);
}

int HeadlessBackdrop::ShowContextMenu(const std::vector<std::string>& items, int /*x_twips*/,
                                      int /*y_twips*/) {
  const auto it = std::find(items.begin(), items.end(), menu_choice_);
  const int chosen = it == items.end() ? -1 : static_cast<int>(it - items.begin());
  return chosen;
}

void HeadlessBackdrop::UserClicksClose() {
  if (state_ == BackdropState::kAbsent) return;
  if (listener_ != nullptr) listener_->OnBackdropCloseClick();
}

void HeadlessBackdrop::UserRightClicks(int x_twips, int y_twips, const std::string& choice) {
  if (state_ == BackdropState::kAbsent) return;
  menu_choice_ = choice;
  if (listener_ != nullptr) {
    listener_->OnBackdropMouseDown(platform::MouseButton::kRight, x_twips, y_twips);
  }
  menu_choice_.clear();
}

}  // namespace rirerazo::headless
