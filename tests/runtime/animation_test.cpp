// Frame sequencing: branching, exits, return animations and the loop guards.
#include <gtest/gtest.h>

#include <map>

#include "runtime/animation_player.h"
#include "runtime/runtime_test_support.h"

namespace rirerazo::runtime::testing {
namespace {

std::shared_ptr<const CharacterData> Demo() {
  return BuildCharacterData(MakeDemoCharacter());
}

// The frames a player goes through (frame index at each frame's start) until it stops.
std::vector<int> Sequence(AnimationPlayer& player, const CharacterData& data, Random& random,
                          bool exit_on_loop, int limit = 50) {
  std::vector<int> frames;
  for (int i = 0; i < limit && player.Playing(); ++i) {
    frames.push_back(player.ShownFrame());
    player.Step(random, exit_on_loop);
  }
  (void)data;
  return frames;
}

TEST(NextFrame, BranchesAreWalkedWithTheDrawnPercent) {
  AnimationTiming a;
  a.frames.resize(4);
  a.frames[0].branches = {{2, 30}, {3, 50}};
  EXPECT_EQ(ChooseNextFrame(a, 0, false, 1).frame, 2);
  EXPECT_EQ(ChooseNextFrame(a, 0, false, 30).frame, 2);
  EXPECT_EQ(ChooseNextFrame(a, 0, false, 31).frame, 3);
  EXPECT_EQ(ChooseNextFrame(a, 0, false, 80).frame, 3);
  EXPECT_EQ(ChooseNextFrame(a, 0, false, 81).frame, 1);  // no branch taken: next frame
  EXPECT_TRUE(ChooseNextFrame(a, 3, false, 50).finished);
}

TEST(NextFrame, ExitFramesWhileExiting) {
  AnimationTiming a;
  a.frames.resize(3);
  a.frames[0].exit_frame = 2;
  a.frames[1].exit_frame = kExitStop;
  a.frames[2].branches = {{0, 100}};  // kExitNone: normal sequencing even when exiting
  EXPECT_EQ(ChooseNextFrame(a, 0, true, 100).frame, 2);
  EXPECT_TRUE(ChooseNextFrame(a, 1, true, 100).finished);
  EXPECT_EQ(ChooseNextFrame(a, 2, true, 100).frame, 0);
  EXPECT_EQ(ChooseNextFrame(a, 0, false, 100).frame, 1);  // not exiting: exit frames ignored
}

TEST(FramesReachingEnd, UnconditionalLoopsCannotEnd) {
  std::vector<FrameTiming> frames(4);
  frames[1].branches = {{0, 100}};  // 0 -> 1 -> 0 ... never past 1
  frames[3].branches = {{2, 50}};   // 2 <-> 3 half the time: can end
  std::vector<bool> reaches = FramesReachingEnd(frames);
  EXPECT_EQ(reaches, (std::vector<bool>{false, false, true, true}));
}

TEST(AnimationPlayer, ExitBranchesWindBackAfterTheAnimationWasHeld) {
  auto data = Demo();
  Random random(1);
  AnimationPlayer player(data.get());
  player.Start(data->FindAnimation("wave"), 0);
  EXPECT_EQ(Sequence(player, *data, random, false), (std::vector<int>{0, 1, 2, 3, 3}));
  ASSERT_TRUE(player.NeedsExit());  // holds frame 3 until something else plays
  player.BeginExit(1000);
  EXPECT_EQ(player.FrameEndMs(), 1000);
  EXPECT_EQ(Sequence(player, *data, random, false), (std::vector<int>{3, 2, 1, 0, 0}));
  EXPECT_FALSE(player.NeedsExit());
  EXPECT_FALSE(player.Playing());
}

TEST(AnimationPlayer, ReturnAnimationPlaysWhenTheNextAnimationComes) {
  auto data = Demo();
  Random random(1);
  AnimationPlayer player(data.get());
  player.Start(data->FindAnimation("Explain"), 0);
  Sequence(player, *data, random, false);
  ASSERT_TRUE(player.NeedsExit());
  EXPECT_TRUE(player.ShownFrameHasMouths());
  player.BeginExit(500);
  EXPECT_EQ(player.CurrentAnimation(), data->FindAnimation("ExplainReturn"));
  EXPECT_EQ(player.FrameEndMs(), 600);
  Sequence(player, *data, random, false);
  EXPECT_FALSE(player.NeedsExit());  // a return animation has no return of its own
}

TEST(AnimationPlayer, LoopRunsUntilAskedToLeaveAtItsLoopPoint) {
  auto data = Demo();
  Random random(1);
  AnimationPlayer player(data.get());
  player.Start(data->FindAnimation("Loop"), 0);
  EXPECT_EQ(Sequence(player, *data, random, false, 6), (std::vector<int>{0, 1, 0, 1, 0, 1}));
  EXPECT_TRUE(player.Endless());
  // Leaving at the loop point follows frame 1's exit to frame 2, then ends.
  EXPECT_EQ(Sequence(player, *data, random, true), (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(player.FrameEndMs(), 900);
}

TEST(AnimationPlayer, SameSeedSameBranchesAndRoughlyTheDrawnShares) {
  auto character = MakeDemoCharacter();
  // Frame 0 branches to frame 2 with 25 %: count how often frame 1 is skipped.
  character->animations.push_back(
      MakeAnimation("Coin", acs::TransitionType::kNone,
                    {MakeFrame(10, acs::kExitNone, {{2, 25}}), MakeFrame(10), MakeFrame(10)}));
  auto data = BuildCharacterData(character);
  auto run = [&](std::uint64_t seed) {
    Random random(seed);
    AnimationPlayer player(data.get());
    std::string trace;
    for (int i = 0; i < 4000; ++i) {
      player.Start(data->FindAnimation("Coin"), 0);
      trace += char('0' + Sequence(player, *data, random, false).size());
    }
    return trace;
  };
  std::string first = run(42);
  EXPECT_EQ(first, run(42));
  EXPECT_NE(first, run(43));
  auto skipped = std::count(first.begin(), first.end(), '2');
  EXPECT_NEAR(double(skipped) / 4000.0, 0.25, 0.03);
}

TEST(AnimationPlayer, EmptyFramesThatBranchAmongThemselvesStillStop) {
  auto character = MakeDemoCharacter();
  character->animations.push_back(
      MakeAnimation("Spin", acs::TransitionType::kNone,
                    {MakeFrame(0, acs::kExitNone, {{1, 100}}, false, false),
                     MakeFrame(0, acs::kExitNone, {{0, 100}}, false, false)}));
  auto data = BuildCharacterData(character);
  Random random(1);
  AnimationPlayer player(data.get());
  player.Start(data->FindAnimation("Spin"), 0);
  int steps = 0;
  while (player.Playing() && steps < 10 * kMaxZeroDurationSteps) {
    player.Step(random, false);
    ++steps;
  }
  EXPECT_FALSE(player.Playing());
  EXPECT_LE(steps, kMaxZeroDurationSteps + 1);
}

TEST(CharacterData, ReducesTheFileForScheduling) {
  auto character = MakeDemoCharacter();
  character->animations[3].frames[1].branches.push_back({99, 50});  // out of range: dropped
  auto data = BuildCharacterData(character);
  EXPECT_EQ(data->name, "Demo");
  EXPECT_EQ(data->FindAnimation("WAVE"), data->FindAnimation("wave"));
  EXPECT_TRUE(data->animations[3].frames[1].branches.empty());
  EXPECT_EQ(data->animations[size_t(data->FindAnimation("Explain"))].return_index,
            data->FindAnimation("ExplainReturn"));
  ASSERT_EQ(data->State(StateId::kGesturingLeft).size(), 1u);
  EXPECT_EQ(data->State(StateId::kGesturingLeft)[0], data->FindAnimation("GestureLeft"));
  EXPECT_TRUE(data->State(StateId::kIdling2).empty());
  EXPECT_EQ(data->balloon.font_name, "Demo Sans");
  EXPECT_EQ(data->balloon.font_size, 10);  // 13 pixels high at 96 dpi
}

}  // namespace
}  // namespace rirerazo::runtime::testing
