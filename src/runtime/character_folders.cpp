#include "runtime/character_folders.h"

#include <filesystem>
#include <system_error>

#include "runtime/character_data.h"

namespace rirerazo::runtime {

namespace fs = std::filesystem;

namespace {

std::string Slashes(std::string path) {
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  return path;
}

bool IsRegularFile(const fs::path& path) {
  std::error_code error;
  return fs::is_regular_file(path, error);
}

// The entry of `folder` whose name equals `name` ignoring letter case; empty when none.
fs::path MatchEntry(const fs::path& folder, const std::string& name) {
  std::error_code error;
  fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, error);
  if (error) return {};
  for (const fs::directory_entry& entry : it) {
    std::string entry_name = entry.path().filename().string();
    if (EqualsIgnoreCase(entry_name, name)) return folder / entry_name;
  }
  return {};
}

void AppendList(std::vector<std::string>& folders, const std::string& list) {
  std::size_t start = 0;
  while (start <= list.size()) {
    std::size_t end = list.find(':', start);
    if (end == std::string::npos) end = list.size();
    if (end > start) folders.push_back(list.substr(start, end - start));
    start = end + 1;
  }
}

}  // namespace

std::vector<std::string> StandardCharacterFolders(const platform::System& system,
                                                  const std::string& script_folder,
                                                  const std::string& install_prefix) {
  std::vector<std::string> folders;
  AppendList(folders, system.Environment("RIRERAZO_CHARACTERS"));
  if (!script_folder.empty()) folders.push_back(Slashes(script_folder));
  std::string home = system.HomeFolder();
  if (!home.empty()) folders.push_back(home + "/.local/share/rirerazo/characters");
  if (!install_prefix.empty()) folders.push_back(install_prefix + "/share/rirerazo/characters");
  std::string program = Slashes(system.ExecutablePath());
  std::size_t slash = program.rfind('/');
  if (slash != std::string::npos) folders.push_back(program.substr(0, slash));
  return folders;
}

std::string FindFileIgnoringCase(const std::string& path) {
  fs::path wanted(Slashes(path));
  if (IsRegularFile(wanted)) return wanted.string();
  fs::path found = wanted.is_absolute() ? wanted.root_path() : fs::path();
  for (const fs::path& part : wanted.relative_path()) {
    std::string name = part.string();
    if (name.empty() || name == "." || name == "..") {
      found /= part;
      continue;
    }
    std::error_code error;
    fs::path exact = found / part;
    if (fs::exists(exact, error)) {
      found = exact;
      continue;
    }
    found = MatchEntry(found, name);
    if (found.empty()) return {};
  }
  return IsRegularFile(found) ? found.string() : std::string();
}

std::string FindCharacterFile(const std::string& path, const std::vector<std::string>& folders) {
  std::string wanted = Slashes(path);
  if (wanted.empty()) return {};
  bool absolute = wanted.front() == '/' || wanted.find(':') != std::string::npos;
  if (absolute) return FindFileIgnoringCase(wanted);
  for (const std::string& folder : folders) {
    if (folder.empty()) continue;
    std::string found = FindFileIgnoringCase(Slashes(folder) + "/" + wanted);
    if (!found.empty()) return found;
  }
  return {};
}

}  // namespace rirerazo::runtime
