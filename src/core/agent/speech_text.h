// The text processing of CharSpeak, apart from its effect: how a sound file given after
// the spoken text is found, and how the player's own name is made pronounceable.
#pragma once

#include <string>

namespace rirerazo {

struct SpeechParts {
  std::string text;
  std::string sound;         // as written; the caller resolves it against the script's folder
  bool sound_given = false;  // the text held a sound file after `","`
};

// Splits `text` at the first `","` (double quote, comma, double quote) once the blanks
// touching double quotes are gone: `Hello", "hi.wav` gives Hello and hi.wav, and
// `,"hi.wav"` gives an empty text and hi.wav. Without that separator the text comes back
// exactly as passed and `sound_path` is kept.
SpeechParts SplitSpeech(const std::string& text, const std::string& sound_path);

// When the text shows the word VORN standing on its own (at the start followed by a blank,
// at the end, before one final character, or between blanks), every "VORN" in it gets the
// pronunciation tag, so the engine says the word while the balloon shows it in capitals.
std::string TagPlayerName(const std::string& text);

}  // namespace rirerazo
