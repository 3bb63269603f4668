// Reading a text file or the clipboard aloud: the text becomes a small script of speak
// statements, one per line (or per sentence of a line over 500 characters), that a
// character plays as a nested script, with its "Processing" animation while the text is
// converted.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/app/error_report.h"
#include "platform/agent_control.h"
#include "platform/clipboard.h"
#include "platform/message_loop.h"
#include "platform/ui.h"

namespace rirerazo::text {

// Lines longer than this are cut into sentences.
inline constexpr std::size_t kMaxPieceLength = 500;

// Plays a built script as a nested script (PlayScript with pfRecursive true).
using ScriptRunner = std::function<void(const std::string& script)>;

struct TextReaderServices {
  platform::AgentControl& agent;
  platform::Ui& ui;
  platform::MessageLoop& loop;
  platform::Clipboard& clipboard;
  app::ErrorReporter& reporter;
};

// The statement that speaks one piece: `character`.Speak "`prefix``piece`" CR LF. The piece
// is put in unchanged, quotes and all.
std::string SpeakStatement(const std::string& character, const std::string& prefix,
                           const std::string& piece);

class TextReader {
 public:
  // Nothing is owned; everything outlives the reader.
  TextReader(const TextReaderServices& services, ScriptRunner run_script)
      : services_(services), run_script_(std::move(run_script)) {}

  // Reads `file` (already resolved) line by line and reads its text aloud. A file that
  // cannot be read gives a message and reads nothing: "does not exist" when its folder is
  // missing, the error's number and description otherwise.
  void ReadTextFile(const std::string& character, const std::string& file,
                    const std::string& prefix);

  // Reads the clipboard's text aloud; an empty clipboard does nothing at all.
  void ReadClipboard(const std::string& character, const std::string& prefix);

  // Builds the speak statements for `text` and plays them. Steps that fail (no character of
  // that name) are reported ("M:RT:", "ReadContents") and the next step runs.
  void ReadContents(const std::string& character, const std::string& text,
                    const std::string& prefix);

 private:
  struct Animations {
    bool processing = false;
    bool processing_return = false;
  };
  // Runs one step; false when the user chose to end the program in the error report.
  bool Step(const std::function<void()>& step);
  Animations FindAnimations(const std::string& character);
  std::string BuildScript(const std::string& character, const std::string& text,
                          const std::string& prefix);
  std::string ReadFileText(const std::string& file);

  TextReaderServices services_;
  ScriptRunner run_script_;
};

}  // namespace rirerazo::text
