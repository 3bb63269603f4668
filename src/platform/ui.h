// What the player asks of its user interface: message boxes, the mouse pointer and the
// screen. Called on the player's thread only; a message box is modal and may let events run
// while it is shown (the host decides).
#pragma once

#include <string>

namespace rirerazo::platform {

// Message box styles use the classic bit layout: buttons in the low nibble, the icon in
// the next one, the default button above that.
namespace mb {
inline constexpr int kOkOnly = 0;
inline constexpr int kOkCancel = 1;
inline constexpr int kAbortRetryIgnore = 2;
inline constexpr int kYesNoCancel = 3;
inline constexpr int kYesNo = 4;
inline constexpr int kRetryCancel = 5;
inline constexpr int kCritical = 16;
inline constexpr int kQuestion = 32;
inline constexpr int kExclamation = 48;
inline constexpr int kInformation = 64;
inline constexpr int kDefaultButton2 = 256;
inline constexpr int kDefaultButton3 = 512;
}  // namespace mb

// Answers of a message box, with the classic values.
enum class MsgAnswer {
  kOk = 1,
  kCancel = 2,
  kAbort = 3,
  kRetry = 4,
  kIgnore = 5,
  kYes = 6,
  kNo = 7
};

enum class Cursor { kNormal, kBusy };

class Ui {
 public:
  virtual ~Ui() = default;

  // Shows a modal box and returns the button chosen. `style` uses the mb:: bits.
  virtual MsgAnswer MessageBox(const std::string& text, const std::string& title, int style) = 0;

  // Sets the mouse pointer of all the program's windows.
  virtual void SetCursor(Cursor cursor) = 0;

  // The primary screen's size in pixels.
  virtual int ScreenWidthPx() const = 0;
  virtual int ScreenHeightPx() const = 0;
};

}  // namespace rirerazo::platform
