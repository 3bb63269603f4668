#include "desktop/host/desktop_settings.h"

#include <QSettings>
#include <QString>
#include <algorithm>

namespace rirerazo::desktop {
namespace {

int NumberIn(const QSettings& store, const char* key, int max) {
  return std::clamp(store.value(key, 0).toInt(), 0, max);
}

}  // namespace

DesktopSettings LoadDesktopSettings() {
  QSettings store(QSettings::IniFormat, QSettings::UserScope, "RIRERazo", "RIRERazo");
  DesktopSettings settings;
  settings.voice = store.value("speech/voice").toString().toStdString();
  settings.words_per_minute = NumberIn(store, "speech/words_per_minute", kMaxWordsPerMinute);
  settings.pitch = NumberIn(store, "speech/pitch", kMaxPitch);
  settings.balloon_font = store.value("balloon/font").toString().toStdString();
  settings.balloon_font_size = NumberIn(store, "balloon/font_size", kMaxBalloonFontSize);
  settings.sound = store.value("sound/on", true).toBool();
  settings.listening_key =
      store.value("voice/listening_key", kDefaultListeningKey).toString().toStdString();
  return settings;
}

void SaveDesktopSettings(const DesktopSettings& settings) {
  QSettings store(QSettings::IniFormat, QSettings::UserScope, "RIRERazo", "RIRERazo");
  store.setValue("speech/voice", QString::fromStdString(settings.voice));
  store.setValue("speech/words_per_minute", settings.words_per_minute);
  store.setValue("speech/pitch", settings.pitch);
  store.setValue("balloon/font", QString::fromStdString(settings.balloon_font));
  store.setValue("balloon/font_size", settings.balloon_font_size);
  store.setValue("sound/on", settings.sound);
  store.setValue("voice/listening_key", QString::fromStdString(settings.listening_key));
  store.sync();
}

runtime::VoiceSettings ApplyUserVoice(runtime::VoiceSettings voice,
                                      const DesktopSettings& settings) {
  if (voice.mode_id.empty()) voice.mode_id = settings.voice;
  if (voice.words_per_minute == 0) voice.words_per_minute = settings.words_per_minute;
  if (voice.pitch == 0) voice.pitch = settings.pitch;
  return voice;
}

}  // namespace rirerazo::desktop
