// The push-to-talk key on the desktop: a global grab of one key (os::X11KeyGrab) watched on
// Qt's event loop. Pressing it calls `pressed`, letting it go `released`, wherever the focus
// is. Where the key cannot be held (no X display, a name that is no key, a key another
// program holds) this is said once on the error stream and push-to-talk is off; the rest of
// the player carries on.
#pragma once

#include <QObject>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>

class QSocketNotifier;

namespace rirerazo::os {
class X11KeyGrab;
}

namespace rirerazo::desktop {

class ListeningKey : public QObject {
 public:
  ListeningKey(std::function<void()> pressed, std::function<void()> released, std::ostream& err);
  ~ListeningKey() override;

  // Holds the key of this X keysym name instead of the one held so far; an empty name lets
  // go of every key. A key held down at the change counts as released. Returns whether the
  // key is held.
  bool Bind(const std::string& key_name);
  const std::string& Bound() const { return bound_; }

 private:
  void Read();
  void Release();

  std::function<void()> pressed_;
  std::function<void()> released_;
  std::ostream& err_;
  std::string bound_;
  std::string refused_;  // the last key that could not be held
  std::unique_ptr<os::X11KeyGrab> grab_;
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace rirerazo::desktop
