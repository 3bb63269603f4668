#include "core/script/profile_reader.h"

#include <algorithm>
#include <fstream>
#include <system_error>

#include "core/util/lines.h"
#include "core/util/paths.h"
#include "core/util/text.h"
#include "platform/runtime_error.h"

namespace rirerazo::script {
namespace fs = std::filesystem;
namespace {

constexpr std::string_view kTag = "M:PR:";

[[noreturn]] void CannotOpen(std::string_view file) {
  const std::string posix = util::ToPosixPath(file);
  const std::string folder = util::PathOnly(posix);
  if (!folder.empty() && !util::FileExists(folder)) {
    throw RuntimeError(err::kPathNotFound, "Path not found");
  }
  throw RuntimeError(err::kFileNotFound, "File not found");
}

// Size and modification time of a regular file; raises when it is anything else.
void StatRegularFile(const fs::path& path, std::uintmax_t& size, fs::file_time_type& modified) {
  std::error_code ec;
  const fs::file_status status = fs::status(path, ec);
  if (!fs::is_regular_file(status)) {
    throw RuntimeError(err::kPathFileAccessError, "Path/File access error");
  }
  size = fs::file_size(path, ec);
  if (!ec) modified = fs::last_write_time(path, ec);
  if (ec) throw RuntimeError(err::kPathFileAccessError, "Path/File access error");
  if (size > ProfileReader::kMaxFileBytes) throw RuntimeError(err::kOutOfMemory, "Out of memory");
}

// The whole file, `expected_size` bytes as its status said; a file that has grown since is
// read to its end (within the limit), one that has shrunk up to where it ends.
std::string ReadAll(const fs::path& path, std::uintmax_t expected_size) {
  std::ifstream in(path, std::ios::binary);
  if (!in.is_open()) throw RuntimeError(err::kPermissionDenied, "Permission denied");
  std::string bytes(static_cast<std::size_t>(expected_size), '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  for (char c; in.get(c);) {
    bytes.push_back(c);
    if (bytes.size() > ProfileReader::kMaxFileBytes) {
      throw RuntimeError(err::kOutOfMemory, "Out of memory");
    }
  }
  if (in.bad()) throw RuntimeError(err::kPathFileAccessError, "Path/File access error");
  return bytes;
}

std::string_view Cut(std::string_view text) {
  return text.substr(0, ProfileReader::kMaxValueBytes);
}

}  // namespace

ProfileReader::Entry* ProfileReader::Cached(std::string_view file) {
  const auto it =
      std::find_if(cache_.begin(), cache_.end(), [&](const Entry& e) { return e.name == file; });
  if (it == cache_.end()) return nullptr;
  const std::uint64_t batch = batch_depth_ > 0 ? batch_id_ : 0;
  if (batch == 0 || it->checked_in_batch != batch) {
    std::error_code ec;
    const std::uintmax_t size = fs::file_size(it->disk_path, ec);
    const fs::file_time_type modified =
        ec ? fs::file_time_type{} : fs::last_write_time(it->disk_path, ec);
    if (ec || size != it->size || modified != it->modified) {
      cache_.erase(it);
      return nullptr;
    }
    it->checked_in_batch = batch;
  }
  it->last_use = ++use_clock_;
  return &*it;
}

ProfileReader::Entry& ProfileReader::Store(Entry entry) {
  if (cache_.size() >= kCachedFiles) {
    cache_.erase(std::min_element(cache_.begin(), cache_.end(), [](const Entry& a, const Entry& b) {
      return a.last_use < b.last_use;
    }));
  }
  entry.last_use = ++use_clock_;
  entry.checked_in_batch = batch_depth_ > 0 ? batch_id_ : 0;
  cache_.push_back(std::move(entry));
  return cache_.back();
}

std::shared_ptr<const ProfileData> ProfileReader::Load(std::string_view file) {
  if (Entry* hit = Cached(file)) return hit->data;
  const std::optional<std::string> found = util::FindOnDisk(file);
  if (!found) CannotOpen(file);
  Entry entry;
  entry.name = std::string(file);
  entry.disk_path = *found;
  StatRegularFile(entry.disk_path, entry.size, entry.modified);
  entry.data = std::make_shared<const ProfileData>(ReadAll(entry.disk_path, entry.size));
  ++parse_count_;
  return Store(std::move(entry)).data;
}

std::string ProfileReader::GetProfile(std::string_view file, std::string_view section,
                                      std::optional<std::string_view> key,
                                      std::optional<std::string_view> default_value) {
  const std::string_view fallback = Cut(util::RTrim(default_value.value_or("")));
  try {
    const std::shared_ptr<const ProfileData> data = Load(file);
    if (key) return std::string(Cut(data->Value(section, *key).value_or(fallback)));
    std::string list;
    if (const std::vector<std::string_view>* names = data->KeyNames(section)) {
      for (std::string_view name : *names) list.append(name).push_back('\0');
    }
    return list;
  } catch (const RuntimeError&) {
    return key ? std::string(fallback) : std::string();  // no file: no keys
  } catch (...) {
    app::ReportCurrentError(errors_, kTag, "GetProfile");
    return {};
  }
}

std::string ProfileReader::GetProfileSection(std::string_view file, std::string_view section) {
  std::string text;
  try {
    text = Load(file)->SectionLines(section);
  } catch (...) {
    app::ReportCurrentError(errors_, kTag, "GetProfileSection");
    return {};
  }
  while (std::string_view(text).ends_with(util::kCrLf)) text.resize(text.size() - 2);
  if (!text.empty()) text.append(util::kCrLf);
  return text;
}

}  // namespace rirerazo::script
