// The slide-show transitions, rule by rule and as a state x input matrix.
#include "host/presentation/slide_show.h"

#include <gtest/gtest.h>

#include <vector>

namespace rirerazo::host {
namespace {

using Kind = ShowEvent::Kind;
using Events = std::vector<ShowEvent>;

// Three slides, the second hidden; the first advances after 2 s, the third after 0 s.
const std::vector<SlideInfo> kSlides = {{false, 2000}, {true, 1000}, {false, 0}};
const ShowState kIdle{};
const ShowState kOnFirst{ShowPhase::kRunning, 1, 1000};
const ShowState kOnLast{ShowPhase::kRunning, 3, 1000};
const ShowState kEnded{ShowPhase::kEnded, 0, 0};
constexpr std::int64_t kNow = 5000;

ShowEvent Next(std::int32_t slide) {
  return {Kind::kNextSlide, slide};
}
const ShowEvent kBeginEvent{Kind::kBegin, 0};
const ShowEvent kEndEvent{Kind::kEnd, 0};

struct Row {
  ShowState from;
  ShowInput input;
  bool loop;
  ShowState to;
  Events events;
  bool refused = false;
};

TEST(ShowTransition, StateByInputMatrix) {
  const ShowState first_now{ShowPhase::kRunning, 1, kNow};
  const ShowState last_now{ShowPhase::kRunning, 3, kNow};
  const std::vector<Row> rows = {
      // Run starts at the first shown slide from any state.
      {kIdle, ShowInput::kRun, false, first_now, {kBeginEvent, Next(1)}},
      {kOnLast, ShowInput::kRun, false, first_now, {kBeginEvent, Next(1)}},
      {kEnded, ShowInput::kRun, true, first_now, {kBeginEvent, Next(1)}},
      // Next skips the hidden slide; after the last one the show ends or loops.
      {kOnFirst, ShowInput::kNext, false, last_now, {Next(3)}},
      {kOnLast, ShowInput::kNext, false, kEnded, {kEndEvent}},
      {kOnLast, ShowInput::kNext, true, first_now, {Next(1)}},
      {kIdle, ShowInput::kNext, false, kIdle, {}, true},
      {kEnded, ShowInput::kNext, true, kEnded, {}, true},
      // The timer acts only on a running show whose slide is due.
      {kOnFirst, ShowInput::kTimer, false, last_now, {Next(3)}},
      {kOnLast, ShowInput::kTimer, true, first_now, {Next(1)}},
      {kIdle, ShowInput::kTimer, false, kIdle, {}},
      {kEnded, ShowInput::kTimer, false, kEnded, {}},
      // Stop ends a running show only.
      {kOnFirst, ShowInput::kStop, true, kEnded, {kEndEvent}},
      {kIdle, ShowInput::kStop, false, kIdle, {}},
      {kEnded, ShowInput::kStop, false, kEnded, {}},
  };
  for (const Row& row : rows) {
    ShowSettings settings{row.loop, true};
    ShowStep step = ShowTransition(row.from, row.input, kSlides, settings, kNow);
    const int line = static_cast<int>(&row - rows.data());
    EXPECT_EQ(step.state, row.to) << "row " << line;
    EXPECT_EQ(step.events, row.events) << "row " << line;
    EXPECT_EQ(step.refused, row.refused) << "row " << line;
  }
}

TEST(ShowTransition, TimerWaitsForTheSlidesOwnTimeAndOnlyWithTimingsInUse) {
  ShowSettings timings{false, true};
  EXPECT_EQ(ShowDueMs(kOnFirst, kSlides, timings), 3000);
  EXPECT_EQ(ShowTransition(kOnFirst, ShowInput::kTimer, kSlides, timings, 2999).state, kOnFirst);
  EXPECT_EQ(ShowDueMs(kOnLast, kSlides, timings), 1000 + kMinSlideShownMs);  // zero seconds
  EXPECT_EQ(ShowDueMs(kOnFirst, kSlides, ShowSettings{true, false}), std::nullopt);
  EXPECT_EQ(ShowDueMs(kOnFirst, {{false, std::nullopt}}, timings), std::nullopt);
  EXPECT_EQ(ShowDueMs(kIdle, kSlides, timings), std::nullopt);
}

TEST(ShowTransition, ShowWithoutShownSlidesBeginsAndEnds) {
  for (const std::vector<SlideInfo>& slides :
       {std::vector<SlideInfo>{}, std::vector<SlideInfo>{{true, 1}, {true, 2}}}) {
    ShowStep step = ShowTransition(kIdle, ShowInput::kRun, slides, {true, true}, kNow);
    EXPECT_EQ(step.state, kEnded);
    EXPECT_EQ(step.events, (Events{kBeginEvent, kEndEvent}));
  }
}

}  // namespace
}  // namespace rirerazo::host
