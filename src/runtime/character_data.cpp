#include "runtime/character_data.h"

#include <array>
#include <utility>

namespace rirerazo::runtime {

namespace {

constexpr std::array<std::string_view, std::size_t(StateId::kCount)> kStateNames = {
    "SHOWING",        "HIDING",       "SPEAKING",      "MOVINGLEFT",
    "MOVINGRIGHT",    "MOVINGUP",     "MOVINGDOWN",    "GESTURINGLEFT",
    "GESTURINGRIGHT", "GESTURINGUP",  "GESTURINGDOWN", "IDLINGLEVEL1",
    "IDLINGLEVEL2",   "IDLINGLEVEL3", "LISTENING",     "HEARING"};

std::uint32_t ColourRef(const acs::Color& colour) {
  return std::uint32_t(colour.red) | (std::uint32_t(colour.green) << 8) |
         (std::uint32_t(colour.blue) << 16);
}

FrameTiming ReduceFrame(const acs::Frame& frame, std::size_t frame_count) {
  FrameTiming timing;
  timing.duration_ms = frame.DurationMs();
  timing.has_images = !frame.images.empty();
  timing.has_mouths = !frame.overlays.empty();
  if (frame.exit_frame == kExitStop ||
      (frame.exit_frame >= 0 && std::size_t(frame.exit_frame) < frame_count)) {
    timing.exit_frame = frame.exit_frame;
  }
  for (const acs::Branch& branch : frame.branches) {
    if (branch.target_frame < frame_count && branch.probability_percent > 0) {
      timing.branches.push_back(branch);
    }
  }
  return timing;
}

AnimationTiming ReduceAnimation(const acs::Animation& animation) {
  AnimationTiming timing;
  timing.name = animation.name;
  timing.upper_name = UpperAscii(animation.name);
  switch (animation.transition) {
    case acs::TransitionType::kReturnAnimation:
      timing.transition = Transition::kReturnAnimation;
      break;
    case acs::TransitionType::kExitBranches:
      timing.transition = Transition::kExitBranches;
      break;
    default:
      timing.transition = Transition::kNone;
  }
  timing.frames.reserve(animation.frames.size());
  for (const acs::Frame& frame : animation.frames) {
    timing.frames.push_back(ReduceFrame(frame, animation.frames.size()));
  }
  timing.reaches_end = FramesReachingEnd(timing.frames);
  return timing;
}

BalloonDefaults ReduceBalloon(const acs::CharacterInfo& info) {
  BalloonDefaults balloon;
  balloon.enabled = (info.flags & acs::kFlagBalloonEnabled) != 0 && info.balloon.has_value();
  balloon.size_to_text = (info.flags & acs::kFlagBalloonSizeToText) != 0;
  balloon.auto_hide = (info.flags & acs::kFlagBalloonNoAutoHide) == 0;
  balloon.auto_pace = (info.flags & acs::kFlagBalloonNoAutoPace) == 0;
  if (!info.balloon) return balloon;
  const acs::BalloonInfo& file = *info.balloon;
  if (file.lines > 0) balloon.lines = file.lines;
  if (file.chars_per_line > 0) balloon.chars_per_line = file.chars_per_line;
  balloon.text_colour = ColourRef(file.text_color);
  balloon.back_colour = ColourRef(file.background_color);
  balloon.border_colour = ColourRef(file.border_color);
  if (!file.font_name.empty()) balloon.font_name = file.font_name;
  // A negative LOGFONT height is the glyph height in pixels at 96 dots per inch.
  std::int64_t height = file.font_height < 0 ? -std::int64_t(file.font_height) : file.font_height;
  if (height > 0 && height < 1000) balloon.font_size = std::int32_t((height * 72 + 48) / 96);
  return balloon;
}

VoiceDefaults ReduceVoice(const acs::CharacterInfo& info) {
  VoiceDefaults voice;
  if (!info.voice) return voice;
  if (info.voice->extra && info.voice->extra->language_id != 0) {
    voice.language_id = info.voice->extra->language_id;
  }
  if (info.voice->speed != acs::kDefaultVoiceSpeed && info.voice->speed <= 1000) {
    voice.words_per_minute = std::int32_t(info.voice->speed);
  }
  if (info.voice->pitch != acs::kDefaultVoicePitch) voice.pitch = info.voice->pitch;
  if (info.voice->mode_id != acs::Guid{}) voice.mode_id = info.voice->mode_id.ToString();
  return voice;
}

const acs::LocalizedInfo* EnglishOrFirst(const std::vector<acs::LocalizedInfo>& entries) {
  for (const acs::LocalizedInfo& entry : entries) {
    if ((entry.language_id & 0x3FF) == 0x09) return &entry;
  }
  return entries.empty() ? nullptr : &entries.front();
}

}  // namespace

// A frame reaches the end when falling through past the last frame is possible from it,
// directly or through frames it can branch or fall through to. Iterated to a fixed point; the
// graph is tiny (one node per frame).
std::vector<bool> FramesReachingEnd(const std::vector<FrameTiming>& frames) {
  const std::size_t count = frames.size();
  std::vector<bool> reaches(count, false);
  for (bool changed = true; changed;) {
    changed = false;
    for (std::size_t i = count; i-- > 0;) {
      if (reaches[i]) continue;
      int total = 0;
      bool via_branch = false;
      for (const acs::Branch& branch : frames[i].branches) {
        total += branch.probability_percent;
        via_branch = via_branch || reaches[branch.target_frame];
      }
      bool falls_through = total < 100 && (i + 1 >= count || reaches[i + 1]);
      if (falls_through || via_branch) {
        reaches[i] = true;
        changed = true;
      }
    }
  }
  return reaches;
}

int CharacterData::FindAnimation(std::string_view name) const {
  auto it = by_upper_name_.find(UpperAscii(name));
  return it == by_upper_name_.end() ? -1 : it->second;
}

std::shared_ptr<const CharacterData> BuildCharacterData(
    std::shared_ptr<const acs::Character> file) {
  auto data = std::make_shared<CharacterData>();
  const acs::CharacterInfo& info = file->info;
  if (const acs::LocalizedInfo* text = EnglishOrFirst(info.localized)) {
    data->name = text->name;
    data->description = text->description;
  }
  data->width_px = info.width;
  data->height_px = info.height;
  data->animations.reserve(file->animations.size());
  for (const acs::Animation& animation : file->animations) {
    data->by_upper_name_.emplace(UpperAscii(animation.name), int(data->animations.size()));
    data->animations.push_back(ReduceAnimation(animation));
  }
  for (std::size_t i = 0; i < file->animations.size(); ++i) {
    const acs::Animation& animation = file->animations[i];
    if (animation.transition != acs::TransitionType::kReturnAnimation) continue;
    data->animations[i].return_index = data->FindAnimation(animation.return_animation);
  }
  data->states.resize(std::size_t(StateId::kCount));
  for (const acs::State& state : info.states) {
    for (std::size_t id = 0; id < kStateNames.size(); ++id) {
      if (!EqualsIgnoreCase(state.name, kStateNames[id])) continue;
      for (const std::string& name : state.animations) {
        int index = data->FindAnimation(name);
        if (index >= 0) data->states[id].push_back(index);
      }
    }
  }
  data->balloon = ReduceBalloon(info);
  data->voice = ReduceVoice(info);
  data->file = std::move(file);
  return data;
}

}  // namespace rirerazo::runtime
