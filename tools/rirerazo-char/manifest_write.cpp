#include <cstdio>
#include <fstream>

#include "manifest.h"
#include "platform/runtime_error.h"
#include "png_io.h"
#include "runtime/acs/writer/wav_writer.h"

namespace rirerazo::chartool {
namespace {

namespace fs = std::filesystem;
using json = nlohmann::ordered_json;

std::string Numbered(const char* folder, std::size_t index, const char* extension) {
  char name[64];
  std::snprintf(name, sizeof name, "%s/%04zu.%s", folder, index, extension);
  return name;
}

json VoiceJson(const acs::VoiceInfo& voice) {
  json j = {{"engine", voice.engine_id.ToString()}, {"mode", voice.mode_id.ToString()}};
  j["speed"] = voice.speed == acs::kDefaultVoiceSpeed ? json("default") : json(voice.speed);
  j["pitch"] = voice.pitch == acs::kDefaultVoicePitch ? json("default") : json(voice.pitch);
  if (voice.extra) {
    const acs::VoiceExtra& e = *voice.extra;
    j["language"] = e.language_id;
    j["dialect"] = e.dialect;
    j["gender"] = e.gender == 1 ? json("female") : e.gender == 2 ? json("male") : json(e.gender);
    j["age"] = e.age;
    j["style"] = e.style;
  }
  return j;
}

json BalloonJson(const acs::BalloonInfo& b, std::uint32_t flags) {
  json j = {{"lines", b.lines},
            {"chars_per_line", b.chars_per_line},
            {"text_color", ColorText(b.text_color)},
            {"background_color", ColorText(b.background_color)},
            {"border_color", ColorText(b.border_color)},
            {"font", b.font_name},
            {"font_height", b.font_height},
            {"font_weight", b.font_weight},
            {"italic", b.italic != 0},
            {"size_to_text", (flags & acs::kFlagBalloonSizeToText) != 0},
            {"auto_hide", (flags & acs::kFlagBalloonNoAutoHide) == 0},
            {"auto_pace", (flags & acs::kFlagBalloonNoAutoPace) == 0}};
  if (b.italic > 1) j["italic_value"] = b.italic;
  if (b.reserved != 0) j["reserved"] = b.reserved;
  return j;
}

std::string Hex(const std::vector<std::uint8_t>& bytes) {
  std::string text;
  for (std::uint8_t b : bytes) {
    char pair[3];
    std::snprintf(pair, sizeof pair, "%02x", b);
    text += pair;
  }
  return text;
}

json OverlayJson(const acs::MouthOverlay& o) {
  json j = {{"shape", MouthShapeName(o.shape)}, {"image", o.image_index}, {"x", o.x}, {"y", o.y}};
  if (j["shape"] == "") j["shape"] = static_cast<int>(o.shape);
  if (o.replaces_top_image) j["replace_top"] = true;
  j["mouth_x"] = o.mouth_x;
  j["mouth_y"] = o.mouth_y;
  if (o.reserved != 0) j["reserved"] = o.reserved;
  if (!o.region.empty()) j["region"] = Hex(o.region);
  return j;
}

json FrameJson(const acs::Frame& frame) {
  json j = {{"duration_ms", frame.DurationMs()}, {"images", json::array()}};
  for (const acs::FrameImage& image : frame.images) {
    j["images"].push_back({{"image", image.image_index}, {"x", image.x}, {"y", image.y}});
  }
  if (frame.sound_index != acs::kNoSound) j["sound"] = frame.sound_index;
  if (frame.exit_frame != acs::kExitNone) j["exit_frame"] = frame.exit_frame;
  for (const acs::Branch& b : frame.branches) {
    j["branches"].push_back({{"frame", b.target_frame}, {"percent", b.probability_percent}});
  }
  for (const acs::MouthOverlay& o : frame.overlays) j["mouths"].push_back(OverlayJson(o));
  return j;
}

json AnimationJson(const acs::Animation& animation) {
  json j = {{"name", animation.name}, {"transition", TransitionName(animation.transition)}};
  if (j["transition"] == "") j["transition"] = static_cast<int>(animation.transition);
  if (!animation.return_animation.empty()) j["return_animation"] = animation.return_animation;
  for (const acs::Frame& frame : animation.frames) j["frames"].push_back(FrameJson(frame));
  return j;
}

std::uint32_t UnnamedFlags(const acs::CharacterInfo& info) {
  std::uint32_t known = acs::kFlagVoiceDisabled | acs::kFlagVoiceEnabled |
                        acs::kFlagBalloonDisabled | acs::kFlagBalloonEnabled |
                        acs::kFlagStandardAnimationSet;
  if (info.balloon) {
    known |=
        acs::kFlagBalloonSizeToText | acs::kFlagBalloonNoAutoHide | acs::kFlagBalloonNoAutoPace;
  }
  return info.flags & ~known;
}

void WriteBytes(const fs::path& path, std::span<const std::uint8_t> bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  if (!file) throw RuntimeError(err::kPathFileAccessError, "cannot write " + path.string());
}

// A packed DIB becomes a .bmp file by prefixing the 14-byte file header, so authors can open
// the icon parts in any image viewer; build strips the header again.
std::vector<std::uint8_t> DibAsBmp(const std::vector<std::uint8_t>& dib) {
  auto u32 = [&](std::size_t at) {
    return dib.size() < at + 4 ? 0u
                               : dib[at] | (dib[at + 1] << 8) | (dib[at + 2] << 16) |
                                     (std::uint32_t(dib[at + 3]) << 24);
  };
  const std::uint32_t header = u32(0);
  const std::uint32_t bits = dib.size() >= 16 ? dib[14] | (dib[15] << 8) : 0;
  std::uint32_t colours = u32(32);
  if (colours == 0 && bits <= 8) colours = 1u << bits;
  const std::uint32_t pixels_at = 14 + header + 4 * colours;
  std::vector<std::uint8_t> bmp = {'B', 'M'};
  for (std::uint32_t v : {std::uint32_t(14 + dib.size()), 0u, pixels_at}) {
    for (int i = 0; i < 4; ++i) bmp.push_back(std::uint8_t(v >> (8 * i)));
  }
  bmp.insert(bmp.end(), dib.begin(), dib.end());
  return bmp;
}

// Indented JSON in which every value that fits on a line of about 100 characters stays on
// one line, so a frame reads as one line instead of twenty.
void WritePretty(std::ostream& out, const json& value, int indent) {
  const std::string compact = value.dump();
  if (!value.is_structured() || value.empty() || compact.size() + indent <= 100) {
    out << compact;
    return;
  }
  const std::string pad(indent + 2, ' ');
  if (value.is_array() && !value.front().is_structured()) {  // a list of scalars, wrapped
    std::size_t column = indent + 2;
    out << "[\n" << pad;
    for (std::size_t i = 0; i < value.size(); ++i) {
      const std::string item = value[i].dump() + (i + 1 < value.size() ? "," : "");
      if (i > 0 && column + item.size() + 1 > 100) out << '\n' << pad, column = indent + 2;
      out << (column > std::size_t(indent) + 2 ? " " : "") << item;
      column += item.size() + 1;
    }
    out << '\n' << std::string(indent, ' ') << ']';
    return;
  }
  out << (value.is_object() ? '{' : '[') << '\n';
  bool first = true;
  for (auto it = value.begin(); it != value.end(); ++it) {
    out << (first ? "" : ",\n") << pad;
    first = false;
    if (value.is_object()) out << json(it.key()).dump() << ": ";
    WritePretty(out, it.value(), indent + 2);
  }
  out << '\n' << std::string(indent, ' ') << (value.is_object() ? '}' : ']');
}

std::string SafeFileName(const std::string& name) {
  std::string safe;
  for (char c : name) {
    const bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                    c == '_' || c == '-' || c == '.';
    safe += ok ? c : '_';
  }
  return safe.empty() || safe[0] == '.' ? "_" + safe : safe;
}

void WriteComposedFrames(const acs::Character& character, const fs::path& folder) {
  for (std::size_t a = 0; a < character.animations.size(); ++a) {
    const acs::Animation& animation = character.animations[a];
    const fs::path dir = folder / "frames" / SafeFileName(animation.name);
    fs::create_directories(dir);
    for (std::size_t f = 0; f < animation.frames.size(); ++f) {
      WriteRgbaPng((dir / Numbered(".", f, "png")).string(), character.ComposeFrame(animation, f));
    }
  }
}

}  // namespace

std::string ColorText(const acs::Color& color) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02X%02X%02X", color.red, color.green, color.blue);
  return text;
}

