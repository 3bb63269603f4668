#include "host/presentation/slide_show.h"

#include <algorithm>

namespace rirerazo::host {
namespace {

// The first slide after `after` (1-based) that is not hidden; 0 when there is none.
std::int32_t NextShown(const std::vector<SlideInfo>& slides, std::int32_t after) {
  for (std::size_t i = static_cast<std::size_t>(after); i < slides.size(); ++i) {
    if (!slides[i].hidden) return static_cast<std::int32_t>(i + 1);
  }
  return 0;
}

ShowStep Show(std::int32_t slide, std::int64_t now_ms, std::vector<ShowEvent> events) {
  events.push_back({ShowEvent::Kind::kNextSlide, slide});
  return {{ShowPhase::kRunning, slide, now_ms}, std::move(events), false};
}

ShowStep End(std::vector<ShowEvent> events) {
  events.push_back({ShowEvent::Kind::kEnd, 0});
  return {{ShowPhase::kEnded, 0, 0}, std::move(events), false};
}

ShowStep Advance(const std::vector<SlideInfo>& slides, const ShowState& state,
                 const ShowSettings& settings, std::int64_t now_ms) {
  std::int32_t next = NextShown(slides, state.slide);
  if (next == 0 && settings.loop_until_stopped) next = NextShown(slides, 0);
  if (next == 0) return End({});
  return Show(next, now_ms, {});
}

}  // namespace

ShowStep ShowTransition(const ShowState& state, ShowInput input,
                        const std::vector<SlideInfo>& slides, const ShowSettings& settings,
                        std::int64_t now_ms) {
  const bool running = state.phase == ShowPhase::kRunning;
  switch (input) {
    case ShowInput::kRun: {
      std::int32_t first = NextShown(slides, 0);
      std::vector<ShowEvent> begin = {{ShowEvent::Kind::kBegin, 0}};
      return first == 0 ? End(std::move(begin)) : Show(first, now_ms, std::move(begin));
    }
    case ShowInput::kNext:
      if (!running) return {state, {}, true};
      return Advance(slides, state, settings, now_ms);
    case ShowInput::kTimer: {
      std::optional<std::int64_t> due = ShowDueMs(state, slides, settings);
      if (!due || *due > now_ms) return {state, {}, false};
      return Advance(slides, state, settings, now_ms);
    }
    case ShowInput::kStop:
      if (!running) return {state, {}, false};
      return End({});
  }
  return {state, {}, false};
}

std::optional<std::int64_t> ShowDueMs(const ShowState& state, const std::vector<SlideInfo>& slides,
                                      const ShowSettings& settings) {
  if (state.phase != ShowPhase::kRunning || !settings.use_slide_timings) return std::nullopt;
  if (state.slide < 1 || static_cast<std::size_t>(state.slide) > slides.size()) return std::nullopt;
  const std::optional<std::int64_t>& after =
      slides[static_cast<std::size_t>(state.slide) - 1].advance_after_ms;
  if (!after) return std::nullopt;
  return state.shown_at_ms + std::max(*after, kMinSlideShownMs);
}

}  // namespace rirerazo::host
