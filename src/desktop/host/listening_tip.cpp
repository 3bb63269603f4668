#include "desktop/host/listening_tip.h"

#include "desktop/character/character_window.h"
#include "desktop/character/private/x11_compositor.h"

namespace rirerazo::desktop {

ListeningTip::ListeningTip(const CharacterStage& stage) : stage_(stage) {}

ListeningTip::~ListeningTip() = default;

void ListeningTip::Show(const ListeningTipState& state) {
  state_ = state;
  Follow();
}

void ListeningTip::Follow() {
  const CharacterWindow* character =
      state_.character.empty() ? nullptr : stage_.Window(state_.character);
  if (character == nullptr) {
    if (window_ && window_->isVisible()) window_->hide();
    return;
  }
  if (!window_) window_ = std::make_unique<ListeningTipWindow>(CompositorRunning());
  window_->Present(QString::fromStdString(state_.text), state_.listening,
                   character->frameGeometry());
}

const ListeningTipWindow* ListeningTip::Window() const {
  return window_ && window_->isVisible() ? window_.get() : nullptr;
}

}  // namespace rirerazo::desktop
