// The characters on the desktop: one character window and one balloon window per loaded
// character, kept in line with the character runtime. The host calls Sync after each
// Advance of the runtime (and whenever NeedsSync says something changed); Sync creates the
// windows of newly loaded characters, shows, moves and redraws every window to the runtime's
// Frame and Balloon, and removes the windows of unloaded characters.
//
// The stage is a RuntimeObserver: the host registers it with CharacterRuntime::SetObserver
// (and may chain its own observer behind it with SetNextObserver, which receives every
// notification too). User input on the windows (clicks, drags, the popup menu) goes straight
// to the runtime; the menu's commands, the player's close command among them, reach the
// player as the runtime's Command events, so the stage needs no knowledge of the player.
// Everything runs on the GUI thread; windows are deleted later by the event loop, so Sync
// may run from inside one of the windows' own event handlers.
#pragma once

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "desktop/audio/audio_output.h"
#include "runtime/character_runtime.h"

namespace rirerazo::desktop {

class CharacterWindow;
class BalloonWindow;

class CharacterStage : public runtime::RuntimeObserver {
 public:
  // Both must outlive the stage. Needs a running QApplication before the first Sync.
  CharacterStage(runtime::CharacterRuntime& runtime, AudioOutput& audio);
  ~CharacterStage() override;
  CharacterStage(const CharacterStage&) = delete;
  CharacterStage& operator=(const CharacterStage&) = delete;

  // runtime::RuntimeObserver
  void OnVisualChanged(const std::string& character_id) override;
  void OnPropertySheetShown() override;
  // Receives every notification after the stage; not owned; may be null.
  void SetNextObserver(runtime::RuntimeObserver* next) { next_ = next; }

  void Sync();
  // A character's look changed since the last Sync (or a window must go).
  bool NeedsSync() const { return !dirty_.empty(); }

  // Called after each user action handed to the runtime (a click, a drop, a menu choice),
  // so the host can advance the runtime and deliver its events promptly.
  void SetUserInputCallback(std::function<void()> callback);
  // Called with the name of each command the user chooses from a character's menu.
  void SetCommandCallback(std::function<void(const std::string&)> callback);
  // The entry of every character's menu that opens the player's own menu
  // (CharacterWindow::SetPlayerMenu).
  void SetPlayerMenu(std::function<bool()> offered, std::function<void()> open);
  // The user's own balloon font for every balloon (BalloonWindow::SetUserFont).
  void SetUserBalloonFont(std::string name, int size_pt);

  // The windows of a character, or null when it has none (for the host and tests).
  CharacterWindow* Window(const std::string& character_id) const;
  BalloonWindow* Balloon(const std::string& character_id) const;
  std::vector<std::string> WindowIds() const;

 private:
  struct Windows;
  Windows* Find(const std::string& character_id) const;
  void RemoveUnloaded(const std::vector<std::string>& ids);
  void SyncOne(const std::string& character_id);

  runtime::CharacterRuntime& runtime_;
  AudioOutput& audio_;
  runtime::RuntimeObserver* next_ = nullptr;
  std::function<void()> on_input_;
  std::function<void(const std::string&)> on_command_;
  std::string user_font_name_;
  int user_font_size_pt_ = 0;
  std::function<bool()> player_menu_offered_;
  std::function<void()> open_player_menu_;
  std::vector<std::unique_ptr<Windows>> windows_;  // load order
  std::set<std::string> dirty_;
};

}  // namespace rirerazo::desktop
