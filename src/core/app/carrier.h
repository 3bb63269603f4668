// Scripts carried inside the executable. A carrier is a copy of the player with a marker
// line and a complete script file appended:
//
//   <the player's executable> CR LF "[QUELLMARK_TECHNOLOGIES]" CR LF <script text> [NUL...]
//
// Started under a name other than its own two names and without arguments, the player looks
// for the marker in its own file, copies the text behind it into a temporary script file,
// plays that file and deletes it.
#pragma once

#include <cstddef>
#include <functional>
#include <istream>
#include <optional>
#include <string>

#include "platform/runtime_error.h"

namespace rirerazo {

// The marker is searched in windows of this many bytes, each starting this many bytes
// after the previous one, so consecutive windows overlap by one byte less than the marker
// and a marker across a window boundary is still found.
inline constexpr std::size_t kCarrierWindowBytes = 10240;
inline constexpr std::size_t kCarrierStepBytes = 10213;
inline constexpr std::size_t kCarrierMarkerBytes = 28;

// The 28-byte marker line. The program keeps it only in a two-byte-per-character form and
// builds it at run time, so the player's own file does not look like a carrier.
std::string CarrierMarker();

// The text a carrier holds behind its marker, read from `exe` window by window: every byte
// after the first marker, cut before the first NUL, less one CR LF when it ends with a
// blank line. Nothing when there is no marker. Raises RuntimeError when `exe` cannot be
// read.
std::optional<std::string> ReadCarriedScript(std::istream& exe);

// What FindScript needs from the player.
struct FindScriptLinks {
  std::string exe_path;  // the running executable
  std::string temp_dir;  // GetTempDir(): the temporary folder, ending in a separator
  std::function<void(const std::string&)> set_script_file;  // sets the script file start-up found
  // OpenScriptFromFile(path, true): loads and plays the file, true when it was accepted.
  std::function<bool(const std::string&)> open_script_from_file;
  // ReportError("RIRERazo:", "FindScript") for the error being handled.
  std::function<void(const RuntimeError&)> report_error;
};

// Plays the script carried inside the running executable. Returns false, without a
// message, when there is none; otherwise the loader's answer. The temporary copy is
// deleted afterwards in every case.
bool FindScript(const FindScriptLinks& links);

}  // namespace rirerazo
