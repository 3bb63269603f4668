// The in-memory model of a character file (.acs) and the reader entry points.
//
// The model is plain data: the character info, the animations, and one entry per image and per
// sound. Image pixels and sound data can come from two sources:
//   - a range of the file bytes the model was read from (kept alive by Character::file_bytes),
//     decoded on first request and cached; or
//   - data already in memory (indices or WAV bytes), which is how a writer or a test builds a
//     model without a file.
// Every accessor that decodes (ImagePixels, ImageRegion, ComposeFrame, DecodeSound) works for
// both sources, so a writer reads pixels and sounds the same way whatever the model's origin.
//
// Strings are UTF-8 (converted from the file's UTF-16; an unpaired surrogate becomes U+FFFD).
//
// Errors: a file that cannot be opened raises RuntimeError 53 (file not found) or 75 (path/file
// access error); a file that is not a usable character file, or whose data is truncated or
// corrupt, raises RuntimeError kInvalidCharacterFile (321, "invalid file format") with a
// description naming the block and the file offset. Lazy decoding reports corruption the same
// way when the image or sound is first asked for. Asking for an image, sound or frame that does
// not exist raises 9 (subscript out of range).
//
// Limits that keep hostile files harmless: counts must fit in the bytes left in their block,
// blocks named by a directory may not add up to more than the file, a declared decompressed
// size must be reachable from the compressed length, images and the character's frame hold at
// most 16M pixels, and files over 1 GiB are refused.
//
// Threading: a Character is not safe for concurrent use; the decode caches are unsynchronised.
// Use one thread at a time (the player's thread).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace rirerazo::acs {

// The error number for a corrupt, truncated or unsupported character file.
inline constexpr long kInvalidCharacterFile = 321;

// A 128-bit identifier in the usual in-memory layout.
struct Guid {
  std::uint32_t data1 = 0;
  std::uint16_t data2 = 0;
  std::uint16_t data3 = 0;
  std::array<std::uint8_t, 8> data4{};

  // "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", upper-case hex.
  std::string ToString() const;
  friend bool operator==(const Guid&, const Guid&) = default;
};

// An 8-bit colour. Used for palette entries and balloon colours alike; the file's byte orders
// (B,G,R for the palette, R,G,B for balloon colours) are handled by the reader and writer.
struct Color {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  friend bool operator==(const Color&, const Color&) = default;
};

// Character flag bits. A writer sets exactly one of the voice pair and one of the balloon pair.
inline constexpr std::uint32_t kFlagVoiceDisabled = 0x00000010;
inline constexpr std::uint32_t kFlagVoiceEnabled = 0x00000020;  // voice info present
inline constexpr std::uint32_t kFlagBalloonDisabled = 0x00000100;
inline constexpr std::uint32_t kFlagBalloonEnabled = 0x00000200;  // balloon info present
inline constexpr std::uint32_t kFlagBalloonSizeToText = 0x00010000;
inline constexpr std::uint32_t kFlagBalloonNoAutoHide = 0x00020000;
inline constexpr std::uint32_t kFlagBalloonNoAutoPace = 0x00040000;
inline constexpr std::uint32_t kFlagStandardAnimationSet = 0x00100000;

// The optional second half of the voice info.
struct VoiceExtra {
  std::uint16_t language_id = 0x0409;
  std::string dialect;
  std::uint16_t gender = 0;  // 1 female, 2 male
  std::uint16_t age = 0;
  std::string style;
  friend bool operator==(const VoiceExtra&, const VoiceExtra&) = default;
};

inline constexpr std::uint32_t kDefaultVoiceSpeed = 0xFFFFFFFF;
inline constexpr std::uint16_t kDefaultVoicePitch = 0xFFFF;

struct VoiceInfo {
  Guid engine_id;
  Guid mode_id;
  std::uint32_t speed = kDefaultVoiceSpeed;
  std::uint16_t pitch = kDefaultVoicePitch;
  std::optional<VoiceExtra> extra;
  friend bool operator==(const VoiceInfo&, const VoiceInfo&) = default;
};

