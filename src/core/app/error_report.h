// The uniform report of unexpected run-time errors. A procedure that meets an error it does
// not handle itself catches it and calls ReportError with its module tag ("RIRERazo:",
// "M:MG:", "M:PR:", ...) and its own name; the user then chooses OK (the procedure goes on
// as its own rules say) or Cancel (the program ends through FormUnload). There is no log.
//
// The classic run time kept "the current error" in a global; here the caught error is
// passed in. CurrentError() turns whatever a catch (...) block caught into such an error.
#pragma once

#include <string>
#include <string_view>

#include "core/app/form_unload.h"
#include "platform/runtime_error.h"
#include "platform/ui.h"

namespace rirerazo::app {

inline constexpr long kInternalError = 51;

// What the user chose. kEndProgram: the main form has been unloaded; the caller should
// leave as soon as it can, though nothing breaks if it goes on.
enum class ReportOutcome { kContinue, kEndProgram };

// Implemented by ErrorReport; procedures depend on this so tests can record reports.
class ErrorReporter {
 public:
  virtual ~ErrorReporter() = default;
  virtual ReportOutcome ReportError(std::string_view tag, std::string_view procedure,
                                    const RuntimeError& error) = 0;
};

// The real report: normal pointer, then (unless the error number is 0) an OK/Cancel box
// with the critical icon through the Ui. Neither reference is owned; both outlive it.
class ErrorReport final : public ErrorReporter {
 public:
  ErrorReport(platform::Ui& ui, FormUnload& unload) : ui_(ui), unload_(unload) {}

  ReportOutcome ReportError(std::string_view tag, std::string_view procedure,
                            const RuntimeError& error) override;

 private:
  platform::Ui& ui_;
  FormUnload& unload_;
};

// The box's style: OK and Cancel with the critical icon (17).
inline constexpr int kErrorReportStyle = platform::mb::kOkCancel | platform::mb::kCritical;

// "VORN <major>.<minor> Unexpected Error", from the project's version.
std::string ErrorReportTitle();

// The box's text, lines separated by CR LF.
std::string ErrorReportText(std::string_view tag, std::string_view procedure, long number,
                            std::string_view description);

// The error a catch (...) block is handling, as a RuntimeError: RuntimeError itself; 7 "Out
// of memory" for allocation failures; 53, 70 or 75 for file-system errors; 9 "Subscript out
// of range" for out_of_range; 51 with the exception's text for anything else. Outside a
// catch block there is no current error: the result has number 0, which reports nothing.
RuntimeError CurrentError();

// Reports the error being handled: the usual body of a procedure's catch (...) block.
ReportOutcome ReportCurrentError(ErrorReporter& reporter, std::string_view tag,
                                 std::string_view procedure);

}  // namespace rirerazo::app
