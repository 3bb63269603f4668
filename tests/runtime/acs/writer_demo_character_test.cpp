// The demo character the build draws and writes: it loads with the reader, has what the
// runtime and the example scripts rely on, stays small, and can always be stopped.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "runtime/acs/acs_file.h"

namespace rirerazo::acs {
namespace {

const std::filesystem::path kDemo =
    std::filesystem::path(RIRERAZO_BINARY_DIR) / "examples" / "character" / "Rira.acs";

class DemoCharacter : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(kDemo)) GTEST_SKIP() << kDemo << " has not been built";
    rira_ = ReadCharacterFile(kDemo.string());
  }
  Character rira_;
};

TEST_F(DemoCharacter, HasEveryStateTheRuntimePlays) {
  for (const char* state :
       {"Showing", "Hiding", "Speaking", "MovingLeft", "MovingRight", "MovingUp", "MovingDown",
        "GesturingLeft", "GesturingRight", "GesturingUp", "GesturingDown", "IdlingLevel1",
        "IdlingLevel2", "IdlingLevel3", "Listening", "Hearing"}) {
    const std::vector<std::string> names = rira_.StateAnimations(state);
    EXPECT_FALSE(names.empty()) << state;
    for (const std::string& name : names) {
      EXPECT_NE(rira_.FindAnimation(name), nullptr) << state << " lists missing " << name;
    }
  }
}

TEST_F(DemoCharacter, HasTheAnimationsScriptsAskFor) {
  for (const char* name : {"Greet", "Wave", "Explain", "Think", "Processing", "ProcessingReturn",
                           "Congratulate", "Surprised", "Blink", "RestPose"}) {
    EXPECT_NE(rira_.FindAnimation(name), nullptr) << name;
  }
  const Animation* processing = rira_.FindAnimation("Processing");
  ASSERT_NE(processing, nullptr);
  EXPECT_EQ(processing->transition, TransitionType::kReturnAnimation);
  EXPECT_NE(rira_.FindAnimation(processing->return_animation), nullptr);
}

TEST_F(DemoCharacter, SpeaksWithSevenMouthShapesThatLookDifferent) {
  const Animation* speak = rira_.FindAnimation(rira_.StateAnimations("Speaking").at(0));
  ASSERT_NE(speak, nullptr);
  const Frame& last = speak->frames.back();
  for (int shape = 0; shape <= 6; ++shape) {
    EXPECT_NE(last.FindOverlay(MouthShape(shape)), nullptr) << "shape " << shape;
  }
  const RgbaImage closed = rira_.ComposeFrame(last, MouthShape::kClosed);
  const RgbaImage open = rira_.ComposeFrame(last, MouthShape::kWide4);
  EXPECT_NE(closed.rgba, open.rgba);
  EXPECT_EQ(closed.rgba, rira_.ComposeFrame(last).rgba) << "closed mouth matches the frame";
}

TEST_F(DemoCharacter, HasNamesVoiceAndBalloon) {
  EXPECT_EQ(rira_.Name(), "Rira");
  EXPECT_FALSE(rira_.Description().empty());
  EXPECT_EQ(rira_.info.width, 128);
  ASSERT_TRUE(rira_.info.voice.has_value());
  ASSERT_TRUE(rira_.info.voice->extra.has_value());
  EXPECT_TRUE(rira_.info.balloon.has_value());
  EXPECT_EQ(rira_.info.palette.size(), 256u);
}

// A loop (a branch taken with certainty) must have a way out when the animation is ended:
// an exit frame, or a return animation; otherwise stopping Rira would never finish.
TEST_F(DemoCharacter, EveryLoopCanBeEnded) {
  for (const Animation& animation : rira_.animations) {
    for (std::size_t i = 0; i < animation.frames.size(); ++i) {
      const Frame& frame = animation.frames[i];
      const bool loops = !frame.branches.empty() && frame.branches[0].probability_percent == 100;
      if (!loops) continue;
      EXPECT_NE(frame.exit_frame, kExitNone) << animation.name << " frame " << i;
    }
  }
}

TEST_F(DemoCharacter, EveryFrameComposesAndTheFileIsSmall) {
  for (const Animation& animation : rira_.animations) {
    for (std::size_t i = 0; i < animation.frames.size(); ++i) {
      const RgbaImage image = rira_.ComposeFrame(animation, i);
      EXPECT_EQ(image.width, 128);
    }
  }
  EXPECT_LT(std::filesystem::file_size(kDemo), 300u * 1024);
  for (std::size_t i = 0; i < rira_.sounds.size(); ++i) {
    EXPECT_GT(rira_.DecodeSound(i).FrameCount(), 1000u);
  }
}

TEST_F(DemoCharacter, IsPlacedBesideThePlayer) {
  const auto beside = std::filesystem::path(RIRERAZO_BINARY_DIR) / "src" / "Rira.acs";
  ASSERT_TRUE(std::filesystem::exists(beside));
  std::ifstream a(kDemo, std::ios::binary), b(beside, std::ios::binary);
  EXPECT_TRUE(
      std::equal(std::istreambuf_iterator<char>(a), {}, std::istreambuf_iterator<char>(b), {}));
}

}  // namespace
}  // namespace rirerazo::acs