const char* MouthShapeName(acs::MouthShape shape) {
  static constexpr const char* kNames[] = {"closed", "wide1",  "wide2", "wide3",
                                           "wide4",  "medium", "narrow"};
  const auto index = static_cast<std::size_t>(shape);
  return index < std::size(kNames) ? kNames[index] : "";
}

const char* TransitionName(acs::TransitionType type) {
  switch (type) {
    case acs::TransitionType::kReturnAnimation:
      return "return";
    case acs::TransitionType::kExitBranches:
      return "exit";
    case acs::TransitionType::kNone:
      return "none";
  }
  return "";
}

json ManifestFromCharacter(const acs::Character& character) {
  const acs::CharacterInfo& info = character.info;
  json j = {{"format", kManifestFormat},    {"version", kManifestVersion},
            {"guid", info.guid.ToString()}, {"width", info.width},
            {"height", info.height},        {"transparent_index", info.transparent_index}};
  j["standard_animation_set"] = (info.flags & acs::kFlagStandardAnimationSet) != 0;
  if (const std::uint32_t other = UnnamedFlags(info)) j["other_flags"] = other;
  j["palette"] = json::array();
  for (const acs::Color& c : info.palette) j["palette"].push_back(ColorText(c));
  if (info.voice) j["voice"] = VoiceJson(*info.voice);
  if (info.balloon) j["balloon"] = BalloonJson(*info.balloon, info.flags);
  if (info.tray_icon) {
    j["tray_icon"] = {{"mask", "tray_icon_mask.bmp"}, {"color", "tray_icon_color.bmp"}};
  }
  for (const acs::LocalizedInfo& l : info.localized) {
    j["names"].push_back({{"language", l.language_id},
                          {"name", l.name},
                          {"description", l.description},
                          {"extra", l.extra_data}});
  }
  for (const acs::State& s : info.states) {
    j["states"].push_back({{"name", s.name}, {"animations", s.animations}});
  }
  for (std::size_t i = 0; i < character.images.size(); ++i) {
    j["images"].push_back(Numbered("images", i, "png"));
  }
  for (std::size_t i = 0; i < character.sounds.size(); ++i) {
    j["sounds"].push_back(Numbered("sounds", i, "wav"));
  }
  for (const acs::Animation& a : character.animations) j["animations"].push_back(AnimationJson(a));
  return j;
}

