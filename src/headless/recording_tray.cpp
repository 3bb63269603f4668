#include "headless/recording_tray.h"

#include "platform/runtime_error.h"

namespace rirerazo::headless {
namespace {

std::string WithoutAccessKeys(const std::string& caption) {
  std::string plain;
  for (char c : caption) {
    if (c != '&') plain.push_back(c);
  }
  return plain;
}

bool CaptionMatches(const std::string& caption, const std::string& wanted) {
  return caption == wanted || WithoutAccessKeys(caption) == WithoutAccessKeys(wanted);
}

}  // namespace

std::string TraySelector::Describe() const {
  // Appended piece by piece: prefixing a temporary trips a false -Wrestrict in GCC 12.
  std::string text(1, position > 0 ? '#' : '"');
  text += position > 0 ? std::to_string(position) : caption + '"';
  return text;
}

void RecordingTray::Install(const std::string& tip, platform::TrayEvents* listener) {
  installed_ = true;
  tip_ = tip;
  listener_ = listener;
}

void RecordingTray::Remove() {
  if (!installed_) return;
  installed_ = false;
  listener_ = nullptr;
}

// The index of the selected item among all items; -1 when nothing is selected or the
// selection names no visible item.
int RecordingTray::Pick(const std::vector<platform::MenuItem>& items) const {
  if (!pending_) return -1;
  int position = 0;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (!items[i].visible) continue;
    ++position;
    const bool wanted = pending_->position > 0
                            ? position == pending_->position
                            : CaptionMatches(items[i].caption, pending_->caption);
    if (wanted) return static_cast<int>(i);
  }
  return -1;
}

int RecordingTray::ShowPopupMenu(const std::vector<platform::MenuItem>& items) {
  ++menus_shown_;
  last_menu_.clear();
  for (const platform::MenuItem& item : items) {
    if (item.visible) last_menu_.push_back(item.caption);
  }
  const int chosen = Pick(items);
  picked_ = chosen >= 0;
  pending_.reset();  // one choice per click, also when a handler opens the menu again
  return chosen;
}

void RecordingTray::Mouse(int mouse_message) {
  if (!installed_) {
    throw RuntimeError(err::kInvalidProcedureCall, "the tray icon is not installed");
  }
  if (listener_ != nullptr) listener_->OnTrayMouse(mouse_message);
}

void RecordingTray::Choose(const TraySelector& selector) {
  const int shown_before = menus_shown_;
  pending_ = selector;
  picked_ = false;
  try {
    Mouse(platform::tray_mouse::kRightDown);
    Mouse(platform::tray_mouse::kRightUp);
  } catch (...) {
    pending_.reset();
    throw;
  }
  pending_.reset();
  if (menus_shown_ == shown_before) {
    throw RuntimeError(err::kInvalidProcedureCall, "the tray menu did not open");
  }
  if (!picked_) {
    throw RuntimeError(err::kInvalidProcedureCall,
                       "the tray menu has no item " + selector.Describe());
  }
}

void RecordingTray::Dismiss() {
  pending_.reset();
  Mouse(platform::tray_mouse::kRightDown);
  Mouse(platform::tray_mouse::kRightUp);
}

}  // namespace rirerazo::headless
