#include <fstream>
#include <iterator>

#include "manifest.h"
#include "manifest_node.h"
#include "platform/runtime_error.h"
#include "png_io.h"

namespace rirerazo::chartool {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

constexpr std::int64_t kU8 = 0xFF, kU16 = 0xFFFF, kU32 = 0xFFFFFFFF;

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads `count` hex digits of `text` from `at` into value; false on a non-digit.
bool HexValue(const std::string& text, std::size_t at, int count, std::uint64_t& value) {
  value = 0;
  for (int i = 0; i < count; ++i) {
    const int digit = at + i < text.size() ? HexDigit(text[at + i]) : -1;
    if (digit < 0) return false;
    value = (value << 4) | std::uint64_t(digit);
  }
  return true;
}

acs::Color ParseColor(const Node& node) {
  const std::string text = node.Text();
  std::uint64_t v = 0;
  if (text.size() != 7 || text[0] != '#' || !HexValue(text, 1, 6, v)) {
    node.Fail("expected a colour \"#RRGGBB\", not \"" + text + "\"");
  }
  return {std::uint8_t(v >> 16), std::uint8_t(v >> 8), std::uint8_t(v)};
}

acs::Guid ParseGuid(const Node& node) {
  const std::string t = node.Text();
  acs::Guid g;
  std::uint64_t a = 0, b = 0, c = 0, d = 0, e = 0;
  const bool ok = t.size() == 38 && t[0] == '{' && t[9] == '-' && t[14] == '-' && t[19] == '-' &&
                  t[24] == '-' && t[37] == '}' && HexValue(t, 1, 8, a) && HexValue(t, 10, 4, b) &&
                  HexValue(t, 15, 4, c) && HexValue(t, 20, 4, d) && HexValue(t, 25, 12, e);
  if (!ok) node.Fail("expected a GUID \"{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}\"");
  g.data1 = std::uint32_t(a), g.data2 = std::uint16_t(b), g.data3 = std::uint16_t(c);
  g.data4[0] = std::uint8_t(d >> 8), g.data4[1] = std::uint8_t(d);
  for (int i = 0; i < 6; ++i) g.data4[2 + i] = std::uint8_t(e >> (8 * (5 - i)));
  return g;
}

std::vector<std::uint8_t> ReadBytes(const fs::path& path, const Node& where) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    throw RuntimeError(err::kFileNotFound, std::string(kManifestName) + ": " + where.Path() +
                                               ": file not found: " + path.string());
  }
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

acs::VoiceInfo ParseVoice(const Node& n) {
  acs::VoiceInfo v;
  v.engine_id = ParseGuid(n.At("engine"));
  v.mode_id = ParseGuid(n.At("mode"));
  const bool default_speed = n.Has("speed") && n.At("speed").IsText();
  v.speed = default_speed || !n.Has("speed") ? acs::kDefaultVoiceSpeed
                                             : std::uint32_t(n.Int("speed", 0, kU32));
  const bool default_pitch = n.Has("pitch") && n.At("pitch").IsText();
  v.pitch = default_pitch || !n.Has("pitch") ? acs::kDefaultVoicePitch
                                             : std::uint16_t(n.Int("pitch", 0, kU16));
  if (!n.Has("language")) return v;
  acs::VoiceExtra e;
  e.language_id = std::uint16_t(n.Int("language", 0, kU16));
  e.dialect = n.Text("dialect", "");
  const bool named_gender = n.Has("gender") && n.At("gender").IsText();
  if (named_gender) {
    const std::string gender = n.Text("gender");
    if (gender != "female" && gender != "male") n.At("gender").Fail("expected female or male");
    e.gender = gender == "female" ? 1 : 2;
  } else {
    e.gender = std::uint16_t(n.Int("gender", 0, kU16, 0));
  }
  e.age = std::uint16_t(n.Int("age", 0, kU16, 0));
  e.style = n.Text("style", "");
  v.extra = e;
  return v;
}

acs::BalloonInfo ParseBalloon(const Node& n, std::uint32_t& flags) {
  acs::BalloonInfo b;
  b.lines = std::uint8_t(n.Int("lines", 1, kU8, 2));
  b.chars_per_line = std::uint8_t(n.Int("chars_per_line", 1, kU8, 32));
  if (n.Has("text_color")) b.text_color = ParseColor(n.At("text_color"));
  if (n.Has("background_color")) b.background_color = ParseColor(n.At("background_color"));
  if (n.Has("border_color")) b.border_color = ParseColor(n.At("border_color"));
  b.font_name = n.Text("font", "Sans");
  b.font_height = std::int32_t(n.Int("font_height", INT32_MIN, INT32_MAX, -13));
  b.font_weight = std::uint32_t(n.Int("font_weight", 0, kU32, 400));
  b.italic = std::uint8_t(n.Int("italic_value", 0, kU8, n.Flag("italic", false) ? 1 : 0));
  b.reserved = std::uint8_t(n.Int("reserved", 0, kU8, 0));
  if (n.Flag("size_to_text", false)) flags |= acs::kFlagBalloonSizeToText;
  if (!n.Flag("auto_hide", true)) flags |= acs::kFlagBalloonNoAutoHide;
  if (!n.Flag("auto_pace", true)) flags |= acs::kFlagBalloonNoAutoPace;
  return b;
}

