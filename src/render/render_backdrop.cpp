#include "render/render_backdrop.h"

namespace rirerazo::render {
namespace {

QRect PxRect(platform::RectTwips rect) {
  const int k = platform::kTwipsPerPixel;
  return {rect.left / k, rect.top / k, rect.width / k, rect.height / k};
}

}  // namespace

void RenderBackdrop::Create(platform::RectTwips bounds) {
  inner_.Create(bounds);
  bounds_px_ = PxRect(bounds);
  picture_ = {};
  ++revision_;
}

void RenderBackdrop::SetColor(std::uint32_t bgr) {
  inner_.SetColor(bgr);
  picture_.SetColour(bgr);
  ++revision_;
}

void RenderBackdrop::SetSlotPicture(int slot, std::shared_ptr<const platform::Picture> picture) {
  inner_.SetSlotPicture(slot, picture);
  picture_.picture_slots.at(std::size_t(slot)).picture =
      picture ? desktop::ImageOfPicture(*picture) : QImage();
  ++revision_;
}

void RenderBackdrop::PlaceSlot(int slot, platform::RectTwips place) {
  inner_.PlaceSlot(slot, place);
  picture_.picture_slots.at(std::size_t(slot)).place_px = PxRect(place);
  ++revision_;
}

void RenderBackdrop::SetSlotVisible(int slot, bool visible) {
  inner_.SetSlotVisible(slot, visible);
  picture_.picture_slots.at(std::size_t(slot)).visible = visible;
  ++revision_;
}

void RenderBackdrop::PlaceCloseGlyph(int left_twips, int top_twips, const std::string& tooltip) {
  inner_.PlaceCloseGlyph(left_twips, top_twips, tooltip);
  picture_.glyph_placed = true;
  picture_.glyph_at =
      QPoint(left_twips / platform::kTwipsPerPixel, top_twips / platform::kTwipsPerPixel);
  ++revision_;
}

// The close glyph is left out: it is a control for a user at the screen, and a video has
// none.
void RenderBackdrop::Paint(QPainter& painter) const {
  if (!inner_.Visible()) return;
  painter.save();
  painter.translate(bounds_px_.topLeft());
  picture_.Paint(painter, QRect(QPoint(0, 0), bounds_px_.size()), false);
  painter.restore();
}

}  // namespace rirerazo::render