void ExtractCharacter(const acs::Character& character, const fs::path& folder,
                      const ExtractOptions& options) {
  if (fs::exists(folder / kManifestName) && !options.overwrite) {
    throw RuntimeError(err::kFileAlreadyOpen,
                       folder.string() + " already holds a character; use --force to replace it");
  }
  fs::create_directories(folder / "images");
  fs::create_directories(folder / "sounds");
  const acs::CharacterInfo& info = character.info;
  for (std::size_t i = 0; i < character.images.size(); ++i) {
    WriteIndexedPng((folder / Numbered("images", i, "png")).string(), character.ImagePixels(i),
                    info.palette, info.transparent_index);
  }
  for (std::size_t i = 0; i < character.sounds.size(); ++i) {
    const fs::path path = folder / Numbered("sounds", i, "wav");
    if (options.pcm_sounds) {
      WriteBytes(path, acs::MakePcmWav(character.DecodeSound(i)));
    } else {
      WriteBytes(path, character.SoundBytes(i));
    }
  }
  if (info.tray_icon) {
    WriteBytes(folder / "tray_icon_mask.bmp", DibAsBmp(info.tray_icon->mask_dib));
    WriteBytes(folder / "tray_icon_color.bmp", DibAsBmp(info.tray_icon->color_dib));
  }
  if (options.composed_frames) WriteComposedFrames(character, folder);
  std::ofstream manifest(folder / kManifestName, std::ios::trunc);
  WritePretty(manifest, ManifestFromCharacter(character), 0);
  manifest << '\n';
  if (!manifest) throw RuntimeError(err::kPathFileAccessError, "cannot write the manifest");
}

}  // namespace rirerazo::chartool
