// The user's runtime settings: what they fill in for a voice, how they switch sound off,
// that the sheet reads back what it shows, and that they survive a restart.
#include <gtest/gtest.h>

#include <QSettings>

#include "desktop/host/desktop_settings.h"
#include "desktop/host/settings_sheet.h"
#include "support/qt_desktop.h"
#include "support/scratch_folder.h"

namespace rirerazo::desktop {
namespace {

TEST(UserVoice, FillsOnlyWhatTheScriptAndFileLeftOpen) {
  DesktopSettings settings;
  settings.voice = "en-gb";
  settings.words_per_minute = 200;
  settings.pitch = 120;
  runtime::VoiceSettings open;
  const runtime::VoiceSettings filled = ApplyUserVoice(open, settings);
  EXPECT_EQ(filled.mode_id, "en-gb");
  EXPECT_EQ(filled.words_per_minute, 200);
  EXPECT_EQ(filled.pitch, 120);

  runtime::VoiceSettings chosen;
  chosen.mode_id = "de";
  chosen.words_per_minute = 90;
  chosen.pitch = 80;
  const runtime::VoiceSettings kept = ApplyUserVoice(chosen, settings);
  EXPECT_EQ(kept.mode_id, "de");
  EXPECT_EQ(kept.words_per_minute, 90);
  EXPECT_EQ(kept.pitch, 80);
}

class CountingOutput : public AudioOutput {
 public:
  std::unique_ptr<AudioStream> Play(std::vector<std::int16_t>, PcmFormat, float volume) override {
    last_volume = volume;
    return nullptr;
  }
  bool Audible() const override { return true; }
  float last_volume = -1;
};

TEST(SwitchableAudio, PlaysSilentlyWhileSoundIsOff) {
  CountingOutput device;
  DesktopSettings settings;
  SwitchableAudioOutput output(device, settings);
  output.Play({1, 2}, {}, 0.5f);
  EXPECT_FLOAT_EQ(device.last_volume, 0.5f);
  EXPECT_TRUE(output.Audible());
  settings.sound = false;
  output.Play({1, 2}, {}, 0.5f);
  EXPECT_FLOAT_EQ(device.last_volume, 0.0f);
  EXPECT_FALSE(output.Audible());
}

TEST(SettingsSheet, ReadsBackWhatItPresentsAndSurvivesARestart) {
  RIRERAZO_REQUIRE_DESKTOP();
  testing::ScratchFolder config;
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                     QString::fromStdString(config.Path()));
  DesktopSettings settings;
  settings.voice = "en-us";
  settings.words_per_minute = 180;
  settings.pitch = 0;
  settings.balloon_font_size = 12;
  settings.sound = false;
  EXPECT_EQ(LoadDesktopSettings().listening_key, "Scroll_Lock") << "the default key";
  settings.listening_key = "Pause";
  DesktopSettings heard;
  SettingsSheet sheet({"en-us", "de"}, [&](const DesktopSettings& s) { heard = s; });
  sheet.Present(settings);
  EXPECT_EQ(sheet.Chosen(), settings);
  QMetaObject::invokeMethod(&sheet, "accept");
  SaveDesktopSettings(sheet.Chosen());
  EXPECT_EQ(LoadDesktopSettings(), settings);

  // A key the sheet does not list, and none at all, read back as they were.
  for (const char* key : {"Hyper_R", ""}) {
    settings.listening_key = key;
    sheet.Present(settings);
    EXPECT_EQ(sheet.Chosen().listening_key, key);
    SaveDesktopSettings(sheet.Chosen());
    EXPECT_EQ(LoadDesktopSettings().listening_key, key);
  }
}

}  // namespace
}  // namespace rirerazo::desktop