struct BalloonInfo {
  std::uint8_t lines = 2;
  std::uint8_t chars_per_line = 32;
  Color text_color;
  Color background_color{0xFF, 0xFF, 0xE1};
  Color border_color;
  std::string font_name;
  std::int32_t font_height = -13;  // negative: character height in pixels
  std::uint32_t font_weight = 400;
  std::uint8_t italic = 0;
  std::uint8_t reserved = 0;  // the byte after italic; kept for round trips
  friend bool operator==(const BalloonInfo&, const BalloonInfo&) = default;
};

// A tray icon as two packed DIBs (header, colour table, bottom-up rows): the 1-bpp AND mask
// and the colour image.
struct TrayIcon {
  std::vector<std::uint8_t> mask_dib;
  std::vector<std::uint8_t> color_dib;
  friend bool operator==(const TrayIcon&, const TrayIcon&) = default;
};

// A state (e.g. "IDLINGLEVEL1") and the animations the runtime picks from at random.
struct State {
  std::string name;
  std::vector<std::string> animations;
  friend bool operator==(const State&, const State&) = default;
};

// Name and description in one language. language_id is often a primary language only
// (0x0009 for English).
struct LocalizedInfo {
  std::uint16_t language_id = 0;
  std::string name;
  std::string description;
  std::string extra_data;  // "^^"-separated texts
  friend bool operator==(const LocalizedInfo&, const LocalizedInfo&) = default;
};

struct CharacterInfo {
  std::uint16_t minor_version = 1;
  std::uint16_t major_version = 2;
  Guid guid;
  std::uint16_t width = 0;
  std::uint16_t height = 0;
  std::uint8_t transparent_index = 0;
  std::uint32_t flags = 0;
  std::uint16_t animation_set_major = 2;
  std::uint16_t animation_set_minor = 0;
  std::optional<VoiceInfo> voice;      // present in the file only with kFlagVoiceEnabled
  std::optional<BalloonInfo> balloon;  // present in the file only with kFlagBalloonEnabled
  std::vector<Color> palette;          // may hold fewer than 256 entries, or none
  std::optional<TrayIcon> tray_icon;
  std::vector<State> states;
  std::vector<LocalizedInfo> localized;

  // The entry for language_id compared by primary language (low 10 bits); else English;
  // else the first entry; nullptr when there is none.
  const LocalizedInfo* Localized(std::uint16_t language_id) const;
};

// ---------------------------------------------------------------------------------------------
// Animations

enum class TransitionType : std::uint8_t {
  kReturnAnimation = 0,  // play return_animation when ending
  kExitBranches = 1,     // follow exit frames when ending
  kNone = 2,             // already ends in a neutral pose
};

inline constexpr std::uint16_t kNoSound = 0xFFFF;
inline constexpr std::int16_t kExitStop = -1;  // when ended here, stop at once
inline constexpr std::int16_t kExitNone = -2;  // no exit target: continue normal sequencing

// One image drawn in a frame; x and y place its top-left corner in the frame (y down).
struct FrameImage {
  std::uint32_t image_index = 0;
  std::int16_t x = 0;
  std::int16_t y = 0;
  friend bool operator==(const FrameImage&, const FrameImage&) = default;
};

struct Branch {
  std::uint16_t target_frame = 0;
  std::uint16_t probability_percent = 0;
  friend bool operator==(const Branch&, const Branch&) = default;
};

enum class MouthShape : std::uint8_t {
  kClosed = 0,
  kWide1 = 1,
  kWide2 = 2,
  kWide3 = 3,
  kWide4 = 4,
  kMedium = 5,
  kNarrow = 6,
};

