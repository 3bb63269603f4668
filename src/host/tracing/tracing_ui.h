// A user interface that records every message box (with the answer it got) and every
// cursor change in the trace, then forwards to the real one.
#pragma once

#include "host/trace.h"
#include "platform/ui.h"

namespace rirerazo::host {

class TracingUi : public platform::Ui {
 public:
  // Neither `inner` nor `tracer` is owned.
  TracingUi(platform::Ui& inner, Tracer& tracer) : inner_(inner), tracer_(tracer) {}

  platform::MsgAnswer MessageBox(const std::string& text, const std::string& title,
                                 int style) override;
  void SetCursor(platform::Cursor cursor) override;
  int ScreenWidthPx() const override { return inner_.ScreenWidthPx(); }
  int ScreenHeightPx() const override { return inner_.ScreenHeightPx(); }

 private:
  platform::Ui& inner_;
  Tracer& tracer_;
  platform::Cursor cursor_ = platform::Cursor::kNormal;
};

// Names used in the trace and on standard error for a box's parts.
std::string ButtonsName(int style);
std::string IconName(int style);
std::string AnswerName(platform::MsgAnswer answer);

}  // namespace rirerazo::host
