#include "core/text/text_reader.h"

#include <filesystem>
#include <fstream>

#include "core/expr/c_parser.h"
#include "core/util/ascii.h"
#include "core/util/lines.h"
#include "core/util/paths.h"

namespace rirerazo::text {

namespace {

constexpr const char* kBoxTitle = "RIRERazo";
constexpr std::string_view kParagraphBreak = "\r\n\r\n";
constexpr std::string_view kLineBreak = "\r\n";
constexpr std::string_view kSentenceBreak = ".  ";

// The error a file that cannot be opened gives: path not found when its folder is missing.
RuntimeError OpenError(const std::string& file) {
  std::error_code error;
  const std::string folder = util::PathOnly(file);
  if (!folder.empty() && !util::FileExists(folder)) {
    return RuntimeError(err::kPathNotFound, "Path not found");
  }
  if (std::filesystem::is_directory(util::FindOnDisk(file).value_or(file), error)) {
    return RuntimeError(err::kPathFileAccessError, "Path/File access error");
  }
  return RuntimeError(err::kFileNotFound, "File not found");
}

}  // namespace

std::string SpeakStatement(const std::string& character, const std::string& prefix,
                           const std::string& piece) {
  return character + ".Speak \"" + prefix + piece + "\"\r\n";
}

std::string TextReader::ReadFileText(const std::string& file) {
  const std::optional<std::string> found = util::FindOnDisk(file);
  std::error_code error;
  if (!found || std::filesystem::is_directory(*found, error)) throw OpenError(file);
  std::ifstream in(*found, std::ios::binary);
  if (!in) throw OpenError(file);
  std::string text;
  std::string line;
  while (util::ReadLine(in, line)) text += line + std::string(kLineBreak);
  if (in.bad()) throw RuntimeError(err::kPathFileAccessError, "Path/File access error");
  return text;
}

void TextReader::ReadTextFile(const std::string& character, const std::string& file,
                              const std::string& prefix) {
  std::string text;
  try {
    text = ReadFileText(file);
  } catch (const RuntimeError& error) {
    const std::string message =
        error.Number() == err::kPathNotFound
            ? "The specified file for ReadTextFile \r\n" + file + "\r\ndoes not exist."
            : std::to_string(error.Number()) + " : " + error.Description();
    services_.ui.MessageBox(message, kBoxTitle, platform::mb::kOkOnly | platform::mb::kExclamation);
    return;
  }
  services_.loop.DoEvents();
  ReadContents(character, text, prefix);
}

void TextReader::ReadClipboard(const std::string& character, const std::string& prefix) {
  const std::string text = services_.clipboard.GetText();
  if (!text.empty()) ReadContents(character, text, prefix);
}

bool TextReader::Step(const std::function<void()>& step) {
  try {
    step();
  } catch (...) {
    return app::ReportCurrentError(services_.reporter, "M:RT:", "ReadContents") ==
           app::ReportOutcome::kContinue;
  }
  return true;
}

TextReader::Animations TextReader::FindAnimations(const std::string& character) {
  Animations found;
  Step([&] {
    for (const std::string& name : services_.agent.Character(character).AnimationNames()) {
      const std::string upper = util::UCase(name);
      found.processing = found.processing || upper == "PROCESSING";
      found.processing_return = found.processing_return || upper == "PROCESSINGRETURN";
      if (found.processing && found.processing_return) break;
    }
  });
  return found;
}

// Paragraphs only decide where the conversion yields: every line but an empty one becomes
// one statement, wherever the paragraph breaks fall.
std::string TextReader::BuildScript(const std::string& character, const std::string& text,
                                    const std::string& prefix) {
  CParser paragraphs(services_.ui), lines(services_.ui), sentences(services_.ui);
  std::string script;
  paragraphs.ParseIt(text, kParagraphBreak);
  for (std::int32_t p = 1; p <= paragraphs.FieldCount(); ++p) {
    services_.loop.DoEvents();
    lines.ParseIt(paragraphs.Field(p), kLineBreak);
    for (std::int32_t l = 1; l <= lines.FieldCount(); ++l) {
      const std::string line = lines.Field(l);
      if (line.size() <= kMaxPieceLength) {
        script += SpeakStatement(character, prefix, line);
        continue;
      }
      services_.loop.DoEvents();
      sentences.ParseIt(line, kSentenceBreak);
      for (std::int32_t s = 1; s <= sentences.FieldCount(); ++s) {
        services_.loop.DoEvents();
        script += SpeakStatement(character, prefix, sentences.Field(s) + ".");
      }
    }
  }
  return script;
}

void TextReader::ReadContents(const std::string& character, const std::string& text,
                              const std::string& prefix) {
  const Animations animations = FindAnimations(character);
  platform::AgentRequest processing;
  if (animations.processing) {
    if (!Step([&] { processing = services_.agent.Character(character).Play("Processing"); }))
      return;
    services_.loop.DoEvents();
  }
  std::string script;
  if (!Step([&] { script = BuildScript(character, text, prefix); })) return;
  if (animations.processing) {
    if (!Step([&] { services_.agent.Character(character).Stop(processing); })) return;
    if (animations.processing_return &&
        !Step([&] { services_.agent.Character(character).Play("ProcessingReturn"); })) {
      return;
    }
    services_.loop.DoEvents();
  }
  if (!script.empty()) run_script_(script);
}

}  // namespace rirerazo::text