// A lip-sync image shown over a speaking frame.
struct MouthOverlay {
  MouthShape shape = MouthShape::kClosed;
  bool replaces_top_image = false;  // true: drawn instead of the frame's image 0
  std::uint16_t image_index = 0;
  std::uint8_t reserved = 0;         // kept for round trips
  std::vector<std::uint8_t> region;  // raw region data; empty in every known file
  std::int16_t x = 0;
  std::int16_t y = 0;
  std::uint16_t mouth_x = 0;  // two values of unclear meaning (they look like the mouth's
  std::uint16_t mouth_y = 0;  // position); not used for drawing, copied through
  friend bool operator==(const MouthOverlay&, const MouthOverlay&) = default;
};

struct Frame {
  std::vector<FrameImage> images;  // image 0 is drawn on top
  std::uint16_t sound_index = kNoSound;
  std::uint16_t duration_cs = 0;  // hundredths of a second
  std::int16_t exit_frame = kExitNone;
  std::vector<Branch> branches;
  std::vector<MouthOverlay> overlays;

  int DurationMs() const { return duration_cs * 10; }
  // The overlay for a mouth shape, looked up by shape (not by position); nullptr if none.
  const MouthOverlay* FindOverlay(MouthShape shape) const;
  friend bool operator==(const Frame&, const Frame&) = default;
};

struct Animation {
  std::string name;  // as in the directory (mixed case); the block stores it upper-cased
  TransitionType transition = TransitionType::kNone;
  std::string return_animation;  // only meaningful with kReturnAnimation
  std::vector<Frame> frames;     // never empty in a file that loads
  friend bool operator==(const Animation&, const Animation&) = default;
};

// ---------------------------------------------------------------------------------------------
// Images and sounds

// A range of the character's file bytes.
struct FileRange {
  std::uint32_t offset = 0;
  std::uint32_t size = 0;
  friend bool operator==(const FileRange&, const FileRange&) = default;
};

// 8-bit palette indices, rows top-down, exactly width bytes per row (no padding).
struct IndexedPixels {
  std::uint16_t width = 0;
  std::uint16_t height = 0;
  std::vector<std::uint8_t> indices;
  std::uint8_t At(int x, int y) const { return indices[std::size_t(y) * width + std::size_t(x)]; }
  friend bool operator==(const IndexedPixels&, const IndexedPixels&) = default;
};

// Pixels as stored in the file: raw or compressed bottom-up rows padded to 4 bytes.
struct StoredPixels {
  FileRange data;
  bool compressed = false;
};

// One rectangle of an image's opaque area; top-down, right and bottom exclusive.
struct RegionRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
  friend bool operator==(const RegionRect&, const RegionRect&) = default;
};

// A region as stored in the file. compressed_size 0 means stored raw (data.size bytes).
struct StoredRegion {
  FileRange data;
  std::uint32_t compressed_size = 0;
  std::uint32_t uncompressed_size = 0;
};

struct ImageEntry {
  std::uint16_t width = 0;
  std::uint16_t height = 0;
  std::variant<StoredPixels, IndexedPixels> pixels;
  // Rectangles given in memory; empty means "compute from the pixels" (a writer does that).
  std::variant<StoredRegion, std::vector<RegionRect>> region;
  std::uint32_t checksum = 0;  // unknown algorithm; kept for information only
};

struct SoundEntry {
  std::variant<FileRange, std::vector<std::uint8_t>> wav;  // a complete RIFF/WAVE file
  std::uint32_t checksum = 0;
};

// Decoded audio: signed 16-bit samples, interleaved when there are several channels.
struct PcmSound {
  std::uint32_t sample_rate_hz = 0;
  std::uint16_t channels = 1;
  std::vector<std::int16_t> samples;
  std::size_t FrameCount() const { return channels ? samples.size() / channels : 0; }
};

// A composed frame: rows top-down, 4 bytes per pixel R,G,B,A. Transparent pixels are 0,0,0,0;
// every other pixel has alpha 255.
struct RgbaImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgba;
};

// ---------------------------------------------------------------------------------------------
// Names

// Animation and state names compare without regard to ASCII case; files store them
// upper-cased, which UpperAscii gives.
std::string UpperAscii(std::string_view text);
bool EqualsIgnoreCase(std::string_view a, std::string_view b);

