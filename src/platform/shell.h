// Starting programs, opening documents and closing other programs' windows. Called on the
// player's thread only. The desktop and headless hosts both implement it; the headless one
// records every call and only starts programs when the host asks it to.
#pragma once

#include <cstdint>
#include <string>

namespace rirerazo::platform {

// Results of OpenDocument, in the classic numbering of the shell's open call: any value
// above 32 means the document was handed to a program; the small values are failures.
namespace open_result {
inline constexpr std::int32_t kOk = 42;
inline constexpr std::int32_t kFileNotFound = 2;
inline constexpr std::int32_t kPathNotFound = 3;
inline constexpr std::int32_t kAccessDenied = 5;
inline constexpr std::int32_t kOutOfMemory = 8;
inline constexpr std::int32_t kNoAssociation = 31;
}  // namespace open_result

class Shell {
 public:
  virtual ~Shell() = default;

  // Starts the program that `command_line` names, with its arguments. The line is split
  // like a command line: blanks separate words, double quotes group blanks into a word and
  // a doubled quote inside quotes stands for one quote. The program is looked up in PATH
  // when its name has no '/'. Returns once the program has started (it is not waited for).
  // Throws RuntimeError: 5 for an empty line, 53 when the program cannot be found, 70 when
  // it may not be run, 7 when no process can be made.
  virtual void StartProgram(const std::string& command_line) = 0;

  // Opens a document, folder or address with the program the desktop associates with it,
  // or runs `file` with `parameters` when it is itself a program. Never throws; returns a
  // value from open_result (above 32 on success).
  virtual std::int32_t OpenDocument(const std::string& file, const std::string& parameters) = 0;

  // Asks the first top-level window whose title equals `title` exactly to close, the way
  // the window manager's close button does. Returns whether such a window was found; does
  // not wait for the window to go. Throws RuntimeError when there is no display to ask.
  virtual bool CloseWindowByTitle(const std::string& title) = 0;
};

}  // namespace rirerazo::platform
