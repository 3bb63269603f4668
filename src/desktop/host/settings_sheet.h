// The settings sheet of the character runtime: voice, speed, pitch, balloon font, sound and
// the listening key.
// Shown without blocking (a script may open it while characters play); a change takes
// effect for the next utterance and balloon and is saved for later runs.
#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "desktop/host/desktop_settings.h"

class QCheckBox;
class QComboBox;
class QFontComboBox;
class QSpinBox;

namespace rirerazo::desktop {

class SettingsSheet : public QDialog {
  Q_OBJECT

 public:
  // `voices` lists the voice names offered (the engine's); `changed` hears every accepted
  // change.
  SettingsSheet(std::vector<std::string> voices,
                std::function<void(const DesktopSettings&)> changed);

  // Fills the controls from `settings` and brings the sheet to the front.
  void Present(const DesktopSettings& settings);
  DesktopSettings Chosen() const;

 private:
  void Accept();

  std::function<void(const DesktopSettings&)> changed_;
  QComboBox* voice_ = nullptr;
  QSpinBox* speed_ = nullptr;
  QSpinBox* pitch_ = nullptr;
  QCheckBox* own_font_ = nullptr;
  QFontComboBox* font_ = nullptr;
  QSpinBox* font_size_ = nullptr;
  QCheckBox* sound_ = nullptr;
  QComboBox* listening_key_ = nullptr;
};

}  // namespace rirerazo::desktop