// ---------------------------------------------------------------------------------------------
// The character

struct Character {
  CharacterInfo info;
  std::vector<Animation> animations;
  std::vector<ImageEntry> images;
  std::vector<SoundEntry> sounds;
  // The bytes StoredPixels, StoredRegion and FileRange refer to; null for a model built
  // entirely in memory.
  std::shared_ptr<const std::vector<std::uint8_t>> file_bytes;
  // Names the file in error messages (the file name when read from a path).
  std::string source_name;

  // Case-insensitive (ASCII) lookups; nullptr when absent.
  const Animation* FindAnimation(std::string_view name) const;
  const State* FindState(std::string_view name) const;
  // The animation names of a state (case-insensitive); empty when the state is absent.
  std::vector<std::string> StateAnimations(std::string_view state_name) const;
  // The display name and description for a language (see CharacterInfo::Localized); empty
  // strings when the file has no localised info.
  std::string Name(std::uint16_t language_id = 0x0009) const;
  std::string Description(std::uint16_t language_id = 0x0009) const;

  // The palette indices of an image, decoded on first request and cached. The reference stays
  // valid for the life of this object (until ForgetDecoded). Throws for a bad index or data.
  const IndexedPixels& ImagePixels(std::size_t image_index) const;
  // The image's region rectangles: as stored, or computed from the pixels when not given.
  std::vector<RegionRect> ImageRegion(std::size_t image_index) const;
  // Total bytes of decoded indices currently cached.
  std::size_t DecodedBytes() const;
  // Drops the caches; call after changing images in place.
  void ForgetDecoded() const;

  // Composes a frame at the character's width and height: images drawn last to first, pixels
  // equal to the transparent index skipped. With a mouth shape, that overlay (if the frame has
  // one) is drawn on top, or replaces image 0 when it says so.
  RgbaImage ComposeFrame(const Frame& frame, std::optional<MouthShape> mouth = {}) const;
  RgbaImage ComposeFrame(const Animation& animation, std::size_t frame_index,
                         std::optional<MouthShape> mouth = {}) const;

  // The sound's complete WAV file bytes.
  std::span<const std::uint8_t> SoundBytes(std::size_t sound_index) const;
  // The sound decoded to 16-bit PCM (from 8/16-bit PCM or MS-ADPCM).
  PcmSound DecodeSound(std::size_t sound_index) const;

 private:
  mutable std::vector<std::shared_ptr<const IndexedPixels>> pixel_cache_;
};

// Decodes a complete RIFF/WAVE file (8/16-bit PCM or MS-ADPCM) to 16-bit PCM; the length is
// the fact chunk's sample count when there is one. Throws kInvalidCharacterFile naming
// source_name for anything malformed or unsupported.
PcmSound DecodeWav(std::span<const std::uint8_t> wav, std::string_view source_name = "");

// The tray icon as RGBA: the colour image where the AND mask is clear, transparent where it is
// set. Reads 1, 4, 8, 24 and 32-bit DIBs; throws kInvalidCharacterFile for anything malformed.
RgbaImage DecodeTrayIcon(const TrayIcon& icon);

// The rectangles covering exactly the pixels whose index differs from transparent_index:
// horizontal runs, merged downwards while consecutive rows have the same runs.
std::vector<RegionRect> RegionFromPixels(const IndexedPixels& pixels,
                                         std::uint8_t transparent_index);

// Reads a character file's directories and character info; images and sounds stay encoded in
// the kept file bytes until asked for. source_name appears in error messages.
Character ReadCharacter(std::vector<std::uint8_t> bytes, std::string_view source_name = "");
Character ReadCharacterFile(const std::string& path);

// The animation names of a character file, read from its header and animation directory
// alone: the rest of the file (images, sounds, the animations' frames) is not read. Raises
// the same errors as ReadCharacterFile for a file that cannot be opened or is no character.
std::vector<std::string> ReadAnimationNames(const std::string& path);

}  // namespace rirerazo::acs
