#include "headless/headless_backdrop.h"

#include <algorithm>

#include "platform/runtime_error.h"

namespace rirerazo::headless {

namespace {

std::vector<host::TraceField> RectFields(platform::RectTwips r) {
  return {{"left", std::int64_t{r.left}},
          {"top", std::int64_t{r.top}},
          {"width", std::int64_t{r.width}},
          {"height", std::int64_t{r.height}}};
}

std::string ColorText(std::uint32_t bgr) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string text = "#";
  for (std::uint32_t byte : {bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF}) {
    text += kHex[byte >> 4];
    text += kHex[byte & 0xF];
  }
  return text;
}

}  // namespace

void HeadlessBackdrop::Record(const std::string& op, std::vector<host::TraceField> fields) {
  if (tracer_ == nullptr) return;
  fields.insert(fields.begin(), {"op", op});
  tracer_->Record("backdrop", std::move(fields));
}

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
  Record("Create", RectFields(bounds));
}

void HeadlessBackdrop::Destroy() {
  if (state_ == BackdropState::kAbsent) return;
  state_ = BackdropState::kAbsent;
  Record("Destroy");
}

void HeadlessBackdrop::Show() {
  Slot(0);
  state_ = BackdropState::kShown;
  Record("Show");
}

void HeadlessBackdrop::Hide() {
  Slot(0);
  state_ = BackdropState::kHidden;
  Record("Hide");
}

void HeadlessBackdrop::SetColor(std::uint32_t bgr) {
  Slot(0);
  color_ = bgr & 0xFFFFFF;
  Record("Color", {{"color", ColorText(color_)}});
}

void HeadlessBackdrop::SetSlotPicture(int slot, std::shared_ptr<const platform::Picture> picture) {
  BackdropSlot& target = Slot(slot);
  target.has_picture = picture != nullptr;
  target.picture_width_px = picture ? picture->width_px : 0;
  target.picture_height_px = picture ? picture->height_px : 0;
  Record("Picture", {{"slot", std::int64_t{slot}},
                     {"width_px", std::int64_t{target.picture_width_px}},
                     {"height_px", std::int64_t{target.picture_height_px}}});
}

void HeadlessBackdrop::PlaceSlot(int slot, platform::RectTwips place) {
  Slot(slot).place = place;
  std::vector<host::TraceField> fields = RectFields(place);
  fields.insert(fields.begin(), {"slot", std::int64_t{slot}});
  Record("Place", std::move(fields));
}

void HeadlessBackdrop::SetSlotVisible(int slot, bool visible) {
  Slot(slot).visible = visible;
  Record("SlotVisible", {{"slot", std::int64_t{slot}}, {"value", visible}});
}

void HeadlessBackdrop::PlaceCloseGlyph(int left_twips, int top_twips, const std::string& tooltip) {
  Slot(0);
  Record(
      "CloseGlyph",
      {{"left", std::int64_t{left_twips}}, {"top", std::int64_t{top_twips}}, {"tooltip", tooltip}});
}

int HeadlessBackdrop::ShowContextMenu(const std::vector<std::string>& items, int x_twips,
                                      int y_twips) {
  const auto it = std::find(items.begin(), items.end(), menu_choice_);
  const int chosen = it == items.end() ? -1 : static_cast<int>(it - items.begin());
  Record("ContextMenu", {{"items", items},
                         {"x", std::int64_t{x_twips}},
                         {"y", std::int64_t{y_twips}},
                         {"chosen", chosen < 0 ? std::string() : items[chosen]}});
  return chosen;
}

void HeadlessBackdrop::UserClicksClose() {
  if (state_ == BackdropState::kAbsent) return;
  Record("UserClicksClose");
  if (listener_ != nullptr) listener_->OnBackdropCloseClick();
}

void HeadlessBackdrop::UserRightClicks(int x_twips, int y_twips, const std::string& choice) {
  if (state_ == BackdropState::kAbsent) return;
  Record("UserRightClicks", {{"x", std::int64_t{x_twips}}, {"y", std::int64_t{y_twips}}});
  menu_choice_ = choice;
  if (listener_ != nullptr) {
    listener_->OnBackdropMouseDown(platform::MouseButton::kRight, x_twips, y_twips);
  }
  menu_choice_.clear();
}

}  // namespace rirerazo::headless