// A tray icon part: a .bmp file (its 14-byte file header is dropped) or a bare packed DIB.
std::vector<std::uint8_t> ReadDib(const fs::path& base, const Node& n) {
  std::vector<std::uint8_t> bytes = ReadBytes(base / n.Text(), n);
  if (bytes.size() >= 14 && bytes[0] == 'B' && bytes[1] == 'M') {
    bytes.erase(bytes.begin(), bytes.begin() + 14);
  }
  if (bytes.size() < 40) n.Fail("not a bitmap: shorter than its 40-byte header");
  return bytes;
}

void ParseInfoLists(const Node& root, acs::CharacterInfo& info) {
  for (std::size_t i = 0; i < root.Count("names"); ++i) {
    const Node n = root.Item("names", i);
    info.localized.push_back({std::uint16_t(n.Int("language", 0, kU16)), n.Text("name"),
                              n.Text("description", ""), n.Text("extra", "")});
  }
  for (std::size_t i = 0; i < root.Count("states"); ++i) {
    const Node n = root.Item("states", i);
    acs::State state{n.Text("name"), {}};
    for (std::size_t k = 0; k < n.Count("animations"); ++k) {
      state.animations.push_back(n.Item("animations", k).Text());
    }
    info.states.push_back(std::move(state));
  }
}

acs::CharacterInfo ParseInfo(const Node& root, const fs::path& base) {
  acs::CharacterInfo info;
  info.guid = ParseGuid(root.At("guid"));
  info.width = std::uint16_t(root.Int("width", 1, kU16));
  info.height = std::uint16_t(root.Int("height", 1, kU16));
  info.transparent_index = std::uint8_t(root.Int("transparent_index", 0, kU8, 0));
  info.flags = std::uint32_t(root.Int("other_flags", 0, kU32, 0));
  if (root.Flag("standard_animation_set", true)) info.flags |= acs::kFlagStandardAnimationSet;
  if (root.Count("palette") > 256) root.At("palette").Fail("more than 256 colours");
  for (std::size_t i = 0; i < root.Count("palette"); ++i) {
    info.palette.push_back(ParseColor(root.Item("palette", i)));
  }
  if (root.Has("voice")) info.voice = ParseVoice(root.At("voice"));
  if (root.Has("balloon")) info.balloon = ParseBalloon(root.At("balloon"), info.flags);
  if (root.Has("tray_icon")) {
    const Node icon = root.At("tray_icon");
    info.tray_icon = acs::TrayIcon{ReadDib(base, icon.At("mask")), ReadDib(base, icon.At("color"))};
  }
  ParseInfoLists(root, info);
  return info;
}

std::vector<std::uint8_t> ParseHex(const Node& n) {
  const std::string text = n.Text();
  std::vector<std::uint8_t> bytes;
  for (std::size_t i = 0; i < text.size(); i += 2) {
    std::uint64_t v = 0;
    if (!HexValue(text, i, 2, v)) n.Fail("expected pairs of hexadecimal digits");
    bytes.push_back(std::uint8_t(v));
  }
  return bytes;
}

acs::MouthOverlay ParseOverlay(const Node& n) {
  acs::MouthOverlay o;
  const Node shape = n.At("shape");
  if (shape.IsText()) {
    const std::string name = shape.Text();
    int found = -1;
    for (int s = 0; s <= 6; ++s) {
      if (name == MouthShapeName(acs::MouthShape(s))) found = s;
    }
    if (found < 0) shape.Fail("unknown mouth shape \"" + name + "\"");
    o.shape = acs::MouthShape(found);
  } else {
    o.shape = acs::MouthShape(shape.Int(0, kU8));
  }
  o.image_index = std::uint16_t(n.Int("image", 0, kU16));
  o.x = std::int16_t(n.Int("x", INT16_MIN, INT16_MAX, 0));
  o.y = std::int16_t(n.Int("y", INT16_MIN, INT16_MAX, 0));
  o.replaces_top_image = n.Flag("replace_top", false);
  o.mouth_x = std::uint16_t(n.Int("mouth_x", 0, kU16, 0));
  o.mouth_y = std::uint16_t(n.Int("mouth_y", 0, kU16, 0));
  o.reserved = std::uint8_t(n.Int("reserved", 0, kU8, 0));
  if (n.Has("region")) o.region = ParseHex(n.At("region"));
  return o;
}

