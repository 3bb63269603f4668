#include "desktop/host/listening_key.h"

#include <QSocketNotifier>
#include <ostream>

#include "os/x11_key_grab.h"
#include "platform/runtime_error.h"

namespace rirerazo::desktop {

ListeningKey::ListeningKey(std::function<void()> pressed, std::function<void()> released,
                           std::ostream& err)
    : pressed_(std::move(pressed)), released_(std::move(released)), err_(err) {}

ListeningKey::~ListeningKey() {
  notifier_.reset();
  grab_.reset();
}

bool ListeningKey::Bind(const std::string& key_name) {
  if (grab_ && key_name == bound_) return true;
  Release();
  notifier_.reset();
  grab_.reset();
  bound_.clear();
  if (key_name.empty() || key_name == refused_) return false;
  try {
    grab_ = std::make_unique<os::X11KeyGrab>(key_name);
  } catch (const RuntimeError& error) {
    err_ << "rirerazo: the listening key cannot be used: " << error.what() << "\n";
    refused_ = key_name;  // said once, not at every change of the other settings
    return false;
  }
  refused_.clear();
  bound_ = key_name;
  notifier_ = std::make_unique<QSocketNotifier>(grab_->fd(), QSocketNotifier::Read);
  connect(notifier_.get(), &QSocketNotifier::activated, this, &ListeningKey::Read);
  Read();  // events the grab's round trips already queued
  return true;
}

void ListeningKey::Read() {
  if (!grab_) return;
  for (os::X11KeyGrab::Change change : grab_->TakeChanges()) {
    if (change == os::X11KeyGrab::Change::kPressed) {
      if (pressed_) pressed_();
    } else if (released_) {
      released_();
    }
  }
}

// A key held while the grab goes would never report its release.
void ListeningKey::Release() {
  if (grab_ && grab_->Held() && released_) released_();
}

}  // namespace rirerazo::desktop
