#include "host/typed_file_name.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

namespace rirerazo::host {
namespace {

namespace fs = std::filesystem;

bool SameIgnoringCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

// `file` as it exists on disk, its name matched without regard to case when the exact name
// does not exist (a default extension "VRN" finds "intro.vrn"); nothing when absent.
std::optional<fs::path> FindFile(const fs::path& file) {
  std::error_code error;
  if (fs::exists(file, error)) {
    if (fs::is_directory(file, error)) return std::nullopt;  // a folder is no file to open
    return file;
  }
  for (fs::directory_iterator it(file.parent_path(), error), end; !error && it != end;
       it.increment(error)) {
    if (SameIgnoringCase(it->path().filename().string(), file.filename().string()) &&
        !it->is_directory(error)) {
      return it->path();
    }
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> AcceptTypedFileName(const platform::FileDialogRequest& request,
                                               const std::string& typed) {
  fs::path file(typed);
  if (file.is_relative()) {
    file =
        (request.initial_dir.empty() ? fs::current_path() : fs::path(request.initial_dir)) / file;
  }
  if (!file.has_extension() && !request.default_ext.empty()) {
    file += "." + request.default_ext;
  }
  file = file.lexically_normal();
  std::error_code error;
  const bool must_exist = request.flags & platform::ofn::kFileMustExist;
  const bool path_must_exist = request.flags & platform::ofn::kPathMustExist;
  if (path_must_exist && !fs::is_directory(file.parent_path(), error)) return std::nullopt;
  if (std::optional<fs::path> found = FindFile(file)) return found->string();
  if (must_exist) return std::nullopt;
  return file.string();
}

}  // namespace rirerazo::host
