#include "host/carrier_packer.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "core/app/carrier.h"
#include "platform/runtime_error.h"

namespace rirerazo::host {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const std::string& path, const char* what) {
  std::ifstream in(path, std::ios::binary);
  if (!in)
    throw RuntimeError(err::kFileNotFound, std::string("cannot read the ") + what + " " + path);
  std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad())
    throw RuntimeError(err::kPathFileAccessError,
                       std::string("cannot read the ") + what + " " + path);
  return bytes;
}

std::string Upper(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

// The checks that spare an author a carrier that cannot play.
void CheckScript(const std::string& script, const std::string& script_path) {
  if (script.empty()) throw RuntimeError(err::kInvalidProcedureCall, script_path + " is empty");
  if (script.find('\0') != std::string::npos) {
    throw RuntimeError(err::kInvalidProcedureCall,
                       script_path + " holds a NUL byte, where a carried script would end");
  }
  if (Upper(script).find("[VORN SCRIPT]") == std::string::npos) {
    throw RuntimeError(err::kInvalidProcedureCall,
                       script_path + " is not a script file (it has no [VORN Script] section)");
  }
}

void CheckOutputName(const std::string& output) {
  std::string stem = Upper(fs::path(output).stem().string());
  if (stem == "RIRERAZO" || stem == "DAREZAZ") {
    throw RuntimeError(err::kInvalidProcedureCall,
                       "a packed program needs another name than " +
                           fs::path(output).filename().string() +
                           ": under the player's own name it asks for a file instead");
  }
}

// Writes next to `output` first, then renames, so a failure never leaves half a program.
void WriteExecutable(const std::string& output, const std::string& bytes) {
  const std::string partial = output + ".partial";
  {
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
      std::error_code ignored;
      fs::remove(partial, ignored);
      throw RuntimeError(err::kPathFileAccessError, "cannot write " + output);
    }
  }
  std::error_code error;
  fs::permissions(partial,
                  fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                      fs::perms::others_read | fs::perms::others_exec,
                  error);
  if (!error) fs::rename(partial, output, error);
  if (error) {
    fs::remove(partial, error);
    throw RuntimeError(err::kPathFileAccessError, "cannot write " + output);
  }
}

}  // namespace

void PackCarrier(const std::string& program_path, const std::string& script_path,
                 const std::string& output) {
  CheckOutputName(output);
  const std::string script = ReadFile(script_path, "script");
  CheckScript(script, script_path);
  std::string program = ReadFile(program_path, "program");
  // Packing a carrier again replaces the script it carries.
  const std::string marker = CarrierMarker();
  program.erase(std::search(program.begin(), program.end(), marker.begin(), marker.end()),
                program.end());
  WriteExecutable(output, program + marker + script);
}

int RunPacker(const std::string& script, const std::string& output) {
  try {
    std::error_code error;
    fs::path self = fs::read_symlink("/proc/self/exe", error);
    if (error) throw RuntimeError(err::kFileNotFound, "cannot find the running program");
    if (fs::equivalent(self, output, error)) {
      throw RuntimeError(err::kInvalidProcedureCall,
                         "the output would replace the running program");
    }
    PackCarrier(self.string(), script, output);
    return 0;
  } catch (const RuntimeError& error) {
    std::fprintf(stderr, "rirerazo: cannot pack: %s\n", error.what());
    return 1;
  }
}

}  // namespace rirerazo::host
