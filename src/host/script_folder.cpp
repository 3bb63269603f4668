#include "host/script_folder.h"

namespace rirerazo::host {
namespace {

std::string_view Trimmed(std::string_view text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  text = text.substr(first, text.find_last_not_of(' ') - first + 1);
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
    text = text.substr(1, text.size() - 2);
  }
  return text;
}

// The folder part of a path, without its last separator; "" when it has none.
std::string FolderPart(std::string_view path) {
  const size_t slash = path.find_last_of("/\\");
  if (slash == std::string_view::npos) return {};
  if (slash == 0) return "/";
  return std::string(path.substr(0, slash));
}

}  // namespace

std::string ScriptFolder(std::string_view command_line) {
  const std::string_view path = Trimmed(command_line);
  if (path.empty()) return {};
  const std::string folder = FolderPart(path);
  return folder.empty() ? std::string(".") : folder;
}

std::string InstallPrefix(const std::string& executable_path) {
  return FolderPart(FolderPart(executable_path));
}

}  // namespace rirerazo::host
