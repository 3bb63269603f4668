// Rira's animations and states. Each animation is a list of poses with durations, built in
// one of three shapes:
//   Simple  - plays once and ends in a neutral pose (transition "none");
//   Gesture - goes out to a pose and holds it; ending it winds back through the same frames
//             (exit branches), the way pointing and explaining work;
//   Looping - an intro, a loop repeated until the animation is ended, and an outro reached
//             through the exit frames (or, with a return animation, nothing).
// The last visible frame carries the seven mouth overlays when its head is at rest, so Rira
// can speak at the end of any such animation.
#include "rira_model.h"

namespace rira {
namespace {

namespace acs = rirerazo::acs;
using acs::TransitionType;

struct Step {
  Pose pose;
  std::uint16_t duration_cs = 10;
};

class Animator {
 public:
  explicit Animator(ModelBuilder& builder) : builder_(builder) {}

  void Simple(const std::string& name, const std::vector<Step>& steps, int sound_frame = -1,
              std::uint16_t sound = acs::kNoSound) {
    acs::Animation animation{name, TransitionType::kNone, "", Frames(steps)};
    if (sound_frame >= 0) animation.frames[sound_frame].sound_index = sound;
    Speakable(animation.frames.back(), steps.back().pose);
    builder_.AddAnimation(std::move(animation));
  }

  // Frame i winds back to frame i - 1 when ended; frame 0 to the closing empty frame.
  void Gesture(const std::string& name, const std::vector<Step>& steps) {
    acs::Animation animation{name, TransitionType::kExitBranches, "", Frames(steps)};
    for (std::size_t i = 0; i < animation.frames.size(); ++i) {
      animation.frames[i].exit_frame = static_cast<std::int16_t>(i == 0 ? steps.size() : i - 1);
    }
    Speakable(animation.frames.back(), steps.back().pose);
    animation.frames.push_back(acs::Frame{});  // empty and instant: the end of the way back
    builder_.AddAnimation(std::move(animation));
  }

  // With an empty outro the animation names `return_animation` instead of exit frames.
  void Looping(const std::string& name, const std::vector<Step>& intro,
               const std::vector<Step>& loop, const std::vector<Step>& outro,
               const std::string& return_animation = "") {
    acs::Animation animation{name, TransitionType::kExitBranches, "", Frames(intro)};
    const auto loop_start = static_cast<std::uint16_t>(animation.frames.size());
    for (acs::Frame& frame : Frames(loop)) animation.frames.push_back(std::move(frame));
    animation.frames.back().branches.push_back({loop_start, 100});
    const auto outro_start = static_cast<std::int16_t>(animation.frames.size());
    for (acs::Frame& frame : animation.frames) {
      frame.exit_frame = outro.empty() ? acs::kExitStop : outro_start;
    }
    for (acs::Frame& frame : Frames(outro)) animation.frames.push_back(std::move(frame));
    if (outro.empty()) {
      animation.transition = TransitionType::kReturnAnimation;
      animation.return_animation = return_animation;
    } else {
      Speakable(animation.frames.back(), outro.back().pose);
    }
    builder_.AddAnimation(std::move(animation));
  }

 private:
  std::vector<acs::Frame> Frames(const std::vector<Step>& steps) {
    std::vector<acs::Frame> frames;
    for (const Step& step : steps)
      frames.push_back(builder_.PoseFrame(step.pose, step.duration_cs));
    return frames;
  }

  void Speakable(acs::Frame& frame, const Pose& pose) {
    if (pose.HeadAtRest() && pose.mouth == Mouth::kSmile) frame.overlays = builder_.MouthOverlays();
  }

