// Keeps the listening tip's window in line with what VoiceListening reports and with the
// listening character's window, which may move while the tip shows.
#pragma once

#include <memory>

#include "desktop/character/character_stage.h"
#include "desktop/character/listening_tip_window.h"
#include "desktop/host/voice_listening.h"

namespace rirerazo::desktop {

class ListeningTip {
 public:
  explicit ListeningTip(const CharacterStage& stage);
  ~ListeningTip();

  void Show(const ListeningTipState& state);
  // Moves the tip after its character; called after every sync of the stage.
  void Follow();
  // The window while the tip shows, else null (for tests).
  const ListeningTipWindow* Window() const;

 private:
  const CharacterStage& stage_;
  ListeningTipState state_;
  std::unique_ptr<ListeningTipWindow> window_;
};

}  // namespace rirerazo::desktop
