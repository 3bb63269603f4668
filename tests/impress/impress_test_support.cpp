#include "impress/impress_test_support.h"

#include <signal.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "impress/private/office_errors.h"

namespace rirerazo::impress::testing {

std::string FlatPresentation(const std::vector<TestSlide>& slides) {
  std::string styles, pages;
  for (std::size_t i = 0; i < slides.size(); ++i) {
    const std::string style = "dp" + std::to_string(i + 1);
    std::string timing;
    if (slides[i].advance_after_s) {
      timing = " presentation:transition-type=\"automatic\" presentation:duration=\"PT" +
               std::to_string(*slides[i].advance_after_s) + "S\"";
    }
    styles += "<style:style style:name=\"" + style +
              "\" style:family=\"drawing-page\"><style:drawing-page-properties "
              "draw:fill=\"solid\" draw:fill-color=\"" +
              slides[i].colour + "\"" + timing + "/></style:style>";
    pages += "<draw:page draw:name=\"p" + std::to_string(i + 1) + "\" draw:style-name=\"" + style +
             "\" draw:master-page-name=\"Default\"><draw:frame svg:x=\"2cm\" svg:y=\"2cm\" "
             "svg:width=\"20cm\" svg:height=\"4cm\"><draw:text-box><text:p>" +
             slides[i].text + "</text:p></draw:text-box></draw:frame></draw:page>";
  }
  return R"(<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0" xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" xmlns:draw="urn:oasis:names:tc:opendocument:xmlns:drawing:1.0" xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0" xmlns:svg="urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0" xmlns:presentation="urn:oasis:names:tc:opendocument:xmlns:presentation:1.0" office:version="1.3" office:mimetype="application/vnd.oasis.opendocument.presentation">
<office:automatic-styles><style:page-layout style:name="PM1"><style:page-layout-properties fo:page-width="28cm" fo:page-height="15.75cm"/></style:page-layout>)" +
         styles +
         R"(</office:automatic-styles><office:master-styles><style:master-page style:name="Default" style:page-layout-name="PM1"/></office:master-styles><office:body><office:presentation>)" +
         pages + "</office:presentation></office:body></office:document>\n";
}

std::string ConvertWithOffice(const std::string& source, const std::string& extension) {
  const std::filesystem::path from(source);
  const std::string folder = from.parent_path().string();
  const std::string profile = folder + "/convert-profile";
  const std::string command = FindOfficeProgramFolder() +
                              "/soffice --headless --norestore -env:UserInstallation=file://" +
                              profile + " --convert-to " + extension + " --outdir '" + folder +
                              "' '" + source + "' >/dev/null 2>&1";
  if (std::system(command.c_str()) != 0) return {};
  const std::string result = folder + "/" + from.stem().string() + "." + extension;
  return std::filesystem::exists(result) ? result : std::string();
}

bool PumpUntil(QueuedPresentationApp& app, const std::function<bool()>& done,
               std::chrono::seconds limit) {
  const auto until = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > until) return false;
    app.DeliverEvents();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return true;
}

void LaunchAndWait(QueuedPresentationApp& app) {
  for (int attempt = 0;; ++attempt) {
    try {
      app.Launch();
      return;
    } catch (const RuntimeError& error) {
      if (error.Number() != kOfficeBusy || attempt == 30) throw;
    }
  }
}

std::string ProfileFolderOf(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/cmdline", std::ios::binary);
  const std::string prefix = "-env:UserInstallation=file://";
  for (std::string arg; std::getline(in, arg, '\0');) {
    if (arg.rfind(prefix, 0) == 0) return arg.substr(prefix.size());
  }
  return {};
}

bool ProcessAlive(pid_t pid) {
  if (pid <= 0) return false;
  int status = 0;
  waitpid(pid, &status, WNOHANG);
  return kill(pid, 0) == 0;
}

}  // namespace rirerazo::impress::testing
