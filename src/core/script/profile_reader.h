// Profile file access for the loader: one key's value, a section's key names, and a
// section's raw lines. A script file is read by many calls in a row, so each file is
// parsed once and later calls are served from the parsed form for as long as the file's
// size and modification time stay the same (checked on every call). The reader owns this
// cache; the Player owns the reader. Calls come from the player's thread only.
//
// File names are looked up as every file name from a script is: "\" or "/" separators,
// letter case forgiven when the exact name does not exist, relative names from the current
// folder. Only regular files of at most kMaxFileBytes are read; anything else (a folder, a
// device, a pipe, a missing or unreadable file) counts as a file that cannot be opened.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/app/error_report.h"
#include "core/script/profile_data.h"

namespace rirerazo::script {

class ProfileReader {
 public:
  // Values are cut to this many bytes, as the classic reader's 4096-byte buffer did.
  static constexpr std::size_t kMaxValueBytes = 4095;
  // Larger files are not read; script files are a few kilobytes.
  static constexpr std::uintmax_t kMaxFileBytes = 16u * 1024 * 1024;
  // Parsed files kept at once; the least recently used one is dropped first.
  static constexpr std::size_t kCachedFiles = 8;

  // `errors` is not owned and outlives the reader.
  explicit ProfileReader(app::ErrorReporter& errors) : errors_(errors) {}

  // With a key: the key's value, or `default_value` (absent = "", trailing blanks removed)
  // when the file, the section or the key is missing; a key with an empty value gives "".
  // Without a key: the section's key names in file order, each followed by one NUL; ""
  // when the file or the section is missing. The whole list is returned, however long.
  // A file that cannot be opened is not an error here: it has no keys.
  std::string GetProfile(std::string_view file, std::string_view section,
                         std::optional<std::string_view> key = std::nullopt,
                         std::optional<std::string_view> default_value = std::nullopt);

  // The lines of the section(s) whose header line is exactly "[" + section + "]" (letter
  // case ignored), joined with CR LF; trailing empty lines dropped; one CR LF at the end
  // unless the result is empty. A file that cannot be opened is reported once through
  // ReportError ("M:PR:", "GetProfileSection") and gives "".
  std::string GetProfileSection(std::string_view file, std::string_view section);

  // How many times a file was read and parsed (cache misses), for tests and benchmarks.
  std::size_t ParseCount() const { return parse_count_; }

  // A run of calls that belong together, such as the loader's reading of one script file
  // before it plays the script. Inside a batch each file is checked against the disk once,
  // at its first call, and later calls trust the parsed form without asking the file
  // system again (two queries per call otherwise, most of a load's time). Batches nest;
  // the outermost one ends when its object goes. Keep a batch around reading only: a
  // script played inside it would not see its files change.
  class Batch {
   public:
    explicit Batch(ProfileReader& reader) : reader_(reader) {
      if (reader_.batch_depth_++ == 0) ++reader_.batch_id_;
    }
    ~Batch() { --reader_.batch_depth_; }
    Batch(const Batch&) = delete;
    Batch& operator=(const Batch&) = delete;

   private:
    ProfileReader& reader_;
  };

 private:
  struct Entry {
    std::string name;                 // as the caller wrote it
    std::filesystem::path disk_path;  // as found on disk, checked on every call
    std::uintmax_t size = 0;
    std::filesystem::file_time_type modified{};
    std::uint64_t last_use = 0;
    std::uint64_t checked_in_batch = 0;  // batch id of the last check; 0 = none
    std::shared_ptr<const ProfileData> data;
  };

  // The parsed file; raises RuntimeError when it cannot be opened or read.
  std::shared_ptr<const ProfileData> Load(std::string_view file);
  Entry* Cached(std::string_view file);
  Entry& Store(Entry entry);

  app::ErrorReporter& errors_;
  std::vector<Entry> cache_;
  std::uint64_t use_clock_ = 0;
  std::uint64_t batch_id_ = 0;
  int batch_depth_ = 0;
  std::size_t parse_count_ = 0;
};

}  // namespace rirerazo::script
