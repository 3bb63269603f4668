// The backdrop: a window covering the screen behind the characters, with a colour or a
// picture. This class decides what the window shows and what the user's clicks mean; the
// window itself is the host's (platform::Backdrop).
//
// The window is made on first use and destroyed when the user closes it (close glyph or
// the context menu's "Close"); closing it stops the media. The slot selector (which of the
// two picture slots got the latest picture) lives as long as this object, across windows.
#pragma once

#include <cstdint>
#include <string>

#include "core/media/media_player.h"
#include "platform/backdrop.h"
#include "platform/message_loop.h"
#include "platform/picture.h"
#include "platform/ui.h"

namespace rirerazo::media {

// The close glyph: 16 x 14 pixels, 100 twips from the screen's right and top edges.
inline constexpr int kCloseGlyphWidthTwips = 240;
inline constexpr int kCloseGlyphHeightTwips = 210;
inline constexpr int kCloseGlyphMarginTwips = 100;

struct BackdropServices {
  platform::Backdrop& window;
  platform::Ui& ui;
  platform::MessageLoop& loop;
  platform::PictureDecoder& pictures;
};

class BackdropController : public platform::BackdropEvents {
 public:
  // Registers itself as the window's event listener until destroyed. `media` is stopped
  // when the window closes. Nothing is owned; everything outlives this object.
  BackdropController(const BackdropServices& services, MediaPlayer& media, PathResolver resolve);
  ~BackdropController() override;
  BackdropController(const BackdropController&) = delete;
  BackdropController& operator=(const BackdropController&) = delete;

  // "BGSHOW" and "BGHIDE": make the window (if needed), show or hide it, then yield once so
  // the change is painted before the script goes on.
  void BackdropShow();
  void BackdropHide();
  // "BGCOLOR ": sets the colour (black with a message when the text is no colour) and shows
  // the window, yielding only when it had to show it.
  void BackdropColor(const std::string& color_text);
  // "BGIMAGE ": shows the picture file in the other slot, fitted to the screen, and shows
  // the window; a missing file changes nothing, an undecodable one gives a message.
  void BackdropImage(const std::string& path);
  // Closes the window when it exists (the program is ending): media stop, window goes.
  void Unload();

  // The colour text read as a colour; shows the invalid-colour message and gives 0 (black)
  // when it is not one.
  std::uint32_t ParseHTMLColor(const std::string& color_text);

  std::int16_t current_slot() const { return current_slot_; }

  // The user's actions on the window.
  void OnBackdropMouseDown(platform::MouseButton button, int x_twips, int y_twips) override;
  void OnBackdropCloseClick() override;

 private:
  void EnsureLoaded();  // the window's creation (Form_Load) when it is absent
  void ShowIfHidden();
  void PlacePicture(std::int16_t slot, const platform::Picture* picture);
  int ScreenWidthTwips() const;
  int ScreenHeightTwips() const;

  BackdropServices services_;
  MediaPlayer& media_;
  PathResolver resolve_;
  std::int16_t current_slot_ = 0;
  std::int16_t other_slot_ = 0;
};

}  // namespace rirerazo::media
