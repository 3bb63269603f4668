#include "core/media/backdrop_controller.h"

#include "core/media/html_color.h"
#include "core/media/picture_fit.h"
#include "core/util/paths.h"

namespace rirerazo::media {

namespace {

constexpr const char* kBoxTitle = "RIRERazo";
constexpr const char* kCloseTooltip = "Close VORN Script";
constexpr const char* kCloseItem = "Close";

}  // namespace

BackdropController::BackdropController(const BackdropServices& services, MediaPlayer& media,
                                       PathResolver resolve)
    : services_(services), media_(media), resolve_(std::move(resolve)) {
  services_.window.SetEventListener(this);
}

BackdropController::~BackdropController() {
  services_.window.SetEventListener(nullptr);
}

int BackdropController::ScreenWidthTwips() const {
  return services_.ui.ScreenWidthPx() * platform::kTwipsPerPixel;
}

int BackdropController::ScreenHeightTwips() const {
  return services_.ui.ScreenHeightPx() * platform::kTwipsPerPixel;
}

void BackdropController::EnsureLoaded() {
  if (services_.window.Exists()) return;
  const int width = ScreenWidthTwips();
  services_.window.Create({0, 0, width, ScreenHeightTwips()});
  services_.window.PlaceCloseGlyph(width - kCloseGlyphWidthTwips - kCloseGlyphMarginTwips,
                                   kCloseGlyphMarginTwips, kCloseTooltip);
}

void BackdropController::ShowIfHidden() {
  if (!services_.window.Visible()) services_.window.Show();
}

void BackdropController::BackdropShow() {
  EnsureLoaded();
  services_.window.Show();
  services_.loop.DoEvents();
}

void BackdropController::BackdropHide() {
  EnsureLoaded();
  services_.window.Hide();
  services_.loop.DoEvents();
}

std::uint32_t BackdropController::ParseHTMLColor(const std::string& color_text) {
  const ParsedColor color = ParseColorText(color_text);
  if (!color.valid) {
    services_.ui.MessageBox(InvalidColorMessage(color), kBoxTitle,
                            platform::mb::kOkOnly | platform::mb::kExclamation);
  }
  return color.bgr;
}

void BackdropController::BackdropColor(const std::string& color_text) {
  const std::uint32_t bgr = ParseHTMLColor(color_text);
  EnsureLoaded();
  services_.window.SetColor(bgr);
  if (!services_.window.Visible()) {
    services_.window.Show();
    services_.loop.DoEvents();
  }
}

void BackdropController::PlacePicture(std::int16_t slot, const platform::Picture* picture) {
  const std::int32_t width = picture ? picture->width_px * platform::kTwipsPerPixel : 0;
  const std::int32_t height = picture ? picture->height_px * platform::kTwipsPerPixel : 0;
  services_.window.PlaceSlot(slot,
                             FitPicture(width, height, ScreenWidthTwips(), ScreenHeightTwips()));
}

// A picture that cannot be decoded still takes the slot's turn: the old picture is gone,
// the empty slot is placed and shown, the window is shown on its colour, and only then is
// the failure reported.
void BackdropController::BackdropImage(const std::string& path) {
  const std::string resolved = resolve_(path);
  const std::optional<std::string> file = util::FindOnDisk(resolved);
  if (!file) return;
  EnsureLoaded();
  current_slot_ = current_slot_ == 0 ? 1 : 0;
  other_slot_ = current_slot_ == 0 ? 1 : 0;
  services_.window.SetSlotVisible(other_slot_, false);
  services_.window.SetSlotPicture(other_slot_, nullptr);
  std::shared_ptr<const platform::Picture> picture;
  bool failed = false;
  try {
    picture = services_.pictures.Decode(*file);
  } catch (...) {
    failed = true;
  }
  services_.window.SetSlotPicture(current_slot_, picture);
  PlacePicture(current_slot_, picture.get());
  services_.window.SetSlotVisible(current_slot_, true);
  ShowIfHidden();
  if (failed) {
    services_.ui.MessageBox(resolved + " is not a supported image file.", kBoxTitle,
                            platform::mb::kOkOnly | platform::mb::kInformation);
  }
}

void BackdropController::Unload() {
  if (!services_.window.Exists()) return;
  media_.StopMedia();
  services_.window.Destroy();
}

void BackdropController::OnBackdropMouseDown(platform::MouseButton button, int x_twips,
                                             int y_twips) {
  if (button != platform::MouseButton::kRight) return;
  if (services_.window.ShowContextMenu({kCloseItem}, x_twips, y_twips) == 0) Unload();
}

void BackdropController::OnBackdropCloseClick() {
  Unload();
}

}  // namespace rirerazo::media
