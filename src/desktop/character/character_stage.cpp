#include "desktop/character/character_stage.h"

#include <algorithm>
#include <exception>

#include "desktop/character/balloon_window.h"
#include "desktop/character/character_window.h"
#include "desktop/character/private/x11_compositor.h"

namespace rirerazo::desktop {

// A window is hidden at once and deleted by the event loop, so a window whose own event
// handler led to its removal is not deleted under it.
struct LaterDeleter {
  void operator()(QWidget* widget) const {
    widget->hide();
    widget->deleteLater();
  }
};

struct CharacterStage::Windows {
  std::string id;
  std::unique_ptr<CharacterWindow, LaterDeleter> character;
  std::unique_ptr<BalloonWindow, LaterDeleter> balloon;
};

CharacterStage::CharacterStage(runtime::CharacterRuntime& runtime, AudioOutput& audio)
    : runtime_(runtime), audio_(audio) {}

CharacterStage::~CharacterStage() = default;

void CharacterStage::OnVisualChanged(const std::string& character_id) {
  dirty_.insert(character_id);
  if (next_) next_->OnVisualChanged(character_id);
}

void CharacterStage::OnPropertySheetShown() {
  if (next_) next_->OnPropertySheetShown();
}

void CharacterStage::SetUserInputCallback(std::function<void()> callback) {
  on_input_ = std::move(callback);
  for (const auto& windows : windows_) windows->character->SetUserInputCallback(on_input_);
}

void CharacterStage::SetCommandCallback(std::function<void(const std::string&)> callback) {
  on_command_ = std::move(callback);
  for (const auto& windows : windows_) windows->character->SetCommandCallback(on_command_);
}

// Every character is brought up to date, not only the dirty ones: a move in progress and
// the mouth while speaking change with time, without a notification.
void CharacterStage::Sync() {
  const std::vector<std::string> ids = runtime_.CharacterIds();
  RemoveUnloaded(ids);
  for (const std::string& id : ids) SyncOne(id);
  dirty_.clear();
}

void CharacterStage::RemoveUnloaded(const std::vector<std::string>& ids) {
  std::erase_if(windows_, [&](const std::unique_ptr<Windows>& windows) {
    return std::find(ids.begin(), ids.end(), windows->id) == ids.end();
  });
}

void CharacterStage::SetPlayerMenu(std::function<bool()> offered, std::function<void()> open) {
  player_menu_offered_ = std::move(offered);
  open_player_menu_ = std::move(open);
  for (const auto& windows : windows_) {
    windows->character->SetPlayerMenu(player_menu_offered_, open_player_menu_);
  }
}

void CharacterStage::SetUserBalloonFont(std::string name, int size_pt) {
  user_font_name_ = std::move(name);
  user_font_size_pt_ = size_pt;
  for (const auto& windows : windows_) {
    windows->balloon->SetUserFont(user_font_name_, user_font_size_pt_);
    dirty_.insert(windows->id);
  }
}

void CharacterStage::SyncOne(const std::string& id) {
  Windows* windows = Find(id);
  if (windows == nullptr) {
    const bool per_pixel_alpha = CompositorRunning();
    auto created = std::make_unique<Windows>();
    created->id = id;
    created->character.reset(new CharacterWindow(runtime_, id, audio_, per_pixel_alpha));
    created->character->SetUserInputCallback(on_input_);
    created->character->SetCommandCallback(on_command_);
    created->character->SetPlayerMenu(player_menu_offered_, open_player_menu_);
    created->balloon.reset(new BalloonWindow(per_pixel_alpha));
    created->balloon->SetUserFont(user_font_name_, user_font_size_pt_);
    windows = created.get();
    windows_.push_back(std::move(created));
  }
  try {
    const runtime::FrameState frame = runtime_.Frame(id);
    windows->character->Apply(frame);
    runtime::BalloonView balloon = runtime_.Balloon(id);
    if (!frame.visible) balloon.visible = false;
    windows->balloon->Apply(balloon, windows->character->geometry());
  } catch (const std::exception&) {
    // The character went away between CharacterIds and here; the next Sync removes it.
  }
}

CharacterStage::Windows* CharacterStage::Find(const std::string& id) const {
  for (const auto& windows : windows_) {
    if (windows->id == id) return windows.get();
  }
  return nullptr;
}

CharacterWindow* CharacterStage::Window(const std::string& id) const {
  Windows* windows = Find(id);
  return windows ? windows->character.get() : nullptr;
}

BalloonWindow* CharacterStage::Balloon(const std::string& id) const {
  Windows* windows = Find(id);
  return windows ? windows->balloon.get() : nullptr;
}

std::vector<std::string> CharacterStage::WindowIds() const {
  std::vector<std::string> ids;
  for (const auto& windows : windows_) ids.push_back(windows->id);
  return ids;
}

}  // namespace rirerazo::desktop
