#include "core/app/error_report.h"

#include <exception>
#include <filesystem>
#include <new>
#include <stdexcept>

#include "version.h"

namespace rirerazo::app {
namespace {

constexpr std::string_view kCrLf = "\r\n";

RuntimeError FromFileSystem(const std::filesystem::filesystem_error& error) {
  if (error.code() == std::errc::no_such_file_or_directory) {
    return RuntimeError(err::kFileNotFound, "File not found");
  }
  if (error.code() == std::errc::permission_denied) {
    return RuntimeError(err::kPermissionDenied, "Permission denied");
  }
  return RuntimeError(err::kPathFileAccessError, "Path/File access error");
}

}  // namespace

std::string ErrorReportTitle() {
  return "VORN " + std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) +
         " Unexpected Error";
}

std::string ErrorReportText(std::string_view tag, std::string_view procedure, long number,
                            std::string_view description) {
  std::string text = "Section: ";
  text.append(tag).append(" : ").append(procedure).append(kCrLf).append(kCrLf);
  text.append("Error Code: ").append(std::to_string(number)).append(kCrLf);
  text.append("'").append(description).append("'").append(kCrLf).append(kCrLf);
  text.append("You may be able to continue normally by clicking the OK button,").append(kCrLf);
  text.append(
      "but please report this problem on the VORN website so it can be resolved.  Thank you.");
  return text;
}

ReportOutcome ErrorReport::ReportError(std::string_view tag, std::string_view procedure,
                                       const RuntimeError& error) {
  ui_.SetCursor(platform::Cursor::kNormal);
  if (error.Number() == 0) return ReportOutcome::kContinue;
  const std::string text = ErrorReportText(tag, procedure, error.Number(), error.Description());
  if (ui_.MessageBox(text, ErrorReportTitle(), kErrorReportStyle) != platform::MsgAnswer::kCancel) {
    return ReportOutcome::kContinue;
  }
  unload_.UnloadBackdrop();
  unload_.UnloadMainForm();
  return ReportOutcome::kEndProgram;
}

RuntimeError CurrentError() {
  if (!std::current_exception()) return RuntimeError(0, "");
  try {
    throw;
  } catch (const RuntimeError& error) {
    return error;
  } catch (const std::bad_alloc&) {
    return RuntimeError(err::kOutOfMemory, "Out of memory");
  } catch (const std::filesystem::filesystem_error& error) {
    return FromFileSystem(error);
  } catch (const std::out_of_range&) {
    return RuntimeError(err::kSubscriptOutOfRange, "Subscript out of range");
  } catch (const std::exception& error) {
    return RuntimeError(kInternalError, error.what());
  } catch (...) {
    return RuntimeError(kInternalError, "Internal error");
  }
}

ReportOutcome ReportCurrentError(ErrorReporter& reporter, std::string_view tag,
                                 std::string_view procedure) {
  return reporter.ReportError(tag, procedure, CurrentError());
}

}  // namespace rirerazo::app
