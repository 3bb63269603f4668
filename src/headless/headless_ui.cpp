#include "headless/headless_ui.h"

#include <iostream>

#include "core/util/display_text.h"
#include "core/util/lines.h"
#include "host/tracing/tracing_ui.h"

namespace rirerazo::headless {
namespace {

std::string ButtonList(int style) {
  std::string list;
  for (platform::MsgAnswer button : host::ButtonsOf(style)) {
    if (!list.empty()) list += ", ";
    list += host::AnswerName(button);
  }
  return list;
}

}  // namespace

HeadlessUi::HeadlessUi(Settings settings) : HeadlessUi(std::move(settings), std::cerr) {}

HeadlessUi::HeadlessUi(Settings settings, std::ostream& out)
    : settings_(std::move(settings)), out_(out) {}

platform::MsgAnswer HeadlessUi::MessageBox(const std::string& text, const std::string& title,
                                           int style) {
  Box box{text, title, style, settings_.answers.Answer(style)};
  Print(box);
  boxes_.push_back(box);
  if (observer_) observer_(box);
  return box.answer;
}

void HeadlessUi::SetCursor(platform::Cursor cursor) {
  cursors_.push_back(cursor);
  cursor_ = cursor;
}

// Shape on standard error, one box per block:
//   [message box] VORN 0.1 Unexpected Error | icon: critical | buttons: OK, Cancel
//     Section: M:MG: : TrimChars
//     ...
//   [answered] OK
void HeadlessUi::Print(const Box& box) const {
  out_ << "[message box] " << DisplayTextUtf8(box.title) << " | icon: " << host::IconName(box.style)
       << " | buttons: " << ButtonList(box.style) << '\n';
  util::LineReader lines(box.text);
  std::string_view line;
  while (lines.Next(line)) out_ << "  " << DisplayTextUtf8(line) << '\n';
  out_ << "[answered] " << host::AnswerName(box.answer) << '\n';
  out_.flush();
}

}  // namespace rirerazo::headless
