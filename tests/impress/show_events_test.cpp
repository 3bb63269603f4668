// What the player hears of a show, decided from what the office reports, in every order
// the office's threads may report it; and the file URLs the office is given.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

#include "impress/file_url.h"
#include "impress/show_events.h"

namespace rirerazo::impress {
namespace {

using Kind = ShowEvent::Kind;

std::vector<ShowEvent> TakeAll(ShowEventQueue& queue) {
  std::vector<ShowEvent> events;
  while (auto event = queue.Take()) events.push_back(*event);
  return events;
}

ShowEvent Next(int index) {
  return {Kind::kNextSlide, index};
}

TEST(ShowEvents, TheSlideFoundWhenAttachingCountsOnceWhicheverReportComesFirst) {
  ShowEventQueue attach_first;
  attach_first.ShowStarted();
  attach_first.ListenerAttached(1);
  attach_first.SlideShown(1);  // the office's own report of the same showing
  attach_first.SlideShown(2);
  EXPECT_THAT(TakeAll(attach_first),
              ::testing::ElementsAre(ShowEvent{Kind::kBegin}, Next(1), Next(2)));

  ShowEventQueue report_first;
  report_first.ShowStarted();
  report_first.SlideShown(1);
  report_first.ListenerAttached(1);
  EXPECT_THAT(TakeAll(report_first), ::testing::ElementsAre(Next(1), ShowEvent{Kind::kBegin}));
}

// A looping show of one slide shows it again and again; only the duplicate of the
// attaching report is dropped.
TEST(ShowEvents, ALoopShowingTheSameSlideAgainRaisesItAgain) {
  ShowEventQueue queue;
  queue.ShowStarted();
  queue.ListenerAttached(1);
  queue.SlideShown(1);
  queue.SlideShown(1);
  queue.SlideShown(1);
  EXPECT_THAT(TakeAll(queue),
              ::testing::ElementsAre(ShowEvent{Kind::kBegin}, Next(1), Next(1), Next(1)));
}

TEST(ShowEvents, AShowEndsOnceAndNothingFollowsItsEnd) {
  ShowEventQueue queue;
  queue.ShowStarted();
  queue.ListenerAttached(0);  // attached before the first slide
  queue.SlideShown(1);
  queue.PassedLastSlide();
  queue.ShowEnded();  // the show we end stops running too
  queue.SlideShown(2);
  queue.ListenerAttached(2);
  EXPECT_TRUE(queue.Ended());
  EXPECT_THAT(TakeAll(queue), ::testing::ElementsAre(ShowEvent{Kind::kBegin}, Next(1),
                                                     ShowEvent{Kind::kEnd, 0, true}));
  // Before any show, and after its end, reports are ignored; a new show starts afresh.
  queue.ShowStarted();
  queue.SlideShown(3);
  queue.ShowEnded();
  EXPECT_THAT(TakeAll(queue), ::testing::ElementsAre(Next(3), ShowEvent{Kind::kEnd}));
}

TEST(ShowEvents, EveryQueuedEventWakesTheHost) {
  ShowEventQueue queue;
  int wakes = 0;
  queue.SetWaitingCallback([&] { ++wakes; });
  queue.ShowStarted();
  queue.SlideShown(1);
  queue.ShowEnded();
  EXPECT_EQ(wakes, 2);
  EXPECT_TRUE(queue.HasWaiting());
  queue.SetWaitingCallback(nullptr);
  queue.ShowStarted();
  queue.SlideShown(2);
  EXPECT_EQ(wakes, 2);
}

TEST(FileUrls, EncodeEveryByteOutsideTheUnreservedSet) {
  EXPECT_EQ(FileUrl("/tmp/a b#c%d.odp"), "file:///tmp/a%20b%23c%25d.odp");
  EXPECT_EQ(FileUrl("/tmp/\xc3\xa9t\xc3\xa9.pptx"), "file:///tmp/%C3%A9t%C3%A9.pptx");
  EXPECT_EQ(FileUrl("/tmp/x/../y.odp"), "file:///tmp/y.odp");
  EXPECT_EQ(FileUrl("rel.odp").rfind("file:///", 0), 0u);
}

}  // namespace
}  // namespace rirerazo::impress
