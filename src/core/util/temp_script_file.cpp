#include "core/util/temp_script_file.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "platform/runtime_error.h"

namespace rirerazo {
namespace {

// Far beyond any real folder; ends the search in a folder where creation keeps failing.
constexpr int kLastNumber = 999999;

// True when a file, folder or dangling link holds the name.
bool NameTaken(const std::string& name) {
  std::error_code error;
  return std::filesystem::symlink_status(name, error).type() !=
         std::filesystem::file_type::not_found;
}

}  // namespace

std::string TempScriptFileName(const std::string& temp_dir, int number) {
  std::string digits = std::to_string(number);
  if (digits.size() < 4) digits.insert(0, 4 - digits.size(), '0');
  return temp_dir + "VORN" + digits + ".TMP";
}

std::string CreateTempScriptFile(const std::string& temp_dir) {
  for (int number = 1; number <= kLastNumber; ++number) {
    std::string name = TempScriptFileName(temp_dir, number);
    if (NameTaken(name)) continue;
    // "x": fails when another program created the name since the check above.
    if (std::FILE* file = std::fopen(name.c_str(), "wbx")) {
      std::fclose(file);
      return name;
    }
    if (errno != EEXIST) break;
  }
  throw RuntimeError(err::kPathFileAccessError, "Cannot create a temporary file in " + temp_dir);
}

}  // namespace rirerazo
