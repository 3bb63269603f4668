#include "core/app/carrier.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <system_error>

#include "core/util/temp_script_file.h"

namespace rirerazo {
namespace {

// The marker, two bytes per character. Read through a volatile lvalue so the compiler
// cannot fold the narrowing into a 28-byte constant in the program file.
const volatile char16_t kMarkerWide[kCarrierMarkerBytes] = {
    u'\r', u'\n', u'[', u'Q', u'U', u'E', u'L', u'L', u'M', u'A', u'R', u'K', u'_',  u'T',
    u'E',  u'C',  u'H', u'N', u'O', u'L', u'O', u'G', u'I', u'E', u'S', u']', u'\r', u'\n'};

// Reads the window at `start`; bytes beyond the end of the file read as NUL.
std::string ReadWindow(std::istream& exe, std::uint64_t start) {
  std::string window(kCarrierWindowBytes, '\0');
  exe.clear();
  exe.seekg(static_cast<std::streamoff>(start));
  exe.read(window.data(), static_cast<std::streamsize>(window.size()));
  if (exe.bad()) throw RuntimeError(err::kPathFileAccessError, "Path/File access error");
  return window;
}

std::uint64_t StreamLength(std::istream& exe) {
  exe.seekg(0, std::ios::end);
  std::streamoff length = exe.tellg();
  if (length < 0) throw RuntimeError(err::kPathFileAccessError, "Path/File access error");
  return static_cast<std::uint64_t>(length);
}

// Steps 5 and 6: the NUL cut and the closing blank line.
std::string TidyCarriedText(std::string text) {
  if (std::size_t nul = text.find('\0'); nul != std::string::npos) text.resize(nul);
  if (text.ends_with("\r\n\r\n")) text.resize(text.size() - 2);
  return text;
}

// Deletes the temporary copy when FindScript leaves, however it leaves.
struct RemoveOnExit {
  std::string name;
  ~RemoveOnExit() {
    std::error_code ignored;
    if (!name.empty()) std::filesystem::remove(name, ignored);
  }
};

void WriteScriptCopy(const std::string& name, const std::string& text) {
  std::ofstream out(name, std::ios::binary | std::ios::trunc);
  out << text << "\r\n";
  out.close();
  if (!out) throw RuntimeError(err::kPathFileAccessError, "Path/File access error");
}

}  // namespace

std::string CarrierMarker() {
  std::string marker(kCarrierMarkerBytes, '\0');
  for (std::size_t i = 0; i < kCarrierMarkerBytes; ++i) {
    marker[i] = static_cast<char>(kMarkerWide[i]);
  }
  return marker;
}

std::optional<std::string> ReadCarriedScript(std::istream& exe) {
  const std::string marker = CarrierMarker();
  const std::uint64_t length = StreamLength(exe);
  constexpr std::size_t kOverlap = kCarrierWindowBytes - kCarrierStepBytes;
  std::optional<std::string> text;
  for (std::uint64_t start = 0; start < length; start += kCarrierStepBytes) {
    std::string window = ReadWindow(exe, start);
    std::size_t taken_from = kOverlap;  // the overlap was taken with the previous window
    if (!text) {
      std::size_t at = window.find(marker);
      if (at == std::string::npos) continue;
      text.emplace();
      taken_from = at + marker.size();
    }
    text->append(window, taken_from);
    // Everything from the first NUL on is cut, so further windows cannot change the text.
    if (window.find('\0', taken_from) != std::string::npos) break;
  }
  if (text) *text = TidyCarriedText(std::move(*text));
  return text;
}

bool FindScript(const FindScriptLinks& links) {
  std::string text;
  try {
    std::ifstream exe(links.exe_path, std::ios::binary);
    if (!exe) return false;  // a program that cannot be read carries nothing
    std::optional<std::string> carried = ReadCarriedScript(exe);
    if (carried) {
      links.set_script_file(links.exe_path);
      text = std::move(*carried);
    }
  } catch (const RuntimeError& error) {
    links.report_error(error);
  }
  if (text.empty()) return false;

  RemoveOnExit copy;
  try {
    copy.name = CreateTempScriptFile(links.temp_dir);
  } catch (const RuntimeError& error) {
    links.report_error(error);  // without a copy there is nothing to load
    return false;
  }
  try {
    WriteScriptCopy(copy.name, text);
  } catch (const RuntimeError& error) {
    links.report_error(error);
  }
  return links.open_script_from_file(copy.name);
}

}  // namespace rirerazo
