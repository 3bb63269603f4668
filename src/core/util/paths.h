// File names as scripts write them, on a POSIX file system.
//
// Scripts were written on Windows: they separate folders with "\" and do not care about
// letter case. Every helper here takes "\" and "/" alike as separators; when a file is
// looked up, "\" becomes "/" and, when the exact name does not exist, each component is
// matched without regard to ASCII letter case. A path is absolute when it starts with a
// separator or contains ":" (a drive letter); "C:\Shows\a.wav" exists nowhere on Linux,
// so ResolveScriptPath then finds the file of that name beside the script.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/util/startup_paths.h"
#include "platform/system.h"

namespace rirerazo::util {

constexpr bool IsPathSeparator(char c) {
  return c == '\\' || c == '/';
}

// The part after the last separator; the whole path when it has none.
std::string FileNameOnly(std::string_view path);

// The part up to and including the last separator; empty when the path has none.
std::string PathOnly(std::string_view path);

// True when the path starts with a separator or contains ":".
bool IsAbsolutePath(std::string_view path);

// The path with every "\" written as "/".
std::string ToPosixPath(std::string_view path);

// The path of an existing file or folder that `path` names: the path itself (with "/"
// separators) when it exists as written, else the first match (in byte order) of a
// component-by-component lookup that ignores ASCII letter case. Empty paths, paths with a
// NUL byte and paths that match nothing give no result. Relative paths start at the
// current folder. Never raises.
std::optional<std::string> FindOnDisk(std::string_view path);

// True when `path` names an existing file or folder (see FindOnDisk). Never raises.
bool FileExists(std::string_view path);

// The file a script means by `path`, looked up beside the script file `paths.script_file`:
//  1. an absolute path that exists is taken as it is;
//  2. without a script file the path comes back unchanged;
//  3. a file of the path's name directly beside the script wins, even when the path names
//     another folder;
//  4. a path whose folder part contains ":" comes back unchanged;
//  5. otherwise the path's folder (one leading separator dropped) is tried beneath the
//     script's folder;
//  6. when nothing was found the path comes back unchanged.
// A file that was found is returned as it exists on disk ("/" separators, real letter
// case), so it can be opened directly.
std::string ResolveScriptPath(std::string_view path, const StartupPaths& paths);

// The temporary folder ($TMPDIR or /tmp, as the system reports it), ending in "/". When the
// system reports nothing, "/tmp/".
std::string GetTempDir(const platform::System& system);

// The folder of an executable's full path, ending in "/" ("/" for a program in the root).
std::string AppPathFrom(std::string_view executable_path);

}  // namespace rirerazo::util
