#include "desktop/host/settings_sheet.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontComboBox>
#include <QFormLayout>
#include <QSpinBox>
#include <QVBoxLayout>

namespace rirerazo::desktop {
namespace {

// A spin box where 0 means "as the character chooses".
QSpinBox* DefaultableSpin(int max) {
  auto* spin = new QSpinBox;
  spin->setRange(0, max);
  spin->setSpecialValueText("Character's own");
  return spin;
}

// Keys that type nothing in most programs, offered for push-to-talk (X keysym names).
struct OfferedKey {
  const char* caption;
  const char* key_name;
};
constexpr OfferedKey kListeningKeys[] = {
    {"Scroll Lock", "Scroll_Lock"},
    {"Pause", "Pause"},
    {"Menu", "Menu"},
    {"Right Ctrl", "Control_R"},
    {"Insert", "Insert"},
    {"F9", "F9"},
    {"F10", "F10"},
    {"F11", "F11"},
    {"F12", "F12"},
};

QComboBox* ListeningKeyChoice() {
  auto* choice = new QComboBox;
  choice->addItem("None (no push-to-talk)", QString());
  for (const OfferedKey& key : kListeningKeys) {
    choice->addItem(key.caption, QString(key.key_name));
  }
  return choice;
}

}  // namespace

SettingsSheet::SettingsSheet(std::vector<std::string> voices,
                             std::function<void(const DesktopSettings&)> changed)
    : changed_(std::move(changed)) {
  setWindowTitle("Character Settings");
  voice_ = new QComboBox;
  voice_->addItem("By the character's language", QString());
  for (const std::string& voice : voices) {
    voice_->addItem(QString::fromStdString(voice), QString::fromStdString(voice));
  }
  speed_ = DefaultableSpin(kMaxWordsPerMinute);
  speed_->setSuffix(" words per minute");
  pitch_ = DefaultableSpin(kMaxPitch);
  pitch_->setSuffix(" Hz");
  own_font_ = new QCheckBox("Use this font in word balloons:");
  font_ = new QFontComboBox;
  connect(own_font_, &QCheckBox::toggled, font_, &QWidget::setEnabled);
  font_size_ = DefaultableSpin(kMaxBalloonFontSize);
  sound_ = new QCheckBox("Play sounds and speech aloud");
  listening_key_ = ListeningKeyChoice();
  auto* form = new QFormLayout;
  form->addRow("Voice:", voice_);
  form->addRow("Speed:", speed_);
  form->addRow("Pitch:", pitch_);
  form->addRow(own_font_, font_);
  form->addRow("Font size:", font_size_);
  form->addRow(sound_);
  form->addRow("Hold to speak:", listening_key_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  connect(buttons, &QDialogButtonBox::accepted, this, &SettingsSheet::Accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons);
}

void SettingsSheet::Present(const DesktopSettings& settings) {
  const int voice = voice_->findData(QString::fromStdString(settings.voice));
  voice_->setCurrentIndex(voice < 0 ? 0 : voice);
  speed_->setValue(settings.words_per_minute);
  pitch_->setValue(settings.pitch);
  own_font_->setChecked(!settings.balloon_font.empty());
  font_->setEnabled(own_font_->isChecked());
  if (own_font_->isChecked()) {
    font_->setCurrentFont(QFont(QString::fromStdString(settings.balloon_font)));
  }
  font_size_->setValue(settings.balloon_font_size);
  sound_->setChecked(settings.sound);
  const QString key = QString::fromStdString(settings.listening_key);
  // A key set outside the sheet (by editing the settings file) is offered as it is.
  if (listening_key_->findData(key) < 0) listening_key_->addItem(key, key);
  listening_key_->setCurrentIndex(listening_key_->findData(key));
  show();
  raise();
  activateWindow();
}

DesktopSettings SettingsSheet::Chosen() const {
  DesktopSettings settings;
  settings.voice = voice_->currentData().toString().toStdString();
  settings.words_per_minute = speed_->value();
  settings.pitch = pitch_->value();
  if (own_font_->isChecked()) settings.balloon_font = font_->currentFont().family().toStdString();
  settings.balloon_font_size = font_size_->value();
  settings.sound = sound_->isChecked();
  settings.listening_key = listening_key_->currentData().toString().toStdString();
  return settings;
}

void SettingsSheet::Accept() {
  if (changed_) changed_(Chosen());
  accept();
}

}  // namespace rirerazo::desktop
