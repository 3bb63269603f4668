// The window of one character: frameless, above other windows, outside the task bar and the
// window manager's placement (so a character can stand anywhere, even over panels), shaped
// by its frame's transparency. With a compositing manager the window is translucent pixel by
// pixel; without one it carries a mask of the frame's opaque pixels, recomputed only when the
// shape changes (shapes are cached with the composed frames).
//
// The window draws what the runtime says (Apply with the character's FrameState) and hands
// the user's mouse to the runtime: a drag moves the window at once and reports the drop
// place (CharacterRuntime::Drag), a left click reports Click, a right click opens the
// character's popup menu (its command group, then Hide). Everything runs on the GUI thread,
// which is the player's thread.
#pragma once

#include <QImage>
#include <QPoint>
#include <QPointer>
#include <QRegion>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "desktop/audio/audio_output.h"
#include "desktop/character/character_picture.h"
#include "runtime/character_runtime.h"

class QMenu;

namespace rirerazo::desktop {

class CharacterWindow : public QWidget {
  Q_OBJECT

 public:
  // `per_pixel_alpha`: a compositing manager runs (fixed for the life of the window).
  CharacterWindow(runtime::CharacterRuntime& runtime, std::string id, AudioOutput& audio,
                  bool per_pixel_alpha);
  ~CharacterWindow() override;

  // Shows, hides, moves, resizes and redraws the window to match `state`. Plays the sound
  // of a frame when the character comes to that frame. While the user drags the window its
  // position is the user's.
  void Apply(const runtime::FrameState& state);

  // Called after every user action handed to the runtime, so the host can let the runtime
  // catch up and deliver its events.
  void SetUserInputCallback(std::function<void()> callback) { on_input_ = std::move(callback); }
  // Called with the name of each command the user chooses from the menu, before the runtime
  // hears of it.
  void SetCommandCallback(std::function<void(const std::string&)> callback) {
    on_command_ = std::move(callback);
  }
  // An entry "RIRERazo" in the popup menu that opens the player's own menu, offered while
  // `offered` says so (where the desktop has no notification area for the player's icon).
  void SetPlayerMenu(std::function<bool()> offered, std::function<void()> open) {
    player_menu_offered_ = std::move(offered);
    open_player_menu_ = std::move(open);
  }

  // Opens the character's popup menu at a screen position; the menu deletes itself when it
  // closes. Returns it (tests read its entries).
  QMenu* OpenMenu(const QPoint& global_pos);

  const std::string& Id() const { return id_; }
  bool PerPixelAlpha() const { return per_pixel_alpha_; }
  bool Dragging() const { return dragging_; }
  // The opaque area currently shown, in window coordinates.
  const QRegion& Shape() const { return shape_; }
  std::size_t SoundsStarted() const { return sounds_.Started(); }
  // How many times a different frame was put up (for measurements).
  std::size_t FramesShown() const { return picture_.FramesShown(); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void ShowFrame(const runtime::FrameState& state);
  void PlaceWindow(const runtime::FrameState& state);
  void ChooseCommand(const std::string& name);
  void HideByUser();
  // Runs a runtime call for the user; errors (a character unloaded meanwhile) are dropped,
  // since they cannot travel through the toolkit's event handlers.
  void ForRuntime(const std::function<void()>& call);

  runtime::CharacterRuntime& runtime_;
  std::string id_;
  bool per_pixel_alpha_;
  CharacterPicture picture_;
  FrameSounds sounds_;
  QRegion shape_;
  bool shaped_ = false;  // the window's mask or input shape has been set
  bool pressed_ = false;
  bool dragging_ = false;
  QPoint press_global_;
  QPoint press_window_pos_;
  QPointer<QMenu> menu_;
  std::function<void()> on_input_;
  std::function<void(const std::string&)> on_command_;
  std::function<bool()> player_menu_offered_;
  std::function<void()> open_player_menu_;
};

}  // namespace rirerazo::desktop
