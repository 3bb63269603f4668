// The backdrop: one borderless window that covers the screen behind the characters, with a
// background colour, two picture slots (at most one visible at a time), a close glyph and a
// context menu. All places and sizes are in twips (15 twips per pixel). The player decides
// everything (where pictures go, what a click means); the host only draws and reports the
// user's actions through BackdropEvents, on the player's thread, from inside the message
// loop.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/picture.h"

namespace rirerazo::platform {

inline constexpr int kTwipsPerPixel = 15;

struct RectTwips {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  friend bool operator==(const RectTwips&, const RectTwips&) = default;
};

enum class MouseButton { kLeft, kRight, kMiddle };

// What the user does to the backdrop window. The player implements it.
class BackdropEvents {
 public:
  virtual ~BackdropEvents() = default;
  // A mouse button went down on the window's background or on a picture.
  virtual void OnBackdropMouseDown(MouseButton button, int x_twips, int y_twips) = 0;
  // The close glyph was clicked with the left button.
  virtual void OnBackdropCloseClick() = 0;
};

class Backdrop {
 public:
  virtual ~Backdrop() = default;

  // Absent until Create; Create makes a hidden window at `bounds`, black, without pictures.
  virtual bool Exists() const = 0;
  virtual void Create(RectTwips bounds) = 0;
  // Destroys the window (and its pictures). Does nothing when absent.
  virtual void Destroy() = 0;

  // Each call below requires the window to exist.
  virtual void Show() = 0;
  virtual void Hide() = 0;
  virtual bool Visible() const = 0;
  // The background colour in the layout 0x00BBGGRR (red in the low byte).
  virtual void SetColor(std::uint32_t bgr) = 0;

  // Slots 0 and 1. A null picture releases the slot's picture. A picture is stretched to
  // the place it is given.
  virtual void SetSlotPicture(int slot, std::shared_ptr<const Picture> picture) = 0;
  virtual void PlaceSlot(int slot, RectTwips place) = 0;
  virtual void SetSlotVisible(int slot, bool visible) = 0;

  // The close glyph (a 240 x 210 twip button face with a cross) and its tooltip.
  virtual void PlaceCloseGlyph(int left_twips, int top_twips, const std::string& tooltip) = 0;

  // Shows a popup menu with `items` at the given place and waits until it closes. Returns
  // the 0-based index of the item chosen, or -1 when the menu was dismissed.
  virtual int ShowContextMenu(const std::vector<std::string>& items, int x_twips, int y_twips) = 0;

  // The listener for the user's actions; may be null. Not owned.
  virtual void SetEventListener(BackdropEvents* listener) = 0;
};

}  // namespace rirerazo::platform