// Durations are given in milliseconds and stored in hundredths of a second, rounded.
acs::Frame ParseFrame(const Node& n) {
  acs::Frame f;
  f.duration_cs = std::uint16_t((n.Int("duration_ms", 0, kU16 * 10, 100) + 5) / 10);
  for (std::size_t i = 0; i < n.Count("images"); ++i) {
    const Node image = n.Item("images", i);
    f.images.push_back({std::uint32_t(image.Int("image", 0, kU32)),
                        std::int16_t(image.Int("x", INT16_MIN, INT16_MAX, 0)),
                        std::int16_t(image.Int("y", INT16_MIN, INT16_MAX, 0))});
  }
  f.sound_index = std::uint16_t(n.Int("sound", 0, kU16 - 1, acs::kNoSound));
  f.exit_frame = std::int16_t(n.Int("exit_frame", -2, INT16_MAX, acs::kExitNone));
  for (std::size_t i = 0; i < n.Count("branches"); ++i) {
    const Node b = n.Item("branches", i);
    f.branches.push_back(
        {std::uint16_t(b.Int("frame", 0, kU16)), std::uint16_t(b.Int("percent", 0, 100))});
  }
  for (std::size_t i = 0; i < n.Count("mouths"); ++i) {
    f.overlays.push_back(ParseOverlay(n.Item("mouths", i)));
  }
  return f;
}

acs::TransitionType ParseTransition(const Node& n) {
  if (!n.IsText()) return acs::TransitionType(n.Int(0, kU8));
  const std::string name = n.Text();
  for (auto t : {acs::TransitionType::kReturnAnimation, acs::TransitionType::kExitBranches,
                 acs::TransitionType::kNone}) {
    if (name == TransitionName(t)) return t;
  }
  n.Fail("expected \"return\", \"exit\" or \"none\"");
}

acs::Animation ParseAnimation(const Node& n) {
  acs::Animation a;
  a.name = n.Text("name");
  a.transition =
      n.Has("transition") ? ParseTransition(n.At("transition")) : acs::TransitionType::kNone;
  a.return_animation = n.Text("return_animation", "");
  for (std::size_t i = 0; i < n.Count("frames"); ++i) {
    a.frames.push_back(ParseFrame(n.Item("frames", i)));
  }
  return a;
}

void ParseMedia(const Node& root, const fs::path& base, acs::Character& c) {
  for (std::size_t i = 0; i < root.Count("images"); ++i) {
    const Node file = root.Item("images", i);
    acs::ImageEntry entry;
    acs::IndexedPixels pixels =
        ReadPngAsIndices((base / file.Text()).string(), c.info.palette, c.info.transparent_index);
    entry.width = pixels.width;
    entry.height = pixels.height;
    entry.pixels = std::move(pixels);
    entry.region = std::vector<acs::RegionRect>{};
    c.images.push_back(std::move(entry));
  }
  for (std::size_t i = 0; i < root.Count("sounds"); ++i) {
    const Node file = root.Item("sounds", i);
    std::vector<std::uint8_t> wav = ReadBytes(base / file.Text(), file);
    acs::DecodeWav(wav, (base / file.Text()).string());  // refuse what no player could play
    c.sounds.push_back(acs::SoundEntry{std::move(wav), 0});
  }
}

}  // namespace

acs::Character CharacterFromManifest(const json& manifest, const fs::path& base) {
  const Node root(manifest, "");
  if (root.Text("format", kManifestFormat) != kManifestFormat) {
    root.At("format").Fail(std::string("expected \"") + kManifestFormat + "\"");
  }
  root.Int("version", 1, kManifestVersion, kManifestVersion);
  acs::Character c;
  c.info = ParseInfo(root, base);
  ParseMedia(root, base, c);
  for (std::size_t i = 0; i < root.Count("animations"); ++i) {
    c.animations.push_back(ParseAnimation(root.Item("animations", i)));
  }
  return c;
}

acs::Character LoadCharacterFolder(const fs::path& folder_or_manifest) {
  const fs::path manifest_path = fs::is_directory(folder_or_manifest)
                                     ? folder_or_manifest / kManifestName
                                     : folder_or_manifest;
  std::ifstream file(manifest_path);
  if (!file) {
    throw RuntimeError(err::kFileNotFound, "no manifest found: " + manifest_path.string());
  }
  json manifest;
  try {
    manifest = json::parse(file);
  } catch (const json::exception& e) {
    throw RuntimeError(acs::kInvalidCharacterFile, manifest_path.string() + ": " + e.what());
  }
  return CharacterFromManifest(manifest, manifest_path.parent_path());
}

std::vector<std::string> AuthoringWarnings(const acs::Character& c) {
  std::vector<std::string> warnings;
  for (const acs::State& state : c.info.states) {
    for (const std::string& name : state.animations) {
      if (!c.FindAnimation(name)) {
        warnings.push_back("state " + state.name + " names a missing animation " + name);
      }
    }
  }
  for (const acs::Animation& a : c.animations) {
    if (a.transition == acs::TransitionType::kReturnAnimation && !a.return_animation.empty() &&
        !c.FindAnimation(a.return_animation)) {
      warnings.push_back("animation " + a.name + " returns through a missing animation \"" +
                         a.return_animation + "\"");
    }
  }
  return warnings;
}

}  // namespace rirerazo::chartool
