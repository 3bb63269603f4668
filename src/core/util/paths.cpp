#include "core/util/paths.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "core/util/ascii.h"

namespace rirerazo::util {
namespace fs = std::filesystem;
namespace {

std::size_t LastSeparator(std::string_view path) {
  return path.find_last_of("\\/");
}

bool Exists(const std::string& path) {
  std::error_code ec;
  return fs::exists(fs::status(path, ec));
}

std::string Join(const std::string& folder, std::string_view name) {
  if (folder.empty()) return std::string(name);
  std::string joined = folder;
  if (joined.back() != '/') joined += '/';
  joined += name;
  return joined;
}

// The entry of `folder` whose name equals `name` with ASCII letters folded; the smallest
// such name in byte order, so the answer does not depend on the directory's order.
std::optional<std::string> FindEntryIgnoringCase(const std::string& folder, std::string_view name) {
  std::error_code ec;
  fs::directory_iterator it(folder.empty() ? "." : folder, ec);
  std::optional<std::string> best;
  for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
    std::string entry = it->path().filename().string();
    if (EqualsIgnoreCase(entry, name) && (!best || entry < *best)) best = std::move(entry);
  }
  return best;
}

std::optional<std::string> FindComponentwise(const std::string& posix_path) {
  std::string current = posix_path.front() == '/' ? "/" : "";
  std::size_t pos = 0;
  while (pos < posix_path.size()) {
    std::size_t next = posix_path.find('/', pos);
    if (next == std::string::npos) next = posix_path.size();
    const std::string_view part = std::string_view(posix_path).substr(pos, next - pos);
    pos = next + 1;
    if (part.empty()) continue;
    std::string candidate = Join(current, part);
    if (part == "." || part == ".." || Exists(candidate)) {
      current = std::move(candidate);
      continue;
    }
    const std::optional<std::string> entry = FindEntryIgnoringCase(current, part);
    if (!entry) return std::nullopt;
    current = Join(current, *entry);
  }
  if (current.empty() || !Exists(current)) return std::nullopt;
  return current;
}

}  // namespace

std::string FileNameOnly(std::string_view path) {
  const std::size_t cut = LastSeparator(path);
  return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

std::string PathOnly(std::string_view path) {
  const std::size_t cut = LastSeparator(path);
  return cut == std::string_view::npos ? std::string() : std::string(path.substr(0, cut + 1));
}

bool IsAbsolutePath(std::string_view path) {
  return (!path.empty() && IsPathSeparator(path.front())) ||
         path.find(':') != std::string_view::npos;
}

std::string ToPosixPath(std::string_view path) {
  std::string out(path);
  std::replace(out.begin(), out.end(), '\\', '/');
  return out;
}

std::optional<std::string> FindOnDisk(std::string_view path) {
  if (path.empty() || path.find('\0') != std::string_view::npos) return std::nullopt;
  std::string posix = ToPosixPath(path);
  if (Exists(posix)) return posix;
  return FindComponentwise(posix);
}

bool FileExists(std::string_view path) {
  return FindOnDisk(path).has_value();
}

std::string ResolveScriptPath(std::string_view path, const StartupPaths& paths) {
  if (IsAbsolutePath(path)) {
    if (auto found = FindOnDisk(path)) return *found;
  }
  if (paths.script_file.empty()) return std::string(path);
  const std::string base = PathOnly(paths.script_file);
  const std::string name = FileNameOnly(path);
  if (auto beside = FindOnDisk(base + name)) return *beside;
  std::string_view dir = std::string_view(path).substr(0, path.size() - name.size());
  if (dir.find(':') != std::string_view::npos) return std::string(path);
  if (!dir.empty() && IsPathSeparator(dir.front())) dir.remove_prefix(1);
  if (auto below = FindOnDisk(base + std::string(dir) + name)) return *below;
  return std::string(path);
}

std::string GetTempDir(const platform::System& system) {
  std::string folder = system.TempFolder();
  if (folder.empty()) return "/tmp/";
  if (!IsPathSeparator(folder.back())) folder += '/';
  return folder;
}

std::string AppPathFrom(std::string_view executable_path) {
  std::string folder = PathOnly(executable_path);
  return folder.empty() ? "./" : folder;
}

}  // namespace rirerazo::util
