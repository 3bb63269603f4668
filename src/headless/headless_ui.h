// The user interface of the headless host. Message boxes are printed to standard error
// (title, icon, buttons, text, the answer given) and answered by an AnswerPolicy; the mouse
// pointer and the screen size exist only as recorded values. It writes no trace: a
// TracingUi wraps it for that. Tests and tools observe it through Boxes(), Cursors() or
// a box observer.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "headless/answer_policy.h"
#include "platform/ui.h"

namespace rirerazo::headless {

class HeadlessUi final : public platform::Ui {
 public:
  struct Box {
    std::string text;
    std::string title;
    int style = 0;
    platform::MsgAnswer answer = platform::MsgAnswer::kOk;
  };

  struct Settings {
    AnswerPolicy answers;
    int screen_width_px = 1024;
    int screen_height_px = 768;
  };

  // Boxes are printed to `out` (standard error in the program), which must outlive this.
  explicit HeadlessUi(Settings settings);
  HeadlessUi(Settings settings, std::ostream& out);

  platform::MsgAnswer MessageBox(const std::string& text, const std::string& title,
                                 int style) override;
  void SetCursor(platform::Cursor cursor) override;
  int ScreenWidthPx() const override { return settings_.screen_width_px; }
  int ScreenHeightPx() const override { return settings_.screen_height_px; }

  // Every box shown so far, in order, with its answer.
  const std::vector<Box>& Boxes() const { return boxes_; }
  // Every SetCursor call so far, in order, and the pointer now.
  const std::vector<platform::Cursor>& Cursors() const { return cursors_; }
  platform::Cursor CurrentCursor() const { return cursor_; }

  // Called after each box has been answered (for example to let a test react).
  void SetBoxObserver(std::function<void(const Box&)> observer) { observer_ = std::move(observer); }

 private:
  void Print(const Box& box) const;

  Settings settings_;
  std::ostream& out_;
  std::vector<Box> boxes_;
  std::vector<platform::Cursor> cursors_;
  platform::Cursor cursor_ = platform::Cursor::kNormal;
  std::function<void(const Box&)> observer_;
};

}  // namespace rirerazo::headless