  ModelBuilder& builder_;
};

const Pose kRest{};

Pose Arms(double left_deg, double right_deg, Pose pose = kRest) {
  pose.left_arm_deg = left_deg;
  pose.right_arm_deg = right_deg;
  return pose;
}

Pose Look(double x, double y, Pose pose = kRest) {
  pose.look_x = x;
  pose.look_y = y;
  return pose;
}

Pose Face(Eyes eyes, Mouth mouth, Pose pose = kRest) {
  pose.eyes = eyes;
  pose.mouth = mouth;
  return pose;
}

Pose Shifted(double dx, double dy, Pose pose = kRest) {
  pose.dx = dx;
  pose.dy = dy;
  return pose;
}

Pose WithExtra(Extra extra, int step, Pose pose = kRest) {
  pose.extra = extra;
  pose.extra_step = step;
  return pose;
}

Pose Scaled(double scale) {
  Pose pose;
  pose.scale = scale;
  return pose;
}

Pose Leaf(double deg, Pose pose = kRest) {
  pose.leaf_deg = deg;
  return pose;
}

Pose Squashed(double squash, Pose pose = kRest) {
  pose.squash = squash;
  return pose;
}

// Appearing, leaving, speaking, listening and resting: what the runtime plays by itself.
void AddStateAnimations(Animator& a, std::uint16_t pop) {
  a.Simple("Show", {{Scaled(0.25), 6}, {Scaled(0.5), 6}, {Scaled(0.8), 6}, {kRest, 10}}, 0, pop);
  a.Simple("Hide", {{kRest, 6}, {Scaled(0.8), 6}, {Scaled(0.5), 6}, {Scaled(0.25), 6}});
  a.Simple("RestPose", {{kRest, 10}});
  a.Simple("Speak", {{kRest, 10}});
  a.Gesture("Listen",
            {{Arms(20, 60, Look(0.5, 0)), 10}, {Arms(20, 100, Look(1, 0, Leaf(10))), 10}});
  a.Looping("Hearing_1", {{Look(1, 0, Leaf(8)), 10}},
            {{Look(1, -0.5, Leaf(14)), 20}, {Look(1, 0.3, Leaf(4)), 20}}, {{kRest, 10}});
  a.Simple("Blink", {{Face(Eyes::kHalf, Mouth::kSmile), 4},
                     {Face(Eyes::kClosed, Mouth::kSmile), 6},
                     {Face(Eyes::kHalf, Mouth::kSmile), 4},
                     {kRest, 10}});
}

// Walking: a bobbing loop looking the way Rira goes; ending it lands in the resting pose.
void AddMoves(Animator& a) {
  struct Way {
    const char* name;
    double look_x, look_y;
  };
  for (const Way& way : {Way{"MoveLeft", -1, 0}, Way{"MoveRight", 1, 0}, Way{"MoveUp", 0, -1},
                         Way{"MoveDown", 0, 1}}) {
    const Pose look = Look(way.look_x, way.look_y);
    a.Looping(way.name, {{look, 6}},
              {{Arms(45, 5, Shifted(0, -4, Leaf(-12, look))), 8},
               {Arms(20, 20, look), 8},
               {Arms(5, 45, Shifted(0, -4, Leaf(12, look))), 8},
               {Arms(20, 20, look), 8}},
              {{kRest, 10}});
  }
}

// Pointing: an arm goes out in steps while the eyes follow.
void AddGestures(Animator& a) {
  a.Gesture("GestureRight", {{Arms(20, 55, Look(0.5, 0)), 8}, {Arms(20, 95, Look(1, 0)), 10}});
  a.Gesture("GestureLeft", {{Arms(55, 20, Look(-0.5, 0)), 8}, {Arms(95, 20, Look(-1, 0)), 10}});
  a.Gesture("GestureUp", {{Arms(20, 100, Look(0, -0.5)), 8}, {Arms(20, 170, Look(0.3, -1)), 10}});
  a.Gesture("GestureDown", {{Arms(20, 35, Look(0, 0.5)), 8}, {Arms(20, 50, Look(0.3, 1)), 10}});
}

void AddIdles(Animator& a) {
  a.Simple("Idle1_1", {{Look(-1, 0), 30}, {kRest, 10}, {Look(1, 0), 30}, {kRest, 10}});
  a.Simple("Idle1_2", {{Leaf(15), 12}, {Leaf(-15), 12}, {Leaf(10), 12}, {kRest, 10}});
  a.Simple("Idle1_3", {{WithExtra(Extra::kNote, 0, Face(Eyes::kHappy, Mouth::kSmile)), 20},
                       {WithExtra(Extra::kNote, 1, Face(Eyes::kHappy, Mouth::kSmile)), 20},
                       {kRest, 10}});
  a.Simple("Idle2_1", {{Arms(120, 120, Face(Eyes::kHalf, Mouth::kSmall)), 12},
                       {Arms(170, 170, Face(Eyes::kClosed, Mouth::kOpen)), 40},
                       {Arms(120, 120, Face(Eyes::kHalf, Mouth::kSmall)), 12},
                       {kRest, 10}});
  a.Simple("Idle2_2", {{Look(-0.7, -1), 25}, {Look(0.7, -1), 25}, {kRest, 10}});
  const Pose asleep = Face(Eyes::kClosed, Mouth::kSmall, Leaf(-8));
  a.Looping("Idle3_1", {{Face(Eyes::kHalf, Mouth::kSmile), 20}},
            {{WithExtra(Extra::kSleep, 0, asleep), 40},
             {WithExtra(Extra::kSleep, 1, asleep), 40},
             {WithExtra(Extra::kSleep, 2, asleep), 40}},
            {{Face(Eyes::kHalf, Mouth::kSmile), 10}, {kRest, 10}});
  a.Simple("Idle3_2", {{WithExtra(Extra::kThought, 0, Look(0.6, -1)), 30},
                       {WithExtra(Extra::kThought, 2, Look(0.6, -1)), 60},
                       {kRest, 10}});
}

// The animations scripts ask for by name.
void AddActions(Animator& a, std::uint16_t chime) {
  a.Simple("Greet", {{Arms(20, 120, Face(Eyes::kOpen, Mouth::kGrin)), 10},
                     {Arms(20, 160, Face(Eyes::kHappy, Mouth::kGrin)), 12},
                     {Arms(20, 125, Face(Eyes::kHappy, Mouth::kGrin)), 12},
                     {Arms(20, 160, Face(Eyes::kHappy, Mouth::kGrin)), 12},
                     {kRest, 10}});
  const Pose hello = Face(Eyes::kOpen, Mouth::kGrin);
  a.Simple("Wave", {{Arms(20, 140, hello), 10},
                    {Arms(20, 175, hello), 10},
                    {Arms(20, 135, hello), 10},
                    {Arms(20, 175, hello), 10},
                    {Arms(20, 135, hello), 10},
                    {kRest, 10}});
  a.Gesture("Explain", {{Arms(45, 45), 8}, {Arms(80, 80), 10}});
  const Pose musing = Look(-0.6, -1, Arms(20, 150));
  a.Gesture("Think", {{Arms(20, 110, Look(-0.3, -0.5)), 8},
                      {WithExtra(Extra::kThought, 0, musing), 10},
                      {WithExtra(Extra::kThought, 1, musing), 10},
                      {WithExtra(Extra::kThought, 2, musing), 20}});
  const Pose busy = Face(Eyes::kHalf, Mouth::kFlat, Look(0, 1));
  a.Looping("Processing", {{busy, 10}},
            {{Leaf(25, busy), 8}, {Leaf(0, busy), 8}, {Leaf(-25, busy), 8}, {Leaf(0, busy), 8}}, {},
            "ProcessingReturn");
  a.Simple("ProcessingReturn", {{Face(Eyes::kOpen, Mouth::kFlat), 8}, {kRest, 10}});
  const Pose cheer = Arms(170, 170, Face(Eyes::kHappy, Mouth::kGrin));
  a.Simple("Congratulate",
           {{Squashed(0.12, Face(Eyes::kHappy, Mouth::kGrin)), 8},
            {WithExtra(Extra::kSparkles, 0, Squashed(-0.08, Shifted(0, -12, cheer))), 10},
            {WithExtra(Extra::kSparkles, 1, Shifted(0, -16, cheer)), 12},
            {WithExtra(Extra::kSparkles, 0, Shifted(0, -8, cheer)), 10},
            {Squashed(0.1, Face(Eyes::kHappy, Mouth::kGrin)), 8},
            {WithExtra(Extra::kSparkles, 1, cheer), 30},
            {kRest, 10}},
           1, chime);
  const Pose startled =
      WithExtra(Extra::kExclaim, 0, Arms(70, 70, Face(Eyes::kWide, Mouth::kOpen)));
  a.Simple("Surprised", {{Shifted(0, -5, startled), 8},
                         {startled, 40},
                         {Face(Eyes::kWide, Mouth::kSmile), 10},
                         {kRest, 10}});
}

// Further moods, drawn from the same parts.
void AddMoods(Animator& a) {
  a.Simple(
      "Acknowledge",
      {{Shifted(0, 3, Look(0, 1)), 10}, {kRest, 8}, {Shifted(0, 3, Look(0, 1)), 10}, {kRest, 10}});
  a.Simple("Pleased", {{Face(Eyes::kHappy, Mouth::kGrin), 40}, {kRest, 10}});
  a.Simple("Sad", {{Arms(5, 5, Face(Eyes::kHalf, Mouth::kFrown, Leaf(-20, Look(0, 1)))), 60},
                   {kRest, 10}});
  a.Simple("Confused", {{WithExtra(Extra::kQuestion, 0,
                                   Arms(20, 150, Face(Eyes::kOpen, Mouth::kFlat, Look(-0.6, -1)))),
                         50},
                        {kRest, 10}});
  a.Simple("Decline", {{Shifted(-3, 0, Face(Eyes::kOpen, Mouth::kFlat)), 8},
                       {Shifted(3, 0, Face(Eyes::kOpen, Mouth::kFlat)), 8},
                       {Shifted(-3, 0, Face(Eyes::kOpen, Mouth::kFlat)), 8},
                       {kRest, 10}});
  a.Simple("Alert",
           {{WithExtra(Extra::kExclaim, 0, Arms(40, 40, Face(Eyes::kWide, Mouth::kSmall))), 40},
            {kRest, 10}});
  a.Simple("GetAttention",
           {{WithExtra(Extra::kExclaim, 0, Arms(160, 160, Face(Eyes::kWide, Mouth::kGrin))), 12},
            {Arms(120, 120, Face(Eyes::kWide, Mouth::kGrin)), 12},
            {WithExtra(Extra::kExclaim, 0, Arms(160, 160, Face(Eyes::kWide, Mouth::kGrin))), 12},
            {kRest, 10}});
  a.Simple("Announce", {{Arms(150, 150, Face(Eyes::kOpen, Mouth::kGrin)), 30}, {kRest, 10}});
  a.Gesture("Suggest",
            {{Arms(20, 120), 8},
             {WithExtra(Extra::kSparkles, 0, Arms(20, 165, Face(Eyes::kOpen, Mouth::kGrin))), 20}});
  a.Simple("Uncertain", {{Face(Eyes::kHalf, Mouth::kFlat, Look(0.8, 0.3)), 40}, {kRest, 10}});
  a.Simple("Search", {{Look(-1, 0.6), 20}, {Look(1, 0.6), 20}, {Look(0, 1), 20}, {kRest, 10}});
}

void AddStates(acs::CharacterInfo& info) {
  info.states = {
      {"Showing", {"Show"}},
      {"Hiding", {"Hide"}},
      {"Speaking", {"Speak"}},
      {"Listening", {"Listen"}},
      {"Hearing", {"Hearing_1"}},
      {"IdlingLevel1", {"Blink", "Idle1_1", "Idle1_2", "Idle1_3"}},
      {"IdlingLevel2", {"Idle2_1", "Idle2_2"}},
      {"IdlingLevel3", {"Idle3_1", "Idle3_2"}},
      {"GesturingLeft", {"GestureLeft"}},
      {"GesturingRight", {"GestureRight"}},
      {"GesturingUp", {"GestureUp"}},
      {"GesturingDown", {"GestureDown"}},
      {"MovingLeft", {"MoveLeft"}},
      {"MovingRight", {"MoveRight"}},
      {"MovingUp", {"MoveUp"}},
      {"MovingDown", {"MoveDown"}},
  };
}

}  // namespace

void AddRiraAnimations(ModelBuilder& builder) {
  Animator animator(builder);
  const std::uint16_t pop = builder.AddSound(PopSound());
  const std::uint16_t chime = builder.AddSound(ChimeSound());
  AddStateAnimations(animator, pop);
  AddMoves(animator);
  AddGestures(animator);
  AddIdles(animator);
  AddActions(animator, chime);
  AddMoods(animator);
  AddStates(builder.Model().info);
}

}  // namespace rira
