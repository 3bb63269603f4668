// Feeds arbitrary bytes to the profile reader as a script file and checks what must hold
// for any input: nothing crashes or hangs; every listed key can be looked up; values stay
// within 4095 bytes; a section's text is empty or ends in exactly one CR LF; and the same
// file saved with CR LF, LF or CR line ends, or with a byte-order mark, reads the same.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "core/app/error_report.h"
#include "core/script/profile_data.h"
#include "core/script/profile_reader.h"
#include "core/util/lines.h"
#include "core/util/text.h"

namespace {

using rirerazo::script::ProfileData;
using rirerazo::script::ProfileReader;

class SilentReporter : public rirerazo::app::ErrorReporter {
 public:
  rirerazo::app::ReportOutcome ReportError(std::string_view, std::string_view,
                                           const rirerazo::RuntimeError&) override {
    return rirerazo::app::ReportOutcome::kContinue;
  }
};

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

// Section names worth asking for: the fixed ones of script files and the first few that
// the input itself names between brackets.
std::vector<std::string> SectionsToAsk(std::string_view bytes) {
  std::vector<std::string> names{"VORN Script", "Script", "Characters", "Commands", ""};
  for (std::string_view line : rirerazo::util::SplitLines(bytes)) {
    const std::size_t open = line.find('['), close = line.find(']');
    if (open != std::string_view::npos && close != std::string_view::npos && open < close) {
      names.emplace_back(rirerazo::util::Trim(line.substr(open + 1, close - open - 1)));
    }
    if (names.size() >= 12) break;
  }
  return names;
}

// Everything the loader could ask of one parsed file, as one comparable text.
std::string Answers(const ProfileData& data, const std::vector<std::string>& sections) {
  std::string all;
  for (const std::string& section : sections) {
    all += data.SectionLines(section) + '\x01';
    const std::vector<std::string_view>* names = data.KeyNames(section);
    if (names == nullptr) continue;
    for (std::string_view name : *names) {
      const auto value = data.Value(section, name);
      Check(value.has_value());
      all.append(name).append("=").append(*value).push_back('\x02');
    }
  }
  return all;
}

// The file the reader is given; removed when the fuzzer exits normally.
struct ScratchFile {
  std::string path;
  ScratchFile() {
    const char* tmp = std::getenv("TMPDIR");
    path = std::string(tmp != nullptr && *tmp ? tmp : "/tmp") + "/fuzz-profile-" +
           std::to_string(::getpid()) + ".vrn";
  }
  ~ScratchFile() { std::remove(path.c_str()); }
};

void CheckThroughTheReader(const std::string& bytes, const std::vector<std::string>& sections) {
  static const ScratchFile scratch;
  const std::string& path = scratch.path;
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
  SilentReporter errors;
  ProfileReader reader(errors);  // a fresh cache: the file changes faster than its time stamp
  for (const std::string& section : sections) {
    const std::string text = reader.GetProfileSection(path, section);
    Check(text.empty() || (text.ends_with("\r\n") && !text.ends_with("\r\n\r\n")));
    const std::string list = reader.GetProfile(path, section);
    for (const std::string& key :
         rirerazo::util::ParseStringIntoArray(list, std::string(1, '\0'))) {
      Check(reader.GetProfile(path, section, key, "d").size() <= ProfileReader::kMaxValueBytes);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> sections = SectionsToAsk(bytes);
  const std::string crlf = rirerazo::util::ToCrLf(bytes);
  const std::string expected = Answers(ProfileData(crlf), sections);
  Check(Answers(ProfileData(bytes), sections) == expected);
  Check(Answers(ProfileData(rirerazo::util::ReplaceAll(crlf, "\r\n", "\n")), sections) == expected);
  Check(Answers(ProfileData(rirerazo::util::ReplaceAll(crlf, "\r\n", "\r")), sections) == expected);
  if (!bytes.starts_with("\xEF\xBB\xBF")) {
    Check(Answers(ProfileData("\xEF\xBB\xBF" + bytes), sections) == expected);
  }
  static unsigned count = 0;
  if (++count % 8 == 0) CheckThroughTheReader(bytes, sections);  // files are slow; sample them
  return 0;
}
