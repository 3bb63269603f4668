#include "info.h"

#include <cstdio>
#include <set>

#include "manifest.h"

namespace rirerazo::chartool {
namespace {

std::string Hex4(unsigned value) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%04X", value);
  return text;
}

void PrintVoice(const acs::CharacterInfo& info, std::ostream& out) {
  if (!info.voice) {
    out << "Voice:        none\n";
    return;
  }
  const acs::VoiceInfo& v = *info.voice;
  out << "Voice:        speed "
      << (v.speed == acs::kDefaultVoiceSpeed ? "default" : std::to_string(v.speed)) << ", pitch "
      << (v.pitch == acs::kDefaultVoicePitch ? "default" : std::to_string(v.pitch));
  if (v.extra) {
    const char* gender = v.extra->gender == 1 ? "female" : v.extra->gender == 2 ? "male" : "-";
    out << ", language " << Hex4(v.extra->language_id) << ", " << gender << ", age "
        << v.extra->age;
    if (!v.extra->style.empty()) out << ", style \"" << v.extra->style << '"';
  }
  out << '\n';
}

void PrintBalloon(const acs::CharacterInfo& info, std::ostream& out) {
  if (!info.balloon) {
    out << "Balloon:      none\n";
    return;
  }
  const acs::BalloonInfo& b = *info.balloon;
  out << "Balloon:      " << int(b.lines) << " lines of " << int(b.chars_per_line)
      << " characters, font \"" << b.font_name << "\" height " << b.font_height << " weight "
      << b.font_weight << (b.italic ? " italic" : "") << "\n              text "
      << ColorText(b.text_color) << " on " << ColorText(b.background_color) << ", border "
      << ColorText(b.border_color);
  if (info.flags & acs::kFlagBalloonSizeToText) out << ", size to text";
  out << ((info.flags & acs::kFlagBalloonNoAutoHide) ? ", no auto-hide" : ", auto-hide");
  out << ((info.flags & acs::kFlagBalloonNoAutoPace) ? ", no auto-pace" : ", auto-pace") << '\n';
}

// The time of one pass through the frames in order, and whether a certain branch loops.
std::string DurationText(const acs::Animation& animation) {
  long total_ms = 0;
  bool loops = false;
  for (const acs::Frame& frame : animation.frames) {
    total_ms += frame.DurationMs();
    for (const acs::Branch& b : frame.branches) loops = loops || b.probability_percent >= 100;
  }
  return std::to_string(total_ms) + " ms" + (loops ? " (loops)" : "");
}

void PrintAnimations(const acs::Character& c, std::ostream& out) {
  out << "Animations (" << c.animations.size() << "):\n";
  for (const acs::Animation& a : c.animations) {
    char line[160];
    std::snprintf(line, sizeof line, "  %-28s %4zu frames  %s", a.name.c_str(), a.frames.size(),
                  DurationText(a).c_str());
    out << line;
    if (!a.return_animation.empty()) out << ", returns through " << a.return_animation;
    out << '\n';
  }
}

void PrintSounds(const acs::Character& c, std::ostream& out) {
  out << "Sounds (" << c.sounds.size() << "):\n";
  for (std::size_t i = 0; i < c.sounds.size(); ++i) {
    out << "  " << i << ": " << c.SoundBytes(i).size() << " bytes";
    try {
      const acs::PcmSound pcm = c.DecodeSound(i);
      const double seconds = pcm.sample_rate_hz ? double(pcm.FrameCount()) / pcm.sample_rate_hz : 0;
      char text[64];
      std::snprintf(text, sizeof text, ", %u Hz, %.2f s", pcm.sample_rate_hz, seconds);
      out << text;
    } catch (const std::exception& e) {
      out << ", cannot be decoded: " << e.what();
    }
    out << '\n';
  }
}

}  // namespace

void PrintInfo(const acs::Character& c, std::uintmax_t file_size, std::ostream& out) {
  const acs::CharacterInfo& info = c.info;
  out << "Name:         " << c.Name() << '\n'
      << "Description:  " << c.Description() << '\n'
      << "File size:    " << file_size << " bytes\n"
      << "Frame size:   " << info.width << " x " << info.height << " pixels, transparent index "
      << int(info.transparent_index) << ", " << info.palette.size() << " colours\n"
      << "GUID:         " << info.guid.ToString() << '\n';
  std::set<std::string> languages;
  for (const acs::LocalizedInfo& l : info.localized) languages.insert(Hex4(l.language_id));
  out << "Languages:    " << languages.size() << '\n';
  PrintVoice(info, out);
  PrintBalloon(info, out);
  out << "Tray icon:    " << (info.tray_icon ? "yes" : "no") << '\n'
      << "Images:       " << c.images.size() << '\n'
      << "States (" << info.states.size() << "):\n";
  for (const acs::State& s : info.states) {
    out << "  " << s.name << ':';
    for (const std::string& name : s.animations) out << ' ' << name;
    out << '\n';
  }
  PrintAnimations(c, out);
  PrintSounds(c, out);
}

}  // namespace rirerazo::chartool
