// Reader entry points: recognise the file (current, or older in a compound container), follow
// the header's locators, read the directories and the character info. Images and sounds stay
// encoded in the kept bytes.
#include <algorithm>
#include <filesystem>
#include <fstream>

#include "platform/runtime_error.h"
#include "runtime/acs/private/byte_reader.h"
#include "runtime/acs/private/compound_file.h"
#include "runtime/acs/private/legacy_reader.h"
#include "runtime/acs/private/reader_parts.h"

namespace rirerazo::acs {

namespace {

constexpr std::uint32_t kSignature = 0xABCDABC3;
constexpr std::uint32_t kSplitSignature = 0xABCDABC4;
constexpr std::uint32_t kContainerStreamSignature = 0xABCDABC1;
constexpr std::uint32_t kHeaderBytes = 36;
// Files beyond this are refused before they are read into memory.
constexpr std::uintmax_t kMaxFileBytes = std::uintmax_t(1) << 30;

// Refuses anything that is not a flat character file, each kind with its own reason (older
// files in a compound container are recognised before this).
void CheckSignature(const detail::FileView& file) {
  detail::ByteReader in(file.bytes, {0, std::uint32_t(std::min<std::size_t>(file.bytes.size(), 4))},
                        file.source, "header");
  const std::uint32_t signature = in.U32();
  if (signature == kSplitSignature || signature == kContainerStreamSignature) {
    in.FailAt(0,
              "this is the index part of a split web-download character, not a complete "
              "character file");
  }
  if (signature != kSignature) in.FailAt(0, "not a character file (unknown signature)");
}

struct Locators {
  FileRange character_info;
  FileRange animations;
  FileRange images;
  FileRange sounds;
};

Locators ReadLocators(const detail::FileView& file) {
  detail::ByteReader in(file.bytes, {4, kHeaderBytes - 4}, file.source, "header");
  Locators locators;
  for (FileRange* range :
       {&locators.character_info, &locators.animations, &locators.images, &locators.sounds}) {
    range->offset = in.U32();
    range->size = in.U32();
  }
  return locators;
}

}  // namespace

Character ReadCharacter(std::vector<std::uint8_t> bytes, std::string_view source_name) {
  auto kept = std::make_shared<const std::vector<std::uint8_t>>(std::move(bytes));
  if (kept->size() > 0xFFFFFFFFu) {
    detail::ThrowFormatError(source_name, "header", 0, "file is too large");
  }
  // Older-generation files keep their own buffer of inflated streams; the container's bytes
  // are not needed once it is read.
  if (detail::IsCompoundFile(*kept)) return detail::ReadLegacyCharacter(*kept, source_name);
  const detail::FileView file{*kept, source_name};
  CheckSignature(file);
  const Locators locators = ReadLocators(file);
  Character character;
  character.info = detail::ReadCharacterInfo(file, locators.character_info);
  character.images = detail::ReadImageDirectory(file, locators.images);
  character.sounds = detail::ReadAudioDirectory(file, locators.sounds);
  const detail::ReferenceLimits limits{character.images.size(), character.sounds.size()};
  character.animations = detail::ReadAnimations(file, locators.animations, limits);
  character.file_bytes = std::move(kept);
  character.source_name = std::string(source_name);
  return character;
}

Character ReadCharacterFile(const std::string& path) {
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (error) throw RuntimeError(err::kFileNotFound, "File not found: " + path);
  if (size > kMaxFileBytes) {
    throw RuntimeError(kInvalidCharacterFile, path + ": file is too large for a character file");
  }
  std::ifstream stream(path, std::ios::binary);
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
  if (!stream || !stream.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(size))) {
    throw RuntimeError(err::kPathFileAccessError, "Cannot read character file: " + path);
  }
  const std::size_t slash = path.find_last_of("/\\");
  return ReadCharacter(std::move(bytes),
                       slash == std::string::npos ? path : path.substr(slash + 1));
}

namespace {

// `size` bytes of `stream` from `offset`, or an access error naming `path`.
std::vector<std::uint8_t> ReadRange(std::ifstream& stream, const std::string& path,
                                    std::uint64_t offset, std::uint32_t size) {
  std::vector<std::uint8_t> bytes(size);
  stream.seekg(std::streamoff(offset));
  if (!stream || !stream.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(size))) {
    throw RuntimeError(err::kPathFileAccessError, "Cannot read character file: " + path);
  }
  return bytes;
}

}  // namespace

std::vector<std::string> ReadAnimationNames(const std::string& path) {
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (error) throw RuntimeError(err::kFileNotFound, "File not found: " + path);
  const std::size_t slash = path.find_last_of("/\\");
  const std::string source = slash == std::string::npos ? path : path.substr(slash + 1);
  std::ifstream stream(path, std::ios::binary);
  const std::vector<std::uint8_t> header =
      ReadRange(stream, path, 0, std::uint32_t(std::min<std::uintmax_t>(size, kHeaderBytes)));
  const detail::FileView header_view{header, source};
  CheckSignature(header_view);
  const FileRange directory = ReadLocators(header_view).animations;
  if (std::uint64_t(directory.offset) + directory.size > size) {
    detail::ThrowFormatError(source, "animation directory", directory.offset,
                             "the directory lies beyond the end of the file");
  }
  const std::vector<std::uint8_t> block = ReadRange(stream, path, directory.offset, directory.size);
  detail::ByteReader in(block, {0, directory.size}, source, "animation directory");
  std::vector<std::string> names(in.Count(in.U32(), 12, "animation"));
  for (std::string& name : names) {
    name = in.String();
    in.Skip(8);  // where the animation's block lies
  }
  return names;
}

}  // namespace rirerazo::acs
