// One profile (INI-style) file, parsed once and read many times. Two views of the same
// bytes are kept, because the loader reads a script file in two ways:
//
// Keys, with the lookup rules of the classic profile reader. A line whose first non-blank
// character is "[" and that holds a "]" starts a section named by the text between them
// (blanks trimmed). A line with "=" is a key: the name before the first "=", the value
// after it, both with blanks and tabs trimmed; a value enclosed in one pair of matching
// single or double quotes loses them. Lines starting with ";" are comments; lines without
// "=", keys with an empty name and keys before the first section are not keys. Section
// and key names match without regard to ASCII letter case; sections of the same name count
// as one, in file order, and the first matching key wins.
//
// Raw sections, for script text. A header line is one whose first byte is "[" and last
// byte "]", untrimmed; a section's text is every line after its header up to the next
// header line, as written.
//
// Lines end at CR LF, LF or CR, and a leading UTF-8 byte-order mark is skipped, so a file
// reads the same however it was saved. Any bytes are accepted.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/util/ascii.h"

namespace rirerazo::script {

class ProfileData {
 public:
  explicit ProfileData(std::string bytes);
  // Views point into the owned bytes, so the object stays where it was built.
  ProfileData(const ProfileData&) = delete;
  ProfileData& operator=(const ProfileData&) = delete;

  // The value of the first key `key` in section `section`; nothing when either is missing.
  std::optional<std::string_view> Value(std::string_view section, std::string_view key) const;

  // The key names of `section` in file order, repeated names included; nullptr when the
  // section is missing.
  const std::vector<std::string_view>* KeyNames(std::string_view section) const;

  // The lines of every raw section whose header equals "[" + section + "]" (letter case
  // ignored), in file order, each followed by CR LF. Empty when there is none.
  std::string SectionLines(std::string_view section) const;

  std::size_t SizeBytes() const { return bytes_.size(); }

  // For tools that point authors at a line: the lines SectionLines joins, as views into the
  // file, each with its 1-based line number.
  struct NumberedLine {
    int number = 0;
    std::string_view text;
  };
  std::vector<NumberedLine> NumberedSectionLines(std::string_view section) const;
  // The 1-based line of the file that holds `text`, a view returned by Value, KeyNames or
  // NumberedSectionLines; 0 for a view into other memory.
  int LineOf(std::string_view text) const;

 private:
  struct KeySection {
    std::vector<std::string_view> names;
    std::vector<std::string_view> values;
    std::unordered_map<std::string_view, std::uint32_t, util::FoldedHash, util::FoldedEqual> first;
  };
  struct RawSection {
    std::size_t body_begin;  // where the line after the header starts
    std::size_t body_end;    // where the next header line starts (or the end)
  };

  void Parse();
  void AddKeyLine(KeySection& section, std::string_view line);
  KeySection* OpenKeySection(std::string_view line);

  std::string bytes_;
  std::unordered_map<std::string_view, KeySection, util::FoldedHash, util::FoldedEqual> keys_;
  std::unordered_map<std::string_view, std::vector<RawSection>, util::FoldedHash,
                     util::FoldedEqual>
      raw_;  // keyed by the whole header line, brackets included
};

}  // namespace rirerazo::script
