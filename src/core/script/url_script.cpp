#include "core/script/url_script.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <memory>
#include <system_error>

#include "core/app/player.h"
#include "core/util/temp_script_file.h"

namespace rirerazo {
namespace {

// Copies the resource into `out` piece by piece, yielding after every read (the last,
// empty one included) so the program stays responsive while a large resource arrives.
void CopyInPieces(platform::Platform& services, platform::InternetResource& resource,
                  std::ofstream& out) {
  std::array<char, kDownloadPieceBytes> buffer{};
  std::size_t count = 0;
  do {
    buffer.fill('\0');
    count = resource.Read(buffer.data(), buffer.size());
    out.write(buffer.data(), static_cast<std::streamsize>(count));
    services.loop->DoEvents();
  } while (count > 0);
}

void Download(platform::Platform& services, const std::string& url, const std::string& file) {
  if (services.internet == nullptr) {
    throw RuntimeError(err::kPathFileAccessError,
                       "Could not download " + url + ": no internet service");
  }
  std::unique_ptr<platform::InternetResource> resource =
      services.internet->Open(url, kDownloadUserAgent);
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  if (!out) throw RuntimeError(err::kPathFileAccessError, "Path/File access error");
  CopyInPieces(services, *resource, out);
  out.close();
  if (!out) throw RuntimeError(err::kPathFileAccessError, "Path/File access error");
}

}  // namespace

bool DownloadURLToFile(platform::Platform& services, const std::string& url,
                       const std::string& file) {
  services.ui->SetCursor(platform::Cursor::kBusy);
  try {
    Download(services, url, file);
  } catch (const RuntimeError& error) {
    services.ui->SetCursor(platform::Cursor::kNormal);
    services.ui->MessageBox(std::to_string(error.Number()) + " : " + error.Description(),
                            kDefaultTitle, platform::mb::kOkOnly | platform::mb::kExclamation);
    return false;
  }
  services.ui->SetCursor(platform::Cursor::kNormal);
  return true;
}

bool OpenScriptFromURL(const std::string& url, bool bPlay, const UrlScriptLinks& links) {
  try {
    std::string file = CreateTempScriptFile(links.temp_dir);
    if (DownloadURLToFile(*links.services, url, file)) {
      links.open_script_from_file(file, bPlay);
    } else {
      std::error_code ignored;
      std::filesystem::remove(file, ignored);  // never load a failed download
    }
  } catch (const RuntimeError& error) {
    links.report_error(error);
  }
  return false;
}

}  // namespace rirerazo
