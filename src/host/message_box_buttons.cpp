#include "host/message_box_buttons.h"

namespace rirerazo::host {

using platform::MsgAnswer;

std::vector<MsgAnswer> ButtonsOf(int style) {
  switch (style & 0xF) {
    case platform::mb::kOkCancel:
      return {MsgAnswer::kOk, MsgAnswer::kCancel};
    case platform::mb::kAbortRetryIgnore:
      return {MsgAnswer::kAbort, MsgAnswer::kRetry, MsgAnswer::kIgnore};
    case platform::mb::kYesNoCancel:
      return {MsgAnswer::kYes, MsgAnswer::kNo, MsgAnswer::kCancel};
    case platform::mb::kYesNo:
      return {MsgAnswer::kYes, MsgAnswer::kNo};
    case platform::mb::kRetryCancel:
      return {MsgAnswer::kRetry, MsgAnswer::kCancel};
    default:
      return {MsgAnswer::kOk};
  }
}

}  // namespace rirerazo::host
