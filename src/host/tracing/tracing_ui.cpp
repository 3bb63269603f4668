#include "host/tracing/tracing_ui.h"

namespace rirerazo::host {

std::string ButtonsName(int style) {
  switch (style & 0xF) {
    case platform::mb::kOkOnly:
      return "OK";
    case platform::mb::kOkCancel:
      return "OKCancel";
    case platform::mb::kAbortRetryIgnore:
      return "AbortRetryIgnore";
    case platform::mb::kYesNoCancel:
      return "YesNoCancel";
    case platform::mb::kYesNo:
      return "YesNo";
    case platform::mb::kRetryCancel:
      return "RetryCancel";
  }
  return "OK";
}

std::string IconName(int style) {
  switch (style & 0xF0) {
    case platform::mb::kCritical:
      return "critical";
    case platform::mb::kQuestion:
      return "question";
    case platform::mb::kExclamation:
      return "exclamation";
    case platform::mb::kInformation:
      return "information";
  }
  return "none";
}

std::string AnswerName(platform::MsgAnswer answer) {
  switch (answer) {
    case platform::MsgAnswer::kOk:
      return "OK";
    case platform::MsgAnswer::kCancel:
      return "Cancel";
    case platform::MsgAnswer::kAbort:
      return "Abort";
    case platform::MsgAnswer::kRetry:
      return "Retry";
    case platform::MsgAnswer::kIgnore:
      return "Ignore";
    case platform::MsgAnswer::kYes:
      return "Yes";
    case platform::MsgAnswer::kNo:
      return "No";
  }
  return "OK";
}

platform::MsgAnswer TracingUi::MessageBox(const std::string& text, const std::string& title,
                                          int style) {
  const platform::MsgAnswer answer = inner_.MessageBox(text, title, style);
  tracer_.Record("msgbox", {{"text", text},
                            {"title", title},
                            {"icon", IconName(style)},
                            {"buttons", ButtonsName(style)},
                            {"style", std::int64_t{style}},
                            {"answer", AnswerName(answer)}});
  return answer;
}

void TracingUi::SetCursor(platform::Cursor cursor) {
  inner_.SetCursor(cursor);
  if (cursor == cursor_) return;  // only changes are worth a record
  cursor_ = cursor;
  tracer_.Record("cursor", {{"cursor", cursor == platform::Cursor::kBusy ? "busy" : "normal"}});
}

}  // namespace rirerazo::host
