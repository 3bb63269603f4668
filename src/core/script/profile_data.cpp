#include "core/script/profile_data.h"

#include "core/script/section_headers.h"
#include "core/util/lines.h"

namespace rirerazo::script {
namespace {

constexpr std::string_view kBlanks = " \t";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string_view TrimBlanks(std::string_view text) {
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

std::string_view WithoutQuotes(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

}  // namespace

ProfileData::ProfileData(std::string bytes) : bytes_(std::move(bytes)) {
  if (std::string_view(bytes_).starts_with(kByteOrderMark)) bytes_.erase(0, kByteOrderMark.size());
  Parse();
}

void ProfileData::Parse() {
  util::LineReader reader(bytes_);
  std::string_view line;
  KeySection* section = nullptr;
  std::vector<RawSection>* open_raw = nullptr;
  std::size_t line_begin = 0;
  while (reader.Next(line)) {
    line_begin = static_cast<std::size_t>(line.data() - bytes_.data());
    if (IsRawSectionHeader(line)) {
      if (open_raw != nullptr) open_raw->back().body_end = line_begin;
      open_raw = &raw_[line];
      open_raw->push_back({reader.Position(), bytes_.size()});
    }
    const std::string_view trimmed = TrimBlanks(line);
    if (trimmed.starts_with('[') && trimmed.find(']') != std::string_view::npos) {
      section = OpenKeySection(trimmed);
    } else if (section != nullptr) {
      AddKeyLine(*section, trimmed);
    }
  }
}

ProfileData::KeySection* ProfileData::OpenKeySection(std::string_view trimmed) {
  const std::string_view name = TrimBlanks(trimmed.substr(1, trimmed.find(']') - 1));
  return &keys_[name];
}

void ProfileData::AddKeyLine(KeySection& section, std::string_view trimmed) {
  if (trimmed.starts_with(';')) return;
  const std::size_t equals = trimmed.find('=');
  if (equals == std::string_view::npos) return;
  const std::string_view name = TrimBlanks(trimmed.substr(0, equals));
  if (name.empty()) return;
  section.first.try_emplace(name, static_cast<std::uint32_t>(section.names.size()));
  section.names.push_back(name);
  section.values.push_back(WithoutQuotes(TrimBlanks(trimmed.substr(equals + 1))));
}

std::optional<std::string_view> ProfileData::Value(std::string_view section,
                                                   std::string_view key) const {
  const auto found = keys_.find(section);
  if (found == keys_.end()) return std::nullopt;
  const auto hit = found->second.first.find(key);
  if (hit == found->second.first.end()) return std::nullopt;
  return found->second.values[hit->second];
}

const std::vector<std::string_view>* ProfileData::KeyNames(std::string_view section) const {
  const auto found = keys_.find(section);
  return found == keys_.end() ? nullptr : &found->second.names;
}

std::string ProfileData::SectionLines(std::string_view section) const {
  std::string header;
  header.reserve(section.size() + 2);
  header.append("[").append(section).append("]");
  const auto found = raw_.find(header);
  if (found == raw_.end()) return {};
  std::string text;
  for (const RawSection& raw : found->second) {
    util::LineReader reader(
        std::string_view(bytes_).substr(raw.body_begin, raw.body_end - raw.body_begin));
    std::string_view line;
    while (reader.Next(line)) text.append(line).append(util::kCrLf);
  }
  return text;
}

std::vector<ProfileData::NumberedLine> ProfileData::NumberedSectionLines(
    std::string_view section) const {
  std::string header = "[";
  header.append(section).append("]");
  const auto found = raw_.find(header);
  if (found == raw_.end()) return {};
  std::vector<NumberedLine> lines;
  for (const RawSection& raw : found->second) {
    const std::string_view body =
        std::string_view(bytes_).substr(raw.body_begin, raw.body_end - raw.body_begin);
    int number = LineOf(body.substr(0, 0));
    util::LineReader reader(body);
    std::string_view line;
    while (reader.Next(line)) lines.push_back({number++, line});
  }
  return lines;
}

int ProfileData::LineOf(std::string_view text) const {
  const char* begin = bytes_.data();
  if (text.data() < begin || text.data() > begin + bytes_.size()) return 0;
  const std::size_t offset = static_cast<std::size_t>(text.data() - begin);
  util::LineReader reader(bytes_);
  std::string_view line;
  int number = 1;
  while (reader.Next(line) && reader.Position() <= offset) ++number;
  return number;
}

}  // namespace rirerazo::script
