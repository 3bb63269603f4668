// Scripts named by a URL: the loader hands any path containing "://" here. The resource is
// downloaded into a temporary script file, which is then loaded like any script file and
// kept afterwards.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "platform/platform.h"
#include "platform/runtime_error.h"

namespace rirerazo {

inline constexpr const char* kDownloadUserAgent = "Quellmark.VORN";
// The resource is taken in pieces of at most this size, with a yield after each.
inline constexpr std::size_t kDownloadPieceBytes = 2048;

// Downloads `url` into `file` (replacing its content) with the busy pointer showing. Uses
// services.internet, .ui and .loop; events run between pieces. On failure (no connection,
// a status of 400 or more, a file that cannot be written) shows the error number and
// description in a box and returns false; the pointer is normal again either way.
bool DownloadURLToFile(platform::Platform& services, const std::string& url,
                       const std::string& file);

// What OpenScriptFromURL needs from the player.
struct UrlScriptLinks {
  platform::Platform* services = nullptr;
  std::string temp_dir;  // GetTempDir(): the temporary folder, ending in a separator
  // OpenScriptFromFile(path, bPlay)
  std::function<bool(const std::string&, bool)> open_script_from_file;
  // ReportError("M:MOS:", "OpenScriptFromURL") for the error being handled.
  std::function<void(const RuntimeError&)> report_error;
};

// Downloads `url` to the first free temporary script file and, when the download
// succeeded, loads it with `bPlay`. A failed download leaves no file behind and plays
// nothing. Always returns false; callers ignore the result.
bool OpenScriptFromURL(const std::string& url, bool bPlay, const UrlScriptLinks& links);

}  // namespace rirerazo
